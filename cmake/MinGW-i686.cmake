# 32-bit x86 Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NIMBREL_MINGW_TRIPLE i686-w64-mingw32)
# Floating point in SSE registers, as on x86-64: the x87 unit's wider
# intermediate values would give other pixels.
set(NIMBREL_MINGW_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
