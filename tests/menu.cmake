# The main menu: its history file, result choice and chart arithmetic on
# the host; the real gui_kx.exe driven from outside under Wine.
te_add_test(menu_tests HOST
  SOURCES host/menu_history_test.cpp host/menu_spreadsheet_test.cpp host/menu_rewrite_test.cpp host/menu_chart_test.cpp
          host/menu_session_test.cpp
  LIBRARIES menu_core)
te_add_test(menu_e2e_tests WINDOWS SOURCES win/menu_e2e_test.cpp
  LIBRARIES uidriver menu_core winui shell32 advapi32 DEPENDS gui_kx abelha winhlp32 help_text te_fake_tool
  AUDIO TIMEOUT 600)

# The report printed by a real browser (Chromium, headless) and read back
# from its PDF; the PDF and the screenshot stay in the build tree.
te_add_test(report_print_tests HOST SOURCES host/report_print_test.cpp LIBRARIES menu_core
  DEFINITIONS TE_OUT_DIR="${CMAKE_CURRENT_BINARY_DIR}" TIMEOUT 180)
