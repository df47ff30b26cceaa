add_executable(bench_decoders ${CMAKE_CURRENT_SOURCE_DIR}/decoders.cpp)
target_link_libraries(bench_decoders PRIVATE bench_common som_decoders JPEG::JPEG benchmark::benchmark)
