# Sourced by the shell tests: named checks, counted, and the closing line ctest's log shows.
failures=0 checks=0

check() {  # description, command...
  checks=$((checks + 1))
  local what=$1
  shift
  "$@" || { echo "FAIL: $what"; failures=$((failures + 1)); }
}

fail() {  # description: a check that failed outright
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The test's one background daemon, ended by stop_daemon (also from an EXIT trap).
daemon=
stop_daemon() {
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
    daemon=
  fi
}

within() {  # seconds, command...: true once the command succeeds, tried four times a second
  local tries=$(($1 * 4))
  shift
  for _ in $(seq "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.25; done
  return 1
}

report() {  # the last line of a test; its status
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
}
