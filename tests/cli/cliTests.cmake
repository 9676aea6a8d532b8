# The command-line tests run the built nimbrel program as a user does, on
# images they make and read back with OpenImageIO.
if(TARGET nimbrel)
  find_package(OpenImageIO REQUIRED)
  nimbrel_test(cli OpenImageIO::OpenImageIO)
endif()
if(TARGET test_cli)
  add_dependencies(test_cli nimbrel)
  add_dependencies(test_cli nimbrel_plugin)
  target_compile_definitions(test_cli PRIVATE NIMBREL_CLI="$<TARGET_FILE:nimbrel>"
    NIMBREL_PLUGIN_PATH="$<TARGET_FILE:nimbrel_plugin>" NIMBREL_VERSION="${PROJECT_VERSION}"
    NIMBREL_PLUGIN_FROM_BIN="${NIMBREL_PLUGIN_FROM_BIN}")
endif()
