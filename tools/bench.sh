#!/usr/bin/env bash
# Installs what is missing, builds and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
for b in build/bench/bench_*; do
  [ -x "$b" ] && "$b" "$@"
done
