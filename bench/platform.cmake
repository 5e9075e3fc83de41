if(TARGET zq_platform)
    zq_add_bench(bench_platform SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_ini.cpp LIBS zq_platform)
endif()
