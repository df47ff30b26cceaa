somnex_fuzzer(text_to_color SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/text_to_color.cpp LIBS som_ini)
