# The update check: schedule, download window and evaluation of the news file.
include_guard(GLOBAL)
add_library(hx_notifier_check STATIC
  ${CMAKE_CURRENT_LIST_DIR}/UpdateSchedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NewsFileWrite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EvaluateNewsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChkWhatsNew.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit_WhatsNewComm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_ChkWhatsNew.cpp)
target_link_libraries(hx_notifier_check PUBLIC hx_notifier_core plat_net plat_ui Qt6::Widgets)
