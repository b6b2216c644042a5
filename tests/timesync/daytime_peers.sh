#!/usr/bin/env bash
# Asks Debian's own Daytime daemons for the time, on loopback: xinetd's internal service on a port
# of its own configuration, openbsd-inetd's on port 13 (unpacked into the build tree by
# install-deps.sh, as its package conflicts with xinetd's), and inetutils-inetd's on port 13 of a
# private network namespace (unpacked there too). horalia-say --check-time and the tray
# program's exchange (the Qt socket test named below) must both read this computer's local time,
# in two zones, from a daemon running in the same zone and from one running in UTC.
#   daytime_peers.sh HORALIA_SAY QT_SOCKET_TEST INETD INETUTILS_INETD
set -uo pipefail
say=$1 qt_test=$2 inetd=$3 inetutils=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-daytime.XXXXXX")
trap 'stop_daemon; rm -rf "$work"' EXIT

. "$(dirname "$0")/../shell_checks.sh"

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_for_port() {
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

start_xinetd() {  # zone port
  cat >"$work/xinetd.conf" <<EOF
service daytime
{
	type        = INTERNAL UNLISTED
	id          = daytime-stream
	socket_type = stream
	protocol    = tcp
	port        = $2
	bind        = 127.0.0.1
	wait        = no
$( [ "$(id -u)" -eq 0 ] && printf '\tuser        = root' )
}
EOF
  TZ=$1 /usr/sbin/xinetd -f "$work/xinetd.conf" -filelog "$work/xinetd.log" \
    -pidfile "$work/xinetd.pid" -dontfork &
  daemon=$!
}

start_inetd() {  # zone [inetd]
  echo 'daytime stream tcp nowait root internal' >"$work/inetd.conf"
  TZ=$1 "${2:-$inetd}" -d "$work/inetd.conf" 2>"$work/inetd.log" &
  daemon=$!
}

# The server's time as horalia-say prints it, against `date` in the same zone, and the offset
# it reports against a server with this machine's clock.
check_say() {  # what zone port
  local out shown now tenths
  out=$(TZ=$2 "$say" --check-time "127.0.0.1:$3" 2>&1)
  now=$(TZ=$2 date +%s)
  checks=$((checks + 1))
  shown=$(printf '%s' "$out" | sed -n 's/^\([0-9-]* [0-9:]*\) (.*/\1/p')
  if [ -z "$shown" ]; then
    fail "$1 in $2: horalia-say --check-time said: $out"
    return
  fi
  local seconds
  seconds=$(TZ=$2 date -d "$shown" +%s)
  if [ $((seconds - now)) -gt 2 ] || [ $((now - seconds)) -gt 2 ]; then
    fail "$1 in $2: horalia-say read $shown, this computer's local time is $(TZ=$2 date '+%F %T')"
  fi
  tenths=$(printf '%s' "$out" | sed -n 's/.*clock is \([0-9]*\)\.\([0-9]\) seconds.*/\1\2/p')
  if [ -n "$tenths" ] && [ "$((10#$tenths))" -gt 5 ]; then
    fail "$1 in $2: off by more than half a second against this computer's own clock: $out"
  fi
  echo "$1 in $2: $out"
}

check_tray() {  # what zone port
  checks=$((checks + 1))
  if ! TZ=$2 HORALIA_DAYTIME_PEER="127.0.0.1:$3" QT_QPA_PLATFORM=offscreen "$qt_test" \
    --gtest_filter='*RealDaemonsReplyIsThisComputersTime' --gtest_brief=1 >"$work/qt.log" 2>&1; then
    fail "$1 in $2: the tray program's exchange:"
    cat "$work/qt.log"
  fi
}

# inetutils-inetd's part, inside the namespace: its daytime on 127.0.0.1:13, which is free there.
if [ -n "${DAYTIME_PEERS_INSIDE:-}" ]; then
  ip link set lo up
  zone=$DAYTIME_PEERS_INSIDE
  start_inetd "$zone" "$inetutils"
  if wait_for_port 13; then
    check_say "inetutils-inetd" "$zone" 13
    check_tray "inetutils-inetd" "$zone" 13
  else
    fail "inetutils-inetd did not listen on port 13: $(cat "$work/inetd.log")"
  fi
  stop_daemon
  report
  exit
fi

for zone in Asia/Shanghai America/New_York; do
  for daemon_zone in "$zone" UTC; do
    port=$(free_port)
    start_xinetd "$daemon_zone" "$port"
    if wait_for_port "$port"; then
      check_say "xinetd ($daemon_zone)" "$zone" "$port"
      check_tray "xinetd ($daemon_zone)" "$zone" "$port"
    else
      fail "xinetd did not listen on port $port: $(cat "$work/xinetd.log" 2>/dev/null)"
    fi
    stop_daemon
  done
done

if [ "$(id -u)" -ne 0 ]; then
  echo "inetd: skipped, its daytime service listens on port 13, which only root may open"
elif [ ! -x "$inetd" ]; then
  echo "inetd: skipped, $inetd is missing (install-deps.sh unpacks openbsd-inetd there)"
elif (exec 3<>/dev/tcp/127.0.0.1/13) 2>/dev/null; then
  echo "inetd: skipped, port 13 is taken by another server"
else
  for zone in Asia/Shanghai America/New_York; do
    start_inetd "$zone"
    if wait_for_port 13; then
      check_say "inetd" "$zone" 13
      check_tray "inetd" "$zone" 13
    else
      fail "inetd did not listen on port 13: $(cat "$work/inetd.log")"
    fi
    stop_daemon
  done
fi

if [ ! -x "$inetutils" ]; then
  fail "inetutils-inetd is missing at '$inetutils' (install-deps.sh unpacks it there)"
elif ! unshare -rn true 2>/dev/null; then
  echo "inetutils-inetd: skipped, this system gives no private user and network namespaces"
else
  for zone in Asia/Shanghai America/New_York; do
    checks=$((checks + 1))
    DAYTIME_PEERS_INSIDE=$zone unshare -rn "$0" "$@" || fail "inetutils-inetd in $zone (above)"
  done
fi

report
