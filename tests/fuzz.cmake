# libFuzzer targets (clang only).  Each runs for $FUZZ_SECONDS seconds
# (default 60) from its committed seeds; any crash, sanitizer report, hang
# or runaway memory fails the test.  New inputs go to the build tree, never
# into the committed corpus.
set(TE_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

add_executable(engine_fuzz fuzz/engine_fuzz.cpp)
target_compile_options(engine_fuzz PRIVATE ${TE_FUZZ_FLAGS})
target_link_options(engine_fuzz PRIVATE ${TE_FUZZ_FLAGS})
target_link_libraries(engine_fuzz PRIVATE engine_core)
te_warnings(engine_fuzz)

set(engine_fuzz_work ${CMAKE_CURRENT_BINARY_DIR}/engine_fuzz.run)
add_test(NAME engine_fuzz
  COMMAND sh -c "mkdir -p '${engine_fuzz_work}/corpus' && exec '$<TARGET_FILE:engine_fuzz>' \
-max_total_time=\${FUZZ_SECONDS:-60} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
-artifact_prefix='${engine_fuzz_work}/' '${engine_fuzz_work}/corpus' '${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/engine'")
set_tests_properties(engine_fuzz PROPERTIES TIMEOUT 86400)
