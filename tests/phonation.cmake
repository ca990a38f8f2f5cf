# The phonation timer, the time text and the result file: host tests.
te_add_test(phonation_tests HOST SOURCES host/phonation_test.cpp host/phonation_time_text_test.cpp
  host/phonation_sound_test.cpp
  LIBRARIES phonation_core)
