#!/usr/bin/env bash
# Installs what is missing, builds and runs the benchmarks (the window benchmark under a virtual X server).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
for b in build/bench/bench_core build/bench/bench_cutting build/bench/bench_fractional build/bench/bench_integer build/bench/bench_quadratic build/bench/bench_store build/bench/bench_solvers; do
  [ -x "$b" ] && "$b" "$@"
done
[ -x build/bench/bench_solve_json ] && build/bench/bench_solve_json
if [ -x build/bench/bench_ZLPInput ]; then
  QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_ZLPInput
fi
if [ -x build/bench/bench_SolverWindows ]; then
  QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_SolverWindows
fi
if [ -x build/bench/bench_wizard ]; then
  QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_wizard
fi
