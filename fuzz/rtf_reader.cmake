somnex_fuzzer(rtf_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/rtf_reader.cpp LIBS hx_rtf)
