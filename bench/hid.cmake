if(TARGET zq_hid)
    zq_add_bench(bench_hid SOURCES ${CMAKE_CURRENT_LIST_DIR}/hid_decode_bench.cpp LIBS zq_hid)
endif()
