#!/usr/bin/env bash
# The wine session of one test run, as a CTest fixture: `start FOLDER` gives the run a display
# (Xvfb, unless the caller's display works) and boots the prefix; `stop FOLDER` ends every Wine
# server the run's prefixes started and the Xvfb, so that nothing outlives the run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

action=$1 session=$2 program=$3
export HORALIA_WINE_SESSION=$session
case $action in
  start)
    mkdir -p "$session"
    if ! wine_display_works; then wine_start_xvfb "$session"; else rm -f "$session/display"; fi
    wine_select_loader "$program"
    wine_boot_prefix
    ;;
  stop)
    wine_select_loader "$program"
    for prefix in "$session"/prefix-*; do
      [ -d "$prefix" ] || continue
      WINEPREFIX=$prefix wine_server -k 2>/dev/null || true
      wine_remove_server_folder "$prefix"
    done
    if [ -f "$session/xvfb.pid" ]; then
      kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
      rm -f "$session/xvfb.pid" "$session/display"
    fi
    ;;
  *) echo "usage: wine-session.sh start|stop FOLDER PROGRAM" >&2; exit 2 ;;
esac
