#!/usr/bin/env bash
# Printing on a real printer: CUPS with its PDF back-end as the default
# printer, reached through Wine's printing. Prints a database with
# vellumio-db.exe print and checks the PDF that comes out (pages, header
# and footer on every page, bold date lines, separators, non-ASCII text).
# Starts cupsd itself when no scheduler runs, and stops what it started.
# Prints one PASS or FAIL line per check; exits non-zero when one failed.
#
# Needs: cups, printer-driver-cups-pdf, poppler-utils, fonts-liberation.
# Environment: WIN_BUILD_DIR (default build/win64), NATIVE_BUILD_DIR
# (default build/native), WINE64 or WINE. Without a WINEPREFIX the script
# starts its own Wine environment through tools/wine-env.sh.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WIN_BUILD_DIR="${WIN_BUILD_DIR:-$ROOT/build/win64}"
NATIVE_BUILD_DIR="${NATIVE_BUILD_DIR:-$ROOT/build/native}"
WINE_BIN="${WINE64:-${WINE:-/usr/lib/wine/wine64}}"
EXE="$WIN_BUILD_DIR/tools/vellumio-db/vellumio-db.exe"
MAKE_DB="$NATIVE_BUILD_DIR/tests/support/make_notes_db"
QUEUE=VellumioPDF
WORK="$WIN_BUILD_DIR/print-tests"
PDF_DIR="$HOME/PDF"

FAILED=0
PASSED=0
pass() { PASSED=$((PASSED + 1)); echo "PASS: $1"; }
fail() { FAILED=$((FAILED + 1)); echo "FAIL: $1"; }
expect() { local name="$1"; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }

for tool in lpadmin pdftotext pdfinfo pdffonts; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done
for f in "$EXE" "$MAKE_DB"; do
  [ -f "$f" ] || { echo "FAIL: $f is missing (build the win64 and native presets first)"; exit 1; }
done

CUPSD=""
OLD_DEFAULT="$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')"
cleanup() {
  lpadmin -x "$QUEUE" >/dev/null 2>&1
  [ -n "$OLD_DEFAULT" ] && lpadmin -d "$OLD_DEFAULT" >/dev/null 2>&1
  if [ -n "$CUPSD" ]; then
    kill "$CUPSD" 2>/dev/null
    wait "$CUPSD" 2>/dev/null
  fi
  [ "${STARTED_WINE:-0}" -eq 1 ] && wine_env_stop
}
trap cleanup EXIT

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  mkdir -p /run/cups
  /usr/sbin/cupsd -f &
  CUPSD=$!
  for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
fi
lpstat -r 2>/dev/null | grep -q "is running" || { echo "FAIL: no CUPS scheduler"; exit 1; }
timeout 30 lpadmin -p "$QUEUE" -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E &&
  timeout 30 lpadmin -d "$QUEUE" || { echo "FAIL: the PDF printer could not be added"; exit 1; }

# shellcheck source=tests/win/script_wine.sh
source "$ROOT/tests/win/script_wine.sh"
# Wine's PostScript driver fails on OpenType (CFF) fonts: "Times" must be
# a TrueType serif. A crash must fail the test, not wait in a dialog.
timeout 60 "$WINE_BIN" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Times /d 'Liberation Serif' /f >/dev/null 2>&1
timeout 60 "$WINE_BIN" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

rm -rf "$WORK"
mkdir -p "$WORK" "$PDF_DIR"
cd "$WORK" || exit 1

# The newest PDF that appeared after marker file $1, waited for up to 60 s
# (and until its size stops changing).
newest_pdf_after() {
  local marker="$1" file="" size=-1 i
  for i in $(seq 1 120); do
    file="$(find "$PDF_DIR" -maxdepth 1 -name '*.pdf' -newer "$marker" -printf '%T@ %p\n' 2>/dev/null |
      sort -n | tail -n1 | cut -d' ' -f2-)"
    if [ -n "$file" ]; then
      local now
      now="$(stat -c %s "$file")"
      [ "$now" = "$size" ] && [ "$now" -gt 0 ] && { echo "$file"; return 0; }
      size="$now"
    fi
    sleep 0.5
  done
  return 1
}

