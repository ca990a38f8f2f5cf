# Capture and measurement: the intensity arithmetic and the microphone
# probe on the host; the recorder under Wine with the virtual microphone.
te_add_test(host_tests HOST SOURCES host/intensity_test.cpp host/volume_probe_test.cpp LIBRARIES voice_core)

if(NOT WIN32 AND TE_BENCH)
  add_executable(intensity_bench bench/intensity_bench.cpp)
  target_link_libraries(intensity_bench PRIVATE voice_core benchmark::benchmark)
  te_warnings(intensity_bench)
endif()

te_add_test(recorder_tests WINDOWS SOURCES win/wave_recorder_test.cpp win/win_test_support.cpp
  LIBRARIES voice_win uidriver AUDIO ARGS --gtest_filter=-NoAudioServer.* TIMEOUT 300)
if(WIN32)
  # The same program with no audio server at all: Wine then has no wave-in device.
  te_add_test_run(recorder_no_audio_server recorder_tests NO_AUDIO_SERVER ARGS --gtest_filter=NoAudioServer.* TIMEOUT 120)
endif()
