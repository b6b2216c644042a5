#!/usr/bin/env bash
# The tray program as a user meets it, on a private X server (Xvfb) with a tray host (trayer) and
# a private PulseAudio daemon whose default sink is a null sink: the icon appears, a left click
# plays the chime and then the spoken words (found in the sink's recorded monitor), and does so
# again half a second after the sound server was restarted, a second start ends at once, the menu
# opens while the about box is shown, and the exit entry of the menu (access key E) ends the
# program, with nothing leaked.
#
#   tray_e2e.sh HORALIA_EXECUTABLE SOUND_FOLDER
#
# Exits 77 (skipped) when a tool it needs is missing. Every wait is bounded by 20 seconds.
# With HORALIA_SCREENSHOT_DIR set, it also saves horalia-qt-tooltip.png and horalia-qt-menu.png.
# With HORALIA_E2E_INSTALLED=1 it runs an installed program where it lies (SOUND_FOLDER then is
# <prefix>/share/horalia/Sound) and checks that Value.ini is kept in $XDG_CONFIG_HOME/horalia/.
set -euo pipefail

exe=$1
sound=$2
here=$(cd "$(dirname "$0")" && pwd)
wait_s=20
installed=${HORALIA_E2E_INSTALLED:-}

for tool in Xvfb trayer xdotool pulseaudio parec pactl python3 iconv; do
  if ! command -v "$tool" >/dev/null; then
    echo "tray_e2e: SKIPPED, $tool is not installed" >&2
    exit 77
  fi
done
screens=${HORALIA_SCREENSHOT_DIR:-}
if [ -n "$screens" ] && ! command -v import >/dev/null; then
  echo "tray_e2e: no ImageMagick import, screenshots are not taken" >&2
  screens=
fi

harness_name=tray_e2e
source "$here/tray_harness.sh"

export HOME=$work XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
if [ -n "$installed" ]; then
  # Where it was installed; the settings file is seeded with the once-a-day advertisement mode,
  # whose date the program writes two seconds after start: that write must land here.
  program=$exe
  mkdir -p "$XDG_CONFIG_HOME/horalia"
  printf '[Horalia]\r\n广告设置=1\r\n' | iconv -f UTF-8 -t GBK >"$XDG_CONFIG_HOME/horalia/Value.ini"
else
  # Alone in a folder with its clips, so that no hook library or settings file is beside it.
  program=$work/app/horalia
  mkdir "$work/app"
  cp "$exe" "$program"
  cp -r "$sound" "$work/app/Sound"
fi
# Leaks are checked: the program frees what it made when it ends through the exit entry.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../../lsan.supp:fast_unwind_on_malloc=0}

parec -d horalia_e2e.monitor --format=s16le --rate=22050 --channels=1 >"$work/recording.raw" &
pids+=($!)

started=$(date +%s%N)
"$program" >"$work/horalia.log" 2>&1 &
horalia=$!
pids+=("$horalia")
wait_for xdotool search --onlyvisible --classname horalia || fail "no tray icon appeared"
icon_ms=$((($(date +%s%N) - started) / 1000000))
icon=$(xdotool search --onlyvisible --classname horalia | head -1)
echo "tray_e2e: icon in the tray ${icon_ms} ms after start (polled every 0.1 s)"

if [ -n "$screens" ]; then
  xdotool mousemove --window "$icon" 8 8
  sleep 3
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop 420x110+380+0 +repage "$screens/horalia-qt-tooltip.png"
  xdotool click 3
  sleep 1.5
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop 420x260+380+0 +repage "$screens/horalia-qt-menu.png"
  xdotool key Escape
  sleep 0.5
fi

# --- a left click announces: the chime, then the words
xdotool mousemove --window "$icon" 8 8 click 1
sleep 9
python3 "$here/find_announcement.py" "$work/recording.raw" "$sound" ||
  fail "the chime and the spoken clips were not found in the recording"

# --- the sound server goes away and comes back (a crash, an update): a click while it is gone
# finds nothing to play to, and a click half a second after it returns speaks
pulse=$(pgrep -f -- "-F $work/pulse/private.pa")
kill "$pulse"
wait "$pulse" 2>/dev/null || true
xdotool mousemove --window "$icon" 8 8 click 1
sleep 1
start_private_pulse "$work" horalia_e2e rate=22050 channels=1 format=s16le norewinds=1 ||
  fail "the PulseAudio daemon did not start again"
parec -d horalia_e2e.monitor --format=s16le --rate=22050 --channels=1 >"$work/returned.raw" &
pids+=($!)
sleep 0.5
xdotool mousemove --window "$icon" 8 8 click 1
sleep 9
python3 "$here/find_announcement.py" "$work/returned.raw" "$sound" ||
  fail "a click 0.5 s after the sound server came back was not heard"
echo "tray_e2e: a click 0.5 s after the sound server came back speaks"

# --- a second start ends at once, and the first goes on, even when the second is started
# without the session's runtime folder (from su or cron)
# Qt then makes its fallback runtime folder in /tmp; one the test made is removed again.
qt_fallback=/tmp/runtime-$(id -un)
[ -e "$qt_fallback" ] && qt_fallback=
set +e
timeout "$wait_s" env -u XDG_RUNTIME_DIR "$program" >"$work/second.log" 2>&1
second=$?
set -e
[ -z "$qt_fallback" ] || rm -rf "$qt_fallback"
[ "$second" -eq 0 ] || fail "the second start exited with $second (124: it kept running)"
kill -0 "$horalia" 2>/dev/null || fail "the first instance ended when the second started"
echo "tray_e2e: the second start ended at once"

# --- the menu opens while 关于 is shown (an application-modal box would block the tray icon's
# own window, which is the program's on an XEmbed tray)
windows() { xdotool search --onlyvisible --classname horalia 2>/dev/null | sort; }
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
xdotool key a
wait_for xdotool search --onlyvisible --name '^关于 Horalia$' || fail "关于 did not open the about box"
about=$(xdotool search --onlyvisible --name '^关于 Horalia$' | head -1)
before=$(windows)
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
menu=$(comm -13 <(echo "$before") <(windows))
[ -n "$menu" ] || fail "the menu did not open while the about box was shown"
xdotool key Escape
xdotool windowfocus --sync "$about" key Escape  # no window manager: focused directly
wait_for bash -c "! xdotool search --onlyvisible --name '^关于 Horalia\$'" ||
  fail "Esc did not close the about box"
echo "tray_e2e: the menu opens while the about box is shown"

# --- the exit entry ends the program
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
xdotool key e
wait_for bash -c "! kill -0 $horalia" || fail "the exit entry did not end the program"
set +e
wait "$horalia"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "tray_e2e: the exit entry ended the program"

if [ -n "$installed" ]; then
  ini=$XDG_CONFIG_HOME/horalia/Value.ini
  iconv -f GBK -t UTF-8 "$ini" | grep -q '^广告日期=' || fail "Value.ini in $ini was not written"
  [ ! -e "$(dirname "$exe")/Value.ini" ] || fail "a Value.ini was written beside the program"
  echo "tray_e2e: the installed program keeps Value.ini in $ini"
fi
