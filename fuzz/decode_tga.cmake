somnex_fuzzer(decode_tga SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_tga.cpp LIBS som_decoders)
