# Installs the Debian packages a script needs when they are missing.
# Usage: install_missing_packages PACKAGE...

install_missing_packages() {
  missing=""
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$missing (run as root, or install them first)" >&2
    exit 1
  fi
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  # shellcheck disable=SC2086
  apt-get install -y $missing
}

# Lets Debian install packages of another architecture (wine32:i386 for the
# 32-bit Windows build); the next install_missing_packages fetches its lists.
# Usage: add_package_architecture ARCHITECTURE
add_package_architecture() {
  [ "$(dpkg --print-architecture)" = "$1" ] && return 0
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "packages of architecture $1 are needed (run as root, or: dpkg --add-architecture $1)" >&2
    exit 1
  fi
  echo "adding architecture $1"
  dpkg --add-architecture "$1"
}
