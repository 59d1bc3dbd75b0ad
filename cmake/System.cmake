# One implementation of the system calls per system (src/platform/posix or .../windows, and the
# tests' support likewise); nothing above src/platform knows which.
if(WIN32)
  set(PARLAVISTA_SYSTEM windows)
else()
  set(PARLAVISTA_SYSTEM posix)
endif()
