# Game shell and scenes: host tests of the logic.
if(NOT WIN32)
  add_executable(shell_tests host/shell_test.cpp)
  target_link_libraries(shell_tests PRIVATE shell_core GTest::gtest_main)
  te_warnings(shell_tests)
  add_test(NAME shell_tests COMMAND shell_tests)

  add_executable(scene_tests host/scene_test.cpp host/scene_variants_test.cpp)
  target_link_libraries(scene_tests PRIVATE scenes_core GTest::gtest_main)
  te_warnings(scene_tests)
  add_test(NAME scene_tests COMMAND scene_tests)
endif()

if(WIN32)
  # The real abelha.exe driven from outside (needs tools/testenv.sh).
  add_executable(abelha_e2e_tests win/abelha_e2e_test.cpp)
  target_link_libraries(abelha_e2e_tests PRIVATE uidriver engine_core gtest_main)
  # The no-microphone run starts every program that measures.
  add_dependencies(abelha_e2e_tests abelha carro barco menina adulto winhlp32 help_text)
  add_test(NAME abelha_e2e_tests COMMAND abelha_e2e_tests --gtest_filter=-NoMicrophone.*:SmallFolders.*)
  set_tests_properties(abelha_e2e_tests PROPERTIES TIMEOUT 900)
  # A read-only folder and a full one, mounted for the test.
  add_test(NAME abelha_e2e_small_folders
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/win/small_folders.sh ${CMAKE_BINARY_DIR}/abelha.ff
            $<TARGET_FILE:abelha_e2e_tests> --gtest_filter=SmallFolders.*)
  set_tests_properties(abelha_e2e_small_folders PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
  # The same program with no audio server at all: no wave-in device.
  add_test(NAME abelha_e2e_no_microphone COMMAND abelha_e2e_tests --gtest_filter=NoMicrophone.*)
  set_tests_properties(abelha_e2e_no_microphone PROPERTIES TIMEOUT 300
    ENVIRONMENT "PULSE_SERVER=unix:/nonexistent/te-no-audio;TE_SINK=")
  # A sample of the fuzzer's corpus for the damaged-art test.
  configure_file(${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/engine/archive ${CMAKE_CURRENT_BINARY_DIR}/fuzz-archive COPYONLY)

  # Every game's timed phonation, confirmed and saved, with its own art on screen.
  add_executable(games_e2e_tests win/games_e2e_test.cpp win/game_pictures_win.cpp)
  target_link_libraries(games_e2e_tests PRIVATE uidriver engine_core scenes_core gtest_main)
  add_dependencies(games_e2e_tests abelha carro barco menina)
  add_test(NAME games_e2e_tests COMMAND games_e2e_tests)
  set_tests_properties(games_e2e_tests PROPERTIES TIMEOUT 600)
endif()

if(WIN32 AND TE_BENCH)
  # The real programs under Wine: abelha's CPU use on the title and in play
  # and the delay from a vowel to the bee flying; barco's CPU in play beside
  # the bee's.  Fails only when it cannot measure.
  add_executable(games_bench bench/games_bench_win.cpp win/game_pictures_win.cpp)
  target_link_libraries(games_bench PRIVATE uidriver voice_win engine_core scenes_core)
  te_warnings(games_bench)
  add_dependencies(games_bench abelha barco)
  add_test(NAME games_bench COMMAND games_bench)
  set_tests_properties(games_bench PROPERTIES LABELS bench TIMEOUT 400)
endif()
