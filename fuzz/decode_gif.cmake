somnex_fuzzer(decode_gif SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_gif.cpp LIBS som_decoders)
