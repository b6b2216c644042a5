#!/usr/bin/env bash
# The tray program as a person meets it, on a private desktop (desktop_harness.sh) with the
# notification area of HOST, and a private PulseAudio null sink whose recording must hold the
# chime and then the words.
#   desktop_scenario.sh HOST HORALIA SOUND_FOLDER [STAGE...]
# HOST and its stages when none are named:
#   trayer       tray, click, server-restart, second-start, quit: the XEmbed icon appears, a left
#                click speaks, and speaks again half a second after the sound server was killed
#                and started anew, a second start ends at once, the menu opens while the about
#                box is shown, the menu's exit entry (access key E) ends the program with status
#                0 and nothing leaked
#   xfce4-panel  late-panel, menu, about, panel-restart, click, quit: the item registers with a
#                panel started after the program, its menu (read over D-Bus as the panel reads it)
#                lists the seven entries, 关于 opens the about box, the item comes back when the
#                panel restarts, the panel's left click (Activate) speaks, 退出程序 ends it
#   lxqt-panel   the same stages on LXQt's panel
#   weston       wayland: twice (with DISPLAY naming the X server, as XWayland does, and without),
#                Qt runs the program on Wayland, its item registers, the menu lists the entries,
#                a click speaks (the first time), 退出程序 ends it
# and the stage hotkey (on xfce4-panel): 报时热键 Ctrl+Alt+Shift+T typed with xdotool speaks,
# with Num Lock off and on; held first by xbindkeys, the program says it is taken, and the key
# reaches xbindkeys and does not make the program speak.
# Exits 77 (skipped) when a tool it needs is missing.
# On trayer: with HORALIA_SCREENSHOT_DIR set, it also saves horalia-qt-tooltip.png and
# horalia-qt-menu.png (HORALIA_E2E_SETTINGS: lines of Value.ini to start with); with HORALIA_E2E_INSTALLED=1 it runs an installed program where it lies
# (SOUND_FOLDER then is <prefix>/share/horalia/Sound) and checks that Value.ini is kept in
# $XDG_CONFIG_HOME/horalia/.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=$1 exe=$2 sound=$3
shift 3
stages=("$@")
# shellcheck source=desktop_harness.sh
. "$here/desktop_harness.sh"

tools=(Xvfb dbus-run-session gdbus python3 xdotool pulseaudio parec pactl)
case $host in
  trayer) tools+=(trayer iconv) ;;
  xfce4-panel | lxqt-panel) tools+=("$host") ;;
  weston)
    tools+=(weston xfce4-panel)
    qt=$(dirname "$(ldd "$exe" | awk '/libQt6Gui/ { print $3 }')")
    ls "$qt"/qt6/plugins/platforms/libqwayland-* >/dev/null 2>&1 ||
      { echo "desktop_scenario: SKIPPED, Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }
    ;;
  *) echo "desktop_scenario: no such host: $host" >&2; exit 2 ;;
esac
[[ " ${stages[*]} " == *" hotkey "* ]] && tools+=(dbus-monitor xbindkeys)
need_tools "desktop_scenario $host" "${tools[@]}"
[ -n "${HORALIA_DESKTOP_WORK:-}" ] || in_private_session "$host" "$exe" "$sound" "$@"

if [ "${#stages[@]}" -eq 0 ]; then
  case $host in
    trayer) stages=(tray click server-restart second-start about-menu quit) ;;
    xfce4-panel | lxqt-panel) stages=(late-panel menu about panel-restart click quit) ;;
    weston) stages=(wayland) ;;
  esac
fi
installed=${HORALIA_E2E_INSTALLED:-}
start_desktop "$host" "$exe" "$sound"
program=$work/app/horalia
if [ -n "$installed" ]; then
  # Where it was installed; the settings file is seeded with the once-a-day advertisement mode,
  # whose date the program writes two seconds after start: that write must land here.
  program=$exe
  mkdir -p "$XDG_CONFIG_HOME/horalia"
  printf '[Horalia]\r\n广告设置=1\r\n' | iconv -f UTF-8 -t GBK >"$XDG_CONFIG_HOME/horalia/Value.ini"
