# The phonation timer, the time text and the result file: host tests.
if(NOT WIN32)
  add_executable(phonation_tests host/phonation_test.cpp host/phonation_time_text_test.cpp)
  target_link_libraries(phonation_tests PRIVATE phonation_core GTest::gtest_main)
  te_warnings(phonation_tests)
  add_test(NAME phonation_tests COMMAND phonation_tests)
endif()
