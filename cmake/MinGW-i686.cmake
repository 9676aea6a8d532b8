# 32-bit x86 Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NIMBREL_MINGW_TRIPLE i686-w64-mingw32)
# Floating point in SSE registers, as on x86-64: the x87 unit's wider
# intermediate values would give other pixels.
# The stack of a 32-bit Windows thread (and of a host's call) is aligned
# to 4 bytes only, and the C runtime's malloc to 8: functions realign their
# frames, and types aligned to more than 8 bytes (the four-lane floats of
# the streak blur) are allocated by the aligned operator new.
set(NIMBREL_MINGW_FLAGS "-msse2 -mfpmath=sse -mstackrealign")
set(NIMBREL_MINGW_CXX_FLAGS "-faligned-new=8")
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
