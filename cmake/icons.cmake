# The sizes, in pixels, the build paints the application icon at; the window embeds all of them.
set(LOADCALC_ICON_SIZES 16 22 24 32 48 64 128 256)
# Those the Debian package installs into hicolor: menus and software centres scale from these.
set(LOADCALC_ICON_SIZES_INSTALLED 48 256)
# Those the Windows icon file holds: the sizes Explorer and the taskbar ask for.
set(LOADCALC_ICON_SIZES_WINDOWS 16 24 32 48 64 128 256)
