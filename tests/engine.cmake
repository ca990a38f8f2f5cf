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
endif()
