# Cross-compiles the Windows program (64-bit) with mingw-w64 from Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAMLO_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMLO_MINGW_TARGET}-gcc)
set(CMAKE_CXX_COMPILER ${TAMLO_MINGW_TARGET}-g++)
set(CMAKE_RC_COMPILER ${TAMLO_MINGW_TARGET}-windres)

# Libraries and headers from the mingw-w64 sysroot only; programs (Python, wine) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TAMLO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
