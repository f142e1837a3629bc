# Debian package of the window program. From the release preset's build (build-pkg/, installed
# under /usr):  cpack -G DEB   ->  loadcalc_<version>_<arch>.deb. The ctest case installed_files
# (tests/packaging) guards what it holds.
# Windows gets a portable zip and an installer from scripts/windows instead.
if(NOT Qt6_FOUND OR WIN32)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME loadcalc)
set(CPACK_PACKAGE_VENDOR "loadcalc developers")
set(CPACK_PACKAGE_CONTACT "loadcalc developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load calculator for reinforced-concrete frames")
# Debian wants the extended description in lines of under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "A one-window calculator with a Chinese interface for structural engineers.
It works out, while you type, the uniformly distributed line load (kN/m)
that an infill wall with one door or window opening puts on the frame beam
below it, and the converted dead load of a stair flight per square metre
of plan area (kN/m^2). Every input is checked as it changes.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "loadcalc developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugin and finds the Chinese font at run time, out of sight of
# dpkg-shlibdeps; without either the window does not open or shows empty boxes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Keep build trees and the repository out of `cpack --config CPackSourceConfig.cmake`.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/out/" "/fuzz-artifacts/")

include(CPack)
