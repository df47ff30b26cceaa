add_executable(bench_store ${CMAKE_CURRENT_SOURCE_DIR}/store.cpp)
target_link_libraries(bench_store PRIVATE som_store benchmark::benchmark)
