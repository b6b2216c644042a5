#!/usr/bin/env bash
# The Windows installer as an administrator meets it, under 32-bit Wine (NSIS installers are
# 32-bit programs), in a prefix of its own: a silent install puts the program, its libraries,
# horalia-say.exe, the clips and the uninstaller into Program Files, a Start-menu shortcut and
# the uninstall key; a silent uninstall takes all of it away again, a Value.ini the program
# wrote included.
#   installer_test.sh SETUP_EXE
# Prints one line and succeeds without testing where the kernel runs no 32-bit programs.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
setup=$(realpath "$1")

if [ ! -x /usr/lib/wine/wine ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "installer_test: skipped, this machine runs no 32-bit Windows programs (wine32)"
  exit 0
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/horalia-installer.XXXXXX")
export HORALIA_WINE_SESSION=$session
"$root/cmake/wine-session.sh" start "$session" "$setup" >/dev/null 2>&1
trap '"$root/cmake/wine-session.sh" stop "$session" "$setup" >/dev/null 2>&1; rm -rf "$session"' EXIT
run() { "$root/cmake/wine-run.sh" "$@" 2>/dev/null; }

. "$root/tests/shell_checks.sh"

drive=$session/prefix-i686/drive_c
folder="$drive/Program Files/Horalia"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Horalia.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Horalia'

run "$setup" /S
for file in Horalia.exe horalia-say.exe Update.dll SendComment.dll 说明.txt Uninstall.exe; do
  check "installed $file" test -f "$folder/$file"
done
check "103 clips in Sound" test "$(ls "$folder/Sound"/*.wav 2>/dev/null | wc -l)" -eq 103
check "Start-menu shortcut" test -f "$shortcut"
key_holds() { run reg query "$key" /v "$1" | grep -q "$2"; }
check "uninstall key with its uninstaller" key_holds UninstallString 'Horalia\\Uninstall.exe'
check "uninstall key names the folder" key_holds InstallLocation 'Program Files\\Horalia'

printf '[Horalia]\r\n报时设置=1\r\n' >"$folder/Value.ini"  # as the program leaves it
# _?= runs the uninstaller in place; Wine may hand back before it is done.
run "$folder/Uninstall.exe" /S "_?=C:\\Program Files\\Horalia"
# The key goes last: wait for it (at most about 30 seconds).
for _ in $(seq 60); do run reg query "$key" >/dev/null 2>&1 || break; sleep 0.5; done
rm -f "$folder/Uninstall.exe"  # run in place, the uninstaller cannot delete itself
rmdir "$folder" 2>/dev/null
check "nothing left in Program Files" test ! -e "$folder" -o -z "$(ls -A "$folder" 2>/dev/null)"
check "shortcut removed" test ! -e "$shortcut"
check "uninstall key removed" sh -c "! '$root/cmake/wine-run.sh' reg query '$key' >/dev/null 2>&1"

report
