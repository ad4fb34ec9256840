# Installs the Debian packages a script needs when they are missing.

# Tries three times, a while apart: a mirror in the middle of a sync fails
# for some minutes.  Returns non-zero when the packages could not be
# installed, and leaves in $missing the ones that were missing.
# Usage: try_installing_packages PACKAGE...
try_installing_packages() {
  missing=""
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$missing (run as root, or install them first)" >&2
    return 1
  fi
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  for pause in 10 30 0; do
    # An index that cannot be fetched fails the update, yet the packages may
    # still come from the others.
    apt-get update || true
    # shellcheck disable=SC2086
    apt-get install -y $missing && return 0
    [ "$pause" = 0 ] || sleep "$pause"
  done
  echo "could not install:$missing" >&2
  return 1
}

# Ends the script when the packages cannot be installed.
# Usage: install_missing_packages PACKAGE...
install_missing_packages() {
  try_installing_packages "$@" || exit 1
}

# Lets Debian install packages of another architecture (wine32:i386 for the
# 32-bit Windows build); the next install fetches its lists.  Returns
# non-zero when it cannot.  Usage: add_package_architecture ARCHITECTURE
add_package_architecture() {
  [ "$(dpkg --print-architecture)" = "$1" ] && return 0
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "packages of architecture $1 are needed (run as root, or: dpkg --add-architecture $1)" >&2
    return 1
  fi
  echo "adding architecture $1"
  dpkg --add-architecture "$1"
}
