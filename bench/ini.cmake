if(TARGET zq_platform)
    zq_add_bench(bench_ini_memory SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_memory_bench.cpp LIBS zq_platform)
endif()
