# The exchange through the kernel (hidraw backend on the FUSE harness) beside the same exchange on the
# emulator backend, so the cost of the kernel path itself can be read off.
if(TARGET zq_fuse_harness)
    zq_add_bench(bench_hidraw SOURCES ${CMAKE_CURRENT_LIST_DIR}/hidraw_exchange.cpp
                 LIBS zq_fuse_harness zq_device zq_sim zq_hid)
endif()
