#!/usr/bin/env bash
# Installs every build and test dependency from Debian's packages. Non-interactive and idempotent.
set -euo pipefail
pkgs=(
  build-essential cmake pkg-config ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libzip-dev zip unzip libpugixml-dev libcli11-dev
  libreoffice-calc python3-openpyxl
  libxlsxwriter-dev
  xvfb xauth poppler-utils
  clang libclang-rt-14-dev
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
