#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: a throw-away prefix, a Chinese locale (so the
# ANSI code page is 936), a virtual X display, and no dialog that could wait for a click.
set -euo pipefail

export WINEPREFIX=${HORALIA_WINEPREFIX:-${TMPDIR:-/tmp}/horalia-wine-$(id -u)}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompt: the HTML engine and .NET stay disabled.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8

ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local num=${HORALIA_XVFB_DISPLAY:-97}
  export DISPLAY=:$num
  if ! xdpyinfo >/dev/null 2>&1; then
    (Xvfb ":$num" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.horalia-ready" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
    # Crashes end the process instead of opening winedbg's dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.horalia-ready"
  fi
  flock -u 9
}

ensure_display
ensure_prefix
exec wine "$@"
