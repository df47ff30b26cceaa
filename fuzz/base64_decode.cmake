somnex_fuzzer(base64_decode SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/base64_decode.cpp LIBS som_ini)
