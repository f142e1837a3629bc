# cmake "-DPROGRAM=[emulator;]<loadcalc_figures>" -DCOUNT=<n> -P check_figures.cmake
#
# Runs the figures driver twice with one seed and once with another: each run must exit 0 with
# 2 × COUNT lines (COUNT plain entries, then COUNT with assumptions), the two runs with the same seed must agree byte for byte, and another seed must
# give other entries.

cmake_minimum_required(VERSION 3.25)

foreach(run a b c)
  if(run STREQUAL "c")
    set(seed 2)
  else()
    set(seed 1)
  endif()
  execute_process(COMMAND ${PROGRAM} ${COUNT} ${seed} RESULT_VARIABLE result
                  OUTPUT_VARIABLE out_${run} ERROR_VARIABLE errors TIMEOUT 300)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "loadcalc_figures ${COUNT} ${seed} exited with ${result}:\n${errors}")
  endif()
  string(REGEX MATCHALL "\n" lines "${out_${run}}")
  list(LENGTH lines n)
  math(EXPR expected "2 * ${COUNT}")
  if(NOT n EQUAL expected)
    message(FATAL_ERROR "loadcalc_figures ${COUNT} ${seed} printed ${n} lines")
  endif()
endforeach()
if(NOT out_a STREQUAL out_b)
  message(FATAL_ERROR "two runs with the same seed printed different figures")
endif()
if(out_a STREQUAL out_c)
  message(FATAL_ERROR "seeds 1 and 2 printed the same figures")
endif()
