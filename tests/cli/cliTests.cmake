# The command-line tests run the built nimbrel program as a user does, on
# images they make and read back with OpenImageIO.
if(TARGET nimbrel AND NOT WIN32)  # the Windows nimbrel is checked from Linux
  find_package(OpenImageIO REQUIRED)
  nimbrel_test(cli OpenImageIO::OpenImageIO)
endif()
if(TARGET test_cli)
  add_dependencies(test_cli nimbrel)
  add_dependencies(test_cli nimbrel_plugin)
  target_compile_definitions(test_cli PRIVATE NIMBREL_CLI="$<TARGET_FILE:nimbrel>"
    NIMBREL_PLUGIN_PATH="$<TARGET_FILE:nimbrel_plugin>" NIMBREL_VERSION="${PROJECT_VERSION}"
    NIMBREL_PLUGIN_FROM_BIN="${NIMBREL_PLUGIN_FROM_BIN}")
  # The renders of the Windows build come and go as world files, made and
  # read back by the program's own image file code.
  foreach(_image_file qrImageFile qrImageRead qrOutputFile qrInputCheck qrFileExtent qrInterrupt)
    target_sources(test_cli PRIVATE ${CMAKE_SOURCE_DIR}/tools/nimbrel/${_image_file}.cpp)
  endforeach()
  target_include_directories(test_cli PRIVATE ${CMAKE_SOURCE_DIR}/tools/nimbrel)
  target_link_libraries(test_cli PRIVATE nimbrel_aehost)
endif()
