#!/usr/bin/env bash
# Measures the tray program next to a bare Qt 6 tray program (qt_tray_baseline) on the private
# desktop of desktop_harness.sh with trayer as the tray host: resident memory after start, CPU time and
# wake-ups (context switches of all threads) over an idle minute, the time from start to the icon
# in the tray, and for horalia the delay from a click to the first sample of the chime.
#
#   tests/app/qt/tray_measure.sh [BUILD_DIR]   (BUILD_DIR defaults to build/linux; use a release
#                                               build, not the sanitizer one)
# HORALIA_IDLE_SECONDS changes the idle period (default 60).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=${1:-$root/build/linux}
idle_s=${HORALIA_IDLE_SECONDS:-60}
wait_s=20
# shellcheck source=desktop_harness.sh
. "$here/desktop_harness.sh"
need_tools tray_measure Xvfb dbus-run-session trayer xdotool pulseaudio parec pactl bc
if [ -z "${HORALIA_DESKTOP_WORK:-}" ]; then
  cmake --build "$build" -j2 --target horalia qt_tray_baseline >/dev/null
  in_private_session "$build"
fi
start_desktop trayer "$build/bin/horalia" "$root/resources/Sound"
cp "$build/tests/app/qt/qt_tray_baseline" "$work/app/qt_tray_baseline"
export QT_QPA_PLATFORM=xcb

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# CPU time of the process in clock ticks, and the context switches of all its threads.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }

# The first sample above the null sink's silence at or after byte offset $2 of recording $1, as
# milliseconds after that offset.
first_sound_ms() {
  python3 - "$1" "$2" <<'PY'
import array, sys
data = open(sys.argv[1], "rb").read()[int(sys.argv[2]) // 2 * 2:]
samples = array.array("h", data[:len(data) // 2 * 2])
first = next((i for i, s in enumerate(samples) if abs(s) > 300), None)
print("none" if first is None else "%.0f" % (first * 1000 / 22050))
PY
}

measure() {
  local name=$1
  local started icon_ms pid rss ticks0 switches0 ticks1 switches1
  started=$(now_ms)
  "$work/app/$name" >"$work/$name.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  local tries=$((wait_s * 100))
  until xdotool search --onlyvisible --classname "$name" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || { echo "tray_measure: $name: no tray icon" >&2; exit 1; }
  done
  icon_ms=$(($(now_ms) - started))
  sleep 3  # past horalia's two-second update timer
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  ticks0=$(cpu_ticks "$pid")
  switches0=$(switches "$pid")
  sleep "$idle_s"
  ticks1=$(cpu_ticks "$pid")
  switches1=$(switches "$pid")
  local hz
  hz=$(getconf CLK_TCK)
  printf '%-18s icon %4d ms  RSS %6.1f MB  idle %ds: CPU %.3f %%  wake-ups %.2f/s\n' "$name" \
    "$icon_ms" "$(echo "$rss / 1024" | bc -l)" "$idle_s" \
    "$(echo "($ticks1 - $ticks0) * 100 / $hz / $idle_s" | bc -l)" \
    "$(echo "($switches1 - $switches0) / $idle_s" | bc -l)"
  if [ "$name" = horalia ]; then
    sleep 1
    local icon offset
    icon=$(xdotool search --onlyvisible --classname horalia | head -1)
    xdotool mousemove --window "$icon" 8 8
    offset=$(stat -c %s "$work/recording.raw")
    xdotool click 1
    sleep 2
    echo "horalia            click to the first sample of the chime: $(first_sound_ms "$work/recording.raw" "$offset") ms (includes xdotool and the recorder's latency)"
  fi
  kill "$pid"
}

measure qt_tray_baseline
measure horalia
