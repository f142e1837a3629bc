# cmake -DBUILD_DIR=<build> -DSTAGE=<scratch dir> -DICON_SIZES=<sizes> [-DCONFIG=<config>]
#       -P check_installed_files.cmake
#
# Installs the build under STAGE as a package would (prefix /usr) and checks that exactly the
# program and its desktop files arrive, and that they name one another consistently.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/png_size.cmake)

# Everything the package may contain, relative to the staging root.
set(program usr/bin/loadcalc)
set(desktop_entry usr/share/applications/loadcalc.desktop)
set(metainfo usr/share/metainfo/io.github.loadcalc.metainfo.xml)
# Icon sizes in pixels (LOADCALC_ICON_SIZES_INSTALLED); each is installed into its own hicolor
# directory.
set(icon_sizes ${ICON_SIZES})
if(NOT icon_sizes)
  message(FATAL_ERROR "ICON_SIZES names no icon size")
endif()

set(failures "")
macro(fail)
  string(APPEND failures "\n  " ${ARGN})
endmacro()

file(REMOVE_RECURSE "${STAGE}")
set(config_args "")
if(CONFIG)
  set(config_args --config "${CONFIG}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${STAGE}" ${CMAKE_COMMAND} --install "${BUILD_DIR}"
          --prefix /usr ${config_args}
  RESULT_VARIABLE install_result
  OUTPUT_VARIABLE install_output
  ERROR_VARIABLE install_output)
if(NOT install_result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${install_result}):\n${install_output}")
endif()

# The exact set: a stray library, header or test program in the package is a fault too.
set(expected ${program} ${desktop_entry} ${metainfo})
foreach(size IN LISTS icon_sizes)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/loadcalc.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
foreach(path IN LISTS expected)
  if(NOT path IN_LIST installed)
    fail("missing: /${path}")
  endif()
endforeach()
foreach(path IN LISTS installed)
  if(NOT path IN_LIST expected)
    fail("not expected in the package: /${path}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "Installed files are wrong:${failures}")
endif()

file(READ "${STAGE}/${program}" elf_magic HEX LIMIT 4)
if(NOT elf_magic STREQUAL "7f454c46")
  fail("/${program} is not an ELF executable")
endif()

foreach(size IN LISTS icon_sizes)
  set(icon usr/share/icons/hicolor/${size}x${size}/apps/loadcalc.png)
  png_size("${STAGE}/${icon}" width height)
  if(NOT width)
    fail("/${icon} is not a PNG")
  elseif(NOT width EQUAL size OR NOT height EQUAL size)
    fail("/${icon} is ${width}x${height} pixels, its directory says ${size}x${size}")
  endif()
endforeach()

# The desktop entry must start the installed program and show the installed icon by name.
file(STRINGS "${STAGE}/${desktop_entry}" exec_lines REGEX "^Exec=")
file(STRINGS "${STAGE}/${desktop_entry}" icon_lines REGEX "^Icon=")
list(LENGTH exec_lines exec_count)
list(LENGTH icon_lines icon_count)
if(NOT exec_count EQUAL 1 OR NOT icon_count EQUAL 1)
  fail("the desktop entry needs exactly one Exec= and one Icon= line")
else()
  string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec_program "${exec_lines}")
  string(REGEX REPLACE "^Icon=(.*)" "\\1" icon_name "${icon_lines}")
  get_filename_component(program_name "${program}" NAME)
  if(NOT exec_program STREQUAL program_name AND NOT exec_program STREQUAL "/${program}")
    fail("the desktop entry runs '${exec_program}', the package installs /${program}")
  endif()
  if(NOT icon_name STREQUAL "loadcalc")
    fail("the desktop entry shows icon '${icon_name}', the package installs loadcalc.png")
  endif()
endif()

# AppStream finds the component by file name and links it to the desktop entry and the binary.
file(READ "${STAGE}/${metainfo}" metainfo_text)
get_filename_component(metainfo_name "${metainfo}" NAME)
string(REGEX REPLACE "\\.metainfo\\.xml$" "" metainfo_id "${metainfo_name}")
get_filename_component(desktop_name "${desktop_entry}" NAME)
get_filename_component(program_name "${program}" NAME)
foreach(element IN ITEMS "<id>${metainfo_id}</id>"
                         "<launchable type=\"desktop-id\">${desktop_name}</launchable>"
                         "<binary>${program_name}</binary>")
  string(FIND "${metainfo_text}" "${element}" found)
  if(found EQUAL -1)
    fail("the metainfo lacks ${element}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "Installed files are inconsistent:${failures}")
endif()
file(REMOVE_RECURSE "${STAGE}")
