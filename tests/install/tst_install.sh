#!/usr/bin/env bash
# Installs the build tree into an ordinary prefix (with a space) and, as CPack does, into a staged /usr, and checks
# the files and the desktop entry. Arguments: cmake, the build tree, the source tree, the program's folder.
set -euo pipefail
cmake=$1 build=$2 source=$3 bindir=$4 work=$(mktemp -d) entry=share/applications/hyperjorv.desktop
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
entry_has() { # desktop entry $1 holds each key=value line that follows, once
  for line in "${@:2}"; do
    [ "$(grep "^${line%%=*}=" "$1")" = "$line" ] || fail "${1#"$work"/} has '$(grep "^${line%%=*}=" "$1")' for '$line'"
  done
}

prefix="$work/some prefix" program=$bindir/hyperjorv
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[ "$(cd "$prefix" && find . -type f | sort)" = "$(printf './%s\n' "$program" "$entry" share/doc/hyperjorv/changelog.gz \
  share/hyperjorv/Jorv-Hlp.TXT share/icons/hicolor/32x32/apps/hyperjorv.xpm share/man/man6/hyperjorv.6.gz | sort)" ] ||
  fail "installed files differ:"$'\n'"$(cd "$prefix" && find . -type f)"
[ -x "$prefix/$program" ] || fail "the program is not executable"
cmp -s "$source/Jorv-Hlp.TXT" "$prefix/share/hyperjorv/Jorv-Hlp.TXT" || fail "the installed rules file differs"
desktop-file-validate "$prefix/$entry" || fail "desktop-file-validate rejects the entry"
entry_has "$prefix/$entry" "Exec=\"$prefix/$program\"" "Path=$prefix/share/hyperjorv" Icon=hyperjorv "Name=Hyper Jorv"

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
cmp -s "$source/Jorv-Hlp.TXT" "$work/stage/usr/share/hyperjorv/Jorv-Hlp.TXT" || fail "the staged rules file differs"
entry_has "$work/stage/usr/$entry" "Exec=/usr/$program" Path=/usr/share/hyperjorv
