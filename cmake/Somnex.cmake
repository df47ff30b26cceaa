# Build helpers shared by every area: sanitizer and fuzzer flags, test suites and fuzz targets.

if(SOMNEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(SOMNEX_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(SOMNEX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SOMNEX_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(SOMNEX_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
set(SOMNEX_TEST_OUT ${CMAKE_BINARY_DIR}/test-output)
file(MAKE_DIRECTORY ${SOMNEX_TEST_HOME} ${SOMNEX_TEST_OUT})

# The environment every test runs in: no display, no real user settings touched.
set(SOMNEX_TEST_ENV
  QT_QPA_PLATFORM=offscreen
  SOMNEX_UI=headless
  XDG_CONFIG_HOME=${SOMNEX_TEST_HOME}/config
  XDG_DATA_HOME=${SOMNEX_TEST_HOME}/data
  SOMNEX_REGISTRY=${SOMNEX_TEST_HOME}/registry.db
  SOMNEX_TEST_OUT=${SOMNEX_TEST_OUT}
  SOMNEX_BUILD_DIR=${CMAKE_BINARY_DIR}
  SOMNEX_SOURCE_DIR=${CMAKE_SOURCE_DIR})

# somnex_test(NAME SOURCES a.cpp b.cpp LIBS lib...)
# One GoogleTest executable per area, each test case registered with CTest.
function(somnex_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(test_${name} ${T_SOURCES})
  target_link_libraries(test_${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  # The environment rides on the launcher: a list-valued ENVIRONMENT property does not survive
  # the discovery script, and the launcher also covers the discovery run itself.
  set_target_properties(test_${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${SOMNEX_TEST_ENV}")
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# somnex_fuzzer(NAME SOURCES f.cpp LIBS lib...)
# With SOMNEX_FUZZ a libFuzzer binary; otherwise a plain program that runs the seed corpus
# fuzz/corpus/NAME once, registered as an ordinary test.
function(somnex_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  if(SOMNEX_FUZZ)
    add_executable(fuzz_${name} ${F_SOURCES})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(fuzz_${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/CorpusMain.cpp)
    if(SOMNEX_TESTS)
      add_test(NAME fuzz_corpus.${name} COMMAND fuzz_${name} ${corpus})
      set_tests_properties(fuzz_corpus.${name} PROPERTIES ENVIRONMENT "${SOMNEX_TEST_ENV}" TIMEOUT 300)
    endif()
  endif()
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS} Threads::Threads)
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_property(GLOBAL APPEND PROPERTY SOMNEX_FUZZERS ${name})
endfunction()
