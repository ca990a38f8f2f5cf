# The setup program, installed and uninstalled in a Wine prefix of its own,
# made fresh for every run.
if(WIN32 AND TARGET installer)
  set(prefix ${CMAKE_BINARY_DIR}/installer-prefix)
  add_test(NAME installer_fresh_prefix
    COMMAND sh -c "rm -rf '${prefix}' && mkdir -p '${prefix}' && WINEPREFIX='${prefix}' wineboot -i >/dev/null 2>&1 && WINEPREFIX='${prefix}' '${PROJECT_SOURCE_DIR}/tools/wine-settings.sh' 1")
  set_tests_properties(installer_fresh_prefix PROPERTIES FIXTURES_SETUP installer_prefix TIMEOUT 300)

  add_executable(installer_tests win/installer_test.cpp)
  target_include_directories(installer_tests PRIVATE ${CMAKE_BINARY_DIR})
  target_link_libraries(installer_tests PRIVATE uidriver gtest_main ole32 shell32 uuid version)
  add_dependencies(installer_tests installer)
  add_test(NAME installer_tests COMMAND installer_tests)
  set_tests_properties(installer_tests PROPERTIES FIXTURES_REQUIRED installer_prefix TIMEOUT 600
    ENVIRONMENT "WINEPREFIX=${prefix}")
endif()
