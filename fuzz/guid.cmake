somnex_fuzzer(guid SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/guid.cpp LIBS plat_com)