fi
if [ -n "${HORALIA_E2E_SETTINGS:-}" ]; then  # lines of Value.ini, e.g. 农历=2 for a screenshot
  printf '[Horalia]\r\n%s\r\n' "$HORALIA_E2E_SETTINGS" | iconv -f UTF-8 -t GBK >"$work/app/Value.ini"
fi
[ "$host" = weston ] || export QT_QPA_PLATFORM=xcb

start_program() {  # sets horalia; the icon must come within 20 seconds
  "$program" >>"$work/horalia.log" 2>&1 &
  horalia=$!
  pids+=("$horalia")
  check "the program's icon is in the notification area" within 20 in_tray
}

quit_program() {  # through the menu; the program ends, cleanly, and its icon goes
  choose_quit
  check "退出程序 ends the program" within 10 sh -c "! kill -0 $horalia"
  local status=0
  wait "$horalia" || status=$?
  [ "$status" -eq 0 ] || tail -c 4000 "$work/horalia.log"
  check "with status 0, nothing leaked (got $status)" test "$status" -eq 0
  check "and its icon goes" within 10 eval '! in_tray'
}

click_speaks() {  # NAME: a left click on the icon, then the recording
  local offset
  offset=$(recorded)
  left_click
  record_from "$1" "$offset"
  check "a left click on the icon speaks" speaks "$1"
}

stage_tray() {
  local started
  started=$(date +%s%N)
  start_program
  echo "desktop_scenario: icon in the tray $((($(date +%s%N) - started) / 1000000)) ms after start"
  local screens=${HORALIA_SCREENSHOT_DIR:-}
  if [ -n "$screens" ] && command -v import >/dev/null; then
    xdotool mousemove --window "$(icon_window)" 8 8
    sleep 3
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop 420x130+604+0 +repage "$screens/horalia-qt-tooltip.png"
    xdotool click 3
    sleep 1.5
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop 420x260+604+0 +repage "$screens/horalia-qt-menu.png"
    xdotool key Escape
    sleep 0.5
  fi
}

stage_server_restart() {  # the sound server goes away and comes back (a crash, an update)
  stop_sound_server
  left_click  # nothing to play to
  sleep 1
  start_sound_server
  sleep 0.5
  click_speaks server_back
}

stage_about_menu() {  # the menu opens while 关于 is shown: no application-modal box blocks the
  # tray icon's own window, which is the program's on an XEmbed tray
  windows() { xdotool search --onlyvisible --classname horalia 2>/dev/null | sort; }
  about_shown() { xdotool search --onlyvisible --name '^关于 Horalia$'; }
  local icon about before menu
  icon=$(icon_window)  # before the about box, a window of the same class, is there
  xdotool mousemove --window "$icon" 8 8 click 3
  sleep 1
  xdotool key a
  check "关于 opens the about box" within 10 about_shown
  about=$(about_shown | head -1)
  before=$(windows)
  xdotool mousemove --window "$icon" 8 8 click 3
  sleep 1
  menu=$(comm -13 <(echo "$before") <(windows))
  check "the menu opens while the about box is shown" test -n "$menu"
  xdotool key Escape
  [ -z "$about" ] || xdotool windowfocus --sync "$about" key Escape  # no window manager
  check "Esc closes the about box" within 10 eval '! about_shown'
}

stage_second_start() {
  # Even without the session's runtime folder (from su or cron). Qt then makes its fallback
  # runtime folder in /tmp; one the test made is removed again.
  local qt_fallback second
  qt_fallback=/tmp/runtime-$(id -un)
  [ -e "$qt_fallback" ] && qt_fallback=
  timeout 20 env -u XDG_RUNTIME_DIR "$program" >"$work/second.log" 2>&1
  second=$?
  [ -z "$qt_fallback" ] || rm -rf "$qt_fallback"
  check "a second start ends at once with status 0 (got $second; 124: it kept running)" \
    test "$second" -eq 0
  check "and the first goes on" kill -0 "$horalia"
}

stage_late_panel() {
  start_program_without_tray
  sleep 3  # the program is up, and no notification area yet
  start_panel
  check "the item registers with a panel that came later" within 20 has_item
}

