#!/usr/bin/env bash
# Installs what is missing, builds, and saves PNG pictures of the main window, a wizard and the load
# dialog under a virtual X server: tools/screenshots.sh [folder], by default build/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
out="${1:-build/screenshots}"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
exec xvfb-run -a -s "-screen 0 1280x1024x24" build/app/kelvano_screens "$out"
