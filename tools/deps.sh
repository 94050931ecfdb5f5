#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
          nlohmann-json3-dev libgmp-dev qt6-base-dev qt6-webengine-dev qt6-pdf-dev libqt6opengl6-dev libcups2-dev qt6-translations-l10n
          xvfb xauth fonts-dejavu-core hunspell hunspell-ru poppler-utils dpkg-dev appstream desktop-file-utils)
# A script that needs more (tools/package.sh: lintian) names them.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages need root: run this command as root (or with sudo)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