start_program_without_tray() {
  "$program" >>"$work/horalia.log" 2>&1 &
  horalia=$!
  pids+=("$horalia")
}

stage_menu() {
  check_menu
  check "关闭报时 is greyed, with its check mark" sh -c \
    "echo \"\$0\" | grep -q \"'enabled': <false>, 'label': <'关闭报时\[_C\]'>, 'toggle-state'\"" \
    "$layout"
}

stage_about() {
  choose '关于[_A]'
  check "关于 through the menu opens the about box" within 10 \
    xdotool search --onlyvisible --name '^关于 Horalia$'
}

stage_panel_restart() {
  kill "$panel"
  wait "$panel" 2>/dev/null
  check "the item goes with the panel" within 10 no_item
  start_panel
  check "the item comes back when the panel restarts" within 20 has_item
  check_menu  # the menu a new panel reads
}

stage_wayland() {
  unset QT_QPA_PLATFORM
  on_wayland() {  # pid: Qt's Wayland platform plugin loaded, its X11 one not
    grep -q /libqwayland "/proc/$1/maps" && ! grep -q /libqxcb "/proc/$1/maps"
  }
  local x
  for x in "DISPLAY=$DISPLAY" "no DISPLAY"; do
    [ "$x" = "no DISPLAY" ] && unset DISPLAY
    start_program_without_tray
    check "with $x, Qt runs the program on Wayland" within 10 on_wayland "$horalia"
    check "with $x, the item registers" within 20 has_item
    check_menu
    [ "$x" = "no DISPLAY" ] || click_speaks wayland
    quit_program
  done
}

stage_hotkey() {
  # The notifications the program sends, as a notification server would receive them.
  dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" \
    >"$work/notify.log" 2>&1 &
  pids+=($!)
  [ -n "${panel:-}" ] || start_panel
  press_and_record() {  # NAME: the hotkey typed, and what the sink played
    local offset
    offset=$(recorded)
    xdotool key ctrl+alt+shift+t
    record_from "$1" "$offset"
  }
  told_taken() { grep -q '已被其他程序占用' "$work/notify.log"; }
  start_program
  check_menu
  press_and_record plain
  check "the hotkey speaks" speaks plain
  xdotool key Num_Lock
  press_and_record num_lock
  xdotool key Num_Lock
  check "the hotkey speaks with Num Lock on" speaks num_lock
  check "no notification says the hotkey is taken" eval '! told_taken'
  quit_program

  printf '"touch %s/xbindkeys-ran"\n  control+alt+shift + t\n' "$work" >"$work/xbindkeysrc"
  xbindkeys -n -f "$work/xbindkeysrc" >"$work/xbindkeys.log" 2>&1 &
  pids+=($!)
  sleep 1  # its grabs are made as it starts
  start_program
  check_menu
  check "a notification says the hotkey is taken" within 10 told_taken
  press_and_record taken
  check "the taken hotkey reaches xbindkeys" test -e "$work/xbindkeys-ran"
  check "and does not make the program speak" eval '! speaks taken'
  quit_program
}

for stage in "${stages[@]}"; do
  case $stage in
    tray) stage_tray ;;
    click) click_speaks click ;;
    server-restart) stage_server_restart ;;
    about-menu) stage_about_menu ;;
    second-start) stage_second_start ;;
    quit) quit_program ;;
    late-panel) stage_late_panel ;;
    menu) stage_menu ;;
    about) stage_about ;;
    panel-restart) stage_panel_restart ;;
    wayland) stage_wayland ;;
    hotkey) stage_hotkey ;;
    *) echo "desktop_scenario: no such stage: $stage" >&2; exit 2 ;;
  esac
done
if [ -n "$installed" ]; then
  ini=$XDG_CONFIG_HOME/horalia/Value.ini
  check "the installed program keeps Value.ini in $ini" \
    sh -c "iconv -f GBK -t UTF-8 '$ini' | grep -q '^广告日期='"
  check "and writes none beside the program" test ! -e "$(dirname "$exe")/Value.ini"
fi
report
