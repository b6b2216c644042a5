#!/usr/bin/env bash
# Screenshots of the Win32 settings dialog, its advanced page and the about box, under Wine on a
# private Xvfb display:
#   tests/ui/win32_screenshots.sh [build folder of the win32 preset] [output folder]
# writes horalia-settings.png, horalia-settings-tip.png (the pointer on 开机启动),
# horalia-advanced.png and horalia-about.png. HORALIA_SCREENSHOT_DPI=144 (150 %) or 192 (200 %)
# sets the prefix's LogPixels first and adds -144 or -192 to the names.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win32}
out=${2:-/tmp}
demo=$build/bin/ui_forms_demo.exe
[ -f "$demo" ] || { echo "no $demo: build the win32 preset first" >&2; exit 1; }

# A prefix of its own unless one is given, of the demo's architecture (the settings written with
# reg go to the same one), ended and removed with the display at the end.
HORALIA_WINE_ARCH=$(. "$root/cmake/wine-env.sh" && pe_architecture "$demo")
export HORALIA_WINE_ARCH
own_prefix=
if [ -z "${HORALIA_WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d /tmp/horalia-screenshots.XXXXXX)
  export HORALIA_WINEPREFIX=$own_prefix
fi
display=${HORALIA_SCREENSHOT_DISPLAY:-93}
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
geometry=
finish() {
  if [ -n "$own_prefix" ]; then
    # shellcheck source=../../cmake/wine-env.sh
    (. "$root/cmake/wine-env.sh" && wine_select_loader "$demo" && wine_server -k 2>/dev/null
     wine_server -w 2>/dev/null
     wine_remove_server_folder "$own_prefix")
    rm -rf "$own_prefix"
  fi
  rm -f "$geometry"
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT
export DISPLAY=:$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

dpi=${HORALIA_SCREENSHOT_DPI:-96}
suffix=
[ "$dpi" = 96 ] || suffix=-$dpi
"$root/cmake/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
  /d "$dpi" /f >/dev/null 2>&1

geometry=$(mktemp)
for form in settings settings-tip advanced about; do
  : >"$geometry"
  "$root/cmake/wine-run.sh" explorer /desktop=horalia,1280x800 "$demo" "$form" 5000 "Z:${geometry//\//\\}" &
  pid=$!
  for _ in $(seq 600); do [ -s "$geometry" ] && break; sleep 0.1; done
  [ -s "$geometry" ] || { echo "$form: the window did not open" >&2; exit 1; }
  if [ "$form" != settings-tip ]; then  # no tooltip where the pointer happens to rest
    xdotool mousemove 0 0
  fi
  sleep 1
  crop=$(cat "$geometry")
  if [ "$form" = settings-tip ]; then  # room for the tooltip below and beside the dialog
    IFS='x+' read -r w h x y <<<"$crop"
    crop=$((w + 220))x$((h + 60))+$x+$y
  fi
  import -window root -crop "$crop" +repage "$out/horalia-$form$suffix.png"
  echo "$out/horalia-$form$suffix.png ($crop)"
  wait "$pid"
done
