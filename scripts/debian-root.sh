#!/usr/bin/env bash
# Runs a command of this checkout in a fresh, minimal Debian root of the
# given release, as a newcomer on that release would: puts the release into
# a scratch folder with debootstrap, copies the checkout's files (those git
# tracks and the untracked ones it does not ignore) to /root/hyperjorv there
# and runs the command in that folder as root, with the network. By default
# the command is the README's test command.
#
#   sudo ./scripts/debian-root.sh trixie [COMMAND ...]
#
# The downloaded packages are kept between runs in $JORV_DEBIAN_CACHE
# (default /var/cache/hyperjorv-debian), one folder a release, so a second
# run fetches only what changed. Needs root; everything it mounts and
# unpacks is gone when it ends.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
release=${1:?usage: debian-root.sh RELEASE [COMMAND ...]}
shift
[ $# -gt 0 ] || set -- ./scripts/test.sh
if [ "$(id -u)" -ne 0 ]; then
  echo "debian-root.sh: needs root for debootstrap, chroot and mount" >&2
  exit 1
fi
source "$root/scripts/packages.sh"
install_missing debootstrap git

cache=${JORV_DEBIAN_CACHE:-/var/cache/hyperjorv-debian}/$release
mkdir -p "$cache/debootstrap" "$cache/apt"
system=$(mktemp -d "/var/tmp/hyperjorv-$release.XXXXXX")
chmod 755 "$system" # apt's download user must reach its folders
log="$system.log"
mounts=()
cleanup() {
  local i
  # Whatever the command left running in the root goes first.
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" != "$system" ] || kill -9 "$pid" 2>/dev/null || true
  done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
  done
  remove_root "$system"
  rm -f "$log"
}
trap cleanup EXIT
mountin() { # mountin TARGET MOUNT-ARGUMENTS...: mounts inside the root
  mkdir -p "$system/$1"
  mount "${@:2}" "$system/$1"
  mounts+=("$system/$1")
}

started=$SECONDS
echo "debian-root.sh: a minimal Debian $release in $system" >&2
if ! debootstrap --variant=minbase --cache-dir="$cache/debootstrap" "$release" "$system" "$mirror" >"$log" 2>&1; then
  tail -20 "$log" >&2
  echo "debian-root.sh: debootstrap $release failed" >&2
  exit 1
fi
cp /etc/resolv.conf "$system/etc/resolv.conf"
mountin proc -t proc proc
mountin sys -t sysfs sysfs
mountin dev --bind /dev
mountin dev/pts -t devpts -o newinstance,ptmxmode=0666 devpts
mountin dev/shm -t tmpfs -o mode=1777 tmpfs
mountin tmp -t tmpfs -o mode=1777 tmpfs
mountin var/cache/apt/archives --bind "$cache/apt"

checkout=$system/root/hyperjorv
mkdir -p "$checkout"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && xargs -0 tar --no-recursion -cf - --ignore-failed-read 2>/dev/null) | tar -xf - -C "$checkout"
echo "debian-root.sh: ready after $((SECONDS - started)) s; running $* there" >&2

status=0
chroot "$system" env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  sh -c 'cd /root/hyperjorv && exec "$@"' sh "$@" || status=$?
echo "debian-root.sh: $* in Debian $release ended with status $status after $((SECONDS - started)) s" >&2
exit "$status"
