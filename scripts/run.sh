#!/usr/bin/env bash
# The main job: builds the programs and generates a demonstration workbook.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
if [ -x "$BUILD/generator/kavro-generate" ]; then
  if [ $# -gt 0 ]; then
    exec "$BUILD/generator/kavro-generate" "$@"
  fi
  exec "$BUILD/generator/kavro-generate" -n 3 --nonzero -o ./KAVRO.xlsm
fi
exec "$BUILD/workbook/workbook-demo" ./KAVRO-demo.xlsm
