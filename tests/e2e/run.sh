#!/usr/bin/env bash
# Runs the end-to-end test against the real executable on a private X display and session bus, whose
# accessibility bus keeps its socket in the private XDG_RUNTIME_DIR. Usage: run.sh PATH-TO-hyperjorv [unittest args]
set -euo pipefail
export JORV_GAME=$(realpath "$1") XDG_RUNTIME_DIR=$(mktemp -d) QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
shift
cd "$(dirname "${BASH_SOURCE[0]}")"
# -noreset: a server that resets when its last client leaves refuses the next one for a moment. The bus daemons'
# chatter goes nowhere, the test's output to fd 3. pyatspi calls interfaces its own library calls deprecated.
env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1024x768x24 -noreset' \
  sh -c 'dbus-run-session -- "$@" 3>&1 >/dev/null 2>&1' - \
  sh -c 'exec "$@" >&3 2>&1' - /usr/bin/python3 -W ignore::DeprecationWarning -m unittest -v "${@:-e2e}"
