# The measurement flow: a host table of its transitions.
te_add_test(measure_tests HOST SOURCES host/measure_flow_test.cpp LIBRARIES measure_core)
