# Sourced by wine-run.sh and wine-session.sh: picks the Wine loader and prefix for a program,
# finds or starts the X display, and prepares a prefix once.

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompt: the HTML engine and .NET stay disabled. No menu entries or
# file types in the Linux user's home for what the installer puts in the Start menu.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# Chinese unless a test asks for another (HORALIA_WINE_LOCALE=ja_JP.UTF-8).
export LC_ALL=${HORALIA_WINE_LOCALE:-zh_CN.UTF-8} LANG=${HORALIA_WINE_LOCALE:-zh_CN.UTF-8}
# Wine's sound driver is a PulseAudio client, which makes a runtime folder in /tmp when the
# session names none: a test run keeps it in its own session folder.
if [ -n "${HORALIA_WINE_SESSION:-}" ] && [ -z "${XDG_RUNTIME_DIR:-}" ] &&
  [ -z "${PULSE_RUNTIME_PATH:-}" ]; then
  export PULSE_RUNTIME_PATH=$HORALIA_WINE_SESSION/pulse
fi

# "x86_64" for a PE32+ program (machine 0x8664), "i686" for anything else (or no file).
pe_architecture() {
  local offset machine
  [ -f "$1" ] || { echo i686; return; }
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo x86_64; else echo i686; fi
}

# Debian's `wine` and `wineboot` scripts take the 32-bit loader whenever it is installed, even on
# a kernel that cannot run it; a 64-bit program gets wine64 by name.
# HORALIA_WINE_ARCH=x86_64 runs a 32-bit program in a 64-bit prefix, as 64-bit Windows would.
wine_select_loader() {
  local arch
  arch=${HORALIA_WINE_ARCH:-$(pe_architecture "$1")}
  if [ "$arch" = x86_64 ]; then
    export WINEARCH=win64 WINE_LOADER=/usr/lib/wine/wine64
    export WINELOADER=$WINE_LOADER WINESERVER=/usr/lib/wine/wineserver64
  else
    export WINEARCH=win32 WINE_LOADER=wine
  fi
  local fallback=${TMPDIR:-/tmp}/horalia-wine-$arch-$(id -u)
  if [ -n "${HORALIA_WINE_SESSION:-}" ]; then fallback=$HORALIA_WINE_SESSION/prefix-$arch; fi
  export WINEPREFIX=${HORALIA_WINEPREFIX:-$fallback}
}

wine_display_works() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# The session's display when there is one, the caller's own when it works, else a new Xvfb.
wine_use_display() {
  if [ -n "${HORALIA_WINE_SESSION:-}" ] && [ -s "$HORALIA_WINE_SESSION/display" ]; then
    export DISPLAY=:$(cat "$HORALIA_WINE_SESSION/display")
    return
  fi
  wine_display_works && return
  wine_start_xvfb "${TMPDIR:-/tmp}/horalia-xvfb-$(id -u)"
}

# Starts Xvfb on a free display; its number and process id land in the given folder.
wine_start_xvfb() {
  mkdir -p "$1"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display.new" >/dev/null 2>&1 &
  echo $! >"$1/xvfb.pid"
  for _ in $(seq 100); do [ -s "$1/display.new" ] && break; sleep 0.05; done
  mv "$1/display.new" "$1/display"
  export DISPLAY=:$(cat "$1/display")
}

wine_server() {
  if [ -n "${WINESERVER:-}" ]; then "$WINESERVER" "$@"; else wineserver "$@"; fi
}

# Once per prefix: boot it and make crashes end the process instead of opening winedbg's dialog.
wine_boot_prefix() {
  # The prefix folder itself is the lock: no lock file is left behind.
  mkdir -p "$WINEPREFIX"
  exec 9<"$WINEPREFIX"
  flock 9
  if [ ! -f "$WINEPREFIX/.horalia-ready" ]; then
    "$WINE_LOADER" wineboot --init >/dev/null 2>&1 || true
    wine_server -w || true
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    "$WINE_LOADER" reg add "$key" /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1 || true
    "$WINE_LOADER" reg add "$key" /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1 || true
    wine_server -w || true
    touch "$WINEPREFIX/.horalia-ready"
  fi
  flock -u 9
  exec 9<&-
}

# The folder a Wine server of this prefix kept its socket in, /tmp/wine-XXXXXX/server-DEV-INODE
# (the prefix's device and inode in hex), is left behind when the server ends: remove it.
wine_remove_server_folder() {
  local device inode folder
  read -r device inode < <(stat -c '%d %i' "$1")
  for folder in /tmp/wine-*/"$(printf 'server-%x-%x' "$device" "$inode")"; do
    [ -d "$folder" ] || continue
    for _ in $(seq 50); do [ -e "$folder/socket" ] || break; sleep 0.1; done
    rm -rf "$folder"
    rmdir "$(dirname "$folder")" 2>/dev/null || true
  done
}
