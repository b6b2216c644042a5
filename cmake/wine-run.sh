#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: the loader that fits the program (wine64 for
# a 64-bit program, the 32-bit loader otherwise), a prefix of that architecture, a Chinese locale
# (so the ANSI code page is 936), a virtual X display, and no dialog that could wait for a click.
#
# Under CTest the wine session fixture (wine-session.sh) starts the display and ends it with the
# test run; HORALIA_WINE_SESSION names its folder. Run by hand, the runner starts what it needs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# The first argument that is a program file decides the loader ("explorer /desktop=... app.exe"
# runs app.exe's kind of Wine).
program=
for argument in "$@"; do
  for candidate in "$argument" "$argument.exe"; do
    if [ -z "$program" ] && [ -f "$candidate" ]; then program=$candidate; fi
  done
done
wine_select_loader "$program"
wine_use_display
wine_boot_prefix
exec "$WINE_LOADER" "$@"
