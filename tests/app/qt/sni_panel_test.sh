#!/usr/bin/env bash
# The tray program on a StatusNotifierItem panel nobody here wrote: xfce4-panel's systray, on a
# private X server and D-Bus session. The panel starts after the program (as at log-on) and the
# item still comes; its menu, read over D-Bus as the panel reads it, lists the seven entries, and
# 关于 chosen through it opens the about box; the item comes back when the panel restarts; the
# panel's left click (Activate) speaks into a private PulseAudio null sink; 退出程序 chosen through
# the menu ends the program.
#   sni_panel_test.sh HORALIA SOUND_FOLDER
# Exits 77 (skipped) when a tool it needs is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1 sound=$2

# shellcheck source=sni_checks.sh
. "$here/sni_checks.sh"
need_tools sni_panel_test Xvfb xfce4-panel dbus-run-session gdbus python3 xdotool pulseaudio \
  parec pactl
[ -n "${HORALIA_SNI_INNER:-}" ] || in_private_session "$@"
start_in_work_folder
export QT_QPA_PLATFORM=xcb

"$work/app/horalia" >"$work/horalia.log" 2>&1 &
horalia=$!
pids+=("$horalia")
sleep 3  # the program is up, and no notification area yet
xfce4-panel >"$work/panel.log" 2>&1 &
panel=$!
pids+=("$panel")
check "the item registers with a panel that came later" within 20 has_item

check_menu
check "关闭报时 is greyed, with its check mark" \
  sh -c "echo \"\$0\" | grep -q \"'enabled': <false>, 'label': <'关闭报时\[_C\]'>, 'toggle-state'\"" "$layout"

choose '关于[_A]'
check "关于 through the menu opens the about box" within 10 xdotool search --onlyvisible --name '^关于 Horalia$'

kill "$panel"
wait "$panel" 2>/dev/null
check "the item goes with the panel" within 10 no_item
xfce4-panel >"$work/panel.log" 2>&1 &
pids+=($!)
check "the item comes back when the panel restarts" within 20 has_item

check_left_click_speaks
check_menu_quits
check "and its item goes" within 10 no_item

report
