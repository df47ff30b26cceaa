somnex_fuzzer(store_open SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/store_open.cpp LIBS som_store)
