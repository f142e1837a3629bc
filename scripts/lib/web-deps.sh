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

# web_build NAME FOLDER-NAME STEP KEY-WORD... -- STEP-ARG...: as win_build, for wasm32-wasi.
web_build() {
  local name=$1 folder=$2 step=$3 words=()
  shift 3
  while [ "$1" != -- ]; do
    words+=("$1")
    shift
  done
  shift
  folder=$web_cache/$folder-$(config_key "$web_toolchain" clang-22 "${words[@]}")
  [ -f "$folder/prefix/.done" ] || echo "web: building $name for wasm32-wasi" >&2
  cached_build "$folder" "$step" "$@"
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
  local version args=(--disable-assembly "${web_signal[@]}")
  version=$(deb_version gmp libgmp-dev)
  web_build "GMP $version" gmp web_gmp_step "gmp $version" "${args[@]}" -- \
    "$(deb_source "$web_cache/src" gmp "$version")" "${args[@]}"
}

# One thread, no decimal floats: nothing here would use either.
web_mpfr_prefix() {
  local version args=(--with-gmp="$1" --disable-thread-safe --disable-decimal-float "${web_signal[@]}")
  version=$(deb_version mpfr4 libmpfr-dev)
  web_build "MPFR $version" mpfr web_autotools_step "mpfr4 $version" "${args[@]}" -- \
    "$(deb_source "$web_cache/src" mpfr4 "$version")" "${args[@]}"
}

# WASI has no threads, and no dup() to capture a test's output with; loadcalc needs neither.
web_gtest_step() {
  cmake_step "$1" "$2" -DCMAKE_TOOLCHAIN_FILE="$web_toolchain" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG -DGTEST_HAS_STREAM_REDIRECTION=0" \
    -Dgtest_disable_pthreads=ON -DBUILD_GMOCK=OFF
}

web_gtest_prefix() {
  local version
  version=$(deb_version googletest libgtest-dev)
  web_build "GoogleTest $version" googletest web_gtest_step "googletest $version" -- \
    "$(deb_source "$web_cache/src" googletest "$version")"
}
