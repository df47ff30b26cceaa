somnex_fuzzer(decode_emf SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_emf.cpp LIBS som_decoders)
