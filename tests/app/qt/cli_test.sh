#!/usr/bin/env bash
# The tray program's command line, where no display is: --help and --version answer, an unknown
# option is refused with status 2.
#   cli_test.sh HORALIA VERSION
set -u
exe=$1 version=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
. "$(dirname "$0")/../../shell_checks.sh"
check "--help prints the usage" sh -c '"$0" --help | grep -q "^Usage: horalia"' "$exe"
check "--version prints the version" test "$("$exe" --version)" = "horalia $version"
check "an unknown option is named" sh -c \
  '"$0" --frobnicate 2>&1 >/dev/null | grep -q "unknown option \"--frobnicate\""' "$exe"
"$exe" --frobnicate 2>/dev/null
check "an unknown option gives status 2" test $? -eq 2
report
