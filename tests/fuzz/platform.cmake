# Fuzz targets of the platform layer: INI text parsing, editing and reading through the file API.
if(TARGET zq_platform)
    zq_add_fuzz(fuzz_ini SOURCE ${CMAKE_CURRENT_LIST_DIR}/platform/ini_fuzz.cpp
                LIBS zq_platform CORPUS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/platform/ini)
endif()
