#!/usr/bin/env bash
# Screenshots of Vellumio.exe under wine64 for looking at by eye, in each
# language given (default: english russian german): the language dialog
# of a first start, the docked window shown, the error bar of a database
# that cannot be found, the information box of "Next Reminder", the
# question about a database file changed by another program, the menu of
# the header's menu button and the tray menu.
#
#   tests/e2e/take_screenshots.sh [OUT_DIR [LANGUAGE...]]
#
# Writes OUT_DIR/<language>-<what>.png (default OUT_DIR build/win64/screenshots).
#
#   tests/e2e/take_screenshots.sh --notes [OUT_DIR [LANGUAGE...]]
#
# takes the note view instead, at 96 and at 144 DPI, from seeded
# databases: notes grouped by day (with a selected and a due note, then
# the editor open on a note with a subject), by month and by year (then
# the editor without the subject line, ShowSubject=0). Writes
# OUT_DIR/<language>-<dpi>-<what>.png.
#
#   tests/e2e/take_screenshots.sh --reminders [OUT_DIR [LANGUAGE...]]
#
# takes the reminder alert of a due note (with its snooze menu open) and
# the reminder editor opened from it. Writes OUT_DIR/<language>-reminder-*.png.
#
#   tests/e2e/take_screenshots.sh --tabs [OUT_DIR [LANGUAGE...]]
#
# takes the list tabs of a database with five lists: the strip, a filter
# typed into the window, the drop targets while a note is dragged, and
# the find dialog. Writes OUT_DIR/<language>-tabs-<what>.png.
#
#   tests/e2e/take_screenshots.sh --print [OUT_DIR [LANGUAGE...]]
#
# takes the print dialog opened from a note's context menu. Writes
# OUT_DIR/<language>-print-dialog.png.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=tests/e2e/e2e_lib.sh
source "$ROOT/tests/e2e/e2e_lib.sh"
NATIVE_DIR="${NATIVE_BUILD_DIR:-$ROOT/build/native}"
DBTOOL="$NATIVE_DIR/tools/vellumio-db/vellumio-db"
MODE=app
if [ "${1:-}" = --notes ] || [ "${1:-}" = --tabs ]; then
  MODE=${1#--}
  shift
elif [ "${1:-}" = --reminders ]; then
  MODE=reminders
  shift
elif [ "${1:-}" = --print ]; then
  MODE=print
  shift
fi
OUT="${1:-$E2E_WIN_BUILD/screenshots}"
shift || true
LANGS=("$@")
[ "${#LANGS[@]}" -gt 0 ] || LANGS=(english russian german)
WORK="$E2E_WIN_BUILD/e2e-shots"
mkdir -p "$OUT"
rm -rf "$WORK"
mkdir -p "$WORK"

e2e_env_start || exit 1
trap 'e2e_env_stop' EXIT

# A mapped, named window of the program other than its main window and
# its hidden application window: a dialog or message box.
any_dialog() {
  xwininfo -root -tree 2>/dev/null | awk '/\("vellumio.exe"/ && !/has no name/ &&
      !/"ScribbaloonStarted"/ && !/"Vellumio": / && !/"Default IME"/ { print $1 }' |
    while read -r id; do e2e_mapped "$id" && { echo "$id"; break; }; done | grep -q .
}

shot() { e2e_screenshot "$OUT/$1.png" && echo "wrote $OUT/$1.png"; }

finish() {
  if e2e_running; then
    e2e_main_shown || e2e_touch_dock_line 500 3
    e2e_menu_exit
    e2e_wait_end 20 || e2e_kill_wine
  fi
  xdotool mousemove 640 400
}

portable_run() {
  local lang="$1" dir="$WORK/$1"
  e2e_quiet_ini "$lang.lng" | e2e_make_folder "$dir"
  "$DBTOOL" new "$dir/notes.sbn" >/dev/null
  touch -d "@$(($(date +%s) - 600))" "$dir/notes.sbn"
  e2e_start "$dir"
  e2e_poll 60 docked_hidden || { echo "$lang: the program did not come up docked"; finish; return; }
  e2e_touch_dock_line 300 3
  sleep 0.7
  shot "$lang-docked"

  # Next Reminder (the 7th line of the menu, 71 pixels below its top).
  e2e_click_menu_button
  if e2e_poll 3 e2e_menu_window >/dev/null; then
    sleep 0.3
    shot "$lang-menu-header"
    local menu x y
    menu=$(e2e_menu_window)
    read -r x y _ _ _ <<<"$(e2e_geometry "$menu")"
    e2e_click $((x + 40)) $((y + 71))
    if e2e_poll 5 any_dialog; then
      sleep 0.5
      shot "$lang-box-next-reminder"
      xdotool key Escape
      e2e_poll 3 no_dialog
    fi
  fi

  # The database file changed by another program, then the window
  # activated (after working in another program, so that it hides first).
  e2e_click_notepad
  xdotool mousemove 300 650
  "$DBTOOL" new "$dir/other.sbn" >/dev/null && mv -f "$dir/other.sbn" "$dir/notes.sbn"
  touch -d "@$(($(date +%s) + 120))" "$dir/notes.sbn"
  e2e_poll 3 e2e_main_hidden
  e2e_touch_dock_line 340 3
  if e2e_poll 5 any_dialog; then
    sleep 0.5
    shot "$lang-box-newer-database"
    xdotool key Escape
    e2e_poll 3 no_dialog
  fi

  # The tray menu from the notification-area icon (right of the taskbar).
  xdotool mousemove $((E2E_SCREEN_W - 11)) $((E2E_SCREEN_H - 11)) click 3
  if e2e_poll 3 e2e_menu_window >/dev/null; then
    sleep 0.3
    shot "$lang-tray-menu"
    xdotool key Escape
  fi
  sleep 0.5
  finish
}

no_dialog() { ! any_dialog; }
docked_hidden() { e2e_mapped "$(e2e_dock_line)" && e2e_main_window >/dev/null && e2e_main_hidden; }

reg_set() {
  wine_env_without_lock "$WINE64" reg add "HKCU\\Software\\Vellumio\\$1" /v "$2" /t "$3" /d "$4" /f \
    >/dev/null 2>&1
}

# The error bar needs the registry: a portable installation always uses
# the notes.sbn beside the program (and creates it when it is missing).
error_bar_run() {
  local lang="$1" dir="$WORK/$1-registry"
  wine_env_without_lock "$WINE64" reg delete 'HKCU\Software\Vellumio' /f >/dev/null 2>&1
  reg_set 'Dialogs\fSelectLang' DefaultAnswer REG_DWORD 1
  reg_set LangModule CurrentLanguage REG_SZ "$lang.lng"
  reg_set LangModule IsLangModified REG_DWORD 0
  reg_set 'Settings\Database' DatabaseFile REG_SZ 'C:\users\Public\Missing notes\notes.sbn'
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$E2E_APP_DIR/Vellumio.exe" "$dir/"
  cp -r "$E2E_APP_DIR/Languages" "$E2E_APP_DIR/Schemes" "$dir/"
  e2e_start "$dir"
  if e2e_poll 60 e2e_main_shown || e2e_poll 20 docked_hidden; then
    e2e_main_shown || e2e_touch_dock_line 320 3
    sleep 0.7
    shot "$lang-error-bar"
  else
    echo "$lang: the program did not come up"
  fi
  finish
  wine_env_without_lock "$WINE64" reg delete 'HKCU\Software\Vellumio' /f >/dev/null 2>&1
}

# ---- The note view ------------------------------------------------------------------------

# Notes a day or two apart (grouped by day), with subjects, a long text,
# several lines and a due reminder.
NOTES_DAY='list Notes
note -0d 09:30 | Call back | Ask about the delivery date and the invoice number.
note -1d 17:45 | | A note a day old.
note -1d 11:05 due | | The reminder of this note is due. A quotation long enough to wrap: the card grows by a line for each line of text, up to eight, and the rest is cut.
note -2d 08:20 done | Done | This one is marked done.
note -4d 14:00 | Shopping | Bread\nMilk\nApples\nCoffee
note -6d 10:10 | | Short note.'

# Months apart (grouped by month).
NOTES_MONTH='list Notes
note -1m 09:00 | Meeting | Notes from the meeting.
note -2m 10:00 | | Second note of the month before.
note -2m 12:30 due | | Due note.
note -5m 15:00 | Trip | Tickets, hotel, passport.
note -9m 09:00 | | Old note.'

# Years apart (grouped by year).
NOTES_YEAR='list Notes
note -1y 09:00 | Archive | A note from last year.
note -2y 10:00 | | Two years old.
note -2y 12:00 | | Two years old too.
note -4y 16:00 done | Done | Four years old and done.
note -6y 08:00 | | The oldest note.'

set_dpi() {
  wine_env_without_lock "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f >/dev/null 2>&1
  # The desktop and the server read it at their start.
  e2e_kill_wine
}

# Starts the program on database $3 (a description for make_notes_db)
# with language $1 and the extra settings $4, shows the window, pins it
# (the header is 23 pixels at 96 DPI, scaled with it) and leaves the
# pointer over the title. $2 names the run's folder.
notes_start() {
  local lang="$1" dir="$WORK/$2" scale="$5"
  { e2e_quiet_ini "$lang.lng"; printf '%b\n' "$4"; } | e2e_make_folder "$dir"
  "$NATIVE_DIR/tests/support/make_notes_db" "$dir/notes.sbn" <<<"$3" >/dev/null || return 1
  e2e_start "$dir"
  e2e_poll 60 docked_hidden || { echo "$lang: the program did not come up docked"; return 1; }
  e2e_touch_dock_line 300 3 || return 1
  sleep 0.5
  e2e_main_bounds
  local header=$((E2E_HEADER * scale / 100))
  HX=$((MX + E2E_FRAME + header * 3 / 2))
  HY=$((MY + E2E_FRAME + header / 2))
  # The pin: left of the minimise button, 2 pixels from the right.
  e2e_click $((MX + MW - E2E_FRAME - 2 * scale / 100 - header - header / 2)) "$HY"
  VX=$((MX + E2E_FRAME))
  VY=$((MY + E2E_FRAME + header))
  sleep 0.5
}

# The pointer rests on the title (no hint), the picture settles.
notes_shot() {
  xdotool mousemove $((MX + MW / 2)) "$HY"
  sleep 0.6
  shot "$1"
}

# Selects the second note with the keyboard: a click into the prompt row
# gives the list the focus, Down moves on.
select_second_note() {
  e2e_click $((VX + 150)) $((VY + 40 * $1 / 100))
  xdotool key Down Down
}

notes_run() {
  local lang="$1" dpi="$2" scale=$(($2 * 100 / 96)) p="$1-$2"
  if notes_start "$lang" "$p-day" "$NOTES_DAY" "[Settings\\Indicator]\nGroupMode=0" "$scale"; then
    select_second_note "$scale"
    notes_shot "$p-notes-day-selected"
    xdotool key Up Return
    notes_shot "$p-editor-subject"
    xdotool key shift+Escape
  fi
  finish
  if notes_start "$lang" "$p-month" "$NOTES_MONTH" "[Settings\\Indicator]\nGroupMode=0" "$scale"; then
    select_second_note "$scale"
    notes_shot "$p-notes-month"
  fi
  finish
  if notes_start "$lang" "$p-year" "$NOTES_YEAR" \
    "[Settings\\Indicator]\nGroupMode=0\nShowSubject=0" "$scale"; then
    select_second_note "$scale"
    notes_shot "$p-notes-year-nosubject"
    xdotool key Return
    notes_shot "$p-editor-nosubject"
    xdotool key shift+Escape
  fi
  finish
}

if [ "$MODE" = notes ]; then
  trap 'set_dpi 96; e2e_env_stop' EXIT
  for dpi in 96 144; do
    set_dpi "$dpi"
    for lang in "${LANGS[@]}"; do notes_run "$lang" "$dpi"; done
  done
  exit 0
fi

NOTES_TABS='list Inbox
note -1d 10:00 | | Call the printer service about the toner
note -2d 09:00 | Apples | Buy apples and pears
list Work projects
note -1d 11:00 | | Quarterly report draft
list Reading
note -3d 08:00 | | A short history of apple growing
list Travel
list Ideas
note -5d 12:00 | | A tab strip along the bottom'

tabs_run() {
  local lang="$1"
  notes_start "$lang" "$lang-tabs" "$NOTES_TABS" "[Settings\\Indicator]\nGroupMode=0" 100 || { finish; return; }
  notes_shot "$lang-tabs-strip"
  e2e_click $((VX + 150)) $((VY + 79 + 12))
  xdotool type --delay 40 "apple"
  notes_shot "$lang-tabs-filter"
  xdotool key Escape
  sleep 0.5
  # A drag of the selected note, held still while the picture is taken.
  e2e_click $((VX + 150)) $((VY + 79 + 12))
  sleep 0.6
  xdotool mousemove $((VX + 150)) $((VY + 79 + 12)) mousedown 1
  for i in 1 2 3 4 5 6 7 8; do xdotool mousemove $((VX + 150 + i * 5)) $((VY + 79 + 12 + i * 8)); sleep 0.03; done
  sleep 0.5
  shot "$lang-tabs-dragging"
  xdotool mousemove $((VX + 150)) $((VY + 79 + 12)) mouseup 1
  sleep 0.3
  xdotool key ctrl+f
  if e2e_poll 5 any_dialog; then
    sleep 0.4
    shot "$lang-tabs-find"
    xdotool key Escape
    e2e_poll 3 no_dialog
  fi
  # The tab's menu with its colour submenu open.
  e2e_main_bounds
  xdotool mousemove $((MX + E2E_FRAME + 20)) $((MY + MH - E2E_FRAME - 8)) click 3
  if e2e_poll 3 e2e_menu_window >/dev/null; then
    xdotool key Up Right
    sleep 0.5
    shot "$lang-tabs-colours"
    xdotool key Escape Escape
  fi
  finish
}

if [ "$MODE" = tabs ]; then
  for lang in "${LANGS[@]}"; do tabs_run "$lang"; done
  exit 0
fi

# The print dialog, opened from a note's context menu (keys: Shift+F10,
# Up to its last item, Print..., Enter).
if [ "$MODE" = print ]; then
  for lang in "${LANGS[@]}"; do
    # No due reminder: its alert would come up first.
    if notes_start "$lang" "$lang-print" "$(printf 'list Notes\nnote -1d 10:00 | Call back | Ask about the delivery date.\nnote -2d 09:15 | | A second note.')" "" 100; then
      select_second_note 100
      xdotool key shift+F10
      sleep 0.5
      xdotool key Up Return
      if e2e_poll 5 any_dialog; then
        sleep 0.5
        shot "$lang-print-dialog"
        xdotool key Escape
      else
        echo "$lang: the print dialog did not open"
      fi
    fi
    finish
  done
  exit 0
fi

e2e_start_notepad
# The language dialog of a first start, in the language already chosen.
language_dialog_run() {
  local lang="$1" dir="$WORK/$1-first"
  printf '[LangModule]\nCurrentLanguage=%s\nIsLangModified=0\n' "$lang.lng" | e2e_make_folder "$dir"
  e2e_start "$dir"
  if e2e_poll 60 e2e_dialog "Vellumio - Select Language" >/dev/null; then
    sleep 0.5
    shot "$lang-language-dialog"
    xdotool key Return
  fi
  e2e_poll 60 docked_hidden
  finish
}

# The alert of a due note, its snooze menu, and the editor from its
# "Reminder Settings..." button.
alert_window() {
  local id
  for id in $(xdotool search --name '^Vellumio - ' 2>/dev/null); do
    e2e_mapped "$id" && { echo "$id"; return 0; }
  done
  return 1
}
reminders_run() {
  local lang="$1" dir="$WORK/$1-reminders"
  { e2e_quiet_ini "$lang.lng"; printf '[Settings\\Indicator]\nShowSubject=1\n'; } | e2e_make_folder "$dir"
  "$NATIVE_DIR/tests/support/make_notes_db" "$dir/notes.sbn" >/dev/null <<'EOF2'
list Inbox
note now due | Call the printer shop | Ask whether the toner for the office printer has arrived; the order is at https://example.com/orders/4711
EOF2
  e2e_start "$dir"
  if e2e_poll 60 alert_window >/dev/null; then
    local alert x y w h
    alert=$(alert_window)
    sleep 1
    shot "$lang-reminder-alert"
    # The snooze arrow (236, 200, 21 x 25 in the 438 x 237 client area,
    # below the caption and inside the frame).
    read -r x y w h _ <<<"$(e2e_geometry "$alert")"
    x=$((x + (w - 438) / 2))
    y=$((y + h - 237 - (w - 438) / 2))
    e2e_click $((x + 246)) $((y + 212))
    sleep 0.7
    shot "$lang-reminder-snooze-menu"
    xdotool key Escape
    sleep 0.3
    e2e_click $((x + 358)) $((y + 212))
    if e2e_poll 5 e2e_dialog "$(reminder_caption "$lang")" >/dev/null; then
      sleep 0.7
      shot "$lang-reminder-editor"
      # Daily: the weekday list beside the narrowed kind list (the kind
      # list is the fifth stop from the enabled box, daily its last item).
      xdotool key Tab Tab Tab Tab End
      sleep 0.7
      shot "$lang-reminder-editor-daily"
      xdotool key Escape
      sleep 0.5
    fi
    xdotool key Return
  fi
  finish
}
reminder_caption() {
  awk -F= 'tolower($0) ~ /^\[fremind\]/ { s = 1; next } /^\[/ { s = 0 }
    s && tolower($1) == "lcaption" { sub(/\r$/, "", $2); print $2; exit }' "$ROOT/Languages/$1.lng" |
    iconv -f "$([ "$1" = russian ] && echo CP1251 || echo CP1252)" -t UTF-8
}

if [ "$MODE" = reminders ]; then
  e2e_start_notepad
  for lang in "${LANGS[@]}"; do reminders_run "$lang"; done
  exit 0
fi

for lang in "${LANGS[@]}"; do
  language_dialog_run "$lang"
  portable_run "$lang"
  error_bar_run "$lang"
done
