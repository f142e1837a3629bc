# decoded(VARIABLE): VARIABLE's text read from the encoding DECODE names into UTF-8, and a
# Windows program's CR LF line ends into LF; nothing when DECODE is not set. For the check
# scripts, whose expectations are written in UTF-8.

function(decoded variable)
  if(NOT DEFINED DECODE OR "${${variable}}" STREQUAL "")
    return()
  endif()
  string(RANDOM LENGTH 12 tag)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/decoded-${tag}.txt)
  file(WRITE ${file} "${${variable}}")
  execute_process(COMMAND iconv -f ${DECODE} -t UTF-8 ${file} RESULT_VARIABLE result
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors)
  file(REMOVE ${file})
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the program's output is not ${DECODE}: ${errors}")
  endif()
  string(REPLACE "\r\n" "\n" text "${text}")
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
