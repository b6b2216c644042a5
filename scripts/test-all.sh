#!/usr/bin/env bash
# Builds both platforms and runs every test: Linux under ASan + UBSan, Windows under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
status=0
for preset in linux-asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" || status=1
done

echo "== format"
if ! git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror; then
  echo "test-all.sh: sources above are not formatted; run clang-format -i on them" >&2
  status=1
fi
exit $status
