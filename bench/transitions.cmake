add_executable(bench_transitions ${CMAKE_CURRENT_SOURCE_DIR}/transitions.cpp)
target_link_libraries(bench_transitions PRIVATE som_effects benchmark::benchmark)
