# The launcher: its portable decisions on the host; the real tavoral.exe
# with its runtime and book under Wine.
if(NOT WIN32)
  add_executable(launcher_tests host/launcher_test.cpp)
  target_link_libraries(launcher_tests PRIVATE launcher_core GTest::gtest_main)
  te_warnings(launcher_tests)
  add_test(NAME launcher_tests COMMAND launcher_tests)
else()
  # A runtime that shows no window and ends after TE_FAKE_RUNTIME_MS.
  add_executable(te_fake_runtime WIN32 win/fake_runtime.cpp)
  target_link_options(te_fake_runtime PRIVATE -municode)

  add_executable(tavoral_e2e_tests win/tavoral_e2e_test.cpp)
  target_link_libraries(tavoral_e2e_tests PRIVATE uidriver gtest_main)
  add_dependencies(tavoral_e2e_tests tavoral te_fake_runtime)
  add_test(NAME tavoral_e2e_tests COMMAND tavoral_e2e_tests)
  set_tests_properties(tavoral_e2e_tests PROPERTIES TIMEOUT 400)
endif()
