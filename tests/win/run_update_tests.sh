#!/usr/bin/env bash
# The update check's Windows tests against a loopback HTTP server that this
# script starts (tests/win/update_server.py) and stops again; never a real
# host. Runs the UpdateCheckWin tests of vellumio_win_tests.exe under Wine.
#
# Environment: WIN_BUILD_DIR (default build/win64), WINE64 or WINE (default
# /usr/lib/wine/wine64). tools/test.sh provides
# WINEPREFIX and DISPLAY; without a WINEPREFIX the script starts its own
# Wine environment through tools/wine-env.sh.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WIN_BUILD_DIR="${WIN_BUILD_DIR:-$ROOT/build/win64}"
WINE_BIN="${WINE64:-${WINE:-/usr/lib/wine/wine64}}"
EXE="$WIN_BUILD_DIR/tests/vellumio_win_tests.exe"
[ -f "$EXE" ] || { echo "FAIL: $EXE is missing (build the win64 preset first)"; exit 1; }

PORT_FILE="$(mktemp -u)"
timeout 900 python3 "$ROOT/tests/win/update_server.py" "$PORT_FILE" &
SERVER=$!
stop_server() {
  kill "$SERVER" 2>/dev/null
  wait "$SERVER" 2>/dev/null
  rm -f "$PORT_FILE"
}
trap stop_server EXIT

for _ in $(seq 1 100); do
  [ -s "$PORT_FILE" ] && break
  kill -0 "$SERVER" 2>/dev/null || break
  sleep 0.1
done
[ -s "$PORT_FILE" ] || { echo "FAIL: the loopback update server did not start"; exit 1; }
export VELLUMIO_UPDATE_TEST_SERVER="http://127.0.0.1:$(cat "$PORT_FILE")"

# shellcheck source=tests/win/script_wine.sh
source "$ROOT/tests/win/script_wine.sh"
timeout 300 "$WINE_BIN" "$EXE" --gtest_brief=1 --gtest_filter='UpdateCheckWin.*' </dev/null
RC=$?
[ "$STARTED_WINE" -eq 1 ] && wine_env_stop
exit "$RC"
