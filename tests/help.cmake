# The help file's reading on the host; the viewer is driven under Wine by
# the game's end-to-end test.
te_add_test(help_tests HOST SOURCES host/help_file_test.cpp LIBRARIES help_core
  DEFINITIONS HELP_TEXT_FILE="${PROJECT_SOURCE_DIR}/help/brisalto.txt")
