# The adult program: host tests of its graph and measurement.
if(NOT WIN32)
  add_executable(adult_tests host/adult_test.cpp)
  target_link_libraries(adult_tests PRIVATE adult_core GTest::gtest_main)
  te_warnings(adult_tests)
  add_test(NAME adult_tests COMMAND adult_tests)
endif()
