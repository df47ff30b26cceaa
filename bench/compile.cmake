add_executable(bench_compile ${CMAKE_CURRENT_SOURCE_DIR}/compile.cpp)
target_link_libraries(bench_compile PRIVATE bench_common som_engine_com som_builds som_example JPEG::JPEG benchmark::benchmark)
