; The Windows installer: installs for the current user (no administrator rights) under
; %LOCALAPPDATA%\Programs, adds a Start-menu entry and an entry in "Apps & features". An install
; over an earlier one removes that one first, through its own uninstaller. Neither the installer
; nor the uninstaller touches the program's files while it runs. /S installs and uninstalls
; silently; exit codes: 0 done, 1 cancelled by the user, 2 refused (the program is running).
; Built by CPack (app/windows/MakeInstaller.cmake) with -DVERSION, -DARCH, -DEXE, -DLICENSE,
; -DREADME, -DICON, -DWIZARD and -DOUTFILE, and -DSIGN (the signing command) for a signed release.
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
SetDateSave off  ; the installer's bytes do not depend on when its files were built
RequestExecutionLevel user
ManifestDPIAware true  ; sharp at 150 % and 200 %
ManifestSupportedOS all
!ifdef SIGN  ; Authenticode: the uninstaller as it is made, then the installer
  !uninstfinalize '"${SIGN}" ${ARCH} uninstaller "%1"' = 0
  !finalize '"${SIGN}" ${ARCH} installer "%1"' = 0
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define NAME "Quarn EV calculator"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\quarn-ev"
!define WINDOW_CLASS "QuarnForm"  ; the calculator's window

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
BrandingText "${NAME} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quarn-ev.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start the ${NAME}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "FileDescription" "${NAME} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Quarn developers, MIT licence"

; A running calculator keeps its files open: ask the user to close it, or, when silent, refuse
; with exit code 2 before anything is changed.
!macro WAIT_UNTIL_CLOSED PREFIX
  Function ${PREFIX}WaitUntilClosed
    check:
      FindWindow $0 "${WINDOW_CLASS}"
      StrCmp $0 0 closed
      IfSilent 0 +3
        SetErrorLevel 2
        Quit
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "The ${NAME} is running. Close it, then choose Retry." IDRETRY check
      SetErrorLevel 1
      Quit
    closed:
  FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

Function .onInit
  Call WaitUntilClosed
FunctionEnd

Function un.onInit
  Call un.WaitUntilClosed
FunctionEnd

Section
  SetShellVarContext current
  Call WaitUntilClosed  ; it may have been started while the pages were shown
  ; An earlier install, wherever it went, is removed by its own uninstaller: it knows its files.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0' $1
    ${If} $1 <> 0
      DetailPrint "The earlier install's uninstaller ended with $1; its files are replaced."
    ${EndIf}
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\quarn-ev.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quarn"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quarn-ev.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2  ; KiB of what was installed
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.WaitUntilClosed
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\quarn-ev.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
