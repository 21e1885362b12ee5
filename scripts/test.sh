#!/usr/bin/env bash
# The one test command: installs dependencies, configures, builds, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" --timeout 900
cd "$ROOT"
# The readers of outside files under the fuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer):
# a short run of each target from its seeds.
FUZZ_SECONDS=${FUZZ_SECONDS:-20} FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-$BUILD-fuzz} scripts/fuzz.sh
