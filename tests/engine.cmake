# Engine core and sprite object: host tests, and the seed writer of the
# engine fuzzer's corpus (run by hand when the formats change).
te_add_test(engine_tests HOST
  SOURCES host/engine_archive_test.cpp host/engine_picture_test.cpp host/engine_display_test.cpp
          host/engine_draw_test.cpp host/engine_plane_test.cpp
  LIBRARIES engine_core)
te_add_test(sprite_tests HOST SOURCES host/sprite_test.cpp LIBRARIES scenes_core)
if(NOT WIN32)
  add_executable(engine_fuzz_seeds fuzz/engine_seeds.cpp)
  target_include_directories(engine_fuzz_seeds PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(engine_fuzz_seeds PRIVATE engine_core)
  te_warnings(engine_fuzz_seeds)
endif()

# The DirectDraw layer under Wine, on the virtual display: the bee's art
# file (built into this tree by resources/) and its plane lists compiled in
# as the game program carries them.  The art file is opened from the
# current directory, as the games do; screenshots (engine_frame.bmp,
# engine_splash.bmp) are left there.
if(WIN32)
  add_library(engine_planes_rc OBJECT win/engine_planes.rc)
  target_include_directories(engine_planes_rc PRIVATE ${TE_LIST_ROOT})
  set_source_files_properties(win/engine_planes.rc PROPERTIES OBJECT_DEPENDS
    "${TE_LIST_ROOT}/abelha/BACKLIST.txt;${TE_LIST_ROOT}/abelha/MIDLIST.txt;${TE_LIST_ROOT}/abelha/FORELIST.txt")
  add_dependencies(engine_planes_rc abelha_art)
endif()
te_add_test(engine_win_tests WINDOWS
  SOURCES win/engine_display_test.cpp win/engine_frame_test.cpp win/engine_test_support.cpp
          $<TARGET_OBJECTS:engine_planes_rc>
  LIBRARIES engine_win DEPENDS abelha_art WORKING_DIRECTORY ${CMAKE_BINARY_DIR} TIMEOUT 300)

# Frame time under Wine; the test only checks that every frame was shown.
te_add_test(engine_frame_bench BENCH
  SOURCES bench/engine_frame_bench_win.cpp win/engine_test_support.cpp $<TARGET_OBJECTS:engine_planes_rc>
  LIBRARIES engine_win DEPENDS abelha_art WORKING_DIRECTORY ${CMAKE_BINARY_DIR} TIMEOUT 300)
