#!/usr/bin/env bash
# Measures the gaps between the words of an announcement: starts a private PulseAudio daemon
# with two null sinks, runs the gap benchmark against each and stops the daemon again.
#
# - "desktop": the server's defaults as a desktop has them (48 kHz stereo, rewinds allowed),
#   so the clips are resampled on their way to it, as on a real machine. This is the figure
#   that counts.
# - "exact": the clips' own format without rewinds, so that its monitor holds the very samples
#   played (a rewinding sink re-mixes audio its monitor has already handed out, and a recording
#   then loses a few milliseconds where a new stream starts that were never lost in the output).
#
# With --windows, the announcements are also played by the 64-bit horalia-say.exe of the given
# Windows build under Wine (through its PulseAudio driver), after the Linux player on the same
# sink; its delay is counted from the start of the program, Wine's own start-up included.
#
# With --reference, each sink also gets the same sentence rendered into one file by
# horalia-say --wav and played by PulseAudio's own paplay, so that the player's figures stand
# beside those of a sentence that has no joins at all, in the same run.
#
#   scripts/bench-gaps.sh [--reference] [--windows WIN_BUILD_DIR] [BUILD_DIR] [benchmark options]
#   (BUILD_DIR, the Linux build that holds the benchmark, defaults to build/linux;
#   HORALIA_BENCH_SINKS=desktop or =exact measures on one sink only)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
reference=
if [ "${1:-}" = --reference ]; then
  reference=1
  shift
fi
windows=
if [ "${1:-}" = --windows ]; then
  windows=$(cd "$2" && pwd)
  shift 2
fi
build=${1:-$root/build/linux}
shift || true

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset linux -B "$build" -S "$root"
fi
cmake --build "$build" -j2 --target horalia_gap_bench horalia-say

runtime=$(mktemp -d "${TMPDIR:-/tmp}/horalia-bench-pulse.XXXXXX")
daemon=
cleanup() {
  if [ -n "$windows" ]; then
    "$root/cmake/wine-session.sh" stop "$runtime/wine" "$windows/bin/horalia-say.exe" || true
  fi
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null || true
    wait "$daemon" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT

cat >"$runtime/bench.pa" <<PA
load-module module-native-protocol-unix socket=$runtime/native auth-anonymous=1
load-module module-null-sink sink_name=horalia_desktop rate=48000 channels=2
load-module module-null-sink sink_name=horalia_exact rate=22050 channels=1 format=s16le norewinds=1
PA

# -n: no default configuration; the daemon lives until it is killed. HOME and the runtime paths
# point into the scratch folder so that nothing of the user's own setup is read or written.
HOME=$runtime XDG_RUNTIME_DIR=$runtime PULSE_RUNTIME_PATH=$runtime PULSE_STATE_PATH=$runtime \
  pulseaudio -n -F "$runtime/bench.pa" --daemonize=no --disallow-exit --exit-idle-time=-1 \
  --system=false --use-pid-file=no --log-target=file:"$runtime/daemon.log" 2>/dev/null &
daemon=$!

export PULSE_SERVER=unix:$runtime/native
# The clients (pactl, the players, Wine's driver) keep their cookie there too, not in ~/.config.
export PULSE_COOKIE=$runtime/cookie
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "bench-gaps: the PulseAudio daemon did not start:" >&2
  cat "$runtime/daemon.log" >&2 || true
  exit 1
fi

windows_player=()
if [ -n "$windows" ]; then
  say=$windows/bin/horalia-say.exe
  [ -f "$say" ] || { echo "bench-gaps: $say is not built" >&2; exit 1; }
  # A display and a booted prefix of the session's own, ended by the cleanup above.
  "$root/cmake/wine-session.sh" start "$runtime/wine" "$say"
  export HORALIA_WINE_SESSION=$runtime/wine
  windows_player=("--sound=$windows/bin/Sound"
                  "--command=$root/cmake/wine-run.sh $say --at '2026-12-07 13:45:00' --format 0")
fi

if [ -n "$reference" ]; then
  "$build/bin/horalia-say" --at '2026-12-07 13:45:00' --format 0 --wav "$runtime/sentence.wav"
fi
for sink in ${HORALIA_BENCH_SINKS:-desktop exact}; do
  echo "=== sink $sink" >&2
  pactl set-default-sink "horalia_$sink"
  "$build/bin/horalia_gap_bench" --monitor="horalia_$sink.monitor" "$@"
  if [ -n "$windows" ]; then
    echo "=== sink $sink, the Windows build under Wine" >&2
    "$build/bin/horalia_gap_bench" --monitor="horalia_$sink.monitor" "${windows_player[@]}" "$@"
  fi
  if [ -n "$reference" ]; then
    echo "=== sink $sink, reference: the sentence as one file, played by paplay" >&2
    "$build/bin/horalia_gap_bench" --monitor="horalia_$sink.monitor" \
      "--command=paplay $runtime/sentence.wav" "$@"
  fi
done
