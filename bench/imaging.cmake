add_executable(bench_imaging ${CMAKE_CURRENT_SOURCE_DIR}/imaging.cpp)
target_link_libraries(bench_imaging PRIVATE bench_common som_imaging som_decoders JPEG::JPEG PkgConfig::MAGICKXX
  benchmark::benchmark)
