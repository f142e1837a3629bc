# Cross-compiles for 64-bit Windows with Debian's mingw-w64. The POSIX thread model is the one
# whose libstdc++ has std::thread and std::mutex; the win32 one lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(PKG_CONFIG_EXECUTABLE x86_64-w64-mingw32-pkg-config CACHE FILEPATH "")

# Libraries and headers come only from the Windows sysroot and the cross-built prefixes named in
# LOADCALC_WINDOWS_ROOTS (a ;-list, read from the environment so that try_compile sees it too),
# never from the Linux host; programs (moc, rcc, the host Qt's tools) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $ENV{LOADCALC_WINDOWS_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
