# Game shell and scenes: host tests of the logic; the real games driven
# from outside (needs tools/testenv.sh).
te_add_test(shell_tests HOST SOURCES host/shell_test.cpp LIBRARIES shell_core)
te_add_test(scene_tests HOST SOURCES host/scene_test.cpp host/scene_variants_test.cpp LIBRARIES scenes_core)

# The no-microphone run starts every program that measures.
te_add_test(abelha_e2e_tests WINDOWS SOURCES win/abelha_e2e_test.cpp LIBRARIES uidriver engine_core
  DEPENDS abelha carro barco menina adulto winhlp32 help_text
  AUDIO ARGS --gtest_filter=-NoMicrophone.*:SmallFolders.* TIMEOUT 900)
if(WIN32)
  # A read-only folder and a full one, mounted for the test.
  te_add_test_run(abelha_e2e_small_folders abelha_e2e_tests AUDIO
    PREFIX sh ${CMAKE_CURRENT_SOURCE_DIR}/win/small_folders.sh ${CMAKE_BINARY_DIR}/abelha.ff
    ARGS --gtest_filter=SmallFolders.* TIMEOUT 300 SKIP_RETURN_CODE 77)
  # The same program with no audio server at all: no wave-in device.
  te_add_test_run(abelha_e2e_no_microphone abelha_e2e_tests NO_AUDIO_SERVER ARGS --gtest_filter=NoMicrophone.*
    TIMEOUT 300)
  # A sample of the fuzzer's corpus for the damaged-art test.
  configure_file(${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/engine/archive ${CMAKE_CURRENT_BINARY_DIR}/fuzz-archive COPYONLY)
endif()

# Every game's timed phonation, confirmed and saved, with its own art on screen.
te_add_test(games_e2e_tests WINDOWS SOURCES win/games_e2e_test.cpp win/game_pictures_win.cpp
  LIBRARIES uidriver engine_core scenes_core DEPENDS abelha carro barco menina AUDIO TIMEOUT 600)

# The real programs under Wine: abelha's CPU use on the title and in play
# and the delay from a vowel to the bee flying; barco's CPU in play beside
# the bee's.  Fails only when it cannot measure.
te_add_test(games_bench BENCH SOURCES bench/games_bench_win.cpp win/game_pictures_win.cpp
  LIBRARIES uidriver voice_win engine_core scenes_core DEPENDS abelha barco AUDIO TIMEOUT 400)
