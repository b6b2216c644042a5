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
exec build/linux/bin/horalia-say "$@"
