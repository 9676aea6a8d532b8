# cmake -DPROGRAM=nimbrel -DVERSION=2.1.0 -DHELP2MAN=help2man
#       -DINCLUDE=nimbrel.h2m -DOUTPUT=man/nimbrel.1 -P NimbrelManPage.cmake
# Writes OUTPUT.gz: help2man's page from `PROGRAM --help`, with the
# hand-written sections of INCLUDE and the render subcommand's own help as a
# section of its own. The version is given rather than read from --version,
# which also names the plug-in's path: a build folder here.
get_filename_component(_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${_dir})

execute_process(COMMAND ${PROGRAM} render --help
  OUTPUT_VARIABLE _render RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} render --help failed (${_status})")
endif()
# roff reads a backslash as an escape: print it as one.
string(REPLACE "\\" "\\e" _render "${_render}")
file(WRITE ${OUTPUT}.render.h2m "[render options]\n.nf\n${_render}.fi\n")

execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string ${VERSION}
      --name "add rain to images with the Nimbrel effect plug-in"
      --include ${INCLUDE} --include ${OUTPUT}.render.h2m
      --output ${OUTPUT} ${PROGRAM}
  RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "help2man failed (${_status})")
endif()
execute_process(COMMAND gzip -9nf ${OUTPUT} RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "gzip ${OUTPUT} failed (${_status})")
endif()
