# Sourced by the scripts: installs those of the given Debian packages that are
# missing, with sudo when not run as root (after --no-recommends, without
# their recommendations), and removes scratch roots.

# What building the game takes; the scripts that build name these too, so
# that one call installs everything a command needs.
build_packages=(g++ make cmake qt6-base-dev fonts-ipafont-gothic fonts-ipafont-mincho)

install_missing() {
  local missing=() p options=()
  if [ "${1:-}" = --no-recommends ]; then
    options=(--no-install-recommends)
    shift
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "${0##*/}: cannot install missing Debian packages without root or sudo; as root, run: apt-get update && apt-get install ${missing[*]}" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  # sudo resets the environment, so the variable goes through env; apt's
  # output is shown only when it fails.
  local log
  log=$(mktemp)
  if ! { "${sudo[@]}" apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "${0##*/}: apt-get could not install ${missing[*]}" >&2
    exit 1
  fi
  rm -f "$log"
}

# Removes a scratch root of debootstrap's, but never a tree that still
# reaches into the machine through a mount.
remove_root() {
  if grep -q " $1/" /proc/mounts; then
    echo "${0##*/}: $1 still has mounts; left in place" >&2
  else
    rm -rf --one-file-system "$1"
  fi
}
