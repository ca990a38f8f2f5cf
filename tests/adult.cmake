# The adult program: host tests of its graph and measurement; the real
# adulto.exe driven from outside (needs tools/testenv.sh).
te_add_test(adult_tests HOST SOURCES host/adult_test.cpp LIBRARIES adult_core)
te_add_test(adulto_e2e_tests WINDOWS SOURCES win/adulto_e2e_test.cpp LIBRARIES uidriver DEPENDS adulto
  AUDIO TIMEOUT 600)

# The panel's per-buffer time and repaints, in process, and the real
# adulto.exe's CPU while measuring.  Fails only when it cannot measure.
te_add_test(adulto_bench BENCH SOURCES bench/adulto_bench_win.cpp ${PROJECT_SOURCE_DIR}/resources/adulto/adulto.rc
  LIBRARIES adult_win uidriver DEPENDS adulto AUDIO TIMEOUT 300)
if(WIN32 AND TE_BENCH)
  te_adult_resource_options(adulto_bench)
endif()
