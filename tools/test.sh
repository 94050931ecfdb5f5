#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (the windows under a virtual X server).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j 2
