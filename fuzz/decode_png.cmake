somnex_fuzzer(decode_png SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_png.cpp LIBS som_decoders)
