# Every program and library of the suite carries a version resource (product
# "Tempo Expiratório", the version of project()); programs also carry the
# application manifest (Windows 7 to 11, common controls 6, asInvoker, not
# DPI-aware).
#
#   te_program_info(target "Description" [LIBRARY])
function(te_program_info target description)
  if(NOT WIN32)
    return()
  endif()
  set(TE_INFO_NAME ${target})
  set(TE_INFO_DESCRIPTION "${description}")
  if("LIBRARY" IN_LIST ARGN)
    set(TE_INFO_FILE "${target}.dll")
    set(TE_INFO_FILETYPE VFT_DLL)
    set(TE_INFO_MANIFEST_LINE "")
  else()
    set(TE_INFO_FILE "${target}.exe")
    set(TE_INFO_FILETYPE VFT_APP)
    set(manifest ${CMAKE_BINARY_DIR}/generated/${target}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/resources/common/program.manifest.in ${manifest} @ONLY)
    set(TE_INFO_MANIFEST_LINE "1 24 \"${manifest}\"")
  endif()
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}_info.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/common/program_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES COMPILE_OPTIONS "-c65001")
endfunction()
