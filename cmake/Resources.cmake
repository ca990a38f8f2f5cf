# Resource scripts of the Windows programs.  Pictures drawn at build time
# come from the host tree's tools (TE_HOST_TOOLS_DIR).

# Where each game's plane lists are written with its art (resources/).
set(TE_LIST_ROOT ${CMAKE_BINARY_DIR}/lists)

if(NOT WIN32)
  return()
endif()

set(TE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
if(TE_HOST_TOOLS_DIR)
  add_custom_command(
    OUTPUT ${TE_GENERATED_DIR}/noise.bmp ${TE_GENERATED_DIR}/volume.ico ${TE_GENERATED_DIR}/program.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TE_GENERATED_DIR}
    COMMAND ${TE_HOST_TOOLS_DIR}/artgen dialog ${TE_GENERATED_DIR}
    DEPENDS ${TE_HOST_TOOLS_DIR}/artgen
    COMMENT "Drawing the dialog pictures")
else()
  message(FATAL_ERROR "TE_HOST_TOOLS_DIR must name the host tree's tools (the Makefile sets it)")
endif()
add_custom_target(dialog_art DEPENDS ${TE_GENERATED_DIR}/noise.bmp ${TE_GENERATED_DIR}/volume.ico
                                     ${TE_GENERATED_DIR}/program.ico)

# The options the calibration dialogs' script needs.  Extra arguments are
# preprocessor definitions that move a button (NOISE_OK_X=94 and the like).
function(te_dialog_resource_options target)
  set(defs "")
  foreach(d ${ARGN})
    list(APPEND defs "-D${d}")
  endforeach()
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:-c65001 ${defs}
    "-DNOISE_PICTURE_FILE=\\\"${TE_GENERATED_DIR}/noise.bmp\\\""
    "-DVOLUME_ICON_FILE=\\\"${TE_GENERATED_DIR}/volume.ico\\\""
    -I${PROJECT_SOURCE_DIR}/resources/common>)
  add_dependencies(${target} dialog_art)
endfunction()

# Adds the calibration dialogs alone to a program (the dialog tests).
function(te_add_dialog_resources target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/common/dialogs.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/common/dialogs.rc PROPERTIES
    OBJECT_DEPENDS "${TE_GENERATED_DIR}/noise.bmp;${TE_GENERATED_DIR}/volume.ico")
  te_dialog_resource_options(${target} ${ARGN})
endfunction()

# A game program: its main, its resource script (resources/<name>/<name>.rc,
# which includes the shared game.rc and the plane lists drawn with the
# game's art), the calibration dialogs and the shell.  Extra arguments move
# dialog buttons (see te_add_dialog_resources).  The program lands at the
# top of the build tree, beside its art file.
function(te_add_game_program name main)
  add_executable(${name} WIN32 ${main} ${PROJECT_SOURCE_DIR}/resources/${name}/${name}.rc)
  target_link_libraries(${name} PRIVATE shell_win)
  target_link_options(${name} PRIVATE -municode)
  # game.rc includes the dialogs: one script, so the icons' image numbers
  # do not clash.
  te_dialog_resource_options(${name} ${ARGN})
  set(lists ${TE_LIST_ROOT}/${name})
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/${name}/${name}.rc PROPERTIES
    OBJECT_DEPENDS "${TE_GENERATED_DIR}/noise.bmp;${TE_GENERATED_DIR}/volume.ico;${TE_GENERATED_DIR}/program.ico;${lists}/BACKLIST.txt;${lists}/MIDLIST.txt;${lists}/FORELIST.txt;${lists}/SURFLIST.txt")
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:RC>:
    -I${lists}
    "-DPROGRAM_ICON_FILE=\\\"${TE_GENERATED_DIR}/program.ico\\\"">)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(${name} ${name}_art)  # defined in resources/
  te_program_info(${name} "Tempo Expiratório - ${name}")
endfunction()

# The adult program's pictures and icon, and the options its script needs.
set(TE_ADULT_ART ${TE_GENERATED_DIR}/adulto/working.bmp ${TE_GENERATED_DIR}/adulto/invitation.bmp
                 ${TE_GENERATED_DIR}/adulto/adulto.ico)
add_custom_command(
  OUTPUT ${TE_ADULT_ART}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TE_GENERATED_DIR}/adulto
  COMMAND ${TE_HOST_TOOLS_DIR}/artgen adult ${TE_GENERATED_DIR}/adulto
  DEPENDS ${TE_HOST_TOOLS_DIR}/artgen
  COMMENT "Drawing the adult program's pictures")
add_custom_target(adult_art DEPENDS ${TE_ADULT_ART})

function(te_adult_resource_options target)
  te_dialog_resource_options(${target})
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:
    "-DWORKING_PICTURE_FILE=\\\"${TE_GENERATED_DIR}/adulto/working.bmp\\\""
    "-DINVITATION_PICTURE_FILE=\\\"${TE_GENERATED_DIR}/adulto/invitation.bmp\\\""
    "-DPROGRAM_ICON_FILE=\\\"${TE_GENERATED_DIR}/adulto/adulto.ico\\\"">)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/adulto/adulto.rc PROPERTIES
    OBJECT_DEPENDS "${TE_GENERATED_DIR}/noise.bmp;${TE_ADULT_ART}")
  add_dependencies(${target} adult_art)
endfunction()
