#!/usr/bin/env bash
# Builds the Linux program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
if [ -x build/linux/bin/horalia ]; then
  exec build/linux/bin/horalia "$@"
fi
if [ -x build/linux/bin/horalia-say ]; then
  exec build/linux/bin/horalia-say "$@"
fi
echo "run.sh: neither horalia nor horalia-say is built yet" >&2
exit 1
