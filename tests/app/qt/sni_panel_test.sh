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
for tool in Xvfb xfce4-panel dbus-run-session gdbus python3 xdotool pulseaudio parec pactl; do
  command -v "$tool" >/dev/null || { echo "sni_panel_test: SKIPPED, $tool is not installed"; exit 77; }
done

if [ -z "${HORALIA_SNI_INNER:-}" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-sni.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  HORALIA_SNI_INNER=$work DISPLAY=:$(cat "$work/display") dbus-run-session -- "$0" "$@" 2>/dev/null
  status=$?
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null
  rm -f "/tmp/Horalia Ver:3.0.0.0-$(id -u)-:$(cat "$work/display").lock"
  rm -rf "$work"
  exit $status
fi

work=$HORALIA_SNI_INNER
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
mkdir -p -m 700 "$work/run" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" "$work/app"
# One panel holding the notification area only; without a configuration the panel would ask.
cp "$here/xfce4-panel.xml" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/"
cp "$exe" "$work/app/horalia"
cp -r "$sound" "$work/app/Sound"

pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait' EXIT
. "$here/../../shell_checks.sh"
item() {  # the registered item, BUS/PATH, or nothing
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -o "'[^']*'" | tr -d "'" | tail -1
}
has_item() { [ -n "$(item)" ]; }
no_item() { [ -z "$(item)" ]; }

# The sound: a null sink in the clips' own format, its monitor recorded.
. "$here/../../private_pulse.sh"
start_private_pulse "$work" sni rate=22050 channels=1 format=s16le norewinds=1
parec -d sni.monitor --format=s16le --rate=22050 --channels=1 >"$work/recording.raw" &
pids+=($!)

"$work/app/horalia" >"$work/horalia.log" 2>&1 &
horalia=$!
pids+=("$horalia")
sleep 3  # the program is up, and no notification area yet
xfce4-panel >"$work/panel.log" 2>&1 &
panel=$!
pids+=("$panel")
check "the item registers with a panel that came later" within 20 has_item

bus=$(item)
bus=${bus%%/*}
menu=$(gdbus call --session --dest "$bus" --object-path /StatusNotifierItem \
  --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu |
  grep -o "objectpath '[^']*'" | cut -d"'" -f2)
layout=$(gdbus call --session --dest "$bus" --object-path "$menu" \
  --method com.canonical.dbusmenu.GetLayout 0 -- -1 "['label']" 2>&1)
entries=$(python3 -c 'import re, sys
for id, label in re.findall(r"\((\d+), \{[^}]*.label.: <.([^\x27]*).>", sys.argv[1]):
    print(id, label)' "$layout")
labels=$(echo "$entries" | cut -d' ' -f2 | tr '\n' ' ')
check "the menu lists the seven entries in order (got: $labels)" test "$labels" = \
  "关闭报时[_C] 开机启动[_R] 网络校时[_T] 参数设置[_S] 意见反馈[_F] 关于[_A] 退出程序[_E] "

check "关闭报时 is greyed, with its check mark" \
  sh -c "echo \"\$0\" | grep -q \"'enabled': <false>, 'label': <'关闭报时\[_C\]'>, 'toggle-state'\"" "$layout"

choose() {  # label: the entry clicked, as the panel does it
  local id
  id=$(echo "$entries" | grep -F "$1" | cut -d' ' -f1)
  gdbus call --session --dest "$bus" --object-path "$menu" --method com.canonical.dbusmenu.Event \
    "$id" clicked '<0>' 0 >/dev/null 2>&1
}
choose '关于[_A]'
check "关于 through the menu opens the about box" within 10 xdotool search --onlyvisible --name '^关于 Horalia$'

kill "$panel"
wait "$panel" 2>/dev/null
check "the item goes with the panel" within 10 no_item
xfce4-panel >"$work/panel.log" 2>&1 &
pids+=($!)
check "the item comes back when the panel restarts" within 20 has_item

bus=$(item)
bus=${bus%%/*}
gdbus call --session --dest "$bus" --object-path /StatusNotifierItem \
  --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null 2>&1
sleep 9
check "a left click on the panel's item speaks" python3 "$here/find_announcement.py" \
  "$work/recording.raw" "$sound"
choose '退出程序[_E]'
check "退出程序 through the menu ends the program" within 10 sh -c "! kill -0 $horalia"
check "and its item goes" within 10 no_item

report
