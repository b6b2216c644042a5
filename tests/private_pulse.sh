# Sourced by the tests and benchmarks that play sound: a private PulseAudio daemon in a folder of
# the caller's (its log beside, FOLDER/pulse.log), its default sink a null sink, reached through
# PULSE_SERVER. Nothing of the user's own setup is read or written. The daemon's process id is
# added to the caller's pids array.
#   start_private_pulse FOLDER SINK_NAME [NULL_SINK_OPTIONS...]
# e.g. start_private_pulse "$work" e2e rate=22050 channels=1 format=s16le norewinds=1
# Returns non-zero when the daemon does not answer within 10 seconds.
start_private_pulse() {
  local folder=$1/pulse log=$1/pulse.log sink=$2
  shift 2
  mkdir -p -m 700 "$folder"
  cat >"$folder/private.pa" <<PA
load-module module-native-protocol-unix socket=$folder/native auth-anonymous=1
load-module module-null-sink sink_name=$sink $*
set-default-sink $sink
PA
  HOME=$folder XDG_RUNTIME_DIR=$folder PULSE_RUNTIME_PATH=$folder PULSE_STATE_PATH=$folder \
    pulseaudio -n -F "$folder/private.pa" --daemonize=no --disallow-exit --exit-idle-time=-1 \
    --system=false --use-pid-file=no --log-target=file:"$log" 2>/dev/null &
  pids+=($!)
  export PULSE_SERVER=unix:$folder/native
  # Its clients keep their cookie here too, whatever their HOME.
  export PULSE_COOKIE=$folder/cookie
  local _
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
