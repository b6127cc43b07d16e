#!/usr/bin/env bash
# The one test command: sets up the machine, builds every preset and runs
# every test program. Native unit tests (ASan+UBSan) through ctest, each
# fuzzer for a short while, the Windows builds (x86_64 and i686), and under
# wine64 the Windows unit tests, the tool checks and the program's own
# open-and-close check.
#
# Ends with the line "N passed, N failed", counting the single test cases of
# the unit-test programs and the tool checks, and one for each fuzzer, the
# program check and any build that fails; exits non-zero when anything failed.
set -uo pipefail
exec </dev/null

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS=2
FUZZ_SECONDS="${FUZZ_SECONDS:-20}"

PASSED=0
FAILED=0
FAILURES=()

banner() { printf '\n==== %s\n' "$*"; }
pass() { PASSED=$((PASSED + 1)); echo "---- PASS: $1"; }
fail() { FAILED=$((FAILED + 1)); FAILURES+=("$1"); echo "---- FAIL: $1"; }

# Runs a test step and counts it as one.
check() {
  local name="$1"
  shift
  banner "$name"
  if "$@"; then pass "$name"; else fail "$name"; fi
}

# Runs a test program whose output reports its own counts and adds those:
# ctest ("..., F tests failed out of T"), GoogleTest ("[  PASSED  ] N
# tests", "[  FAILED  ] N tests") or a plain "N passed, M failed" line. A
# program that fails without reporting counts counts as one failure.
check_counted() {
  local name="$1"
  shift
  banner "$name"
  local log
  log="$(mktemp)"
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]} p=0 f=0 line
  if line="$(grep -E 'tests? failed out of [0-9]+' "$log" | tail -n1)" && [ -n "$line" ]; then
    local total
    total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")"
    f="$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")"
    p=$((total - f))
  elif grep -qE '^\[  PASSED  \] [0-9]+ test' "$log"; then
    p="$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | tail -n1 | sed -E 's/^\[  PASSED  \] ([0-9]+).*/\1/')"
    f="$(grep -E '^\[  FAILED  \] [0-9]+ tests?, listed below' "$log" | tail -n1 | sed -E 's/^\[  FAILED  \] ([0-9]+).*/\1/')"
    f="${f:-0}"
  elif line="$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n1)" && [ -n "$line" ]; then
    p="$(sed -E 's/^([0-9]+) passed.*/\1/' <<<"$line")"
    f="$(sed -E 's/^[0-9]+ passed, ([0-9]+) failed.*/\1/' <<<"$line")"
  fi
  rm -f "$log"
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
  PASSED=$((PASSED + p))
  FAILED=$((FAILED + f))
  if [ "$f" -gt 0 ]; then
    FAILURES+=("$name ($f)")
    echo "---- FAIL: $name: $p passed, $f failed"
  else
    echo "---- PASS: $name: $p passed"
  fi
}

# Builds a preset; a failure counts as one failed suite.
build() {
  local preset="$1"
  banner "build $preset"
  if cmake --preset "$preset" >"build/$preset-configure.log" 2>&1 ||
    { cat "build/$preset-configure.log"; false; }; then
    if cmake --build --preset "$preset" -j"$JOBS"; then return 0; fi
  fi
  fail "build $preset"
  return 1
}

summary() {
  echo
  if [ "${#FAILURES[@]}" -gt 0 ]; then
    echo "Failed:"
    printf '  %s\n' "${FAILURES[@]}"
  fi
  echo "$PASSED passed, $FAILED failed"
}

# ---- Set-up ---------------------------------------------------------------------

banner "setup"
if ! bash "$ROOT/tools/setup.sh"; then
  echo "setup failed"
  FAILED=$((FAILED + 1))
  summary
  exit 1
fi
mkdir -p build

# ---- Native unit tests ----------------------------------------------------------

if build native; then
  check_counted "native unit tests (ctest)" ctest --test-dir build/native --output-on-failure -j"$JOBS"
fi

# ---- Fuzzers --------------------------------------------------------------------

run_fuzzer() {
  local fuzzer="$1"
  local name corpus
  name="$(basename "$fuzzer")"
  # New inputs go to a scratch folder; the committed seeds are only read.
  corpus="build/fuzz/corpus-$name"
  mkdir -p "$corpus" build/fuzz/artifacts
  # Seeds: committed ones in tests/fuzz/corpus, generated ones beside the
  # fuzzer (corpus/<name>, written by the build).
  local seeds=() dir
  for dir in "tests/fuzz/corpus/$name" "$(dirname "$fuzzer")/corpus/$name"; do
    [ -d "$dir" ] && seeds+=("$dir")
  done
  if [ "${#seeds[@]}" -eq 0 ] && [ -d tests/fuzz/corpus ]; then seeds=(tests/fuzz/corpus); fi
  # A damaged file must never make the reader allocate or hold much memory.
  "$fuzzer" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
    -rss_limit_mb=512 -malloc_limit_mb=256 \
    -artifact_prefix=build/fuzz/artifacts/"$name"- "$corpus" "${seeds[@]}" 2>&1 | tail -n 40
}

