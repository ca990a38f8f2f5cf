# Engine core and sprite object: host tests, and the seed writer of the
# engine fuzzer's corpus.
if(NOT WIN32)
  add_executable(engine_tests
    host/engine_archive_test.cpp
    host/engine_picture_test.cpp
    host/engine_display_test.cpp
    host/engine_draw_test.cpp
    host/engine_plane_test.cpp
  )
  target_link_libraries(engine_tests PRIVATE engine_core GTest::gtest_main)
  te_warnings(engine_tests)
  add_test(NAME engine_tests COMMAND engine_tests)

  add_executable(sprite_tests host/sprite_test.cpp)
  target_link_libraries(sprite_tests PRIVATE scenes_core GTest::gtest_main)
  te_warnings(sprite_tests)
  add_test(NAME sprite_tests COMMAND sprite_tests)

  # Writes tests/fuzz/corpus/engine (run by hand when the formats change).
  add_executable(engine_fuzz_seeds fuzz/engine_seeds.cpp)
  target_include_directories(engine_fuzz_seeds PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(engine_fuzz_seeds PRIVATE engine_core)
  te_warnings(engine_fuzz_seeds)
else()
  # The DirectDraw layer under Wine, on the virtual display: the bee's art
  # file (built into this tree by resources/) and its plane lists compiled
  # in as the game program carries them.
  add_library(engine_planes_rc OBJECT win/engine_planes.rc)
  target_include_directories(engine_planes_rc PRIVATE ${TE_LIST_ROOT})
  set_source_files_properties(win/engine_planes.rc PROPERTIES OBJECT_DEPENDS
    "${TE_LIST_ROOT}/abelha/BACKLIST.txt;${TE_LIST_ROOT}/abelha/MIDLIST.txt;${TE_LIST_ROOT}/abelha/FORELIST.txt")
  if(TARGET abelha_art)
    add_dependencies(engine_planes_rc abelha_art)
  endif()

  add_executable(engine_win_tests
    win/engine_display_test.cpp
    win/engine_frame_test.cpp
    win/engine_test_support.cpp
    $<TARGET_OBJECTS:engine_planes_rc>
  )
  target_link_libraries(engine_win_tests PRIVATE engine_win gtest_main)
  te_warnings(engine_win_tests)
  if(TARGET abelha_art)
    add_dependencies(engine_win_tests abelha_art)
  endif()
  # The art file is opened from the current directory, as the games do;
  # screenshots (engine_frame.bmp, engine_splash.bmp) are left there.
  add_test(NAME engine_win_tests COMMAND engine_win_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(engine_win_tests PROPERTIES TIMEOUT 300)

  # Frame time under Wine; the test only checks that every frame was shown.
  if(TE_BENCH)
    add_executable(engine_frame_bench
      bench/engine_frame_bench_win.cpp
      win/engine_test_support.cpp
      $<TARGET_OBJECTS:engine_planes_rc>
    )
    target_link_libraries(engine_frame_bench PRIVATE engine_win)
    te_warnings(engine_frame_bench)
    if(TARGET abelha_art)
      add_dependencies(engine_frame_bench abelha_art)
    endif()
    add_test(NAME engine_frame_bench COMMAND engine_frame_bench WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(engine_frame_bench PROPERTIES LABELS bench TIMEOUT 300)
  endif()
endif()
