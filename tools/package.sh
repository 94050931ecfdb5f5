#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/kelvano_<version>_<arch>.deb,
# which "apt-get install ./build/kelvano_*.deb" installs with its dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
cd build
cpack -G DEB
ls -1 "$PWD"/kelvano_*.deb
