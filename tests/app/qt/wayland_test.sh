#!/usr/bin/env bash
# The tray program on native Wayland: a headless weston, and the program started as a Wayland
# desktop starts it (WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland, no QT_QPA_PLATFORM), first with
# DISPLAY naming an X server as XWayland does, then without one. Qt takes its Wayland plugin both
# times; the item registers with xfce4-panel's systray (on a private X server: the host is found on
# the session bus, whatever the display), its menu lists the seven entries, a left click speaks
# into a private PulseAudio null sink, and 退出程序 chosen through the menu ends the program.
#   wayland_test.sh HORALIA SOUND_FOLDER
# Exits 77 (skipped) when a tool it needs, or Qt's Wayland plugin, is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1 sound=$2
qt=$(dirname "$(ldd "$exe" | awk '/libQt6Gui/ { print $3 }')")
ls "$qt"/qt6/plugins/platforms/libqwayland-* >/dev/null 2>&1 ||
  { echo "wayland_test: SKIPPED, Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

# shellcheck source=sni_checks.sh
. "$here/sni_checks.sh"
need_tools wayland_test weston Xvfb xfce4-panel dbus-run-session gdbus python3 pulseaudio \
  parec pactl
[ -n "${HORALIA_SNI_INNER:-}" ] || in_private_session "$@"
start_in_work_folder
socket=wayland-${work##*.}
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --log="$work/weston.log" &
pids+=($!)
check "weston listens" within 10 test -S "$XDG_RUNTIME_DIR/$socket"
xfce4-panel >"$work/panel.log" 2>&1 &
pids+=($!)
export WAYLAND_DISPLAY=$socket XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM

on_wayland() {  # pid: Qt's Wayland platform plugin loaded, its X11 one not
  grep -q /libqwayland "/proc/$1/maps" && ! grep -q /libqxcb "/proc/$1/maps"
}
for x in "DISPLAY=$DISPLAY" "no DISPLAY"; do
  [ "$x" = "no DISPLAY" ] && unset DISPLAY
  "$work/app/horalia" >>"$work/horalia.log" 2>&1 &
  horalia=$!
  pids+=("$horalia")
  check "with $x, Qt runs the program on Wayland" within 10 on_wayland "$horalia"
  check "with $x, the item registers" within 20 has_item
  check_menu
  [ "$x" = "no DISPLAY" ] || check_left_click_speaks
  check_menu_quits
  check "and its item goes" within 10 no_item
done
rm -f "/tmp/Horalia Ver:"*"-$(id -u)-$socket.lock"

report
