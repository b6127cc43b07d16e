# Helpers for driving Vellumio.exe under wine64 with real X input
# (xdotool) and watching its windows (xwininfo). Sourced by
# tests/e2e/run_app_tests.sh, tests/e2e/take_screenshots.sh and
# bench/startup_bench.sh.
#
# The program runs in a Wine virtual desktop ("Default", 1280x800) of a
# prefix of its own, so windows get frames and a taskbar as on Windows and
# the work area ends above that taskbar. Inside the virtual desktop every
# top-level Win32 window is an X child of the desktop window: the main
# window carries its caption "ScribbaloonStarted" as X name, the dock line
# (class TfCForm) has no name and is told apart by its shape (5 x 5 as
# created, 3 pixels thick once placed).
# shellcheck shell=bash

E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_WIN_BUILD="${WIN_BUILD_DIR:-$E2E_ROOT/build/win64}"
E2E_APP_DIR="$E2E_WIN_BUILD/app"
E2E_SCREEN_W=1280
E2E_SCREEN_H=800
E2E_STARTED_ENV=0

# Starts the private display and the prefix (build/wineprefix-e2e unless
# E2E_WINEPREFIX says otherwise) and switches the prefix to a virtual
# desktop. A DISPLAY given by the caller is not used: the scenarios move
# the pointer and take screenshots of the whole screen.
e2e_env_start() {
  export VELLUMIO_WINEPREFIX="${E2E_WINEPREFIX:-$E2E_ROOT/build/wineprefix-e2e}"
  unset DISPLAY WINEPREFIX
  # shellcheck source=tools/wine-env.sh
  source "$E2E_ROOT/tools/wine-env.sh"
  wine_env_start || return 1
  E2E_STARTED_ENV=1
  wine_env_without_lock "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
    >/dev/null 2>&1 || return 1
  wine_env_without_lock "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
    /d "${E2E_SCREEN_W}x${E2E_SCREEN_H}" /f >/dev/null 2>&1 || return 1
  # A desktop started before the change would keep its old shape.
  e2e_kill_wine
}

e2e_env_stop() {
  [ "$E2E_STARTED_ENV" -eq 1 ] && wine_env_stop
  E2E_STARTED_ENV=0
}

# Ends every Wine process of our own prefix (after a scenario that left
# the program running) and waits until the server is gone.
e2e_kill_wine() {
  timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
}

now_ms() { date +%s%3N; }

# ---- Program folders ------------------------------------------------------------

# A fresh portable installation: the program, its languages and schemes
# and a Vellumio.ini (UTF-8 text given on stdin, sections as in the
# settings file). Prints nothing; the folder is $1.
e2e_make_folder() {
  local dir="$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$E2E_APP_DIR/Vellumio.exe" "$dir/"
  cp -r "$E2E_APP_DIR/Languages" "$E2E_APP_DIR/Schemes" "$dir/"
  [ -d "$E2E_APP_DIR/Help" ] && cp -r "$E2E_APP_DIR/Help" "$dir/"
  # The settings file is read as ANSI text when it has no byte-order mark.
  sed 's/$/\r/' >"$dir/Vellumio.ini"
}

# The usual start: no language dialog, no first-start balloon, and the
# automatic update check sent to a closed loopback port, never a real host.
e2e_quiet_ini() {
  printf '[Dialogs\\fSelectLang]\nDefaultAnswer=1\n[LangModule]\nCurrentLanguage=%s\nIsLangModified=0\n' \
    "${1:-english.lng}"
  printf '[Settings\\General]\nUpdateUrl=http://127.0.0.1:9\n'
}

# The settings file as UTF-8 (the program writes UTF-16 with a BOM).
e2e_ini_text() {
  local file="$1"
  if [ "$(head -c2 "$file" | od -An -tx1 | tr -d ' ')" = "fffe" ]; then
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
  else
    tr -d '\r' <"$file"
  fi
}

# Value $3 of section $2 in settings file $1 (empty when missing).
e2e_ini_value() {
  # Through the environment: awk -v would read "\f" in a section name as
  # an escape.
  e2e_ini_text "$1" | E2E_SECTION="[$2]" E2E_KEY="$3" awk '
    BEGIN { s = ENVIRON["E2E_SECTION"]; k = ENVIRON["E2E_KEY"] }
    /^\[/ { inside = ($0 == s); next }
    inside && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }'
}

# ---- Running the program --------------------------------------------------------

