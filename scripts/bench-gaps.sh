#!/usr/bin/env bash
# Measures the gaps between the words of an announcement: starts a private PulseAudio daemon
# whose default sink is a null sink, then runs the gap benchmark against it and stops the daemon
# again. The sink takes the clips' format, so its monitor holds the very samples played, and does
# no rewinds: a rewinding sink re-mixes audio its monitor has already handed out, and the
# recording then loses the first ~10 ms of every clip that was never lost in the output.
#
#   scripts/bench-gaps.sh [BUILD_DIR] [benchmark options]   (BUILD_DIR defaults to build/linux)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
shift || true

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset linux -B "$build" -S "$root"
fi
cmake --build "$build" -j2 --target horalia_gap_bench

runtime=$(mktemp -d "${TMPDIR:-/tmp}/horalia-bench-pulse.XXXXXX")
daemon=
cleanup() {
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null || true
    wait "$daemon" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT

cat >"$runtime/bench.pa" <<PA
load-module module-native-protocol-unix socket=$runtime/native auth-anonymous=1
load-module module-null-sink sink_name=horalia_bench rate=22050 channels=1 format=s16le norewinds=1
set-default-sink horalia_bench
PA

# -n: no default configuration; the daemon lives until it is killed. HOME and the runtime paths
# point into the scratch folder so that nothing of the user's own setup is read or written.
HOME=$runtime XDG_RUNTIME_DIR=$runtime PULSE_RUNTIME_PATH=$runtime PULSE_STATE_PATH=$runtime \
  pulseaudio -n -F "$runtime/bench.pa" --daemonize=no --disallow-exit --exit-idle-time=-1 \
  --system=false --use-pid-file=no --log-target=file:"$runtime/daemon.log" 2>/dev/null &
daemon=$!

export PULSE_SERVER=unix:$runtime/native
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "bench-gaps: the PulseAudio daemon did not start:" >&2
  cat "$runtime/daemon.log" >&2 || true
  exit 1
fi

"$build/bin/horalia_gap_bench" --monitor=horalia_bench.monitor "$@"
