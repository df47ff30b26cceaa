somnex_fuzzer(text_to_font SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/text_to_font.cpp LIBS som_ini)
