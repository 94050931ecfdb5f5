#!/usr/bin/env bash
# Installs what is missing, builds what the package ships (the two programs, their pages and
# files; no tests, benchmarks or picture tools) in build/package, makes the Debian package
# build/kelvano_<version>_<arch>.deb, which "apt-get install ./build/kelvano_*.deb" installs with its
# dependencies, and checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh lintian
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DKELVANO_BENCH=OFF \
      -DKELVANO_TOOLS=OFF -DKELVANO_HARDENING=ON >/dev/null
cmake --build build/package -j "$(nproc)"
(cd build/package && cpack -G DEB >/dev/null)
for deb in build/package/kelvano_*.deb; do
  mv -f "$deb" build/
  deb="build/$(basename "$deb")"
  # Errors fail the script; warnings are shown.
  lintian --fail-on error --tag-display-limit 0 "$deb"
  ls -1 "$PWD/$deb"
done
