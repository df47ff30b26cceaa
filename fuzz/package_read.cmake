somnex_fuzzer(package_read SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/package_read.cpp LIBS som_compiler_files)
