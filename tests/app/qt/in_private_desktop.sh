#!/usr/bin/env bash
# Runs a test program on a private X server and D-Bus session bus, removed afterwards.
#   in_private_desktop.sh PROGRAM [ARGS...]
# Exits 77 (skipped) when Xvfb or a D-Bus tool is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=desktop_harness.sh
. "$here/desktop_harness.sh"
need_tools in_private_desktop Xvfb dbus-run-session dbus-update-activation-environment
[ -n "${HORALIA_DESKTOP_WORK:-}" ] || in_private_session "$@"
export HOME=$HORALIA_DESKTOP_WORK XDG_CONFIG_HOME=$HORALIA_DESKTOP_WORK/.config
# Services the bus starts (dconf-service) keep their settings in the private home too.
dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR
exec "$@" 2>&1  # the session's own error output goes nowhere
