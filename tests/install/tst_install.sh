#!/usr/bin/env bash
# Installs the build tree into scratch prefixes and checks what lands there:
# the desktop layout, and a desktop entry whose Exec names the installed
# program and whose Path is the folder of the installed rules file, both for
# an ordinary prefix (one with a space) and for a staged /usr prefix as CPack
# makes it.
# Arguments: the cmake program, the build tree, the source tree, and the
# program's folder under the prefix.
set -euo pipefail
cmake=$1 build=$2 source=$3 bindir=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
value() { # the value of key $2 in desktop entry $1
  sed -n "s/^$2=//p" "$1"
}

expected=$(LC_ALL=C sort <<EOF
$bindir/hyperjorv
share/applications/hyperjorv.desktop
share/doc/hyperjorv/changelog.gz
share/hyperjorv/Jorv-Hlp.TXT
share/icons/hicolor/32x32/apps/hyperjorv.xpm
share/man/man6/hyperjorv.6.gz
EOF
)

prefix="$work/some prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
found=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$found" = "$expected" ] || fail "installed files differ:"$'\n'"$found"
[ -x "$prefix/$bindir/hyperjorv" ] || fail "the program is not executable"
cmp -s "$source/Jorv-Hlp.TXT" "$prefix/share/hyperjorv/Jorv-Hlp.TXT" ||
  fail "the installed rules file differs from the source"

entry="$prefix/share/applications/hyperjorv.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
[ "$(value "$entry" Exec)" = "\"$prefix/$bindir/hyperjorv\"" ] ||
  fail "Exec is '$(value "$entry" Exec)'"
[ "$(value "$entry" Path)" = "$prefix/share/hyperjorv" ] || fail "Path is '$(value "$entry" Path)'"
[ "$(value "$entry" Icon)" = hyperjorv ] || fail "Icon is '$(value "$entry" Icon)'"
[ "$(value "$entry" Name)" = "Hyper Jorv" ] || fail "Name is '$(value "$entry" Name)'"

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
entry="$work/stage/usr/share/applications/hyperjorv.desktop"
[ "$(value "$entry" Exec)" = "/usr/$bindir/hyperjorv" ] || fail "staged Exec is '$(value "$entry" Exec)'"
[ "$(value "$entry" Path)" = /usr/share/hyperjorv ] || fail "staged Path is '$(value "$entry" Path)'"
[ -f "$work/stage/usr/share/hyperjorv/Jorv-Hlp.TXT" ] || fail "no staged rules file"
echo "installed layout and desktop entry are right"
