#!/usr/bin/env bash
# Builds the two libFuzzer targets (preset "fuzz") and runs each over its corpus in fuzz/corpus/,
# then lets it fuzz for a few seconds: about half a minute in all. Exits non-zero on any finding;
# the crashing input is left in build/fuzz/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
ctest --test-dir build/fuzz --output-on-failure
