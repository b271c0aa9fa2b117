# cmake -DPROGRAM=<executable> -DNAME=<name> -DVERSION=<x.y.z> -P version_check.cmake
# Runs `PROGRAM --version` in an empty environment (no display, no locale)
# and expects exactly "NAME VERSION" and a line end on stdout, nothing on
# stderr and exit status 0.
execute_process(
  COMMAND env -i "${PROGRAM}" --version
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${NAME} --version exited with '${status}'; stderr: ${err}")
endif()
if(NOT out STREQUAL "${NAME} ${VERSION}\n")
  message(FATAL_ERROR "${NAME} --version printed '${out}', expected '${NAME} ${VERSION}'")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "${NAME} --version wrote to stderr: ${err}")
endif()
