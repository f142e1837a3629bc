# cmake -DPROGRAM=<loadcalc> -P check_headless_start.cmake
#
# Starts the program as a user would with no display: it must say so, picture the started window
# at its full size (the client area the program reports with --print-geometry) in a PNG, name
# that file and exit cleanly.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/png_size.cmake)

execute_process(COMMAND "${PROGRAM}" --print-geometry RESULT_VARIABLE result
                OUTPUT_VARIABLE geometry OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT result EQUAL 0 OR NOT geometry MATCHES "^([0-9]+)x([0-9]+)$")
  message(FATAL_ERROR "loadcalc --print-geometry gave '${geometry}' (${result})")
endif()
set(WIDTH ${CMAKE_MATCH_1})
set(HEIGHT ${CMAKE_MATCH_2})

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          --unset=XDG_RUNTIME_DIR "${PROGRAM}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "loadcalc exited with ${result}\n${output}${errors}")
endif()
if(NOT errors MATCHES "没有可用的显示")
  message(FATAL_ERROR "loadcalc did not say that there is no display:\n${errors}")
endif()
# A session without a display usually has no runtime directory either; Qt must not warn about it.
if(errors MATCHES "XDG_RUNTIME_DIR")
  message(FATAL_ERROR "loadcalc let Qt warn about the runtime directory:\n${errors}")
endif()
if(NOT output MATCHES "启动的窗口已存为图片 ([^\n]+\\.png)")
  message(FATAL_ERROR "loadcalc did not name its picture:\n${output}")
endif()
set(picture "${CMAKE_MATCH_1}")
if(NOT EXISTS "${picture}")
  message(FATAL_ERROR "the named picture ${picture} does not exist")
endif()

png_size("${picture}" width height)
file(REMOVE "${picture}")
if(NOT width)
  message(FATAL_ERROR "${picture} is not a PNG")
endif()
if(NOT width EQUAL WIDTH OR NOT height EQUAL HEIGHT)
  message(FATAL_ERROR "the picture is ${width} x ${height}, the window ${WIDTH} x ${HEIGHT}")
endif()
