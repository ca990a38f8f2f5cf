# libFuzzer targets (clang only).  Each runs for $FUZZ_SECONDS seconds
# (default 60) from its committed seeds; any crash, sanitizer report, hang
# or runaway memory fails the test.  New inputs go to the build tree, never
# into the committed corpus.
set(TE_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

# fuzz/<name>_fuzz.cpp against `library`, seeded from fuzz/corpus/<name>.
function(te_add_fuzz_target name library)
  add_executable(${name}_fuzz fuzz/${name}_fuzz.cpp)
  target_compile_options(${name}_fuzz PRIVATE ${TE_FUZZ_FLAGS})
  target_link_options(${name}_fuzz PRIVATE ${TE_FUZZ_FLAGS})
  target_link_libraries(${name}_fuzz PRIVATE ${library})
  te_warnings(${name}_fuzz)

  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_fuzz.run)
  add_test(NAME ${name}_fuzz
    COMMAND sh -c "mkdir -p '${work}/corpus' && exec '$<TARGET_FILE:${name}_fuzz>' \
-max_total_time=\${FUZZ_SECONDS:-60} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
-artifact_prefix='${work}/' '${work}/corpus' '${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name}'")
  set_tests_properties(${name}_fuzz PROPERTIES TIMEOUT 86400)
endfunction()

te_add_fuzz_target(engine engine_core)
# The menu's history file, read back whatever state it was left in.
te_add_fuzz_target(history menu_core)
