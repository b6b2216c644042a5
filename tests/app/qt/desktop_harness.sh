# shellcheck shell=bash
# Sourced by the tests and measurements of the tray program on a Linux desktop. A private desktop
# made of programs Debian ships: an X server (Xvfb) and a D-Bus session bus of its own, a home, a
# PulseAudio daemon whose default sink is a null sink in the clips' own format (its monitor
# recorded into $work/recording.raw, so that it holds the very samples played), and the
# notification area of the chosen host:
#   trayer       an XEmbed tray on X11
#   xfce4-panel  a StatusNotifierItem host (the panel's systray); the caller starts it with
#                start_panel when it wants it, as at log-on the panel may come after the program
#   lxqt-panel   the same with LXQt's panel (its statusnotifier plugin, on Qt 5)
#   weston       a headless Wayland compositor ($WAYLAND_DISPLAY), xfce4-panel as the host
# The program and its clips are copied into $work/app. Everything started goes into the pids
# array and ends with the calling script; the work folder and the program's instance lock files
# go with the session.
#
#   need_tools NAME TOOL...       exits 77 (skipped), naming the first tool not installed
#   in_private_session ARGS...    runs "$0 ARGS" inside a new display and session bus, then
#                                 removes them; exits with its status. Inside, $work is set.
#   start_desktop HOST EXE SOUND [SINK_OPTIONS...]
#                                 the home, the sound server and recorder, the host, the copy;
#                                 the options (rate=48000 channels=2: a desktop's) replace the
#                                 clips' own format

# shellcheck source=../../shell_checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../shell_checks.sh"
# shellcheck source=../../private_pulse.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../private_pulse.sh"
harness_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

need_tools() {
  local name=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: SKIPPED, $tool is not installed"; exit 77; }
  done
}

# The program's instance lock of a display (in /tmp, whatever the environment).
remove_instance_lock() { rm -f "/tmp/Horalia Ver:3.0.0.0-$(id -u)-$1.lock"; }

in_private_session() {
  local work xvfb status=0
  work=$(mktemp -d "${TMPDIR:-/tmp}/horalia-desktop.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  HORALIA_DESKTOP_WORK=$work DISPLAY=:$(head -1 "$work/display") \
    dbus-run-session -- "$0" "$@" 2>/dev/null || status=$?
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  remove_instance_lock ":$(head -1 "$work/display")"
  rm -rf "$work"
  exit $status
}

start_desktop() {
  local host=$1 exe=$2 sound=$3
  shift 3
  local sink=(rate=22050 channels=1 format=s16le norewinds=1)
  [ $# -eq 0 ] || sink=("$@")
  work=$HORALIA_DESKTOP_WORK
  export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
  # What the bus starts on demand (xfconfd for the panel, dconf-service, the accessibility bus)
  # gets the private home too, not the user's.
  dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR DISPLAY
  # Leaks are checked: the program frees what it made when it ends through 退出程序. Qt's own
  # caches are suppressed by name, hence the full unwinding.
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$harness_dir/../../lsan.supp:fast_unwind_on_malloc=0}
  mkdir -m 700 "$work/run"
  mkdir "$work/app"
  cp "$exe" "$work/app/horalia"
  cp -r "$sound" "$work/app/Sound"
  sound_folder=$sound
  pids=()
  trap end_desktop EXIT
  sink_options=("${sink[@]}")
  : >"$work/recording.raw"
  start_sound_server
  tray_host=$host
  case $host in
    trayer)
      trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
        --transparent false --tint 0xdddddd >"$work/trayer.log" 2>&1 &
      pids+=($!)
      within 20 xdotool search --onlyvisible --class trayer || { echo "trayer did not start"; exit 1; }
      ;;
    weston)
      local socket=wayland-${work##*.}
      weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
        --log="$work/weston.log" &
      pids+=($!)
      within 10 test -S "$XDG_RUNTIME_DIR/$socket" || { echo "weston did not start"; exit 1; }
      start_panel
      export WAYLAND_DISPLAY=$socket XDG_SESSION_TYPE=wayland
      ;;
  esac
}

start_sound_server() {  # and its recorder, appending to $work/recording.raw
  start_private_pulse "$work" horalia_e2e "${sink_options[@]}" ||
    { echo "the PulseAudio daemon did not start"; exit 1; }
  parec -d horalia_e2e.monitor --format=s16le --rate=22050 --channels=1 --latency-msec=5 \
    >>"$work/recording.raw" &
  pids+=($!)
}

stop_sound_server() {  # as a crash does; its recorder ends with it
  local daemon
  daemon=$(pgrep -f -- "-F $work/pulse/private.pa")
  kill "$daemon"
  wait "$daemon" 2>/dev/null || true
}

end_desktop() {  # everything started ends; the lock of a Wayland display goes too
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait
  [ -z "${WAYLAND_DISPLAY:-}" ] || remove_instance_lock "$WAYLAND_DISPLAY"
}

# --- the notification area

start_panel() {  # the panel holding the notification area only; sets panel
  # Without a configuration of its own a panel would ask how to set itself up, or show a dozen
  # plugins.
  if [ "$tray_host" = lxqt-panel ]; then
    mkdir -p "$XDG_CONFIG_HOME/lxqt"
    cp "$harness_dir/lxqt-panel.conf" "$XDG_CONFIG_HOME/lxqt/panel.conf"
    lxqt-panel >>"$work/panel.log" 2>&1 &
  else
    mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
    cp "$harness_dir/xfce4-panel.xml" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/"
    xfce4-panel >>"$work/panel.log" 2>&1 &
  fi
  panel=$!
  pids+=("$panel")
}

item() {  # the StatusNotifierItem the watcher lists, BUS/PATH, or nothing
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -o "'[^']*'" | tr -d "'" | tail -1
}
has_item() { [ -n "$(item)" ]; }
no_item() { [ -z "$(item)" ]; }
icon_window() { xdotool search --onlyvisible --classname horalia 2>/dev/null | head -1; }

in_tray() {  # the program's icon is in the host's notification area
  if [ "$tray_host" = trayer ]; then [ -n "$(icon_window)" ]; else has_item; fi
}

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

left_click() {  # on the icon, as the host passes it on (a panel: Activate on the item)
  if [ "$tray_host" = trayer ]; then
    xdotool mousemove --window "$(icon_window)" 8 8 click 1
  else
    local item_bus
    item_bus=$(item)
    gdbus call --session --dest "${item_bus%%/*}" --object-path /StatusNotifierItem \
      --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null 2>&1
  fi
}

choose_quit() {  # 退出程序 from the icon's menu: its access key E on trayer, a click on a panel
  if [ "$tray_host" = trayer ]; then
    xdotool mousemove --window "$(icon_window)" 8 8 click 3
    sleep 1
    xdotool key e
  else
    choose '退出程序[_E]'
  fi
}

# --- what the program says

recorded() { stat -c %s "$work/recording.raw"; }
# NAME OFFSET: what the sink played from byte OFFSET on, once the clips are over, as $work/NAME.raw.
record_from() {
  sleep 9
  tail -c +$(($2 + 1)) "$work/recording.raw" >"$work/$1.raw"
}
speaks() {  # NAME: the recording holds the chime, then the words
  python3 "$harness_dir/find_announcement.py" "$work/$1.raw" "$sound_folder" >/dev/null 2>&1
}
