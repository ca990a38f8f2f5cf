# The art pipeline: archive writer, bitmap writer and the generated art,
# which the engine's own readers must accept.
if(NOT WIN32)
  add_executable(art_tests
    host/art_bmp_test.cpp
    host/art_command_test.cpp
    host/art_engine_test.cpp
    host/art_ffpack_test.cpp
    host/art_set_test.cpp
  )
  target_link_libraries(art_tests PRIVATE ffwriter artgen_core engine_core scenes_core GTest::gtest_main)
  target_compile_definitions(art_tests PRIVATE
    TE_ART_DIR="${CMAKE_BINARY_DIR}/resources"
    TE_LIST_ROOT="${TE_LIST_ROOT}")
  # The tests read the art files and lists the build makes.
  add_dependencies(art_tests abelha_art carro_art barco_art menina_art)
  te_warnings(art_tests)
  add_test(NAME art_tests COMMAND art_tests)
endif()
