if(TARGET zq_macros)
    zq_add_bench(bench_macros SOURCES ${CMAKE_CURRENT_LIST_DIR}/macros_files.cpp LIBS zq_macros)
endif()