# Two notes (non-ASCII text, a long paragraph) and enough lines for pages.
{
  echo "list Druck"
  echo "note -2d 09:30 | Grüße | Grüße aus Köln — Привет, мир"
  printf 'note -1d 10:15 | Long |'
  for i in $(seq 1 400); do printf ' line %d of a note long enough for several pages.\\n' "$i"; done
  echo
} >notes.desc
"$MAKE_DB" notes.sbn <notes.desc >/dev/null || { echo "FAIL: make_notes_db"; exit 1; }

touch marker
timeout 120 "$WINE_BIN" "$EXE" print notes.sbn --list 0 >print.out 2>print.err
RC=$?
expect "vellumio-db print exits 0 ($(cat print.out print.err | tr '\n' ' '))" [ "$RC" -eq 0 ]
PDF="$(newest_pdf_after marker)"
if [ -z "$PDF" ]; then
  fail "a PDF arrived in $PDF_DIR"
else
  pass "a PDF arrived in $PDF_DIR"
  pdftotext -layout "$PDF" out.txt
  PAGES="$(pdfinfo "$PDF" | sed -n 's/^Pages: *//p')"
  expect "the job title is Note" grep -q '^Title: *Note' <(pdfinfo "$PDF")
  expect "several pages ($PAGES)" [ "${PAGES:-0}" -ge 2 ]
  expect "the tool reported the same pages" grep -q "printed $PAGES pages" print.out
  headers="$(grep -c 'Vellumio 2.2' out.txt)"
  expect "the header on every page ($headers)" [ "$headers" -eq "$PAGES" ]
  for p in $(seq 1 "${PAGES:-0}"); do
    grep -q "Page $p\$" <(sed 's/ *$//' out.txt) || fail "footer Page $p"
  done
  expect "the date in brackets in the header" grep -Eq 'Vellumio 2.2 +\[[0-9].*\]' out.txt
  # Text extraction drops the spaces between the stars.
  expect "the separator between the notes" grep -Eq '^ *\* *\* *\* *$' out.txt
  expect "non-ASCII text intact" grep -q 'Grüße aus Köln — Привет, мир' out.txt
  expect "a bold font for the date lines" grep -qi 'bold' <(pdffonts "$PDF")
  expect "no bold mark printed" bash -c "! grep -q '##\\\$>>' out.txt"
fi

expect "print of a missing list fails with exit 1" bash -c \
  "timeout 120 '$WINE_BIN' '$EXE' print notes.sbn --list 7 >/dev/null 2>err.txt; [ \$? -eq 1 ] && grep -q 'no list 7' err.txt"

# The margins error and a stopping decorator: no PDF for either; only the
# job printed after them arrives.
TESTS="$WIN_BUILD_DIR/tests/vellumio_win_tests.exe"
touch marker2
sleep 1
VELLUMIO_TEST_PRINTER="$QUEUE" timeout 300 "$WINE_BIN" "$TESTS" --gtest_brief=1 \
  --gtest_filter='PrintWin.*' >wintests.out 2>&1
expect "the Windows print tests pass ($(grep -E 'PASSED|FAILED' wintests.out | tr '\n' ' '))" \
  grep -q 'PASSED.*2 tests' wintests.out
sleep 3
LATER="$(newest_pdf_after marker2)"
COUNT="$(find "$PDF_DIR" -maxdepth 1 -name '*.pdf' -newer marker2 | wc -l)"
expect "one PDF after the aborted jobs ($COUNT)" [ "$COUNT" -eq 1 ]
[ -n "$LATER" ] && expect "it is the job after the error" grep -q 'After the error' <(pdftotext "$LATER" -)

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
