# shellcheck shell=bash
# Sourced by the scripts that build a library from Debian's source package into a cache folder.
# A recipe names the source package, its configuration, and the step that builds it; the folder
# is named by a hash of that configuration, so that a changed configuration builds anew instead
# of reusing a stale build, and an unchanged one is built once for every clone on the machine.

# apt-get source needs deb-src entries; derive them from the configured deb ones.
ensure_deb_src() {
  if apt-cache showsrc "$1" 2>/dev/null | grep -q '^Package:'; then return; fi
  echo "adding deb-src entries for the configured mirrors" >&2
  local f
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list |
      as_root tee /etc/apt/sources.list.d/loadcalc-deb-src.list >/dev/null
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    case "$f" in */loadcalc-*) continue ;; esac
    grep -q '^Types: *deb *$' "$f" || continue
    sed 's/^Types: *deb *$/Types: deb-src/' "$f" |
      as_root tee "/etc/apt/sources.list.d/loadcalc-src-$(basename "$f")" >/dev/null
  done
  as_root apt-get -o DPkg::Lock::Timeout=900 update -q >&2
}

# deb_version PACKAGE BINARY: the version of source PACKAGE that the installed BINARY package
# was built from, else the newest one available.
deb_version() {
  local package=$1 binary=$2 v
  v=$(dpkg-query -W -f='${source:Version}' "$binary" 2>/dev/null || true)
  [ -n "$v" ] || v=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -V | tail -1)
  echo "$v"
}

# deb_source FOLDER PACKAGE VERSION: unpacks the source once under FOLDER; prints its folder.
deb_source() {
  local into=$1 package=$2 version=$3 upstream dir
  upstream=${version#*:}
  upstream=${upstream%-*}
  dir=$into/$package-$upstream
  if [ ! -f "$dir/.unpacked" ]; then
    ensure_deb_src "$package"
    rm -rf "$dir"
    mkdir -p "$into"
    (cd "$into" && apt-get source -q "$package=$version" >&2)
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# config_key TOOLCHAIN COMPILER WORD...: the hash naming a configuration: the toolchain file's
# code lines (not its comments), the compiler's version line and the words.
config_key() {
  local toolchain=$1 compiler=$2
  shift 2
  {
    grep -v '^ *#' "$toolchain"
    "$compiler" --version | head -1
    printf '%s\n' "$@"
  } | sha256sum | cut -c1-12
}

# debsrc_build PLATFORM CACHE TOOLCHAIN COMPILER FOLDER PACKAGE BINARY STEP ARG...: a library
# cross-built for PLATFORM (its name in messages) from Debian's source PACKAGE, at the version the
# installed BINARY package was built from: STEP PREFIX SOURCE ARG... in CACHE/FOLDER-KEY, KEY the
# config_key of the TOOLCHAIN file, the COMPILER, the package's name and version and the ARGs.
# A step's own fixed arguments are not part of the key: what tells two builds apart goes in ARGs.
# Prints the prefix.
debsrc_build() {
  local platform=$1 cache=$2 toolchain=$3 compiler=$4 folder=$5 package=$6 binary=$7 step=$8
  local version src
  shift 8
  version=$(deb_version "$package" "$binary")
  src=$(deb_source "$cache/src" "$package" "$version")
  folder=$cache/$folder-$(config_key "$toolchain" "$compiler" "$package $version" "$@")
  [ -f "$folder/prefix/.done" ] || echo "$platform: $package $version is not built yet" >&2
  cached_build "$folder" "$step" "$src" "$@"
}

# cached_build FOLDER STEP ARG...: unless FOLDER/prefix holds a finished build, runs
# STEP PREFIX ARG... in the empty FOLDER/build and marks the prefix finished; prints the prefix.
# A step chains its commands with && so that it fails whether or not errexit holds where it runs.
# An interrupted build leaves no mark and is made anew next time; a second run on the machine
# that wants the same build waits for the first (FOLDER.lock) instead of building it again.
cached_build() {
  local dir=$1 step=$2
  shift 2
  mkdir -p "$(dirname "$dir")"
  (
    flock -n 9 || { echo "waiting for another run's build of $dir" >&2 && flock 9; }
    if [ ! -f "$dir/prefix/.done" ]; then
      echo "building into $dir" >&2
      rm -rf "$dir"
      mkdir -p "$dir/build"
      (cd "$dir/build" && "$step" "$dir/prefix" "$@") >&2 &&
        rm -rf "$dir/build" && touch "$dir/prefix/.done"
    fi
  ) 9>"$dir.lock"
  [ -f "$dir/prefix/.done" ] || return 1
  echo "$dir/prefix"
}

# autotools_step PREFIX SOURCE CONFIGURE-ARG...: a cached_build step for an autotools package;
# the tools' output goes to logs in the build folder.
autotools_step() {
  local prefix=$1 src=$2
  shift 2
  "$src/configure" --prefix="$prefix" "$@" >configure.log &&
    make -j "$(nproc)" >make.log &&
    make install >install.log
}

# cmake_step PREFIX SOURCE CMAKE-ARG...: a cached_build step for a CMake package, built as a
# release with Ninja.
cmake_step() {
  local prefix=$1 src=$2
  shift 2
  cmake -S "$src" -B . -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    "$@" >/dev/null &&
    cmake --build . -j "$(nproc)" >/dev/null &&
    cmake --install . >/dev/null
}
