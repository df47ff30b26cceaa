somnex_fuzzer(keypath SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/keypath.cpp LIBS plat_registry)
