# shellcheck shell=bash
# Sourced by the tests of the tray program under xfce4-panel's systray, a StatusNotifierItem host:
# a private X server and D-Bus session for the test, the program and the speech recorder in a work
# folder, the item the watcher lists, its menu as the panel reads it over D-Bus, and a click on an
# entry. The caller sets here, exe and sound; everything it starts goes into its pids array.

# NAME TOOL...: exits 77 (skipped), naming the first tool that is not installed.
need_tools() {
  local name=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: SKIPPED, $tool is not installed"; exit 77; }
  done
}

in_private_session() {  # ARGS...: runs $0 ARGS inside them, then removes them; exits with its status
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
}

start_in_work_folder() {  # the program and its clips copied in, the recorder of its speech running
  work=$HORALIA_SNI_INNER
  export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
  # Leaks are checked: the program frees what it made when it ends through the exit entry.
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../../lsan.supp:fast_unwind_on_malloc=0}
  mkdir -p -m 700 "$work/run" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" "$work/app"
  # One panel holding the notification area only; without a configuration the panel would ask.
  cp "$here/xfce4-panel.xml" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/"
  cp "$exe" "$work/app/horalia"
  cp -r "$sound" "$work/app/Sound"
  pids=()
  trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait' EXIT
  # shellcheck source=../../shell_checks.sh
  . "$here/../../shell_checks.sh"
  # The sound: a null sink in the clips' own format, its monitor recorded.
  # shellcheck source=../../private_pulse.sh
  . "$here/../../private_pulse.sh"
  start_private_pulse "$work" sni rate=22050 channels=1 format=s16le norewinds=1
  parec -d sni.monitor --format=s16le --rate=22050 --channels=1 >"$work/recording.raw" &
  pids+=($!)
}

item() {  # the registered item, BUS/PATH, or nothing
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -o "'[^']*'" | tr -d "'" | tail -1
}
has_item() { [ -n "$(item)" ]; }
no_item() { [ -z "$(item)" ]; }

check_menu() {  # the item's menu as the panel reads it: sets bus, menu, layout and entries
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
  local labels
  labels=$(echo "$entries" | cut -d' ' -f2 | tr '\n' ' ')
  check "the menu lists the seven entries in order (got: $labels)" test "$labels" = \
    "关闭报时[_C] 开机启动[_R] 网络校时[_T] 参数设置[_S] 意见反馈[_F] 关于[_A] 退出程序[_E] "
}

choose() {  # label: the entry clicked, as the panel does it
  local id
  id=$(echo "$entries" | grep -F "$1" | cut -d' ' -f1)
  gdbus call --session --dest "$bus" --object-path "$menu" --method com.canonical.dbusmenu.Event \
    "$id" clicked '<0>' 0 >/dev/null 2>&1
}

check_left_click_speaks() {  # the panel's left click (Activate) on the item, then the recording
  bus=$(item)
  bus=${bus%%/*}
  gdbus call --session --dest "$bus" --object-path /StatusNotifierItem \
    --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null 2>&1
  sleep 9
  check "a left click on the panel's item speaks" python3 "$here/find_announcement.py" \
    "$work/recording.raw" "$sound"
}

check_menu_quits() {  # 退出程序 chosen through the menu: the program ends cleanly, nothing leaked
  choose '退出程序[_E]'
  check "退出程序 through the menu ends the program" within 10 sh -c "! kill -0 $horalia"
  local status=0
  wait "$horalia" || status=$?
  [ "$status" -eq 0 ] || tail -c 3000 "$work/horalia.log"
  check "it ends with status 0, nothing leaked (got $status)" test "$status" -eq 0
}