# Starts Vellumio.exe of folder $1 with the remaining arguments in the
# background; APP_PID is the process whose exit code is the program's.
e2e_start() {
  local dir="$1"
  shift
  APP_PID=""
  (cd "$dir" && exec timeout 300 "$WINE64" ./Vellumio.exe "$@") </dev/null >/dev/null 2>&1 \
    {WINE_ENV_LOCK_FD}>&- &
  APP_PID=$!
}

# The Linux process that runs the Windows program (the child of timeout).
e2e_program_pid() { pgrep -P "$APP_PID" | head -n1; }

# Waits up to $1 seconds for APP_PID to end; APP_RC is its exit code
# (empty when it is still running).
e2e_wait_end() {
  local limit_ms=$(($1 * 1000)) start
  start=$(now_ms)
  APP_RC=""
  while kill -0 "$APP_PID" 2>/dev/null; do
    [ $(($(now_ms) - start)) -ge "$limit_ms" ] && return 1
    sleep 0.1
  done
  wait "$APP_PID"
  APP_RC=$?
  return 0
}

e2e_running() { kill -0 "$APP_PID" 2>/dev/null; }

# ---- Windows ----------------------------------------------------------------------

# "x y width height mapstate" of X window $1 in screen coordinates.
e2e_geometry() {
  [ -n "${1:-}" ] || return 1
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /^  Width:/ { w = $2 } /^  Height:/ { h = $2 } /Map State:/ { m = $3 }
    END { if (m != "") print x, y, w, h, m }'
}

e2e_mapped() { [ -n "${1:-}" ] && [ "$(e2e_geometry "$1" | awk '{print $5}')" = "IsViewable" ]; }

# The main window is shown / hidden.
e2e_main_shown() { e2e_mapped "$(e2e_main_window)"; }
e2e_main_hidden() { ! e2e_main_shown; }

# The X window of the main window (caption "ScribbaloonStarted").
e2e_main_window() {
  local id
  id=$(xdotool search --name '^ScribbaloonStarted$' 2>/dev/null | head -n1)
  [ -n "$id" ] && echo "$id"
}

