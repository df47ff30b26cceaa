somnex_fuzzer(http_response SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/http_response.cpp LIBS hx_notifier_check)
