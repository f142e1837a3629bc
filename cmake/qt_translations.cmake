# Qt's own texts (message-box buttons, a field's context menu) in simplified Chinese, embedded so
# that the program needs no Qt translation files at run time: the build tree, an installed copy,
# the Debian package and the Windows build all find it the same way. The file comes from Debian's
# qt6-translations-l10n at build time; a cross-build takes the build machine's copy. Sets
# LOADCALC_TRANSLATIONS (the files) and LOADCALC_TRANSLATIONS_DIR (their folder) for the resource.
find_file(LOADCALC_QTBASE_ZH_CN qtbase_zh_CN.qm
          PATHS /usr/share/qt6/translations "${QT6_INSTALL_PREFIX}/share/qt6/translations"
                "${QT6_INSTALL_PREFIX}/translations"
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT LOADCALC_QTBASE_ZH_CN)
  message(FATAL_ERROR "qtbase_zh_CN.qm not found: install the Debian package qt6-translations-l10n "
                      "(scripts/install-deps app), or set LOADCALC_QTBASE_ZH_CN to the file")
endif()
set(LOADCALC_TRANSLATIONS_DIR ${PROJECT_BINARY_DIR}/translations)
set(LOADCALC_TRANSLATIONS ${LOADCALC_TRANSLATIONS_DIR}/qtbase_zh_CN.qm)
configure_file(${LOADCALC_QTBASE_ZH_CN} ${LOADCALC_TRANSLATIONS} COPYONLY)
