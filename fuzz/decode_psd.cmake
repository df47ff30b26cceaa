somnex_fuzzer(decode_psd SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_psd.cpp LIBS som_decoders)
