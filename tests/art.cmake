# The art pipeline: archive writer, bitmap writer and the generated bee art,
# which the engine's own readers must accept.
if(NOT WIN32)
  add_executable(art_tests
    host/art_bmp_test.cpp
    host/art_command_test.cpp
    host/art_engine_test.cpp
    host/art_ffpack_test.cpp
    host/art_set_test.cpp
  )
  target_link_libraries(art_tests PRIVATE ffwriter artgen_core engine_core GTest::gtest_main)
  target_compile_definitions(art_tests PRIVATE
    TE_ART_FILE="${CMAKE_BINARY_DIR}/resources/abelha.ff"
    TE_LIST_DIR="${PROJECT_SOURCE_DIR}/resources/abelha")
  # The tests read the art file the build makes.
  add_dependencies(art_tests abelha_art)
  te_warnings(art_tests)
  add_test(NAME art_tests COMMAND art_tests)
endif()
