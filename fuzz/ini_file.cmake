somnex_fuzzer(ini_file SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ini_file.cpp LIBS plat_profile)
