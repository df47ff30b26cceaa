somnex_fuzzer(decode_pic SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_pic.cpp LIBS som_decoders)
