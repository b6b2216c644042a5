#!/usr/bin/env bash
# The Windows installer as an administrator meets it, under 32-bit Wine and under 64-bit Wine
# (NSIS installers are 32-bit programs; a 64-bit prefix runs them as 64-bit Windows does), each
# in a prefix of its own: a silent install puts the program that fits, its libraries,
# horalia-say.exe, the clips and the uninstaller into Program Files, or into the folder /D=
# names, a Start-menu shortcut and the uninstall key; a silent uninstall takes all of it away
# again, a Value.ini the program wrote and every person's log-on task included.
# With Horalia running (32-bit Wine), setup and the uninstaller ask it to quit and wait for it;
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
. "$root/cmake/wine-env.sh"  # pe_architecture

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Horalia'
key_holds() { run reg query "$key" /v "$1" | grep -q "$2"; }
key_gone() { ! run reg query "$key" >/dev/null 2>&1; }

# A log-on task registered through Wine's schtasks, as the program registers one.
add_task() {  # name, user
  printf '<?xml version="1.0" encoding="UTF-16"?>\n<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Triggers><LogonTrigger><UserId>%s</UserId></LogonTrigger></Triggers><Actions Context="Author"><Exec><Command>C:\\Horalia.exe</Command></Exec></Actions></Task>\n' \
    "$2" >"$drive/task.xml"
  run schtasks /create /tn "$1" /xml 'C:\task.xml' >/dev/null
  rm -f "$drive/task.xml"
}

# arch: the Wine prefix's (i686, x86_64); folder: where the program goes, as Windows names it and
# as /D= names it, empty for the default.
install_and_remove() {  # arch, windows folder, /D= folder
  local arch=$1 windows=$2 chosen=$3 bits
  export HORALIA_WINE_ARCH=$arch
  drive=$session/prefix-$arch/drive_c
  local folder=$drive/${windows//\\//}
  folder=${folder/C:\//}
  local shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Horalia.lnk"
  local tasks=$drive/windows/system32/tasks
  if [ "$arch" = x86_64 ]; then bits=64; else bits=32; fi
  local where="$bits-bit Wine, ${chosen:+/D=}${chosen:-default folder}"

  if [ -n "$chosen" ]; then run "$setup" /S "/D=$chosen"; else run "$setup" /S; fi
  for file in Horalia.exe horalia-say.exe Update.dll SendComment.dll 说明.txt Uninstall.exe; do
    check "$where: installed $file" test -f "$folder/$file"
  done
  check "$where: the $bits-bit build" test "$(pe_architecture "$folder/Horalia.exe")" = "$arch"
  check "$where: 103 clips in Sound" test "$(ls "$folder/Sound"/*.wav 2>/dev/null | wc -l)" -eq 103
  check "$where: Start-menu shortcut" test -f "$shortcut"
  check "$where: uninstall key with its uninstaller" \
    key_holds UninstallString "${windows//\\/\\\\}\\\\Uninstall.exe"
  check "$where: uninstall key names the folder" key_holds InstallLocation "${windows//\\/\\\\}"

  printf '[Horalia]\r\n报时设置=1\r\n' >"$folder/Value.ini"  # as the program leaves it
  # Two people's log-on tasks and the earlier machine-wide one.
  run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList\S-1-5-21-0-0-0-1002' \
    /v Flags /t REG_DWORD /d 0 /f >/dev/null
  for user in S-1-5-21-0-0-0-1000 S-1-5-21-0-0-0-1002; do
    add_task "\\Horalia\\Chimewick $user" "$user"
  done
  add_task Chimewick S-1-5-21-0-0-0-1000
  check "$where: three tasks made" test "$(find "$tasks" -type f | wc -l)" -eq 3

  # _?= runs the uninstaller in place; Wine may hand back before it is done.
  run "$folder/Uninstall.exe" /S "_?=$windows"
  # The key goes last: wait for it (at most about 30 seconds).
  within 30 key_gone
  rm -f "$folder/Uninstall.exe"  # run in place, the uninstaller cannot delete itself
  rmdir "$folder" 2>/dev/null
  check "$where: nothing left in the folder" test ! -e "$folder" -o -z "$(ls -A "$folder" 2>/dev/null)"
  check "$where: shortcut removed" test ! -e "$shortcut"
  check "$where: uninstall key removed" key_gone
  check "$where: every log-on task and the task folder removed" \
    test -z "$(ls -A "$tasks" 2>/dev/null)"
}

install_and_remove i686 'C:\Program Files\Horalia' ''
install_and_remove i686 'C:\Tools\Horalia' 'C:\Tools\Horalia'
install_and_remove x86_64 'C:\Program Files\Horalia' ''
install_and_remove x86_64 'C:\Tools\Horalia' 'C:\Tools\Horalia'
unset HORALIA_WINE_ARCH

export HORALIA_WINE_ARCH=i686
drive=$session/prefix-i686/drive_c
folder="$drive/Program Files/Horalia"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Horalia.lnk"
run "$setup" /S
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
within 30 key_gone
rm -f "$folder/Uninstall.exe"  # run in place, the uninstaller cannot delete itself
rmdir "$folder" 2>/dev/null
check "nothing left in Program Files" test ! -e "$folder" -o -z "$(ls -A "$folder" 2>/dev/null)"
[ ! -e "$folder" ] || ls -lAR "$folder" | head
check "shortcut removed" test ! -e "$shortcut"
check "uninstall key removed" key_gone
unset HORALIA_WINE_ARCH

report
