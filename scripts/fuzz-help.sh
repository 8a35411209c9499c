#!/usr/bin/env bash
# Fuzzes the help file reader: builds it with clang's libFuzzer and the address
# and undefined-behaviour sanitizers into build-fuzz/, seeded with the rules
# file, and runs it for a bounded time (60 seconds, or the first argument).
# Installs clang where it is missing. Not part of the test run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
packages=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

out="$root/build-fuzz"
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/help" "$root/help/helpfile.cpp" "$root/tests/help/fuzz_helpfile.cpp" \
  -o "$out/fuzz_helpfile"
cp "$root/Jorv-Hlp.TXT" "$out/corpus/"

# Findings (crash-*, timeout-*, oom-*) land in build-fuzz/.
cd "$out"
exec ./fuzz_helpfile -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -print_final_stats=1 corpus
