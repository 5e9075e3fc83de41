zq_add_fuzz(hid_descriptor_fuzz
    SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/hid_descriptor_fuzz.cpp
    LIBS zq_hid
    CORPUS ${PROJECT_SOURCE_DIR}/tests/data/hid)
