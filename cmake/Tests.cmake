# One way to register a test.
#
# te_add_test(<name> HOST|WINDOWS|BENCH SOURCES <file>...
#             [LIBRARIES <lib>...] [DEPENDS <target>...] [DEFINITIONS <def>...]
#             [INCLUDES <dir>...] [OWN_MAIN] [NO_RUN] <run options>)
#   Builds the executable <name> on its side of the build (HOST: the Linux
#   tree; WINDOWS: the MinGW tree, run under Wine; BENCH: a Windows
#   benchmark, only with TE_BENCH), links GoogleTest's main unless OWN_MAIN
#   (benchmarks link none), applies the warnings and registers a test of
#   the same name unless NO_RUN.
#
# te_add_test_run(<name> <executable target> <run options>)
#   Another run of an executable, with its own arguments or environment.
#
# Run options: [ARGS <arg>...] [PREFIX <command>...] [TIMEOUT <s>]
#   [WORKING_DIRECTORY <dir>] [ENVIRONMENT <var=value>...] [LABELS <l>...]
#   [FIXTURES_REQUIRED <f>...] [SKIP_RETURN_CODE <n>]
#   [AUDIO]            plays or records through the virtual audio server,
#                      which one test at a time may use
#   [NO_AUDIO_SERVER]  runs with no audio server at all (no wave-in device)
set(TE_TEST_RUN_FLAGS AUDIO NO_AUDIO_SERVER)
set(TE_TEST_RUN_VALUES TIMEOUT WORKING_DIRECTORY SKIP_RETURN_CODE)
set(TE_TEST_RUN_LISTS ARGS PREFIX ENVIRONMENT LABELS FIXTURES_REQUIRED)

function(te_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "HOST;WINDOWS;BENCH;OWN_MAIN;NO_RUN;${TE_TEST_RUN_FLAGS}"
    "${TE_TEST_RUN_VALUES}" "SOURCES;LIBRARIES;DEPENDS;DEFINITIONS;INCLUDES;${TE_TEST_RUN_LISTS}")
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "te_add_test(${name}): unknown arguments ${T_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT T_HOST AND NOT T_WINDOWS AND NOT T_BENCH)
    message(FATAL_ERROR "te_add_test(${name}): say HOST, WINDOWS or BENCH")
  endif()
  if((T_HOST AND WIN32) OR ((T_WINDOWS OR T_BENCH) AND NOT WIN32) OR (T_BENCH AND NOT TE_BENCH))
    return()
  endif()

  add_executable(${name} ${T_SOURCES})
  set(main "")
  if(NOT T_BENCH)
    if(T_HOST)
      set(main GTest::gtest_main)
      if(T_OWN_MAIN)
        set(main GTest::gtest)
      endif()
    else()
      set(main gtest_main)
      if(T_OWN_MAIN)
        set(main gtest)
      endif()
    endif()
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} ${main})
  if(T_DEFINITIONS)
    target_compile_definitions(${name} PRIVATE ${T_DEFINITIONS})
  endif()
  if(T_INCLUDES)
    target_include_directories(${name} PRIVATE ${T_INCLUDES})
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  te_warnings(${name})
  if(T_NO_RUN)
    return()
  endif()

  set(run "")
  foreach(flag ${TE_TEST_RUN_FLAGS})
    if(T_${flag})
      list(APPEND run ${flag})
    endif()
  endforeach()
  foreach(option ${TE_TEST_RUN_VALUES} ${TE_TEST_RUN_LISTS})
    if(DEFINED T_${option})
      list(APPEND run ${option} ${T_${option}})
    endif()
  endforeach()
  if(T_BENCH)
    list(APPEND run LABELS bench)
  endif()
  te_add_test_run(${name} ${name} ${run})
endfunction()

function(te_add_test_run name target)
  cmake_parse_arguments(PARSE_ARGV 2 R "${TE_TEST_RUN_FLAGS}" "${TE_TEST_RUN_VALUES}" "${TE_TEST_RUN_LISTS}")
  if(R_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "te_add_test_run(${name}): unknown arguments ${R_UNPARSED_ARGUMENTS}")
  endif()
  set(directory "")
  if(R_WORKING_DIRECTORY)
    set(directory WORKING_DIRECTORY ${R_WORKING_DIRECTORY})
  endif()
  # Named as a target, the executable runs through the cross-compiling
  # emulator (Wine); a prefix command is handed its path and runs it itself.
  if(R_PREFIX)
    add_test(NAME ${name} COMMAND ${R_PREFIX} $<TARGET_FILE:${target}> ${R_ARGS} ${directory})
  else()
    add_test(NAME ${name} COMMAND ${target} ${R_ARGS} ${directory})
  endif()
  set(environment ${R_ENVIRONMENT})
  if(R_NO_AUDIO_SERVER)
    list(APPEND environment "PULSE_SERVER=unix:/nonexistent/te-no-audio" "TE_SINK=")
  endif()
  if(environment)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  endif()
  if(R_AUDIO)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK audio_server)
  endif()
  foreach(property TIMEOUT SKIP_RETURN_CODE LABELS FIXTURES_REQUIRED)
    if(DEFINED R_${property})
      set_tests_properties(${name} PROPERTIES ${property} "${R_${property}}")
    endif()
  endforeach()
endfunction()