# Unnamed windows of the program: "id width height x y" per line.
e2e_unnamed_windows() {
  xwininfo -root -tree 2>/dev/null | awk '
    /\(has no name\): \("vellumio.exe"/ {
      split($NF, a, "+"); n = split($(NF - 1), g, "[x+]");
      print $1, g[1], g[2], g[3], g[4] }'
}

# The dock line: as created 5 x 5, once placed 3 pixels thick.
e2e_dock_line() {
  e2e_unnamed_windows | awk '($2 == 3 || $3 == 3 || ($2 == 5 && $3 == 5)) { print $1; exit }'
}

# A mapped unnamed window of the program larger than the dock line: an
# open menu.
e2e_menu_window() {
  local id w h x y
  while read -r id w h x y; do
    [ "$w" -gt 40 ] && [ "$h" -gt 40 ] && e2e_mapped "$id" && { echo "$id"; return 0; }
  done < <(e2e_unnamed_windows)
  return 1
}

# A mapped window whose X name is exactly $1 and which is larger than
# the hidden 0 x 0 application window (a dialog or message box).
e2e_dialog() {
  local id
  for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
    read -r _ _ w h m <<<"$(e2e_geometry "$id")"
    [ "$m" = "IsViewable" ] && [ "${w:-0}" -gt 20 ] && { echo "$id"; return 0; }
  done
  return 1
}

# Polls "$@" every 50 ms for up to $1 seconds; ELAPSED_MS is the time it
# took (or the limit).
e2e_poll() {
  local limit_ms
  limit_ms=$(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')
  shift
  local start
  start=$(now_ms)
  while :; do
    if "$@"; then
      ELAPSED_MS=$(($(now_ms) - start))
      return 0
    fi
    ELAPSED_MS=$(($(now_ms) - start))
    [ "$ELAPSED_MS" -ge "$limit_ms" ] && return 1
    sleep 0.05
  done
}

# Stays true for the whole of $1 seconds ("$@" checked every 100 ms).
e2e_holds() {
  local until_ms
  until_ms=$(($(now_ms) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')))
  shift
  while [ "$(now_ms)" -lt "$until_ms" ]; do
    "$@" || return 1
    sleep 0.1
  done
  "$@"
}

# ---- The main window's parts ---------------------------------------------------------
# The main window has a sizing frame of E2E_FRAME pixels; its header is
# the top 23 pixels of the client area, the menu button its left square,
# the minimise button 2 pixels from the right, the pin left of it and the
# search button left of the pin (each as wide as the header is high).
E2E_FRAME=4
E2E_HEADER=23

# Sets MX MY MW MH (outer bounds of the main window).
e2e_main_bounds() {
  local id
  id=$(e2e_main_window)
  [ -n "$id" ] || return 1
  read -r MX MY MW MH _ <<<"$(e2e_geometry "$id")"
}

e2e_click() { xdotool mousemove "$1" "$2" click 1; }

e2e_click_menu_button() {
  e2e_main_bounds || return 1
  e2e_click $((MX + E2E_FRAME + E2E_HEADER / 2)) $((MY + E2E_FRAME + E2E_HEADER / 2))
}

e2e_click_pin() {
  e2e_main_bounds || return 1
  e2e_click $((MX + MW - E2E_FRAME - 2 - E2E_HEADER - E2E_HEADER / 2)) \
    $((MY + E2E_FRAME + E2E_HEADER / 2))
}

# A point of the header's title area (no button there).
e2e_header_point() {
  e2e_main_bounds || return 1
  HX=$((MX + MW / 2 - 50))
  HY=$((MY + E2E_FRAME + E2E_HEADER / 2))
}

# The last item of the open menu (Exit): clicked 12 pixels above the
# menu's bottom edge. $1 is the item counted from the bottom (1 = Exit).
e2e_click_menu_item_from_bottom() {
  local menu x y w h row=${1:-1}
  e2e_poll 3 e2e_menu_window >/dev/null || return 1
  menu=$(e2e_menu_window)
  read -r x y w h _ <<<"$(e2e_geometry "$menu")"
  e2e_click $((x + 40)) $((y + h - 12 - (row - 1) * 17))
}

# Opens the menu from the header and chooses Exit.
e2e_menu_exit() {
  e2e_click_menu_button || return 1
  e2e_click_menu_item_from_bottom 1
}

# Keeps the pointer on the dock line at height $1 (screen y) until the
# main window is shown; the dock line reacts only to a position it has not
# seen before, so every touch needs a new y. Returns 1 after $2 seconds.
e2e_touch_dock_line() {
  local line x y w h
  line=$(e2e_dock_line)
  read -r x y w h _ <<<"$(e2e_geometry "$line")"
  xdotool mousemove $((x + w / 2)) "$1"
  e2e_poll "${2:-3}" e2e_main_shown
}

e2e_screenshot() { import -window root "$1" 2>/dev/null; }

# Wine's notepad as "another program" the user works in; NOTEPAD_PID.
e2e_start_notepad() {
  ("$WINE64" notepad.exe) </dev/null >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- &
  NOTEPAD_PID=$!
  e2e_poll 30 e2e_notepad_window >/dev/null
}

e2e_notepad_window() {
  local id
  id=$(xdotool search --name 'Notepad$' 2>/dev/null | head -n1)
  [ -n "$id" ] && e2e_mapped "$id" && echo "$id"
}

# Clicks into the notepad's text area (it becomes the foreground window).
e2e_click_notepad() {
  local id x y w h
  id=$(e2e_notepad_window) || return 1
  read -r x y w h _ <<<"$(e2e_geometry "$id")"
  e2e_click $((x + 60)) $((y + h / 2))
}

# Drags the main window by its header by ($1, $2) pixels the way a hand
# does: strides first, then 4-pixel steps over the last 50 pixels of the
# longer axis. (The snap looks at where the window is when the next move
# comes, so a drag that jumps into the edge zone with its very last move
# stays where it was dropped.)
e2e_drag_header() {
  local dx="$1" dy="$2" steps i n
  e2e_header_point || return 1
  local len=$((${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}))
  xdotool mousemove "$HX" "$HY" mousedown 1
  n=$((len > 50 ? (len - 50) / 100 : 0))
  steps=()
  for ((i = 1; i <= n; i++)); do steps+=($((i * 100))); done
  for ((i = (len > 50 ? len - 50 : 0); i <= len; i += 4)); do steps+=("$i"); done
  steps+=("$len")
  for i in "${steps[@]}"; do
    xdotool mousemove $((HX + dx * i / len)) $((HY + dy * i / len))
    sleep 0.03
  done
  sleep 0.2
  xdotool mouseup 1
}
