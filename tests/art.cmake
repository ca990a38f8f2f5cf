# The art pipeline: archive writer, bitmap writer and the generated art,
# which the engine's own readers must accept.  The tests read the art files
# and lists the build makes.
te_add_test(art_tests HOST
  SOURCES host/art_bmp_test.cpp host/art_command_test.cpp host/art_engine_test.cpp host/art_ffpack_test.cpp
          host/art_set_test.cpp
  LIBRARIES ffwriter artgen_core engine_core scenes_core
  DEFINITIONS TE_ART_DIR="${CMAKE_BINARY_DIR}/resources" TE_LIST_ROOT="${TE_LIST_ROOT}"
  DEPENDS abelha_art carro_art barco_art menina_art)
