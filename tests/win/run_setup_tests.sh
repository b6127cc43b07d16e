#!/usr/bin/env bash
# The setup program under wine64: a silent install into the prefix's
# program files folder, a start of the installed program, and a silent
# removal that stops the running program first. Files, the Start-menu
# shortcut and the uninstall entry are checked at each step; the silent
# removal is the default one, so the user's settings stay.
# Prints one PASS or FAIL line per check and "N passed, M failed"; exits
# non-zero when a check failed.
#
# Environment: WIN_BUILD_DIR (default build/win64), WINE64. tools/test.sh
# provides WINEPREFIX and DISPLAY; without a WINEPREFIX the script starts its
# own Wine environment through tools/wine-env.sh.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WIN_BUILD_DIR="${WIN_BUILD_DIR:-$ROOT/build/win64}"
WINE_BIN="${WINE64:-/usr/lib/wine/wine64}"
SETUP="$WIN_BUILD_DIR/VellumioSetup-x86_64.exe"

FAILED=0
PASSED=0
pass() { PASSED=$((PASSED + 1)); echo "PASS: $1"; }
fail() { FAILED=$((FAILED + 1)); echo "FAIL: $1"; }
expect() { local name="$1"; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }
finish() { echo "$PASSED passed, $FAILED failed"; [ "$FAILED" -eq 0 ]; exit $?; }

if [ ! -f "$SETUP" ]; then
  echo "FAIL: $SETUP is missing (build the win64 preset first)"
  echo "0 passed, 1 failed"
  exit 1
fi

# shellcheck source=tests/win/script_wine.sh
source "$ROOT/tests/win/script_wine.sh"
stop_env() { [ "$STARTED_WINE" -eq 1 ] && wine_env_stop; }
trap stop_env EXIT
export WINEDEBUG=-all
# Shortcuts made in the prefix must not reach the Linux desktop's menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"

DRIVE_C="$WINEPREFIX/drive_c"
INSTALLED="$DRIVE_C/Program Files/Vellumio"
SHORTCUT="$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellumio/Vellumio.lnk"
UNINST_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumio'

wine_do() { timeout 180 "$WINE_BIN" "$@" </dev/null >/dev/null 2>&1; }
key_present() { wine_do reg query "$1"; }
installed_files() {
  local f
  for f in Vellumio.exe vellumio-db.exe uninstall.exe Languages/english.lng Help/Vellumio.chm; do
    [ -s "$INSTALLED/$f" ] || { echo "  missing: $f"; return 1; }
  done
  ls "$INSTALLED/Schemes/"*.sch >/dev/null 2>&1
}
main_window() { xdotool search --name '^ScribbaloonStarted$' >/dev/null 2>&1; }
poll() { # seconds command...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do [ "$SECONDS" -ge "$end" ] && return 1; sleep 0.2; done
}

rm -rf "$INSTALLED" "$(dirname "$SHORTCUT")"
wine_do reg delete "$UNINST_KEY" /f
expect "silent setup ends with exit code 0" wine_do "$SETUP" /S
expect "setup installs the program, tool, languages, schemes and help" installed_files
expect "setup creates the Start-menu shortcut" test -s "$SHORTCUT"
expect "setup writes the uninstall entry" key_present "$UNINST_KEY"

# A quiet first start of the installed copy (no language question).
wine_do reg add 'HKCU\Software\Vellumio\Dialogs\fSelectLang' /v DefaultAnswer /d 1 /f
(cd "$INSTALLED" && exec timeout 300 "$WINE_BIN" ./Vellumio.exe) </dev/null >/dev/null 2>&1 &
APP_PID=$!
if poll 90 main_window; then
  pass "the installed program starts"
else
  fail "the installed program starts"
  kill "$APP_PID" 2>/dev/null
  wine_do "$INSTALLED/uninstall.exe" /S
  finish
fi

# The uninstaller copies itself away and returns; the removal is watched
# through its results.
expect "silent uninstaller starts" wine_do "$INSTALLED/uninstall.exe" /S
expect "the uninstaller stops the running program" poll 60 eval '! kill -0 "$APP_PID" 2>/dev/null'
expect "the program files are removed" poll 60 test ! -e "$INSTALLED"
expect "the shortcut is removed" poll 30 test ! -e "$SHORTCUT"
expect "the uninstall entry is removed" poll 30 eval '! key_present "$UNINST_KEY"'
expect "the silent (default) removal keeps the user's settings" key_present 'HKCU\Software\Vellumio'
wine_do reg delete 'HKCU\Software\Vellumio' /f
finish
