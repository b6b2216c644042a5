#!/usr/bin/env bash
# Asks real NTP servers on loopback for the time: Debian's chrony (chronyd -x, which never touches
# the clock, on a port of its own) and ntpsec's ntpd (which serves port 123 only, so it runs in a
# private user and network namespace, where it could not set the clock either), both unpacked
# into build/peers by install-deps.sh. horalia-say --check-time ntp://127.0.0.1:PORT must find
# this computer's clock in step with them to within 10 ms, and the tray program's exchange (the
# socket test named below) must hand the clock their time to within 10 ms.
#   ntp_peers.sh HORALIA_SAY SOCKET_TEST PEERS_DIR [RUNNER]
# RUNNER runs the two programs (cmake/wine-run.sh for the Windows build).
set -uo pipefail
say=$1 socket_test=$2 peers=$3 runner=${4:-}
chronyd=$peers/chrony/usr/sbin/chronyd ntpd=$peers/ntpsec/usr/sbin/ntpd

. "$(dirname "$0")/../shell_checks.sh"
run() { if [ -n "$runner" ]; then "$runner" "$@"; else "$@"; fi; }

work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-ntp.XXXXXX")
trap 'stop_daemon; rm -rf "$work"' EXIT

free_udp_port() {
  python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# True once the server answers an NTP request with a time (stratum 1 to 15).
answers() {  # port
  python3 - "$1" <<'PY'
import socket, struct, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(0.5)
now = time.time()
s.sendto(b"\x23" + bytes(39) + struct.pack("!II", int(now) + 2208988800, 0), ("127.0.0.1", int(sys.argv[1])))
sys.exit(0 if 0 < s.recv(100)[1] < 16 else 1)
PY
}

# One request is one sample: a program held up between its stamp and its datagram (this machine
# is shared) skews it by half the hold-up, which its round trip shows. Up to three are asked for,
# as NTP clients keep the sample of the shortest round trip.
check_say() {  # what server
  local out status millis
  checks=$((checks + 1))
  for try in 1 2 3; do
    out=$(run "$say" --check-time "$2" 2>&1)
    status=$?
    echo "$1 (sample $try): $out"
    millis=$(printf '%s' "$out" | sed -n 's/.*clock is \([0-9]*\)\.\([0-9]*\) seconds [sf].*/\1\2/p')
    if printf '%s' "$out" | grep -q 'agrees to within 0.001 seconds'; then millis=0; fi
    if [ "$status" -eq 0 ] && [ -n "$millis" ] && [ "$((10#$millis))" -le 10 ]; then
      return
    fi
  done
  fail "$1: horalia-say --check-time $2 (status $status) said: $out"
}

check_tray() {  # what server
  checks=$((checks + 1))
  for try in 1 2 3; do
    if HORALIA_DAYTIME_PEER=$2 QT_QPA_PLATFORM=offscreen run "$socket_test" \
      --gtest_filter='*RealDaemonsReplyIsThisComputersTime' --gtest_brief=1 >"$work/tray.log" 2>&1 &&
      ! grep -q SKIPPED "$work/tray.log"; then
      grep 'ms from' "$work/tray.log" | sed "s/^/$1, tray program (sample $try): /"
      return
    fi
    grep 'ms from' "$work/tray.log" | sed "s/^/$1, tray program (sample $try): /"
  done
  fail "$1: the tray program's exchange with $2:"
  cat "$work/tray.log"
}

# Under Wine the sockets belong to the wineserver: one started outside the namespace would look
# for port 123 there, so the session's server is ended and a server of the namespace's own is
# started by the first program, and ended again before the namespace goes.
end_wineserver() {
  if [ -n "$runner" ]; then
    (. "$(dirname "$runner")/wine-env.sh" && wine_select_loader "$say" && wine_server -k && wine_server -w) 2>/dev/null
  fi
}

if [ "${NTP_PEERS_INSIDE:-}" = ntpsec ]; then
  ip link set lo up
  end_wineserver
  trap 'end_wineserver; stop_daemon; rm -rf "$work"' EXIT
  cat >"$work/ntp.conf" <<CONF
tos orphan 10 orphanwait 0
interface ignore all
interface listen 127.0.0.1
restrict default ignore
restrict 127.0.0.1
disable ntp kernel
CONF
  "$ntpd" -n -c "$work/ntp.conf" >"$work/ntpd.log" 2>&1 &
  daemon=$!
  if within 10 answers 123; then
    check_say ntpsec ntp://127.0.0.1
    check_tray ntpsec ntp://127.0.0.1
  else
    fail "ntpsec's ntpd gave no time on 127.0.0.1:123: $(tail -5 "$work/ntpd.log")"
  fi
  stop_daemon
  report
  exit
fi

if [ ! -x "$chronyd" ]; then
  fail "$chronyd is missing (install-deps.sh unpacks chrony there)"
else
  port=$(free_udp_port)
  cat >"$work/chrony.conf" <<CONF
port $port
bindaddress 127.0.0.1
allow 127.0.0.1
local stratum 10
cmdport 0
bindcmdaddress /
pidfile $work/chronyd.pid
user $(id -un)
CONF
  "$chronyd" -d -x -f "$work/chrony.conf" >"$work/chronyd.log" 2>&1 &
  daemon=$!
  if within 10 answers "$port"; then
    check_say chrony "ntp://127.0.0.1:$port"
    check_tray chrony "ntp://127.0.0.1:$port"
    # A list: a silent first server hands over to the next within the 10 seconds.
    check_say "chrony after a silent server" "ntp://127.0.0.1:$(free_udp_port),ntp://127.0.0.1:$port"
  else
    fail "chronyd gave no time on port $port: $(tail -5 "$work/chronyd.log")"
  fi
  stop_daemon
fi

checks=$((checks + 1))
if [ ! -x "$ntpd" ]; then
  fail "$ntpd is missing (install-deps.sh unpacks ntpsec there)"
elif ! unshare -rn true 2>/dev/null; then
  echo "ntpsec: skipped, this system gives no private user and network namespaces"
elif ! NTP_PEERS_INSIDE=ntpsec unshare -rn "$0" "$@"; then
  fail "ntpsec (above)"
fi

report
