somnex_fuzzer(decode_jpeg SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_jpeg.cpp LIBS som_decoders)
