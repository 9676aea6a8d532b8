# 64-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(NIMBREL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
