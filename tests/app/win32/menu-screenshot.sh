#!/usr/bin/env bash
# Takes a picture of Horalia.exe's tray menu under Wine and Xvfb, with real X clicks on its icon:
#   tests/app/win32/menu-screenshot.sh <build dir> [picture.png]
# 关闭报时 is switched on in the copy's Value.ini, so the picture shows its check mark greyed.
# The menu is then closed with its exit entry's access key E.
set -euo pipefail

build=$(cd "$1" && pwd)
picture=${2:-/tmp/horalia-win32-menu.png}
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../cmake/wine-run.sh"

export HORALIA_WINEPREFIX=${HORALIA_WINEPREFIX:-$build/wine-e2e}
export HORALIA_XVFB_DISPLAY=${HORALIA_XVFB_DISPLAY:-95}
unset DISPLAY

folder=$(mktemp -d /tmp/horalia-menu.XXXXXX)
trap 'rm -rf "$folder"' EXIT
cp -r "$build/bin/Horalia.exe" "$build/bin/Sound" "$folder/"
# [Horalia] 关闭报时=1, in GBK as the profile functions of a Chinese system write it.
printf '[Horalia]\r\n\xb9\xd8\xb1\xd5\xb1\xa8\xca\xb1=1\r\n' > "$folder/Value.ini"

"$wine_run" "$folder/Horalia.exe" &
program=$!
export DISPLAY=:$HORALIA_XVFB_DISPLAY

tray=""
for _ in $(seq 100); do
  tray=$(xdotool search --name "Wine System Tray" 2>/dev/null | head -1 || true)
  [ -n "$tray" ] && [ "$(xwininfo -id "$tray" | awk '/Map State/ {print $3}')" = IsViewable ] && break
  tray=""
  sleep 0.2
done
[ -n "$tray" ] || { echo "no tray window" >&2; kill "$program"; exit 1; }

xdotool mousemove --window "$tray" 10 10 click 3
sleep 1.5
import -window root "$picture"
xdotool key e
wait "$program"
echo "wrote $picture"
