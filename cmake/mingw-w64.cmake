# Cross-build for 64-bit Windows with Debian's mingw-w64 (the posix thread variant: the
# win32 one has no std::thread). Tests run under Wine. PARLAVISTA_WINDOWS_PREFIX names the
# folder the dependencies were built into (scripts/build-windows sets it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

if(NOT PARLAVISTA_WINDOWS_PREFIX AND DEFINED ENV{PARLAVISTA_WINDOWS_PREFIX})
  set(PARLAVISTA_WINDOWS_PREFIX $ENV{PARLAVISTA_WINDOWS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PARLAVISTA_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${PARLAVISTA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config looks only at the dependencies built for Windows.
if(PARLAVISTA_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${PARLAVISTA_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# One self-contained executable each: no MinGW runtime DLLs to ship or to find under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests, and their discovery, run under Wine, in a Windows installation of the build's own
# (PARLAVISTA_WINE_PREFIX, else build-folder/wine), never in the user's ~/.wine.
find_program(PARLAVISTA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT PARLAVISTA_WINE_PREFIX)
  set(PARLAVISTA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
endif()
if(PARLAVISTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${PARLAVISTA_WINE_PREFIX} WINEDEBUG=-all ${PARLAVISTA_WINE})
endif()
