# shellcheck shell=bash
# Sourced by the scripts: installs Debian packages that are not there yet.

# as_root COMMAND...: runs COMMAND as root, through sudo unless this already is root.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# need_packages PACKAGE...: installs those of the packages that are not installed. Other
# installations may hold apt's locks for a while: wait for them rather than fail.
need_packages() {
  local missing=() p
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "installing ${missing[*]}" >&2
  as_root apt-get -o DPkg::Lock::Timeout=900 update -q >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    -o DPkg::Lock::Timeout=900 "${missing[@]}" >&2
}
