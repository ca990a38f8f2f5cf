# The main menu: its history file, result choice and chart arithmetic on
# the host; the real gui_kx.exe driven from outside under Wine.
if(NOT WIN32)
  add_executable(menu_tests host/menu_history_test.cpp host/menu_spreadsheet_test.cpp host/menu_rewrite_test.cpp
    host/menu_chart_test.cpp)
  target_link_libraries(menu_tests PRIVATE menu_core GTest::gtest_main)
  te_warnings(menu_tests)
  add_test(NAME menu_tests COMMAND menu_tests)
else()
  add_executable(menu_e2e_tests win/menu_e2e_test.cpp)
  target_link_libraries(menu_e2e_tests PRIVATE uidriver menu_core voice_win gtest_main shell32 advapi32)
  add_dependencies(menu_e2e_tests gui_kx abelha winhlp32 help_text te_fake_tool)
  add_test(NAME menu_e2e_tests COMMAND menu_e2e_tests)
  set_tests_properties(menu_e2e_tests PROPERTIES TIMEOUT 600)
endif()
