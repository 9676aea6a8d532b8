# Windows builds bring their own expat and GoogleTest, built from source as
# part of the build: expat from Debian's source package that scripts/setup
# unpacks under build-deps/src, GoogleTest from the sources libgtest-dev
# installs. They provide the targets find_package gives elsewhere.
file(GLOB _expat_dirs ${CMAKE_SOURCE_DIR}/build-deps/src/expat-*/expat)
set(NIMBREL_EXPAT_SOURCE "${_expat_dirs}" CACHE PATH "expat's source folder (the one with CMakeLists.txt)")
# A folder configured before scripts/setup fetched the source keeps an empty
# value: look again rather than fail for good.
if(NOT EXISTS "${NIMBREL_EXPAT_SOURCE}/CMakeLists.txt" AND _expat_dirs)
  set(NIMBREL_EXPAT_SOURCE "${_expat_dirs}" CACHE PATH "expat's source folder (the one with CMakeLists.txt)" FORCE)
endif()
if(NOT EXISTS "${NIMBREL_EXPAT_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "expat's source is missing under build-deps/src: run scripts/setup")
endif()
set(EXPAT_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_PKGCONFIG OFF CACHE BOOL "" FORCE)
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
add_subdirectory(${NIMBREL_EXPAT_SOURCE} ${CMAKE_BINARY_DIR}/deps/expat EXCLUDE_FROM_ALL SYSTEM)
set_target_properties(expat PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
add_library(EXPAT::EXPAT ALIAS expat)
# Debian's security patches test "XML_DTD == 1", as its own (autotools)
# build defines it; expat's CMake configuration defines it without a value.
set(_expat_config ${CMAKE_BINARY_DIR}/deps/expat/expat_config.h)
file(READ ${_expat_config} _config)
string(REPLACE "#define XML_DTD\n" "#define XML_DTD 1\n" _config "${_config}")
file(WRITE ${_expat_config} "${_config}")

if(NIMBREL_TESTS)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/deps/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(_gtest gtest gtest_main gmock gmock_main)
    set_target_properties(${_gtest} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)

  endforeach()
endif()
