somnex_fuzzer(decode_tiff SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_tiff.cpp LIBS som_decoders)
