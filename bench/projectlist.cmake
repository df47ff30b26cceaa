add_executable(bench_projectlist ${CMAKE_CURRENT_SOURCE_DIR}/projectlist.cpp)
target_link_libraries(bench_projectlist PRIVATE som_projectfile benchmark::benchmark)
