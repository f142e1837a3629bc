# cmake -DPROGRAM=<loadcalc> -DOUT=<file> -DBOOK=<file> -DEXPECT=<exit code> [-DSTDERR=<regex>]
#       [-DARGS=<;-list replacing "--export OUT BOOK">] [-DDECODE=<encoding>] -P check_export.cmake
#
# Runs an export with no display as a script would: the exit code must be EXPECT; OUT must exist
# after a success and must not after a failure, whose reason must be on stderr.
# PROGRAM is a ;-list when the program runs through an emulator. DECODE: the encoding the
# program writes its messages in, read back into UTF-8 (a Windows program's code page).

cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED ARGS)
  set(ARGS --export "${OUT}" "${BOOK}")
endif()
file(REMOVE "${OUT}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAM} ${ARGS}
  RESULT_VARIABLE result
  ERROR_VARIABLE errors
  TIMEOUT 60)
include(${CMAKE_CURRENT_LIST_DIR}/decoded.cmake)
decoded(errors)
if(NOT result STREQUAL "${EXPECT}")
  message(FATAL_ERROR "loadcalc ${ARGS} exited with ${result}, not ${EXPECT}:\n${errors}")
endif()
if(EXPECT EQUAL 0)
  if(NOT EXISTS "${OUT}")
    message(FATAL_ERROR "loadcalc ${ARGS} succeeded but wrote no ${OUT}")
  endif()
  if(NOT errors STREQUAL "")
    message(FATAL_ERROR "loadcalc ${ARGS} succeeded but printed:\n${errors}")
  endif()
else()
  if(EXISTS "${OUT}")
    message(FATAL_ERROR "loadcalc ${ARGS} failed but left ${OUT} behind")
  endif()
  if(NOT errors MATCHES "${STDERR}")
    message(FATAL_ERROR "loadcalc ${ARGS} did not say why (${STDERR}):\n${errors}")
  endif()
endif()
file(REMOVE "${OUT}")
