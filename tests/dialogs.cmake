# Calibration arithmetic on the host; the dialogs, the volume control and
# the external tools under Wine.
if(NOT WIN32)
  add_executable(calibration_tests host/calibration_test.cpp)
  target_link_libraries(calibration_tests PRIVATE voice_core GTest::gtest_main)
  te_warnings(calibration_tests)
  add_test(NAME calibration_tests COMMAND calibration_tests)
else()
  add_executable(te_fake_tool WIN32 win/fake_tool.cpp)
  target_link_options(te_fake_tool PRIVATE -municode)

  add_executable(dialogs_tests win/dialogs_test.cpp win/win_test_support.cpp)
  target_link_libraries(dialogs_tests PRIVATE voice_win uidriver gtest)
  te_add_dialog_resources(dialogs_tests)
  add_dependencies(dialogs_tests te_fake_tool)
  add_test(NAME dialogs_tests COMMAND dialogs_tests --gtest_filter=-NoAudioServer.*)
  set_tests_properties(dialogs_tests PROPERTIES TIMEOUT 400)
  add_test(NAME dialogs_no_audio_server COMMAND dialogs_tests --gtest_filter=NoAudioServer.*)
  set_tests_properties(dialogs_no_audio_server PROPERTIES TIMEOUT 120
    ENVIRONMENT "PULSE_SERVER=unix:/nonexistent/te-no-audio;TE_SINK=")
endif()
