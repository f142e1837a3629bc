# shellcheck shell=bash
# Sourced by scripts/windows: the portable zip and the installer, with the licence of everything
# shipped. QT, GMP and MPFR below are the libraries' prefixes (scripts/lib/windows-deps.sh).

# runtime_dirs QT GMP MPFR: where a cross-built program finds its DLLs: the libraries' and the
# MinGW runtime's folders, colon-separated.
runtime_dirs() {
  local gcc_dir
  gcc_dir=$(dirname "$("$win_triplet-g++-posix" -print-file-name=libstdc++-6.dll)")
  echo "$1/bin:$2/bin:$3/bin:$gcc_dir:/usr/$win_triplet/lib"
}

# dll_closure DIRS FILE...: the DLLs the files load, found in the colon-separated DIRS;
# Windows' own are left out.
dll_closure() {
  local dirs dll d seen=" " queue file
  IFS=: read -r -a dirs <<<"$1"
  shift
  queue=("$@")
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $("$win_triplet-objdump" -p "$file" | sed -n 's/^\tDLL Name: //p'); do
      case "$seen" in *" $dll "*) continue ;; esac
      seen+="$dll "
      for d in "${dirs[@]}"; do
        if [ -f "$d/$dll" ]; then
          echo "$d/$dll"
          queue+=("$d/$dll")
          break
        fi
      done
    done
  done
}

# stage OUT STAGE QT GMP MPFR: the program's folder as shipped: the program, the one plugin it
# loads (the Windows platform; the Fusion style and PNG support are inside Qt's DLLs), the DLLs
# they import, and the licences.
stage() {
  local out=$1 stage=$2 f
  rm -rf "$stage"
  mkdir -p "$stage/platforms" "$stage/licenses"
  cp "$out/app/loadcalc.exe" "$stage/"
  cp "$3/plugins/platforms/qwindows.dll" "$stage/platforms/"
  for f in $(dll_closure "$(runtime_dirs "$3" "$4" "$5")" "$stage/loadcalc.exe" \
    "$stage/platforms/qwindows.dll" | sort -u); do
    cp "$f" "$stage/"
  done
  # Debian's MinGW runtime carries its debug sections: most of libstdc++'s size.
  find "$stage" -name '*.exe' -o -name '*.dll' | xargs "$win_triplet-strip" --strip-unneeded
  licenses "$stage/licenses"
}