if [ -f tests/fuzz/CMakeLists.txt ]; then
  if build fuzz; then
    mapfile -t FUZZERS < <(find build/fuzz -path '*/CMakeFiles' -prune -o \
      -type f -executable -name '*fuzz*' -print | sort)
    if [ "${#FUZZERS[@]}" -eq 0 ]; then echo "fuzz: no fuzz targets built"; fi
    for f in "${FUZZERS[@]}"; do check "fuzz $(basename "$f")" run_fuzzer "$f"; done
  fi
else
  banner "fuzz"
  echo "fuzz: no fuzz targets yet (tests/fuzz/CMakeLists.txt), skipped"
fi

# ---- Benchmarks ------------------------------------------------------------------
# Built and run small, so that they keep working; their figures are not
# judged here (run them full size by hand, see README.md).

if build bench; then
  check "store_bench runs" build/bench/bench/store_bench --notes 2000
  check "save_bench runs" build/bench/bench/save_bench --notes 2000
  check "restore_bench runs" build/bench/bench/restore_bench --files 500
fi

# ---- Windows builds and Wine ----------------------------------------------------

WIN64_OK=0
build win64 && WIN64_OK=1
build win32 || true

# Starts the program with /selftest-close, sees its window appear on the X
# display and expects it to end by itself with exit code 0.
vellumio_open_close() {
  local exe=build/win64/app/Vellumio.exe
  [ -f "$exe" ] || { echo "$exe is missing"; return 1; }
  WINE_RUN_TIMEOUT=120 wine_run "$exe" /selftest-close &
  local pid=$! seen=0 i
  for i in $(seq 1 100); do
    if xdotool search --name '^Vellumio$' >/dev/null 2>&1; then
      seen=1
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  wait "$pid"
  local rc=$?
  echo "window seen: $seen, exit code: $rc"
  [ "$seen" -eq 1 ] && [ "$rc" -eq 0 ]
}

if [ "$WIN64_OK" -eq 1 ]; then
  # shellcheck source=tools/wine-env.sh
  source "$ROOT/tools/wine-env.sh"
  banner "wine"
  if wine_env_start; then
    check_counted "windows unit tests (wine64)" wine_run build/win64/tests/vellumio_win_tests.exe --gtest_brief=1
    # The note view's benchmark, small (its figures are not judged here).
    check "noteview_bench runs (wine64)" wine_run build/win64/bench/noteview_bench_win.exe --notes 2000
    if [ -f tests/win/run_tool_tests.sh ]; then
      check_counted "windows tool tests (wine64)" wine_env_without_lock env \
        WIN_BUILD_DIR="$ROOT/build/win64" WINE64="$WINE64" bash tests/win/run_tool_tests.sh
    fi
    if [ -f tests/win/run_update_tests.sh ]; then
      check_counted "update check against a loopback server (wine64)" wine_env_without_lock env \
        WIN_BUILD_DIR="$ROOT/build/win64" WINE64="$WINE64" bash tests/win/run_update_tests.sh
    fi
    if [ -f tests/print/run_print_tests.sh ]; then
      check_counted "printing to a PDF printer (wine64)" wine_env_without_lock env \
        WIN_BUILD_DIR="$ROOT/build/win64" NATIVE_BUILD_DIR="$ROOT/build/native" WINE64="$WINE64" \
        bash tests/print/run_print_tests.sh
    fi
    check "Vellumio.exe opens and closes (wine64)" vellumio_open_close
    # Its own prefix (with a virtual desktop) and display: real pointer input.
    if [ -f tests/e2e/run_app_tests.sh ]; then
      check_counted "Vellumio.exe end to end (wine64)" wine_env_without_lock env \
        WIN_BUILD_DIR="$ROOT/build/win64" NATIVE_BUILD_DIR="$ROOT/build/native" \
        bash tests/e2e/run_app_tests.sh
    fi
    # The setup program: silent install, start, silent removal.
    if [ -f tests/win/run_setup_tests.sh ]; then
      check_counted "setup install and removal (wine64)" wine_env_without_lock env \
        WIN_BUILD_DIR="$ROOT/build/win64" WINE64="$WINE64" bash tests/win/run_setup_tests.sh
    fi
  else
    fail "wine environment"
  fi
  wine_env_stop
fi

summary
[ "$FAILED" -eq 0 ]
