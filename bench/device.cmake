if(TARGET zq_sim)
    zq_add_bench(bench_device SOURCES ${CMAKE_CURRENT_LIST_DIR}/device_exchange.cpp LIBS zq_device zq_sim)
endif()
