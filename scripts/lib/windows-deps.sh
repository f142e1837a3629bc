# shellcheck shell=bash
# Sourced by scripts/windows: one recipe per library the Windows build links, each printing the
# folder it is installed in. Each is built once from Debian's source package into the cache, in a
# folder named by a hash of its configuration (scripts/lib/debsrc.sh).
#   LOADCALC_WINDOWS_CACHE   (default: ~/.cache/loadcalc-windows), outside the checkout so that
#                            every clone on the machine reuses it
win_cache=${LOADCALC_WINDOWS_CACHE:-$HOME/.cache/loadcalc-windows}
win_toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
win_triplet=x86_64-w64-mingw32

# win_build FOLDER PACKAGE BINARY STEP ARG...: debsrc_build for Windows; prints the prefix.
win_build() {
  debsrc_build windows "$win_cache" "$win_toolchain" "$win_triplet-g++-posix" "$@"
}

# What loadcalc needs and no more: Widgets, PrintSupport and Test as shared libraries, the
# windows and offscreen platforms with the raster engine and GDI fonts. The bundled zlib, libpng,
# PCRE2, FreeType and HarfBuzz keep the DLL set self-contained. Debian's source has no wintab
# header, hence no tablet events. Text goes through GDI, as the DirectWrite font engine is built
# only with Direct2D, which loadcalc does not need, while the print engine and the DirectWrite
# font database would use it without it. Optimised for size: Qt's DLLs are most of the download,
# and nothing here is bound by Qt's speed.
qt_args() {
  printf '%s\n' -release -optimize-size -shared -xplatform win32-g++ -qt-host-path /usr \
    -nomake examples -nomake tests \
    -no-opengl -no-dbus -no-icu -no-feature-vulkan \
    -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent \
    -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite -no-feature-directwrite3 \
    -qt-zlib -qt-libpng -no-libjpeg -qt-pcre -qt-freetype -qt-harfbuzz
}

qt_step() {
  local prefix=$1 src=$2
  shift 2
  env -u LOADCALC_WINDOWS_ROOTS "$src/configure" -prefix "$prefix" "$@" -- \
    -G Ninja -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" &&
    cmake --build . -j "$(nproc)" &&
    cmake --install .
}

# Qt takes the longest by far: 13 minutes on two idle cores when it was measured, and more when
# they are busy.
qt_prefix() {
  local args
  mapfile -t args < <(qt_args)
  win_build qt qt6-base qt6-base-dev qt_step "${args[@]}"
}

# GMP and MPFR as DLLs, like Qt, so that a user may replace them; built for any x86-64. Only the
# compiler is named, in each recipe's arguments: given the binutils too, GMP's libtool takes the
# compiler for Microsoft's and quietly builds a static archive named .dll.
autotools_compiler=CC=$win_triplet-gcc-posix

win_autotools_step() {
  local prefix=$1 src=$2
  shift 2
  autotools_step "$prefix" "$src" --host="$win_triplet" --enable-shared --disable-static "$@"
}

# Debian's GMP source has no documentation (it is not free software) and its patch leaves the
# folder out of configure.ac and Makefile.am, for a build that regenerates the build system.
# Regenerating here would bring in the host's libtool, which builds no Windows DLL; the same two
# cuts in the generated files keep GMP's own.
gmp_step() {
  local src=$2
  if [ ! -f "$src/.no-doc" ]; then
    sed -i '/^ac_config_files=/s| doc/Makefile||' "$src/configure"
    sed -i 's/^\(SUBDIRS = .*\) doc$/\1/' "$src/Makefile.in"
    touch "$src/.no-doc"
  fi
  win_autotools_step "$@"
}

gmp_prefix() {
  win_build gmp gmp libgmp-dev gmp_step "$autotools_compiler"
}

# Decimal floats would bring in GCC's decimal library, 2 MB of tables nothing here uses.
mpfr_prefix() {
  win_build mpfr mpfr4 libmpfr-dev win_autotools_step "$autotools_compiler" --with-gmp="$1" \
    --disable-decimal-float
}

# GoogleTest for the core's tests, linked statically into each test program.
gtest_step() {
  cmake_step "$1" "$2" -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" -DBUILD_SHARED_LIBS=OFF
}

gtest_prefix() {
  win_build googletest googletest libgtest-dev gtest_step
}

# zlib for libxlsxwriter's zip container. Qt's DLLs carry a zlib of their own but export none of
# it, so the book's .xlsx export gets a static one, linked into the program. Its configure script
# reads the target from CHOST; --static builds the archive alone.
zlib_step() {
  local prefix=$1 src=$2
  shift 2
  env CHOST="$win_triplet" "$@" "$src/configure" --static --prefix="$prefix" >configure.log &&
    make -j "$(nproc)" libz.a >make.log &&
    make install >install.log
}

zlib_prefix() {
  win_build zlib zlib zlib1g-dev zlib_step "$autotools_compiler" AR="$win_triplet-ar" \
    RANLIB="$win_triplet-ranlib"
}

# libxlsxwriter for the .xlsx export, static like zlib. Debian builds it against the system's
# minizip, which Windows lacks: here it takes its own copy of minizip's writer, and its own
# temporary-file and MD5 code, all in its source. Its own number printer writes a workbook's
# numbers with a point whatever the C library's locale says.
xlsxwriter_step() {
  cmake_step "$1" "$2" -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" -DBUILD_SHARED_LIBS=OFF \
    "${@:3}"
}

xlsxwriter_prefix() {
  win_build libxlsxwriter libxlsxwriter libxlsxwriter-dev xlsxwriter_step \
    -DZLIB_INCLUDE_DIR="$1/include" -DZLIB_LIBRARY="$1/lib/libz.a" -DUSE_DTOA_LIBRARY=ON
}
