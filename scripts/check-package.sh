#!/usr/bin/env bash
# Shows that the Debian package is clean, installs and starts on a clean
# machine of a Debian release (this machine's, or the one named: bookworm,
# trixie): makes the package on that release and puts it through its lintian
# with every tag shown, puts a minimal system of the release into a scratch
# folder with debootstrap, installs the package there with apt-get (which
# brings its dependencies), shows that appstreamcli there finds the game as
# software centres do, starts the game the way its desktop entry does on a
# virtual X display, and checks that the title screen appears and that the
# game runs in the folder of its rules file. For another release than this
# machine's, all of it runs in a fresh root of that release
# (debian-root.sh). Needs root and the network; takes about three minutes,
# eight for another release. Everything it mounts, starts and unpacks is gone
# when it ends.
#
#   sudo ./scripts/check-package.sh [RELEASE]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package.sh: needs root for debootstrap, chroot and mount" >&2
  exit 1
fi
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
if [ -n "${1:-}" ] && [ "$1" != "$release" ]; then
  exec "$root/scripts/debian-root.sh" "$1" ./scripts/check-package.sh
fi
source "$root/scripts/packages.sh"
install_missing debootstrap xvfb xdotool lintian
"$root/scripts/package.sh"
deb=$(ls "$root"/build-deb/hyperjorv_*.deb)
id=example.c_seed_7cf4c102.hyperjorv

# Informational and pedantic tags too; the package's own overrides say why
# each overridden tag does not apply.
tags=$(lintian -I -L +pedantic --fail-on none "$deb" 2>/dev/null)
if [ -n "$tags" ]; then
  echo "$tags" >&2
  echo "check-package.sh: lintian has tags for $(basename "$deb")" >&2
  exit 1
fi
echo "lintian -I -L +pedantic: no tags; overridden by the package:"
lintian -I -L +pedantic --fail-on none --show-overrides "$deb" 2>/dev/null | sed -n 's/^O: /  /p'

system=$(mktemp -d /var/tmp/hyperjorv-check.XXXXXX)
chmod 755 "$system" # apt's download user must reach its folders
log="$system.log"
xvfb= game=
cleanup() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  local mount
  for mount in "$system/tmp/.X11-unix" "$system/proc"; do
    ! mountpoint -q "$mount" || umount "$mount" || true
  done
  remove_root "$system"
  rm -f "$log"
}
trap cleanup EXIT
step() { # runs a quiet command, showing its log only when it fails
  if ! "$@" >"$log" 2>&1; then
    tail -20 "$log" >&2
    echo "check-package.sh: failed: $*" >&2
    exit 1
  fi
}
started=$SECONDS

echo "Making a minimal Debian $release in $system"
step debootstrap --variant=minbase "$release" "$system" "$mirror"
cp /etc/resolv.conf "$system/etc/resolv.conf"
mount -t proc proc "$system/proc"
cp "$deb" "$system/tmp/"
echo "Installing $(basename "$deb") there with apt-get"
before=$(chroot "$system" dpkg-query -W -f='${Package}\n' | wc -l)
step chroot "$system" apt-get update
step chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get install -y "/tmp/$(basename "$deb")"
after=$(chroot "$system" dpkg-query -W -f='${Package}\n' | wc -l)
echo "  $((after - before)) packages installed, hyperjorv and its dependencies"
chroot "$system" dpkg-query -W -f='${Status}\n' hyperjorv | grep -q 'install ok installed'
for face in IPAPGothic IPAPMincho IPAGothic; do
  chroot "$system" fc-match "$face" | grep -q "\"$face\"" ||
    { echo "check-package.sh: no face $face in the installed system" >&2; exit 1; }
done
# A software centre's view: appstreamcli reads the installed metadata.
step chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get install -y appstream
step chroot "$system" appstreamcli refresh-cache --force
if ! found=$(chroot "$system" appstreamcli get "$id" 2>&1); then
  echo "$found" >&2
  echo "check-package.sh: appstreamcli does not find $id" >&2
  exit 1
fi
echo "appstreamcli get $id there:"
echo "$found" | sed 's/^/  /'

number=93
while [ "$number" -eq 99 ] || [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
display=":$number"
# -noreset: a server that resets when its last client (the probe below)
# leaves refuses the next one for a moment.
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done
mkdir -p "$system/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$system/tmp/.X11-unix"

# As a desktop would: change to the entry's Path, then run its Exec, in a
# clean environment.
echo "Starting the game as its desktop entry does, on display $display"
chroot "$system" env -i DISPLAY="$display" HOME=/root PATH=/usr/bin:/bin:/usr/games sh -c '
  entry=/usr/share/applications/'"$id"'.desktop
  cd "$(sed -n "s/^Path=//p" "$entry")" && exec $(sed -n "s/^Exec=//p" "$entry")' \
  >/dev/null 2>&1 &
game=$!
window=
for _ in $(seq 200); do
  window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Hyper Jorv$' 2>/dev/null | head -1) &&
    [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "check-package.sh: no window named \"Hyper Jorv\" appeared" >&2
  exit 1
fi
echo "  title window: $(DISPLAY=$display xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p') pixels"
program=$(readlink "/proc/$game/exe")
folder=$(readlink "/proc/$game/cwd")
echo "  program ${program#"$system"}, started in ${folder#"$system"}"
[ "$program" = "$system/usr/games/hyperjorv" ] || { echo "check-package.sh: wrong program" >&2; exit 1; }
[ -f "$folder/Jorv-Hlp.TXT" ] || { echo "check-package.sh: no rules file where the game runs" >&2; exit 1; }
echo "check-package.sh: the package installs and starts ($((SECONDS - started)) s)"
