somnex_fuzzer(decode_bmp_file SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/decode_bmp_file.cpp LIBS plat_raster)
