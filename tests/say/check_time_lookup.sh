#!/usr/bin/env bash
# horalia-say --check-time keeps to its 10 seconds when the name lookup never ends: in a private
# mount and network namespace, /etc/resolv.conf names a name server on loopback that takes every
# question and answers none (the resolver alone would wait 30 seconds a try, three tries).
#   check_time_lookup.sh HORALIA_SAY
set -uo pipefail
say=$1
if ! unshare -rmn true 2>/dev/null; then
  echo "skipped: this system gives no private mount and network namespaces"
  exit 0
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-lookup.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'nameserver 127.0.0.1\noptions timeout:30 attempts:3\n' >"$work/resolv.conf"

# The silent server ends with the namespace's last process.
unshare -rmn bash -c '
  ip link set lo up
  mount --bind "$1/resolv.conf" /etc/resolv.conf
  python3 -c "
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind((\"127.0.0.1\", 53))
open(sys.argv[1], \"w\").close()
time.sleep(60)
" "$1/ready" &
  silent=$!
  while [ ! -e "$1/ready" ]; do sleep 0.05; done
  start=$(date +%s%N)
  "$2" --check-time unanswered.example:13 >"$1/out" 2>&1
  echo $? >"$1/status"
  echo $((($(date +%s%N) - start) / 1000000)) >"$1/elapsed"
  kill "$silent"
  wait "$silent" 2>/dev/null
' _ "$work" "$say"

status=$(cat "$work/status" 2>/dev/null) elapsed=$(cat "$work/elapsed" 2>/dev/null)
echo "exit status ${status:-none} after ${elapsed:-?} ms: $(cat "$work/out" 2>/dev/null)"
# A second of slack above the 10 for starting and ending the program.
if [ "$status" != 1 ] || [ -z "$elapsed" ] || [ "$elapsed" -gt 11000 ]; then
  echo "FAIL: horalia-say --check-time did not give up within its 10 seconds"
  exit 1
fi
