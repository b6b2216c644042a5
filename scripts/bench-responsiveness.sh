#!/usr/bin/env bash
# How fast the tray program answers while it speaks, beside the same figure when idle, in one run.
#
#   scripts/bench-responsiveness.sh [HORALIA_EXECUTABLE]     (default build/linux/bin/horalia)
#   scripts/bench-responsiveness.sh --windows WIN_BUILD_DIR  (its Horalia.exe, under Wine)
#
# Both play to a private PulseAudio daemon whose default sink is a null sink, on a private X
# display (Xvfb).
# Linux: in a private D-Bus session with xfce4-panel's systray as the StatusNotifierItem host,
# reads the item's ToolTip property (answered by the program's user-interface thread) every
# 100 ms, for 5 seconds idle, then for 8 seconds from a left click (Activate) on, and prints the
# median and the slowest answer of each. Each read is one dbus-send process, whose own cost is in
# both figures alike.
# Windows: bench/win32/tray_responsiveness.cpp sends WM_NULL to the program's window the same
# way, and also times the menu that a right click opens half a second after a left click.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

windows=
if [ "${1:-}" = --windows ]; then
  windows=$(cd "$2" && pwd)
  exe=$windows/bin/test-build/Horalia.exe  # the test build: it logs the clips it plays
else
  exe=$(realpath "${1:-$root/build/linux/bin/horalia}")
fi
# shellcheck source=../tests/private_pulse.sh
. "$root/tests/private_pulse.sh"

stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}

if [ -n "$windows" ]; then
  for tool in Xvfb pulseaudio pactl python3; do
    command -v "$tool" >/dev/null || { echo "bench-responsiveness: $tool is not installed" >&2; exit 1; }
  done
  pids=()
  work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-responsiveness.XXXXXX")
  session=$work/wine
  export HORALIA_WINE_SESSION=$session
  trap '"$root/cmake/wine-session.sh" stop "$session" "$exe" || true; stop_all; rm -rf "$work"' EXIT
  # A desktop-like sink: 48 kHz stereo.
  start_private_pulse "$work" bench rate=48000 channels=2
  "$root/cmake/wine-session.sh" start "$session" "$exe"
  mkdir -p "$work/app"
  cp "$exe" "$work/app/Horalia.exe"
  cp -r "$windows/bin/Sound" "$work/app/Sound"
  HORALIA_TEST_CLIP_LOG="Z:$work/clips.log" "$root/cmake/wine-run.sh" "$work/app/Horalia.exe" \
    >"$work/horalia.log" 2>&1 &
  pids+=($!)
  "$root/cmake/wine-run.sh" "$windows/bin/tray_responsiveness.exe" "Z:$work/clips.log" 2>/dev/null
  exit 0
fi

# The private desktop of the Linux desktop tests, its sink a desktop's: 48 kHz stereo.
# shellcheck source=../tests/app/qt/desktop_harness.sh
. "$root/tests/app/qt/desktop_harness.sh"
need_tools bench-responsiveness Xvfb dbus-run-session xfce4-panel pulseaudio pactl parec python3 \
  dbus-send
[ -n "${HORALIA_DESKTOP_WORK:-}" ] || in_private_session "$exe"
start_desktop xfce4-panel "$exe" "$root/resources/Sound" rate=48000 channels=2
export QT_QPA_PLATFORM=xcb
start_panel
"$work/app/horalia" >"$work/horalia.log" 2>&1 &
pids+=($!)
within 20 has_item || { echo "bench-responsiveness: the item did not register" >&2; exit 1; }
sleep 3  # past the start-up work

python3 - "$(item)" <<'PY'
import statistics, subprocess, sys, time
bus, path = sys.argv[1].split("/", 1)
call = ["dbus-send", "--session", "--print-reply", f"--dest={bus}", "/" + path]
read = call + ["org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierItem",
               "string:ToolTip"]
click = call + ["org.kde.StatusNotifierItem.Activate", "int32:0", "int32:0"]

def reads(seconds):
    times, end = [], time.monotonic() + seconds
    while time.monotonic() < end:
        start = time.monotonic()
        subprocess.run(read, check=True, stdout=subprocess.DEVNULL)
        times.append((time.monotonic() - start) * 1000)
        time.sleep(0.1)
    return times

def show(name, times):
    print(f"{name:9} {len(times):3} reads  median {statistics.median(times):6.1f} ms  "
          f"slowest {max(times):7.1f} ms")

idle = reads(5)
subprocess.run(click, check=True, stdout=subprocess.DEVNULL)
speaking = reads(8)
show("idle", idle)
show("speaking", speaking)
PY
