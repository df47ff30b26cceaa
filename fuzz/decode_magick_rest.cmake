somnex_fuzzer(decode_magick_rest SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_magick_rest.cpp LIBS som_decoders)
