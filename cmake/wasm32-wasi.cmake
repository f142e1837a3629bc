# Cross-compiles for WebAssembly (wasm32-wasi) with Debian's clang and its wasm32 libc++ and
# wasi-libc. clang-22's own default triple, wasm32-wasip1, looks for a sysroot layout Debian does
# not ship; the older wasm32-wasi name finds /usr/lib/wasm32-wasi and /usr/include/wasm32-wasi.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_SYSTEM_VERSION 1)
# Platform/WASI.cmake, next to this file
list(APPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")

set(CMAKE_C_COMPILER clang-22)
set(CMAKE_CXX_COMPILER clang++-22)
set(CMAKE_AR llvm-ar-22 CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib-22 CACHE FILEPATH "")
set(CMAKE_STRIP llvm-strip-22 CACHE FILEPATH "")
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)

# Debian's wasm libc++abi has no exception support: code that would throw aborts instead
# (web/abort_on_throw.cpp). The sysroot is given as a flag, not as CMAKE_SYSROOT, so that find_*
# never looks in the host's /usr. -Wno-deprecated: clang-22 calls the wasm32-wasi triple deprecated.
set(CMAKE_C_FLAGS_INIT "--sysroot=/usr -Wno-deprecated")
set(CMAKE_CXX_FLAGS_INIT "--sysroot=/usr -Wno-deprecated -fignore-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")

# A WASI program cannot be run by try_run; a static library is enough to test the compiler.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Libraries and headers only from the wasm sysroot and the prefixes in LOADCALC_WEB_ROOTS (GMP,
# MPFR, GoogleTest built by scripts/web); programs from the host.
set(CMAKE_FIND_ROOT_PATH $ENV{LOADCALC_WEB_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
