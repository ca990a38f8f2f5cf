# The launcher: its portable decisions on the host; the real tavoral.exe
# with its runtime and book under Wine.
te_add_test(launcher_tests HOST SOURCES host/launcher_test.cpp LIBRARIES launcher_core)

if(WIN32)
  # A runtime that shows no window and ends after TE_FAKE_RUNTIME_MS.
  add_executable(te_fake_runtime WIN32 win/fake_runtime.cpp)
  target_link_options(te_fake_runtime PRIVATE -municode)
  te_warnings(te_fake_runtime)
endif()
te_add_test(tavoral_e2e_tests WINDOWS SOURCES win/tavoral_e2e_test.cpp LIBRARIES uidriver
  DEPENDS tavoral te_fake_runtime TIMEOUT 400)
