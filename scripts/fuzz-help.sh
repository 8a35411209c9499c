#!/usr/bin/env bash
# Fuzzes the help file reader: builds it with clang's libFuzzer and the address
# and undefined-behaviour sanitizers into build-fuzz/, seeded with the rules
# file, and runs it for a bounded time (60 seconds, or the first argument).
# Installs clang where it is missing. Not part of the test run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
source "$root/scripts/packages.sh"
install_missing clang libclang-rt-14-dev

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
