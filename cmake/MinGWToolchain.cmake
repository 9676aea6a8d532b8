# Shared part of the MinGW-w64 toolchain files: the POSIX-threads cross
# compilers of Debian's mingw-w64 packages for the target named by
# NIMBREL_MINGW_TRIPLE. Programs and the plug-in link libgcc, libstdc++
# and winpthread statically, so that they run (under wine too) without any
# runtime DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${NIMBREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NIMBREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NIMBREL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NIMBREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
foreach(_kind EXE SHARED MODULE)
  set(CMAKE_${_kind}_LINKER_FLAGS_INIT "-static")
endforeach()
# The C runtime's thread-safe localtime_r, as the POSIX systems have it.
set(CMAKE_CXX_FLAGS_INIT "${NIMBREL_MINGW_FLAGS} ${NIMBREL_MINGW_CXX_FLAGS} -D_POSIX_THREAD_SAFE_FUNCTIONS")
set(CMAKE_C_FLAGS_INIT "${NIMBREL_MINGW_FLAGS}")
