; Vornatic's installer: for the user who runs it, never asking for administrator rights,
; into %LOCALAPPDATA%\Programs\Vornatic, with a Start-menu shortcut and an entry among
; Windows' installed apps. make_package.py builds it and defines VERSION, FILES_NSH (the
; files of the program folder as it ships), LANGUAGES_NSH (its languages and texts, made
; from the program's own catalogue), ICON and OUTFILE; and SIGN_UNINSTALLER, when the
; release is signed: the command that signs a file in place.

Unicode true
; The program is 64-bit only, so its installer may be too.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${FILES_NSH}"

!define EXE "Vornatic.exe"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Vornatic.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vornatic"
; Where the program keeps its start-up choices (src/settings/SettingsStore.cpp).
!define SETTINGS_KEY "Software\Kestrova\Vornatic"
!define MAKER_KEY "Software\Kestrova"
; Where the program enters itself to start at logon, with its file name as the value's
; name: under HKCU; older versions wrote HKLM when they could (src/settings/RegStuff.cpp).
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The class of the program's main window (src/runtime/win32/WindowClasses.h), and the
; message it closes on whatever its integrity level (src/runtime/win32/CloseRequest.h).
!define WINDOW_CLASS "Vornatic.MainWindow"
!define CLOSE_REQUEST "Vornatic.CloseRequest"
!define SYNCHRONIZE 0x00100000
!define PROCESS_TERMINATE 0x0001
!define WAIT_TIMEOUT 0x102
!define CLOSE_WAIT_MS 15000
!define END_WAIT_MS 5000

Name "Vornatic"
OutFile "${OUTFILE}"
!ifdef SIGN_UNINSTALLER
  ; The installer writes the uninstaller at install time from what it carries: signed here,
  ; before it goes in, it is signed on the user's disk too.
  !uninstfinalize '${SIGN_UNINSTALLER} "%1"' = 0
!endif
InstallDir "$LOCALAPPDATA\Programs\Vornatic"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kestrova"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vornatic"
VIAddVersionKey /LANG=1033 "CompanyName" "Kestrova"
VIAddVersionKey /LANG=1033 "FileDescription" "Vornatic ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Kestrova"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; The installer speaks the languages Vornatic speaks: it offers them, with the user's
; display language chosen, and the uninstaller speaks the one chosen.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!define MUI_WELCOMEPAGE_TEXT "$(SetupWelcome)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(SetupRunNow)"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(SetupUninstallConfirm)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!include "${LANGUAGES_NSH}"
!insertmacro MUI_RESERVEFILE_LANGDLL

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Asks each running Vornatic to close the way a user closes it, so that it takes its tray
; icon away and lets go of a held button, and waits until its process has ended, so that
; its files can be replaced or deleted. The registered close request reaches a copy
; started as administrator, which WM_CLOSE from here would not; WM_CLOSE still closes a
; copy of an older version, which knows no close request. A Vornatic that does not end is
; left to the user: Retry, or give up. Unattended (/S) nobody can answer, and Setup never
; gives up because a copy runs: it ends the copy, and goes on beside one it may not end.
!macro CLOSE_VORNATIC_FUNCTION UN
Function ${UN}CloseVornatic
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  System::Call 'user32::RegisterWindowMessageW(w "${CLOSE_REQUEST}") i .r5'
  StrCpy $4 0 ; the last window left running unattended: the search goes on past it
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}" "" "" $4
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    DetailPrint "$(SetupClosing)"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}|${PROCESS_TERMINATE}, i 0, i r1) p .r2'
    ${If} $2 P= 0 ; a copy started as administrator: Setup may wait for it, not end it
      System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
    ${EndIf}
    System::Call 'user32::PostMessageW(p r0, i r5, p 0, p 0)'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
    StrCpy $3 ${WAIT_TIMEOUT}
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS}) i .r3'
    ${EndIf}
    ${If} $3 = ${WAIT_TIMEOUT}
    ${AndIf} ${Silent}
      DetailPrint "$(SetupEnding)"
      ${If} $2 P<> 0
        System::Call 'kernel32::TerminateProcess(p r2, i 1) i .r3'
        System::Call 'kernel32::WaitForSingleObject(p r2, i ${END_WAIT_MS}) i .r3'
      ${EndIf}
      ${If} $3 = ${WAIT_TIMEOUT}
        DetailPrint "$(SetupGoingOnBeside)"
        StrCpy $4 $0
      ${EndIf}
    ${ElseIf} $3 = ${WAIT_TIMEOUT}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(SetupStillRunning)" IDRETRY retry
      SetErrorLevel 3
      Abort "$(SetupStillRunningShort)"
      retry:
    ${EndIf}
    ${If} $2 P<> 0
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_VORNATIC_FUNCTION ""
!insertmacro CLOSE_VORNATIC_FUNCTION "un."

Section "Vornatic"
  SectionIn RO
  Call CloseVornatic
  !insertmacro INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" \
    "$(SetupShortcutDescription)"

  ; What Windows' list of installed apps shows and runs.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vornatic"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestrova"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Takes out a run-at-logon value only when it starts this installed copy, quoted or not, in
; any letter case, its variables filled in where it is a REG_EXPAND_SZ (ReadRegStr reads
; those unexpanded); one that starts a copy elsewhere is someone else's.
!macro REMOVE_RUN_VALUE_IF_OURS ROOT
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "${EXE}"
  ExpandEnvStrings $0 $0
  ${If} $0 == '"$INSTDIR\${EXE}"'
  ${OrIf} $0 == '"$INSTDIR\${EXE}" /logon'
  ${OrIf} $0 == "$INSTDIR\${EXE}"
    ClearErrors
    DeleteRegValue ${ROOT} "${RUN_KEY}" "${EXE}"
    ${If} ${Errors}
      StrCpy $R9 "${ROOT}\${RUN_KEY}"
      MessageBox MB_OK|MB_ICONINFORMATION "$(SetupStaysForEveryone)" /SD IDOK
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.CloseVornatic
  !insertmacro UNINSTALL_FILES
  ; The one skin the program reads, which the user put there.
  Delete "$INSTDIR\x\o.cjs"
  RMDir "$INSTDIR\x"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  !insertmacro REMOVE_RUN_VALUE_IF_OURS HKCU
  !insertmacro REMOVE_RUN_VALUE_IF_OURS HKLM
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