# nsis_lists STAGE: the installer's file list and the uninstaller's, in reverse, from the folder
# itself, next to it as install.nsh and uninstall.nsh.
nsis_lists() {
  local stage=$1 d f
  (
    cd "$stage" || exit
    find . -type d | sort | while read -r d; do
      printf 'SetOutPath "$INSTDIR%s"\n' "$(printf '%s' "${d#.}" | tr / '\\')"
      find "$d" -maxdepth 1 -type f | sort | while read -r f; do printf 'File "%s"\n' "$stage/${f#./}"; done
    done
    echo 'SetOutPath "$INSTDIR"'
  ) >"$stage/../install.nsh"
  (
    cd "$stage" || exit
    find . -type f | sort | while read -r f; do printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${f#./}" | tr / '\\')"; done
    find . -mindepth 1 -type d | sort -r | while read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${d#./}" | tr / '\\')"; done
  ) >"$stage/../uninstall.nsh"
}

# pack OUT VERSION QT GMP MPFR: the zip and the installer, in OUT.
pack() {
  local out=$1 version=$2 name=loadcalc-$2
  local stage=$PWD/$out/stage/$name
  stage "$out" "$stage" "$3" "$4" "$5"
  rm -f "$out/$name-windows-x64.zip"
  (cd "$out/stage" && zip -q -9 -r -X "../$name-windows-x64.zip" "$name")
  portable_marker "$out/portable/$name/portable"
  (cd "$out/portable" && zip -q -9 -X "../$name-windows-x64.zip" "$name/portable")
  nsis_lists "$stage"
  makensis -V2 -DVERSION="$version" -DICON="$PWD/$out/app/loadcalc.ico" \
    -DSTAGE_LIST="$PWD/$out/stage/install.nsh" -DUNSTAGE_LIST="$PWD/$out/stage/uninstall.nsh" \
    -DOUTFILE="$PWD/$out/$name-setup.exe" packaging/windows/loadcalc.nsi
  echo "windows: packed $(du -b "$out/$name-windows-x64.zip" | cut -f1) bytes: $out/$name-windows-x64.zip" >&2
  echo "windows: packed $(du -b "$out/$name-setup.exe" | cut -f1) bytes: $out/$name-setup.exe" >&2
}

# portable_marker FILE: the file that only the zip carries, whose presence beside loadcalc.exe keeps
# the program's settings and recovery copies in a folder beside it instead of in the registry and
# the user's profile (ui/storage.h); its text tells a user who finds it what it does.
portable_marker() {
  mkdir -p "$(dirname "$1")"
  printf '%s\r\n' \
    "有此文件时，本程序的设置（最近的计算书）和恢复副本保存在旁边的 loadcalc 文件夹中，" \
    "不写入注册表和用户文件夹。删除此文件，程序就像安装版一样保存它们。" >"$1"
}

# licenses TO: the licence of everything shipped, and where each source is.
licenses() {
  local to=$1 qt_version qt_src c f
  qt_version=$(deb_version qt6-base qt6-base-dev)
  qt_src=$(deb_source "$win_cache/src" qt6-base "$qt_version")
  cp "$qt_src/LICENSES/LGPL-3.0-only.txt" "$to/Qt-LGPL-3.0.txt"
  cp "$qt_src/LICENSES/GPL-3.0-only.txt" "$to/GPL-3.0.txt"
  # Qt's DLLs hold these third-party parts, each under the licences its attribution file names.
  for c in freetype harfbuzz-ng pcre2 libpng zlib double-conversion md4c tinycbor easing pixman \
    rfc6234 sha3 blake2 icc; do
    for f in $(sed -n 's/.*"LicenseFile": *"\([^"]*\)".*/\1/p' "$qt_src/src/3rdparty/$c/qt_attribution.json"); do
      cp "$qt_src/src/3rdparty/$c/$f" "$to/Qt-3rdparty-$c-$(basename "$f")"
    done
  done
  cat >"$to/Qt-source.txt" <<TEXT
Qt 6 (qtbase) $qt_version, licensed under the GNU Lesser General Public License version 3
(Qt-LGPL-3.0.txt, which builds on GPL-3.0.txt). Its third-party parts are under the licences in
the Qt-3rdparty-* files.

The Qt DLLs in this folder are built unchanged from Debian's source package, which you can get
with "apt-get source qt6-base=$qt_version" on Debian 12 or from
https://sources.debian.org/src/qt6-base/$qt_version/
They were configured with: $(qt_args | paste -sd ' ')
You may replace them with your own build of the same Qt version.
TEXT
  gmp_mpfr_licenses "$to"
  xlsxwriter_licenses "$to"
}

gmp_mpfr_licenses() {
  local to=$1 gmp_version mpfr_version
  gmp_version=$(deb_version gmp libgmp-dev)
  mpfr_version=$(deb_version mpfr4 libmpfr-dev)
  cp "$(deb_source "$win_cache/src" gmp "$gmp_version")/COPYING.LESSERv3" "$to/GMP-LGPL-3.0.txt"
  cp "$(deb_source "$win_cache/src" mpfr4 "$mpfr_version")/COPYING.LESSER" "$to/MPFR-LGPL-3.0.txt"
  cat >"$to/GMP-MPFR-source.txt" <<TEXT
libgmp-10.dll is GMP $gmp_version and libmpfr-6.dll is MPFR $mpfr_version, both under the
GNU Lesser General Public License version 3 (GMP-LGPL-3.0.txt, MPFR-LGPL-3.0.txt, GPL-3.0.txt),
built unchanged from Debian 12's source packages gmp and mpfr4 ("apt-get source gmp mpfr4",
https://sources.debian.org/src/gmp/ and https://sources.debian.org/src/mpfr4/).
TEXT
  cp "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright" "$to/MinGW-GCC-runtime.txt"
  cp "/usr/share/doc/mingw-w64-x86-64-dev/copyright" "$to/MinGW-w64-winpthreads.txt"
}

# libxlsxwriter and zlib are linked into the program. libxlsxwriter's licence file also carries
# those of the parts it brings along: minizip, tmpfileplus (MPL 2.0), MD5 and the number printer.
xlsxwriter_licenses() {
  local to=$1 xlsx_version zlib_version
  xlsx_version=$(deb_version libxlsxwriter libxlsxwriter-dev)
  zlib_version=$(deb_version zlib zlib1g-dev)
  cp "$(deb_source "$win_cache/src" libxlsxwriter "$xlsx_version")/License.txt" \
    "$to/libxlsxwriter-license.txt"
  cp "$(deb_source "$win_cache/src" zlib "$zlib_version")/LICENSE" "$to/zlib-license.txt"
  cat >"$to/libxlsxwriter-zlib-source.txt" <<TEXT
loadcalc.exe holds libxlsxwriter $xlsx_version (FreeBSD licence, libxlsxwriter-license.txt, which
also gives the licences of its minizip, tmpfileplus, MD5 and dtoa parts) and zlib $zlib_version
(zlib licence, zlib-license.txt), built unchanged from Debian 12's source packages libxlsxwriter
and zlib ("apt-get source libxlsxwriter zlib", https://sources.debian.org/src/libxlsxwriter/ and
https://sources.debian.org/src/zlib/).
TEXT
}
