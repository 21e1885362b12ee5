#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer (in
# build-fuzz, or $FUZZ_BUILD_DIR) and runs each one from its seeds in fuzz/corpus/.
#
#   scripts/fuzz.sh                 each target for $FUZZ_SECONDS seconds (default 20)
#   scripts/fuzz.sh --runs N        each target for N inputs instead
#   scripts/fuzz.sh TARGET...       only these targets
#
# Inputs that the run finds new are kept in the build folder, not in the committed corpus. A
# crash, hang, leak or broken expectation stops with the target's report and the input that
# caused it (build-fuzz/findings/), and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-20}
RUNS=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) RUNS=$2; shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(bmp_list_fuzzer combra_catalog_fuzzer combra_model_fuzzer
                                     package_fuzzer package_parts_fuzzer)

cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target "${targets[@]}"

# The targets write every input to a scratch file: keep them in memory where there is room.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$BUILD/findings"
status=0
for t in "${targets[@]}"; do
  seeds=$ROOT/fuzz/corpus/${t%_fuzzer}
  work=$BUILD/corpus/${t%_fuzzer}
  mkdir -p "$work"
  limit=(-max_total_time="$SECONDS_EACH")
  [ -n "$RUNS" ] && limit=(-runs="$RUNS")
  dict=()
  [ -f "$ROOT/fuzz/${t%_fuzzer}.dict" ] && dict=(-dict="$ROOT/fuzz/${t%_fuzzer}.dict")
  echo "== $t ${limit[*]}"
  log=$BUILD/findings/$t.log
  if "$BUILD/$t" "${limit[@]}" "${dict[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$BUILD/findings/$t-" "$work" "$seeds" >"$log" 2>&1; then
    { grep -a -E '^(Done|stat::peak_rss_mb)' "$log" || true; } | tr -s ' \n' ' '; echo
  else
    tail -n 60 "$log"
    echo "!! $t failed: see $log and $BUILD/findings/"
    status=1
  fi
done
exit $status
