#!/bin/sh
# Wine's 32-bit programs where the kernel cannot run 32-bit code itself: a
# Debian trixie tree (the world) holding wine, wine64, wine32:i386 and
# qemu-user, whose qemu-i386 runs every i386 program started there.  The
# handler is registered in a binfmt_misc mounted inside a user namespace of the
# command's own (Linux 6.7 or later), so nothing is registered on the machine
# and no mount outlives the command.  Bookworm's qemu 7.2 takes minutes to
# start wine32; trixie's qemu 10 about a second.
#
#   emulated_wine32.sh kernel-runs-i386   exit 0 when the kernel itself runs an i386 program
#   emulated_wine32.sh prepare            makes the world, once; a complete one is reused
#   emulated_wine32.sh run DIR... -- COMMAND [ARG...]
#       runs COMMAND (the machine's own) in the namespace, where
#       scripts/lib/emulated-wine32/wine and wineserver are wine's 32-bit loader
#       and server; they see /tmp and each DIR at the same path as COMMAND.
#       COMMAND reads no standard input (/dev/null).
#
# The world lives outside every checkout, in /var/cache/quenmarel (or
# $QUENMAREL_WINE32_WORLDS): it holds nothing of a checkout's, it takes about
# 2.5 GB on disk and two minutes to make, and so every checkout on the machine
# shares one, a fresh clone (CI's) too, and cleaning a checkout keeps it.  Its
# name carries a hash of what it is made of, so a changed recipe makes a new
# one.  QUENMAREL_WINE32_MIRROR names the Debian mirror.
set -eu

suite=trixie
packages="wine wine64 wine32:i386 qemu-user"
mirror=${QUENMAREL_WINE32_MIRROR:-http://deb.debian.org/debian}
worlds=${QUENMAREL_WINE32_WORLDS:-/var/cache/quenmarel}
world=$worlds/$suite-wine32-$(printf '%s' "$suite $packages" | sha256sum | cut -c1-12)
here=$(cd "$(dirname "$0")" && pwd)
self=$here/$(basename "$0")
# Making the world takes about 2 minutes; another checkout's making it is
# waited for this long at most.
lock_wait_seconds=1800
# The world takes 2.5 GB; with less room than this it is not begun.
needed_kilobytes=5000000
# The i386 ELF header the kernel's handler matches, and which bytes count
# (e_type 2 or 3, any OS ABI).
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

fail() {
  echo "emulated wine32: $*" >&2
  exit 1
}

# The smallest i386 program: it exits with code 42 through int 0x80.  A shell
# that cannot execute it runs it as a script, which never ends with 42.
kernel_runs_i386() {
  program=$(mktemp)
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\52\0\0\0\315\200' >"$program"
  chmod +x "$program"
  code=0
  "$program" 2>/dev/null || code=$?
  rm -f "$program"
  [ "$code" = 42 ]
}

make_world() {
  partial=$world.partial
  # What a stopped debootstrap left mounted there stays untouched.
  rm -rf --one-file-system "$partial"
  debootstrap --variant=minbase "$suite" "$partial" "$mirror" || return 1
  chroot "$partial" dpkg --add-architecture i386
  chroot "$partial" apt-get -o Acquire::Retries=3 update || return 1
  # shellcheck disable=SC2086
  chroot "$partial" env DEBIAN_FRONTEND=noninteractive apt-get -o Acquire::Retries=3 install -y \
    --no-install-recommends $packages || return 1
  chroot "$partial" apt-get clean
  mv "$partial" "$world"
}

# Made under a lock, so that two checkouts starting at once make it once;
# visible under its name only when complete.
prepare() {
  [ -d "$world" ] && return 0
  [ "$(id -u)" = 0 ] || fail "making $world needs root"
  command -v debootstrap >/dev/null || fail "debootstrap is not installed"
  mkdir -p "$worlds"
  free=$(df -Pk "$worlds" | awk 'NR == 2 { print $4 }')
  [ "$free" -ge "$needed_kilobytes" ] || fail "$worlds has ${free} kB free, $needed_kilobytes needed"
  exec 9>"$worlds/.lock"
  flock -w "$lock_wait_seconds" 9 || fail "another checkout has been making $world for $lock_wait_seconds s"
  [ -d "$world" ] && return 0
  echo "making $world ($suite with $packages, from $mirror)"
  for pause in 10 30 0; do
    make_world && return 0
    [ "$pause" = 0 ] || sleep "$pause"
  done
  fail "$suite with $packages could not be installed from $mirror"
}

# Checks that a namespace can run the world's wine32 here (the kernel must
# give it a binfmt_misc of its own).
check() {
  (cd /tmp && run -- "$here/emulated-wine32/wine" --version >/dev/null) ||
    fail "wine32 of $world does not start in a user namespace here (binfmt_misc in a user namespace needs Linux 6.7)"
}

run() {
  [ -d "$world" ] || fail "$world is missing: run $0 prepare first"
  unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc sh "$self" enter "$@"
}

# A directory the command sees is seen by wine at the same path.
share() {
  directory=$(cd "$1" && pwd -P)
  mkdir -p "$world$directory"
  mount --rbind "$directory" "$world$directory"
}

# The namespace's first process: it mounts, registers the handler, and then
# waits for the command, reaping meanwhile the processes wine leaves to it.
enter() {
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # The kernel reads the \x escapes itself.
  printf ':qemu-i386:M::%s:%s:%s:F\n' "$i386_magic" "$i386_mask" "$world/usr/bin/qemu-i386" \
    >/proc/sys/fs/binfmt_misc/register
  for directory in /proc /dev /tmp; do
    share "$directory"
  done
  [ -z "${TMPDIR:-}" ] || share "$TMPDIR"
  while [ "$1" != -- ]; do
    share "$1"
    shift
  done
  shift
  export QUENMAREL_WINE32_ROOT="$world"
  "$@" &
  wait $!
}

case "${1:-}" in
  kernel-runs-i386) kernel_runs_i386 ;;
  prepare) prepare && check ;;
  run)
    shift
    case " $* " in *" -- "*) run "$@" ;; *) fail "run: no -- before the command" ;; esac
    ;;
  enter) shift && enter "$@" ;;
  *) fail "usage: $0 kernel-runs-i386 | prepare | run DIR... -- COMMAND [ARG...]" ;;
esac
