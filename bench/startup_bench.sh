#!/usr/bin/env bash
# Start-up time of Vellumio.exe under wine64 with a database of 10,000
# notes, beside Wine's own notepad.exe started in the same run, and the
# memory of the running program. Prints its figures; never fails on speed.
#
#   bench/startup_bench.sh [--notes N] [--reps N]
#
# What is measured: from starting the Windows program to its window being
# mapped on the X display (polled every 20 ms). Vellumio is placed away
# from the screen edges with HideOnLeave off, so its main window stays
# shown once it is up; the main window is shown only after the database
# has been read (the dock line of a docked start appears before that).
# Each figure is the median of the repetitions, which alternate between
# the programs after one unmeasured warm-up start of each. Memory is the
# resident set (VmRSS) of the program's process one second after its
# window came up.
#
# Needs build/win64 (Vellumio.exe) and build/bench (store_bench, which
# writes the database: the benchmarks' own generator and settings).
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NOTES=10000
REPS=5
while [ $# -gt 0 ]; do
  case "$1" in
    --notes) NOTES="$2"; shift 2 ;;
    --reps) REPS="$2"; shift 2 ;;
    *) echo "usage: bench/startup_bench.sh [--notes N] [--reps N]" >&2; exit 2 ;;
  esac
done

# shellcheck source=tests/e2e/e2e_lib.sh
source "$ROOT/tests/e2e/e2e_lib.sh"
STORE_BENCH="$ROOT/build/bench/bench/store_bench"
WORK="$E2E_WIN_BUILD/startup-bench"
for f in "$E2E_APP_DIR/Vellumio.exe" "$STORE_BENCH"; do
  [ -f "$f" ] || { echo "$f is missing (build the win64 and bench presets)"; exit 1; }
done

rm -rf "$WORK"
mkdir -p "$WORK/gen"
echo "writing a database of $NOTES notes (store_bench --keep)"
TMPDIR="$WORK/gen" "$STORE_BENCH" --notes "$NOTES" --keep | grep -E '^[0-9]+ notes' || true
DB=$(find "$WORK/gen" -name 'notes-v8.sbn' | head -n1)
[ -n "$DB" ] || { echo "store_bench left no database"; exit 1; }

settings() {
  e2e_quiet_ini
  printf '[Settings\\Indicator]\nres1280x800_LeftPos=400\nres1280x800_TopPos=100\nHideOnLeave=0\n'
}
settings | e2e_make_folder "$WORK/big"
cp "$DB" "$WORK/big/notes.sbn"
cp "$WORK/big/Vellumio.ini" "$WORK/big.ini"
settings | e2e_make_folder "$WORK/empty"
cp "$WORK/empty/Vellumio.ini" "$WORK/empty.ini"
rm -rf "$WORK/gen"
DB_SIZE=$(stat -c %s "$WORK/big/notes.sbn")
printf 'database: %s bytes\n' "$DB_SIZE"

e2e_env_start || exit 1
trap 'e2e_env_stop' EXIT
# The server stays up between the starts, for every program alike.
wine_env_without_lock "$WINESERVER" -p >/dev/null 2>&1

# Polls every 20 ms until "$@" is true; prints the milliseconds since $1.
ms_until() {
  local start="$1"
  shift
  while ! "$@" >/dev/null; do
    [ $(($(now_ms) - start)) -gt 120000 ] && { echo -1; return 1; }
    sleep 0.02
  done
  echo $(($(now_ms) - start))
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

# One start of Vellumio in folder $1: prints "startup_ms rss_kb exit_ms".
run_vellumio() {
  local name="$1" start t rss pid stop
  cp "$WORK/$name.ini" "$WORK/$name/Vellumio.ini"
  xdotool mousemove 100 700
  start=$(now_ms)
  e2e_start "$WORK/$name"
  t=$(ms_until "$start" e2e_main_shown)
  sleep 1
  pid=$(e2e_program_pid)
  # The Linux process is the Windows program itself (wine64 execs into it).
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'Vellumio.exe' || pid=""
  rss=$(rss_kb "$pid")
  stop=$(now_ms)
  e2e_menu_exit
  e2e_wait_end 60 || e2e_kill_wine
  echo "$t ${rss:-0} $(($(now_ms) - stop))"
}

run_notepad() {
  local start t rss pid
  xdotool mousemove 100 700
  start=$(now_ms)
  ("$WINE64" notepad.exe) </dev/null >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- &
  NOTEPAD_PID=$!
  t=$(ms_until "$start" e2e_notepad_window)
  sleep 1
  pid=$(pgrep -P "$NOTEPAD_PID" | head -n1)
  rss=$(rss_kb "${pid:-$NOTEPAD_PID}")
  e2e_click_notepad
  xdotool key alt+F4
  local i
  for i in $(seq 1 100); do kill -0 "$NOTEPAD_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$NOTEPAD_PID" 2>/dev/null && e2e_kill_wine
  echo "$t ${rss:-0}"
}

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{ v[NR] = $1 } END {
  if (NR == 0) { print "n/a"; exit } if (NR % 2) print v[(NR + 1) / 2];
  else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "warm-up"
run_notepad >/dev/null
run_vellumio big >/dev/null

BIG_T=() BIG_RSS=() BIG_EXIT=() EMPTY_T=() EMPTY_RSS=() NOTE_T=() NOTE_RSS=()
for rep in $(seq 1 "$REPS"); do
  read -r t rss ex <<<"$(run_vellumio big)"
  BIG_T+=("$t") BIG_RSS+=("$rss") BIG_EXIT+=("$ex")
  read -r t rss <<<"$(run_notepad)"
  NOTE_T+=("$t") NOTE_RSS+=("$rss")
  read -r t rss _ <<<"$(run_vellumio empty)"
  EMPTY_T+=("$t") EMPTY_RSS+=("$rss")
  echo "rep $rep: Vellumio $NOTES notes ${BIG_T[-1]} ms, notepad ${NOTE_T[-1]} ms, Vellumio empty ${EMPTY_T[-1]} ms"
done

kb_to_mb() { awk -v k="$1" 'BEGIN { if (k == "n/a") print k; else printf "%.1f", k / 1024 }'; }
echo
echo "startup to window shown, median of $REPS (ms):"
printf '  %-34s %8s\n' "Vellumio.exe, $NOTES notes" "$(echo "${BIG_T[*]}" | median)"
printf '  %-34s %8s\n' "Vellumio.exe, empty database" "$(echo "${EMPTY_T[*]}" | median)"
printf '  %-34s %8s\n' "notepad.exe (Wine's)" "$(echo "${NOTE_T[*]}" | median)"
echo "resident memory 1 s after the window came up, median (MB):"
printf '  %-34s %8s\n' "Vellumio.exe, $NOTES notes" "$(kb_to_mb "$(echo "${BIG_RSS[*]}" | median)")"
printf '  %-34s %8s\n' "Vellumio.exe, empty database" "$(kb_to_mb "$(echo "${EMPTY_RSS[*]}" | median)")"
printf '  %-34s %8s\n' "notepad.exe (Wine's)" "$(kb_to_mb "$(echo "${NOTE_RSS[*]}" | median)")"
printf 'database after the runs: %s bytes (%s before)\n' "$(stat -c %s "$WORK/big/notes.sbn")" "$DB_SIZE"
echo "Exit (menu) to process end, Vellumio $NOTES notes, median (ms): $(echo "${BIG_EXIT[*]}" | median)"
