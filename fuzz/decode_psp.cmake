somnex_fuzzer(decode_psp SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_psp.cpp LIBS som_decoders)
