; The Windows installer: the 64-bit build on 64-bit Windows, the 32-bit build elsewhere, a
; Start-menu entry and an uninstaller. Made by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=... -DSTAGE32=... -DSTAGE64=... -DOUTFILE=... horalia.nsi
; STAGE32 and STAGE64 are the unpacked portable folders of the two builds.
Unicode true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Horalia"

Name "Horalia"
OutFile "${OUTFILE}"
; The program asks for administrator rights itself (it sets the clock); so does the installer,
; to write into Program Files.
RequestExecutionLevel admin
; No InstallDir: .onInit chooses the Program Files that fits the build, unless /D= chose already.
BrandingText "Horalia ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Horalia"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Horalia ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "The Horalia developers"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Horalia.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

; A running Horalia is found the way a second start finds it, by the title of its hidden main
; window, and asked to quit with WM_CLOSE, which it answers as its menu's 退出程序. Its files can
; be replaced or removed only once its process has ended: if it has not ended within the wait,
; setup says so and stops, and nothing is changed.
!define MARKER_TITLE "Horalia Ver:3.0.0.0"
!define QUIT_WAIT_MS 15000
LangString QuitRefused ${LANG_SIMPCHINESE} "Horalia 正在运行，没有退出。请在它的托盘菜单中选择“退出程序”，然后再试一次。"
LangString QuitRefused ${LANG_ENGLISH} "Horalia is running and did not quit. Choose 退出程序 in its tray menu, then try again."

!macro QUIT_RUNNING_HORALIA un
Function ${un}QuitRunningHoralia
  FindWindow $0 "" "${MARKER_TITLE}"
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'  ; SYNCHRONIZE
  SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
  StrCpy $3 1
  ${If} $2 <> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${QUIT_WAIT_MS}) i .r3'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  FindWindow $0 "" "${MARKER_TITLE}"
  ${If} $3 <> 0  ; WAIT_OBJECT_0: the process ended
  ${OrIf} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "$(QuitRefused)" /SD IDOK
    SetErrorLevel 2
    Abort "$(QuitRefused)"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro QUIT_RUNNING_HORALIA ""
!insertmacro QUIT_RUNNING_HORALIA "un."

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ; /D= sets $INSTDIR before .onInit runs; without it $INSTDIR is still empty here.
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\Horalia"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\Horalia"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Horalia"
  Call QuitRunningHoralia
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${STAGE64}\Horalia.exe"
    File "${STAGE64}\horalia-say.exe"
    File "${STAGE64}\Update.dll"
    File "${STAGE64}\SendComment.dll"
  ${Else}
    File "${STAGE32}\Horalia.exe"
    File "${STAGE32}\horalia-say.exe"
    File "${STAGE32}\Update.dll"
    File "${STAGE32}\SendComment.dll"
  ${EndIf}
  File "${STAGE32}\说明.txt"
  SetOutPath "$INSTDIR\Sound"
  File "${STAGE32}\Sound\*.wav"
  SetOutPath "$INSTDIR"

  ; The folder keeps the rights Program Files gives it: only administrators may change what is
  ; in it. Horalia runs elevated, so it writes Value.ini beside itself without any grant; a grant
  ; to all users would let any of them replace what an administrator runs.

  CreateShortcut "$SMPROGRAMS\Horalia.lnk" "$INSTDIR\Horalia.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Horalia"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Horalia developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Horalia.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.QuitRunningHoralia
  SetShellVarContext all
  ; Start at log-on points at the program about to be removed: every person's log-on task (the
  ; uninstaller has the administrator rights that other people's need), and the Run value that
  ; earlier versions kept for the current user.
  nsExec::ExecToLog '"$INSTDIR\horalia-say.exe" --remove-start-entries'
  Pop $0
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Chimewick"
  Delete "$SMPROGRAMS\Horalia.lnk"
  Delete /REBOOTOK "$INSTDIR\Horalia.exe"
  Delete "$INSTDIR\horalia-say.exe"
  Delete /REBOOTOK "$INSTDIR\Update.dll"
  Delete /REBOOTOK "$INSTDIR\SendComment.dll"
  Delete "$INSTDIR\说明.txt"
  Delete "$INSTDIR\Value.ini"
  Delete "$INSTDIR\Sound\*.wav"
  RMDir "$INSTDIR\Sound"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
