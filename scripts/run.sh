#!/usr/bin/env bash
# The main job: builds the programs and generates ./KAVRO.xlsm (3 subwatersheds, non-zero test
# numbers). Arguments, when given, go to kavro-generate instead (./KAVRO.xlsm stays the output
# unless they name one with -o/--output).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
GENERATE="$BUILD/generator/kavro-generate"
if [ ! -x "$GENERATE" ]; then
  echo "run.sh: $GENERATE was not built" >&2
  exit 1
fi
if [ $# -eq 0 ]; then
  exec "$GENERATE" -n 3 --nonzero -o ./KAVRO.xlsm
fi
for arg in "$@"; do
  case "$arg" in
    -o|--output|--output=*|-o?*) exec "$GENERATE" "$@" ;;
  esac
done
exec "$GENERATE" "$@" -o ./KAVRO.xlsm
