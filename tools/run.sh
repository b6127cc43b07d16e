#!/usr/bin/env bash
# Sets up the machine, builds the x86_64 Windows program and runs it under
# wine64 in the foreground until it ends. Without a DISPLAY the program
# runs on a private Xvfb display (useful for screenshots with
# `DISPLAY=:NN import -window root shot.png`).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

bash tools/setup.sh
cmake --preset win64
cmake --build --preset win64 -j2 --target Vellumio

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start
echo "run: starting Vellumio.exe on display $DISPLAY"
# Waiting on a background job lets Ctrl+C or a TERM end the script at once;
# the EXIT trap then stops the program with its wineserver.
wine_env_without_lock "$WINE64" build/win64/app/Vellumio.exe "$@" &
wait $!
