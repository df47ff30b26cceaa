somnex_fuzzer(news_file SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/news_file.cpp LIBS hx_notifier_core)
