somnex_fuzzer(split_to_list SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/split_to_list.cpp LIBS som_ini)
