somnex_fuzzer(picture_line SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/picture_line.cpp LIBS som_projectfile)
