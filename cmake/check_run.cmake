# cmake -DPROGRAM=<loadcalc> -DARGS=<;-list> -DEXPECT=<exit code> [-DSTDOUT=<regex>]
#       [-DSTDERR=<regex>] [-DDECODE=<encoding>] -P check_run.cmake
#
# Runs the program with no display, as a script or a terminal would: the exit code must be
# EXPECT, standard output (without its last line break) must match STDOUT and standard error STDERR (empty when not given).
# PROGRAM is a ;-list when the program runs through an emulator. DECODE: the encoding the
# program writes in, read back into UTF-8 (a Windows program's code page).

cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAM} ${ARGS}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  OUTPUT_STRIP_TRAILING_WHITESPACE
  TIMEOUT 60)
include(${CMAKE_CURRENT_LIST_DIR}/decoded.cmake)
decoded(output)
decoded(errors)
if(NOT result STREQUAL "${EXPECT}")
  message(FATAL_ERROR "loadcalc ${ARGS} exited with ${result}, not ${EXPECT}:\n${output}${errors}")
endif()
if(DEFINED STDOUT AND NOT output MATCHES "${STDOUT}")
  message(FATAL_ERROR "loadcalc ${ARGS} printed, not matching ${STDOUT}:\n${output}")
endif()
if(DEFINED STDERR)
  if(NOT errors MATCHES "${STDERR}")
    message(FATAL_ERROR "loadcalc ${ARGS} said, not matching ${STDERR}:\n${errors}")
  endif()
elseif(NOT errors STREQUAL "")
  message(FATAL_ERROR "loadcalc ${ARGS} printed on standard error:\n${errors}")
endif()
