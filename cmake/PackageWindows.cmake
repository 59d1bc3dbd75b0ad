# parlavista-windows-x64.zip: bin/parlavista-cli.exe, bin/mergemycmds.exe and the seed in
# share/parlavista/seed, where the programs look for it beside themselves.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME parlavista)
  set(CPACK_PACKAGE_FILE_NAME parlavista-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
endif()
