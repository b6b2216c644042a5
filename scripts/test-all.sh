#!/usr/bin/env bash
# Builds both platforms and runs every test: Linux under ASan + UBSan, Windows under Wine.
# The 64-bit Windows build is tested everywhere; the 32-bit one where the kernel runs 32-bit
# programs (many virtual hosts do not).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
status=0
# Three full builds: a compiler cache makes every run after the first much shorter.
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}

build() {
  echo "== build $1"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}

run_tests() {
  echo "== test $1"
  ctest --preset "$1" -j "$jobs" || status=1
}

# Why the 32-bit Windows tests cannot run here, or nothing when they can.
why_no_win32_tests() {
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "wine32 is not installed"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this kernel does not run 32-bit programs"
  fi
}

for preset in linux-asan win64 win32; do build "$preset"; done
run_tests linux-asan
run_tests win64
reason=$(why_no_win32_tests)
if [ -z "$reason" ]; then
  run_tests win32
else
  echo "== test win32: skipped, $reason (the win64 tests above ran the same sources)"
fi

echo "== fuzz targets over their corpora"
./scripts/fuzz-regression.sh || status=1

echo "== format"
if ! git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror; then
  echo "test-all.sh: sources above are not formatted; run clang-format -i on them" >&2
  status=1
fi

echo "== packages"
./scripts/package.sh && python3 tests/packaging/check_packages.py build/packages || status=1
tests/packaging/installer_test.sh build/packages/Horalia-*-setup.exe || status=1
exit $status
