# shellcheck shell=bash
# Sourced by scripts/web: one recipe per library the web build links, each printing the folder it
# is installed in, built once for wasm32-wasi from Debian's source package into the cache, in a
# folder named by a hash of its configuration (scripts/lib/debsrc.sh).
#   LOADCALC_WEB_CACHE   (default: ~/.cache/loadcalc-web), outside the checkout so that every
#                        clone on the machine reuses it
web_cache=${LOADCALC_WEB_CACHE:-$HOME/.cache/loadcalc-web}
web_toolchain=$PWD/cmake/wasm32-wasi.cmake
web_cflags="--target=wasm32-wasi --sysroot=/usr -Wno-deprecated -O2"
# GMP's abort path raises a signal, which WASI's C library only emulates.
web_signal=(CFLAGS="$web_cflags -D_WASI_EMULATED_SIGNAL" LIBS=-lwasi-emulated-signal)

# web_build FOLDER PACKAGE BINARY STEP ARG...: debsrc_build for wasm32-wasi; prints the prefix.
web_build() {
  debsrc_build web "$web_cache" "$web_toolchain" clang-22 "$@"
}

# Static libraries for an unknown CPU: "none" and no assembly.
web_autotools_step() {
  local prefix=$1 src=$2
  shift 2
  autotools_step "$prefix" "$src" --host=none --disable-shared --enable-static CC=clang-22 \
    AR=llvm-ar-22 RANLIB=llvm-ranlib-22 NM=llvm-nm-22 "$@"
}

# Debian's GMP source has no documentation (it is not free software), but configure still makes
# the folder's Makefile: an empty one with the targets the top level asks it for.
web_gmp_step() {
  local src=$2
  { [ -f "$src/doc/Makefile.in" ] ||
    { mkdir -p "$src/doc" && printf 'all install check clean:\n' >"$src/doc/Makefile.in"; }; } &&
    web_autotools_step "$@"
}

web_gmp_prefix() {
  web_build gmp gmp libgmp-dev web_gmp_step --disable-assembly "${web_signal[@]}"
}

# One thread, no decimal floats: nothing here would use either.
web_mpfr_prefix() {
  web_build mpfr mpfr4 libmpfr-dev web_autotools_step --with-gmp="$1" --disable-thread-safe \
    --disable-decimal-float "${web_signal[@]}"
}

# WASI has no threads, and no dup() to capture a test's output with; loadcalc needs neither.
web_gtest_step() {
  cmake_step "$1" "$2" -DCMAKE_TOOLCHAIN_FILE="$web_toolchain" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG -DGTEST_HAS_STREAM_REDIRECTION=0" \
    -Dgtest_disable_pthreads=ON -DBUILD_GMOCK=OFF
}

web_gtest_prefix() {
  web_build googletest googletest libgtest-dev web_gtest_step
}
