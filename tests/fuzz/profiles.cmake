# Fuzz targets of the profile store: reading profile files.
if(TARGET zq_profiles)
    zq_add_fuzz(fuzz_profile_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/profiles/profile_file_fuzz.cpp
                LIBS zq_profiles CORPUS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/profiles/profile_file)
endif()
