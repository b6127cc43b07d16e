# Sourced by the test scripts under Wine. Inside the test command they
# run in its Wine environment (WINEPREFIX is set); run alone, they start
# one of their own here and stop it when they end ([ "$STARTED_WINE" -eq 1 ]
# && wine_env_stop). Sets STARTED_WINE, and WINE_BIN when it starts Wine.
STARTED_WINE=0
if [ -z "${WINEPREFIX:-}" ]; then
  # shellcheck source=tools/wine-env.sh
  source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/wine-env.sh"
  wine_env_start || { echo "FAIL: no Wine environment"; exit 1; }
  WINE_BIN="$WINE64"
  STARTED_WINE=1
fi
export WINEDEBUG=-all
