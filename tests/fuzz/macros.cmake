# Fuzz targets of the macro data: action lines, macro files, cursor-path files.
if(TARGET zq_macros)
    set(zq_macros_corpus ${PROJECT_SOURCE_DIR}/tests/data/fuzz/macros)
    zq_add_fuzz(fuzz_macro_action_line SOURCE ${CMAKE_CURRENT_LIST_DIR}/macros/action_line_fuzz.cpp
                LIBS zq_macros CORPUS ${zq_macros_corpus}/action_line)
    zq_add_fuzz(fuzz_macro_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/macros/macro_file_fuzz.cpp
                LIBS zq_macros CORPUS ${zq_macros_corpus}/macro_file)
    zq_add_fuzz(fuzz_cursor_path_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/macros/cursor_file_fuzz.cpp
                LIBS zq_macros CORPUS ${zq_macros_corpus}/cursor_file)
endif()
