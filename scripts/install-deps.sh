#!/usr/bin/env bash
# Installs what kinmap needs to build and test on Debian 12.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config python3 libgtest-dev libicu-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core xvfb xauth)
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
