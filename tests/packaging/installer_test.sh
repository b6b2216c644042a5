#!/usr/bin/env bash
# The Windows installer as an administrator meets it, under 32-bit Wine (NSIS installers are
# 32-bit programs), in a prefix of its own: a silent install puts the program, its libraries,
# horalia-say.exe, the clips and the uninstaller into Program Files, a Start-menu shortcut and
# the uninstall key; a silent uninstall takes all of it away again, a Value.ini the program
# wrote included. With Horalia running, setup and the uninstaller ask it to quit and wait for it;
# one that does not answer (its process stopped) makes the uninstaller stop and change nothing.
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

# --- with Horalia running
# A probe finds the program's marker window as a second start does: status 0 while it is there.
makensis -V1 -DOUTFILE="$session/probe.exe" - >/dev/null <<'NSI'
Unicode true
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel user
Section
  FindWindow $0 "" "Horalia Ver:3.0.0.0"
  IntCmp $0 0 0 +2 +2
  SetErrorLevel 1
SectionEnd
NSI
running() { run "$session/probe.exe"; }
start_horalia() {
  run "$folder/Horalia.exe" >/dev/null 2>&1 &
  within 30 running
}
horalia_pid() { pgrep -f 'Program Files.Horalia.Horalia\.exe' | head -1; }
uninstall() {  # its copy in Temp (~nsuN.tmp\Un.exe) goes on after Wine hands back: waited for
  run "$folder/Uninstall.exe" /S "_?=C:\\Program Files\\Horalia"
  within 60 sh -c "! pgrep -f 'nsu[^ ]*[.]tmp.Un[.]exe'"
}

check "Horalia started" start_horalia
run "$setup" /S
check "setup over a running Horalia ended it" sh -c "! '$root/cmake/wine-run.sh' '$session/probe.exe'"
check "setup over a running Horalia installed it again" test -f "$folder/Horalia.exe"

check "Horalia started again" start_horalia
pid=$(horalia_pid)
kill -STOP "$pid"  # a program that does not answer
uninstall
kill -CONT "$pid"
check "an uninstaller facing a Horalia that does not quit removes nothing" \
  test "$(ls -A "$folder" | wc -l)" -eq 7 -a "$(ls "$folder/Sound" | wc -l)" -eq 103
check "nor its uninstall key" key_holds UninstallString 'Horalia\\Uninstall.exe'
# Woken again, it may still answer the request it could not answer stopped, and quit: it is
# started again for the last case if so.
sleep 2
running >/dev/null 2>&1 || start_horalia

printf '[Horalia]\r\n报时设置=1\r\n' >"$folder/Value.ini"  # as the program leaves it
uninstall
check "the uninstaller ended the running Horalia" sh -c "! '$root/cmake/wine-run.sh' '$session/probe.exe'"
# The key goes last: wait for it (at most about 30 seconds).
for _ in $(seq 60); do run reg query "$key" >/dev/null 2>&1 || break; sleep 0.5; done
rm -f "$folder/Uninstall.exe"  # run in place, the uninstaller cannot delete itself
rmdir "$folder" 2>/dev/null
check "nothing left in Program Files" test ! -e "$folder" -o -z "$(ls -A "$folder" 2>/dev/null)"
[ ! -e "$folder" ] || ls -lAR "$folder" | head
check "shortcut removed" test ! -e "$shortcut"
check "uninstall key removed" sh -c "! '$root/cmake/wine-run.sh' reg query '$key' >/dev/null 2>&1"

report
