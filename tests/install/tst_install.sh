#!/usr/bin/env bash
# Installs the build tree into scratch prefixes, an ordinary one (with a space)
# and a staged /usr one as CPack makes it, and checks what lands there: the
# desktop layout, and a desktop entry whose Exec names the installed program
# and whose Path is the folder of the installed rules file.
# Arguments: the cmake program, the build tree, the source tree, and the
# program's folder under the prefix.
set -euo pipefail
cmake=$1 build=$2 source=$3 bindir=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
entry_has() { # desktop entry $1 holds each key=value line that follows, once
  local line found
  for line in "${@:2}"; do
    found=$(grep "^${line%%=*}=" "$1" || true)
    [ "$found" = "$line" ] || fail "${1#"$work"/} has '$found' for '$line'"
  done
}

prefix="$work/some prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
found=$(cd "$prefix" && find . -type f | LC_ALL=C sort)
[ "$found" = "$(printf './%s\n' "$bindir/hyperjorv" share/applications/hyperjorv.desktop \
  share/doc/hyperjorv/changelog.gz share/hyperjorv/Jorv-Hlp.TXT share/icons/hicolor/32x32/apps/hyperjorv.xpm \
  share/man/man6/hyperjorv.6.gz | LC_ALL=C sort)" ] || fail "installed files differ:"$'\n'"$found"
[ -x "$prefix/$bindir/hyperjorv" ] || fail "the program is not executable"
cmp -s "$source/Jorv-Hlp.TXT" "$prefix/share/hyperjorv/Jorv-Hlp.TXT" || fail "the installed rules file differs"
desktop-file-validate "$prefix/share/applications/hyperjorv.desktop" || fail "desktop-file-validate rejects the entry"
entry_has "$prefix/share/applications/hyperjorv.desktop" "Exec=\"$prefix/$bindir/hyperjorv\"" \
  "Path=$prefix/share/hyperjorv" Icon=hyperjorv "Name=Hyper Jorv"

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
[ -f "$work/stage/usr/share/hyperjorv/Jorv-Hlp.TXT" ] || fail "no staged rules file"
entry_has "$work/stage/usr/share/applications/hyperjorv.desktop" "Exec=/usr/$bindir/hyperjorv" Path=/usr/share/hyperjorv
echo "installed layout and desktop entry are right"
