# The UI's start-up cost: the main layout with every sub-layout, and resident memory after it.
if(ZQ_WITH_QT)
    zq_add_bench(bench_ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_bench.cpp LIBS zq_controls zq_ui)
    target_compile_definitions(bench_ui PRIVATE ZQ_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
