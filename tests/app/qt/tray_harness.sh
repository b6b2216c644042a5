# Sourced by tray_e2e.sh and tray_measure.sh: a private X server (Xvfb) with a tray host
# (trayer) and a private PulseAudio daemon whose default sink is a null sink, horalia_e2e, in the
# clips' own format, so that its monitor holds the very samples played (no rewinds, see
# scripts/bench-gaps.sh). Everything lives in $work and ends with the calling script.
#
# The caller sets harness_name (the prefix of messages) and wait_s (the bound of every wait).

work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-$harness_name.XXXXXX")
pids=()
private_display=
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
  # The program's instance lock for the private display (in /tmp, whatever the environment).
  if [ -n "$private_display" ]; then
    rm -f "/tmp/Horalia Ver:3.0.0.0-$(id -u)-$private_display.lock"
  fi
}
trap cleanup EXIT

fail() {
  echo "$harness_name: FAILED: $*" >&2
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $log" >&2; tail -60 "$log" >&2; }
  done
  exit 1
}

# Runs "$@" every 0.1 s until it succeeds, for at most wait_s seconds.
wait_for() {
  local tries=$((wait_s * 10))
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# --- a private display with a tray host
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for test -s "$work/display" || fail "Xvfb did not start"
private_display=:$(head -1 "$work/display")
export DISPLAY=$private_display
trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
  --transparent false --tint 0xdddddd >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for xdotool search --onlyvisible --class trayer || fail "trayer did not start"

# --- the private sound server
mkdir -m 700 "$work/run"
# shellcheck source=../../private_pulse.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../private_pulse.sh"
start_private_pulse "$work" horalia_e2e rate=22050 channels=1 format=s16le norewinds=1 ||
  fail "the PulseAudio daemon did not start"
