# The adult program: host tests of its graph and measurement.
if(NOT WIN32)
  add_executable(adult_tests host/adult_test.cpp)
  target_link_libraries(adult_tests PRIVATE adult_core GTest::gtest_main)
  te_warnings(adult_tests)
  add_test(NAME adult_tests COMMAND adult_tests)
endif()

if(WIN32)
  # The real adulto.exe driven from outside (needs tools/testenv.sh).
  add_executable(adulto_e2e_tests win/adulto_e2e_test.cpp)
  target_link_libraries(adulto_e2e_tests PRIVATE uidriver gtest_main)
  add_dependencies(adulto_e2e_tests adulto)
  add_test(NAME adulto_e2e_tests COMMAND adulto_e2e_tests)
  set_tests_properties(adulto_e2e_tests PROPERTIES TIMEOUT 600)
endif()

if(WIN32 AND TE_BENCH)
  # The panel's per-buffer time and repaints, in process, and the real
  # adulto.exe's CPU while measuring.  Fails only when it cannot measure.
  add_executable(adulto_bench bench/adulto_bench_win.cpp ${PROJECT_SOURCE_DIR}/resources/adulto/adulto.rc)
  target_link_libraries(adulto_bench PRIVATE adult_win uidriver)
  te_warnings(adulto_bench)
  te_adult_resource_options(adulto_bench)
  add_dependencies(adulto_bench adulto)
  add_test(NAME adulto_bench COMMAND adulto_bench)
  set_tests_properties(adulto_bench PROPERTIES LABELS bench TIMEOUT 300)
endif()
