#!/usr/bin/env bash
# Builds the Linux program (horalia, horalia-say and the three libraries, no tests) and starts it.
# Only what building and running need is installed; scripts/test-all.sh installs the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app
if [ -x build/app/bin/horalia ]; then
  # The tray program needs a desktop session; Qt's own message about a missing display says
  # little about what to do.
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset). horalia lives in the" >&2
    echo "notification area of a desktop session: run this from a terminal on the desktop." >&2
    echo "Without a desktop, build/app/bin/horalia-say --help shows how to hear the time." >&2
    exit 1
  fi
  exec build/app/bin/horalia "$@"
fi
if [ -x build/app/bin/horalia-say ]; then
  exec build/app/bin/horalia-say "$@"
fi
echo "run.sh: neither horalia nor horalia-say is built yet" >&2
exit 1
