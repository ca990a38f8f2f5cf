# Calibration arithmetic on the host; the dialogs, the volume control and
# the external tools under Wine.
te_add_test(calibration_tests HOST SOURCES host/calibration_test.cpp LIBRARIES voice_core)

if(WIN32)
  # A stand-in for the programs the games start (help viewer, volume control).
  add_executable(te_fake_tool WIN32 win/fake_tool.cpp)
  target_link_options(te_fake_tool PRIVATE -municode)
  te_warnings(te_fake_tool)
endif()
te_add_test(dialogs_tests WINDOWS OWN_MAIN SOURCES win/dialogs_test.cpp win/win_test_support.cpp
  LIBRARIES voice_win uidriver DEPENDS te_fake_tool AUDIO ARGS --gtest_filter=-NoAudioServer.* TIMEOUT 400)
if(WIN32)
  te_add_dialog_resources(dialogs_tests)
  te_add_test_run(dialogs_no_audio_server dialogs_tests NO_AUDIO_SERVER ARGS --gtest_filter=NoAudioServer.* TIMEOUT 120)
endif()
