#!/usr/bin/env bash
# The test command: installs what is missing, builds the 64-bit and 32-bit
# Windows programs and the native sanitizer build, runs the Windows tests
# under Wine (fresh prefix, private X server), the native tests, and a
# bounded fuzz run of the uses analyser and of the option files' evaluation.
#   scripts/test.sh            everything
#   FUZZ_SECONDS=10 scripts/test.sh
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh" --tests || exit 1

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-60}
build=$root/build
failures=()
passed=0 failed=0

step() { echo; echo "=== $*"; }

configure_and_build() {  # dir, then cmake arguments
  local dir=$1; shift
  cmake -G Ninja -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
  ninja -C "$dir" -j"$jobs"
}

# ctest's summary line gives the counts of one run.
run_ctest() {  # label, then ctest arguments
  local label=$1; shift
  local log; log=$(mktemp)
  ctest --output-on-failure -j"$jobs" --timeout 300 "$@" 2>&1 | tee "$log"
  local total fails
  total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log" | tail -n1)
  fails=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
  rm -f "$log"
  if [ -z "$total" ]; then
    failures+=("$label: no test ran"); failed=$((failed + 1)); return
  fi
  passed=$((passed + total - fails)); failed=$((failed + fails))
  [ "$fails" -eq 0 ] || failures+=("$label: $fails failed")
}

mkdir -p "$build"

# Every run gets a fresh Wine prefix: no test sees an earlier run's registry.
export USAGRAM_WINEPREFIX=$build/wineprefix
rm -rf "$USAGRAM_WINEPREFIX" "$USAGRAM_WINEPREFIX.lock"
source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
usagram_start_xvfb || exit 1
trap '/usr/lib/wine/wineserver -k 2>/dev/null; kill $usagram_xvfb_pid 2>/dev/null' EXIT
# One wineserver for the whole run. Left to itself it exits a few seconds
# after its last program, and a test program that starts just then can find
# it going away ("wine client error: recvmsg: Connection reset by peer").
# Started here, with its output away from ctest's pipes, it holds none of them.
usagram_wine_prefix_ready || exit 1
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1

step "Windows 64-bit build"
configure_and_build "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" ||
  failures+=("64-bit build")

step "Windows 32-bit build (compiles and links; cannot run here)"
configure_and_build "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DUSAGRAM_TESTS=OFF || failures+=("32-bit build")

step "Native sanitizer build"
configure_and_build "$build/native" -DUSAGRAM_NATIVE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ||
  failures+=("native build")

step "Windows tests under Wine"
[ -d "$build/win64" ] && run_ctest "Windows tests" --test-dir "$build/win64"

step "Native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
[ -d "$build/native" ] && run_ctest "native tests" --test-dir "$build/native"

# A bounded fuzz run of one target from its corpus (a copy: the run adds to it).
fuzz_run() {  # target, corpus directory, what it fuzzes
  local fuzzer=$build/native/fuzz/$1
  step "Fuzzing $3 for ${fuzz_seconds}s"
  if [ ! -x "$fuzzer" ]; then echo "no fuzz target $1 built"; return; fi
  local corpus; corpus=$(mktemp -d)
  cp -r "$2"/. "$corpus"/ 2>/dev/null
  if "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/$1-" "$corpus" >"$build/$1.log" 2>&1; then
    passed=$((passed + 1)); tail -n 3 "$build/$1.log"
  else
    tail -n 40 "$build/$1.log"; failures+=("$1"); failed=$((failed + 1))
  fi
  rm -rf "$corpus"
}
fuzz_run fuzz_uses "$root/fuzz/corpus" "the uses analyser"
fuzz_run fuzz_optionfiles "$root/fuzz/corpus_optionfiles" "the option files' evaluation"

echo
if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failures[@]}"
fi
echo "tests: $passed passed, $failed failed"
[ ${#failures[@]} -eq 0 ]
