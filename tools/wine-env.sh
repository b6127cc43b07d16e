# Shared helper for running the Windows programs under Wine: a private X
# display when none is set, and a Wine prefix of our own inside the build
# tree, so that nothing touches the user's ~/.wine or desktop.
#
#   source tools/wine-env.sh
#   wine_env_start            # Xvfb if needed, prefix created once, lock taken
#   wine_run some.exe args    # runs under wine64 (with a time limit)
#   wine_env_stop             # stops only the wineserver and Xvfb started here
#
# Settings (environment): VELLUMIO_WINEPREFIX (default build/wineprefix),
# WINE_RUN_TIMEOUT (seconds per program, default 900).
# shellcheck shell=bash

WINE_ENV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WINE64=/usr/lib/wine/wine64
if [ -x /usr/lib/wine/wineserver64 ]; then
  WINESERVER=/usr/lib/wine/wineserver64
else
  WINESERVER=/usr/lib/wine/wineserver
fi

export WINEPREFIX="${VELLUMIO_WINEPREFIX:-$WINE_ENV_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: their install dialogs would wait for a click forever.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A silent sound device (tools/wine-null-audio.conf) unless one is chosen.
if [ -z "${ALSA_CONFIG_PATH:-}" ] && [ -f /usr/share/alsa/alsa.conf ]; then
  export ALSA_CONFIG_PATH="$WINE_ENV_ROOT/tools/wine-null-audio.conf"
fi

WINE_ENV_XVFB_PID=""
WINE_ENV_LOCK_FD=""

wine_env_log() { echo "wine-env: $*" >&2; }

# Runs a command without the lock's descriptor. A flock belongs to the open
# file, so an Xvfb or a wineserver (which wine starts and which outlives
# it) that inherited the descriptor would hold the lock after we let go.
wine_env_without_lock() {
  if [ -n "$WINE_ENV_LOCK_FD" ]; then
    "$@" {WINE_ENV_LOCK_FD}>&-
  else
    "$@"
  fi
}

# Starts Xvfb on the first free display from :90 on and waits until it
# accepts clients.
wine_env_start_xvfb() {
  local n i
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # Started directly (not through a function) so that $! is Xvfb itself.
    if [ -n "$WINE_ENV_LOCK_FD" ]; then
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- &
    else
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    fi
    WINE_ENV_XVFB_PID=$!
    for i in $(seq 1 50); do
      if ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; then break; fi
      if [ -e "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        wine_env_log "Xvfb on $DISPLAY (pid $WINE_ENV_XVFB_PID)"
        return 0
      fi
      sleep 0.2
    done
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=""
  done
  wine_env_log "no free X display for Xvfb"
  return 1
}

# Creates the prefix on first use. A marker written at the very end tells
# a complete prefix from one whose creation was interrupted.
wine_env_prepare_prefix() {
  local marker="$WINEPREFIX/.vellumio-prefix-ready"
  [ -f "$marker" ] && return 0
  wine_env_log "creating the Wine prefix $WINEPREFIX (takes a minute the first time)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  if ! wine_env_without_lock timeout 300 "$WINE64" wineboot -i </dev/null >/dev/null 2>&1; then
    wine_env_log "wineboot failed or timed out"
    WINEPREFIX="$WINEPREFIX" timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
    return 1
  fi
  # wineboot returns before the registry is written; wait for the server.
  timeout 120 "$WINESERVER" -w >/dev/null 2>&1 || true
  wine_env_private_profile
  # Without a window manager (Xvfb) Wine waits for one on every hidden or
  # destroyed window, about two seconds each; Wine's own management of the
  # windows makes the window tests many times faster.
  wine_env_without_lock timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >/dev/null 2>&1 || true
  timeout 60 "$WINESERVER" -w >/dev/null 2>&1 || true
  touch "$marker"
}

# Wine links the user's Documents, Desktop and the like to the Linux home
# folder; the program writes its database into Documents, so give the
# prefix folders of its own and keep the tests out of the home folder.
wine_env_private_profile() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
}

# One user of the prefix at a time: wine_env_stop ends its wineserver, which
# would otherwise pull the rug from under a second test run.
wine_env_lock() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec {WINE_ENV_LOCK_FD}>"$WINEPREFIX.lock"
  if ! flock -w 1800 "$WINE_ENV_LOCK_FD"; then
    wine_env_log "the Wine prefix stayed locked by another run"
    return 1
  fi
}

wine_env_start() {
  wine_env_lock || return 1
  if [ -z "${DISPLAY:-}" ]; then
    wine_env_start_xvfb || return 1
  fi
  wine_env_prepare_prefix
}

# Runs a Windows program; the exit status is the program's.
wine_run() {
  wine_env_without_lock timeout "${WINE_RUN_TIMEOUT:-900}" "$WINE64" "$@" </dev/null
}

wine_env_stop() {
  WINEPREFIX="$WINEPREFIX" timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$WINE_ENV_XVFB_PID" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=""
    unset DISPLAY
  fi
  if [ -n "$WINE_ENV_LOCK_FD" ]; then
    exec {WINE_ENV_LOCK_FD}>&-
    WINE_ENV_LOCK_FD=""
  fi
}
