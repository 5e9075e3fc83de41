if(TARGET zq_sim AND TARGET zq_lighting)
    zq_add_bench(bench_lighting SOURCES ${CMAKE_CURRENT_LIST_DIR}/lighting_bench.cpp LIBS zq_lighting zq_sim)
endif()
