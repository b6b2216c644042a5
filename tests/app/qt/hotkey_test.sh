#!/usr/bin/env bash
# 报时热键 on X11, on a private X server and D-Bus session with xfce4-panel's systray: the default
# Ctrl+Alt+Shift+T, typed with xdotool, speaks into a private PulseAudio null sink, with Num Lock
# off and on. Then xbindkeys, a real X client, holds the combination first: the program's
# notification says so, and the key reaches xbindkeys and does not make the program speak.
#   hotkey_test.sh HORALIA SOUND_FOLDER
# Exits 77 (skipped) when a tool it needs is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1 sound=$2

# shellcheck source=sni_checks.sh
. "$here/sni_checks.sh"
need_tools hotkey_test Xvfb xfce4-panel dbus-run-session dbus-monitor gdbus python3 xdotool \
  xbindkeys pulseaudio parec pactl
[ -n "${HORALIA_SNI_INNER:-}" ] || in_private_session "$@"
start_in_work_folder
export QT_QPA_PLATFORM=xcb

# The notifications the program sends, as a notification server would receive them.
dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" \
  >"$work/notify.log" 2>&1 &
pids+=($!)
xfce4-panel >"$work/panel.log" 2>&1 &
pids+=($!)
start_program() {
  "$work/app/horalia" >>"$work/horalia.log" 2>&1 &
  horalia=$!
  pids+=("$horalia")
  check "the item registers" within 20 has_item
  check_menu
}
press_and_record() {  # NAME: the hotkey typed, and what the sink played until the clips are over
  local start
  start=$(stat -c %s "$work/recording.raw")
  xdotool key ctrl+alt+shift+t
  sleep 9
  tail -c +$((start + 1)) "$work/recording.raw" >"$work/$1.raw"
}
speaks() { python3 "$here/find_announcement.py" "$work/$1.raw" "$sound" >/dev/null 2>&1; }
told_taken() { grep -q '已被其他程序占用' "$work/notify.log"; }

start_program
press_and_record plain
check "the hotkey speaks" speaks plain
xdotool key Num_Lock
press_and_record num_lock
xdotool key Num_Lock
check "the hotkey speaks with Num Lock on" speaks num_lock
check "no notification says the hotkey is taken" eval '! told_taken'
check_menu_quits

printf '"touch %s/xbindkeys-ran"\n  control+alt+shift + t\n' "$work" >"$work/xbindkeysrc"
xbindkeys -n -f "$work/xbindkeysrc" >"$work/xbindkeys.log" 2>&1 &
pids+=($!)
sleep 1  # its grabs are made as it starts
start_program
check "a notification says the hotkey is taken" within 10 told_taken
press_and_record taken
check "the taken hotkey reaches xbindkeys" test -e "$work/xbindkeys-ran"
check "and does not make the program speak" eval '! speaks taken'
check_menu_quits

report
