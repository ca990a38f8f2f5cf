# The help file's reading on the host; the viewer is driven under Wine by
# the game's end-to-end test.
if(NOT WIN32)
  add_executable(help_tests host/help_file_test.cpp)
  target_link_libraries(help_tests PRIVATE help_core GTest::gtest_main)
  target_compile_definitions(help_tests PRIVATE HELP_TEXT_FILE="${PROJECT_SOURCE_DIR}/help/brisalto.txt")
  te_warnings(help_tests)
  add_test(NAME help_tests COMMAND help_tests)
endif()
