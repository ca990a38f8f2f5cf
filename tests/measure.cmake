# The measurement flow: a host table of its transitions.
if(NOT WIN32)
  add_executable(measure_tests host/measure_flow_test.cpp)
  target_link_libraries(measure_tests PRIVATE measure_core GTest::gtest_main)
  te_warnings(measure_tests)
  add_test(NAME measure_tests COMMAND measure_tests)
endif()
