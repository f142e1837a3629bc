# Dependencies point one way: calc <- checks <- book; calc <- form; form, checks, book <- ui <- app;
# form, checks, calc <- web. The two windows' folders never include each other, and ui/ itself
# holds only what both use. Run with -DSOURCE_DIR=the project's root; a wrong include fails and
# names the file and the line.
# One row per folder: the folder, then the folders its files may include from.
cmake_minimum_required(VERSION 3.25)
set(rules
  "calc|calc"
  "checks|calc,checks"
  "book|calc,checks,book"
  "form|calc,form"
  "ui|calc,book,ui"
  "ui/calculator|calc,checks,form,ui,ui/calculator"
  "ui/book|calc,checks,book,ui,ui/book"
  "web|calc,checks,form,web"
)
set(faults)
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" rule "${rule}")
  list(GET rule 0 folder)
  list(GET rule 1 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*$" "\\1" from "${line}")
      if(NOT from IN_LIST allowed)
        file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
        list(APPEND faults "${name}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the direction of the dependencies:\n  ${text}")
endif()
