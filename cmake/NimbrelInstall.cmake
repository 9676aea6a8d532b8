# What `cmake --install` puts where: the programs in bin/, the plug-in where
# the installed nimbrel looks for it, the frei0r filter (its own rule, in
# tools/frei0r), the nimbrel man page and the effect descriptions that
# Kdenlive and Shotcut need to offer the frei0r filter in their effect lists.
install(TARGETS nimbrel nimbrel-sample RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS nimbrel_plugin LIBRARY DESTINATION ${NIMBREL_INSTALL_PLUGINDIR})

set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${_packaging}/kdenlive/frei0r_nimbrel.xml DESTINATION ${NIMBREL_INSTALL_KDENLIVEDIR})
install(DIRECTORY ${_packaging}/shotcut/ DESTINATION ${NIMBREL_INSTALL_SHOTCUTDIR})

# The man page is made from the program's own --help and `render --help`, so it cannot drift from the program. It needs the
# program to run at build time: not with sanitizers, whose runtime may
# object to being started by help2man.
find_program(HELP2MAN help2man)
if(HELP2MAN AND NOT NIMBREL_SANITIZE)
  set(_man ${CMAKE_BINARY_DIR}/man/nimbrel.1)
  add_custom_command(OUTPUT ${_man}.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:nimbrel> -DVERSION=${PROJECT_VERSION} -DHELP2MAN=${HELP2MAN}
      -DINCLUDE=${_packaging}/man/nimbrel.h2m -DOUTPUT=${_man}
      -P ${PROJECT_SOURCE_DIR}/cmake/NimbrelManPage.cmake
    DEPENDS nimbrel ${_packaging}/man/nimbrel.h2m
      ${PROJECT_SOURCE_DIR}/cmake/NimbrelManPage.cmake
    COMMENT "Man page nimbrel.1 from the program's help" VERBATIM)
  add_custom_target(nimbrel_man ALL DEPENDS ${_man}.gz)
  install(FILES ${_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found (or a sanitizer build): no man page")
endif()
