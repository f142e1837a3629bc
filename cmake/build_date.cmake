# LOADCALC_BUILD_DATE, the date in the window's title (YYYY.MM.DD): the sources' date, not the
# time CMake ran, so that the same sources give the same program: SOURCE_DATE_EPOCH when set (as
# packagers do), else the date of the last commit, re-read whenever HEAD moves. Only a copy
# without either takes today's date.
set(loadcalc_source_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(loadcalc_source_epoch STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE loadcalc_source_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE loadcalc_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS "${loadcalc_git_dir}/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${loadcalc_git_dir}/logs/HEAD")
    endif()
  endif()
endif()
if(loadcalc_source_epoch MATCHES "^[0-9]+$")
  set(loadcalc_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${loadcalc_source_epoch})
  string(TIMESTAMP LOADCALC_BUILD_DATE "%Y.%m.%d" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${loadcalc_saved_epoch}")
else()
  message(STATUS "Neither SOURCE_DATE_EPOCH nor a git commit: the title shows today's date")
  string(TIMESTAMP LOADCALC_BUILD_DATE "%Y.%m.%d" UTC)
endif()
