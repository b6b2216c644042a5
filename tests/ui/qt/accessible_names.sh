#!/usr/bin/env bash
# The settings dialog and its advanced page as a screen reader sees them: the demo program on a
# private X server and session bus, where the bus starts the accessibility bus (at-spi2-core),
# and accessible_names.py reads both windows through it.
#   accessible_names.sh DEMO_PROGRAM
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../app/qt/desktop_harness.sh
. "$here/../../app/qt/desktop_harness.sh"
need_tools accessible_names Xvfb dbus-run-session dbus-update-activation-environment
# Debian's Python, which has the AT-SPI bindings, whatever python3 comes first on the path.
python=/usr/bin/python3
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "accessible_names: SKIPPED, no at-spi2-core"; exit 77; }
"$python" -c 'import pyatspi' 2>/dev/null || { echo "accessible_names: SKIPPED, no pyatspi"; exit 77; }
[ -n "${HORALIA_DESKTOP_WORK:-}" ] || in_private_session "$@"
export HOME=$HORALIA_DESKTOP_WORK XDG_CONFIG_HOME=$HORALIA_DESKTOP_WORK/.config
export XDG_RUNTIME_DIR=$HORALIA_DESKTOP_WORK/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR DISPLAY
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
"$1" advanced 90 >"$HORALIA_DESKTOP_WORK/demo.log" 2>&1 &
demo=$!
"$python" "$here/accessible_names.py" "$(basename "$1")" 60 切换到高级设置 免打扰时段 报时日 \
  校时服务器 报时热键 音量 语音目录 2>&1
status=$?
kill "$demo" 2>/dev/null
wait "$demo" 2>/dev/null
# The accessibility bus and its registry end with the session bus.
exit $status
