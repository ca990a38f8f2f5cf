# The setup program, installed and uninstalled in a Wine prefix of its own,
# made fresh for every run.
if(WIN32)
  set(prefix ${CMAKE_BINARY_DIR}/installer-prefix)
  add_test(NAME installer_fresh_prefix
    COMMAND sh -c "rm -rf '${prefix}' && mkdir -p '${prefix}' && WINEPREFIX='${prefix}' wineboot -i >/dev/null 2>&1 && WINEPREFIX='${prefix}' '${PROJECT_SOURCE_DIR}/tools/wine-settings.sh' 1")
  set_tests_properties(installer_fresh_prefix PROPERTIES FIXTURES_SETUP installer_prefix TIMEOUT 300)
endif()
te_add_test(installer_tests WINDOWS SOURCES win/installer_test.cpp INCLUDES ${CMAKE_BINARY_DIR}
  LIBRARIES uidriver ole32 shell32 uuid version DEPENDS installer
  FIXTURES_REQUIRED installer_prefix TIMEOUT 600 ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/installer-prefix")
