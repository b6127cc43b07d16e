; The setup program of Vellumio, built by makensis from the build tree:
;   makensis -DARCH=x86_64|i686 -DAPPDIR=<folder of Vellumio.exe>
;            -DDBTOOL=<vellumio-db.exe> -DVERSION=<x.y.z.b> -DOUTFILE=<setup.exe> Vellumio.nsi
; It installs the program, the database tool, the languages, colour schemes
; and help into the program files folder, with a Start-menu shortcut and an
; entry in the list of installed programs. Its uninstaller lets the program
; ask how much to remove ("Vellumio.exe /uninstall_dlg"): that dialog hides
; the uninstaller's window, deletes the user's data on a complete removal,
; and ends the uninstaller on Cancel. /S installs and removes silently (the
; silent removal keeps the user's data).
Unicode true
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "Vellumio"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumio"
; The running program's main window, and its stop message.
!define MAIN_CLASS "TfMain"
!define MAIN_CAPTION "ScribbaloonStarted"
!define STOP_MESSAGE 1178

Name "${PRODUCT}"
Caption "Vellumio Setup"
UninstallCaption "Vellumio Uninstall"
OutFile "${OUTFILE}"
!if "${ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "Vellumio Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Vellumio team"

Page directory
Page instfiles
UninstPage instfiles

; Asks a running copy to end (it saves its notes first) and waits up to
; ten seconds for its window to go.
!macro StopRunningCopy
  FindWindow $0 "${MAIN_CLASS}" "${MAIN_CAPTION}"
  ${If} $0 <> 0
    DetailPrint "Closing the running Vellumio"
    SendMessage $0 ${STOP_MESSAGE} ${STOP_MESSAGE} ${STOP_MESSAGE} /TIMEOUT=5000
    StrCpy $1 0
    ${DoWhile} $0 <> 0
      ${IfThen} $1 >= 50 ${|} ${ExitDo} ${|}
      Sleep 200
      IntOp $1 $1 + 1
      FindWindow $0 "${MAIN_CLASS}" "${MAIN_CAPTION}"
    ${Loop}
    Sleep 500 ; the process ends a moment after its window
  ${EndIf}
!macroend

!macro UseRegView
  !if "${ARCH}" == "x86_64"
    SetRegView 64
  !endif
!macroend

Function .onInit
  !insertmacro UseRegView
  SetShellVarContext all
FunctionEnd

Function un.onInit
  !insertmacro UseRegView
  SetShellVarContext all
FunctionEnd

Section "Vellumio"
  !insertmacro StopRunningCopy
  SetOutPath "$INSTDIR"
  File "${APPDIR}\Vellumio.exe"
  File "${DBTOOL}"
  SetOutPath "$INSTDIR\Languages"
  File "${APPDIR}\Languages\*.lng"
  SetOutPath "$INSTDIR\Schemes"
  File "${APPDIR}\Schemes\*.sch"
  SetOutPath "$INSTDIR\Help"
  File "${APPDIR}\Help\Vellumio.chm"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Vellumio.lnk" "$INSTDIR\Vellumio.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Vellumio team"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Vellumio.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro StopRunningCopy
  ${IfNot} ${Silent}
    ; The dialog finds this window by its exact caption (the page would
    ; add its subcaption), hides it while it is up, and on Cancel ends
    ; this process, so that nothing below runs.
    SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:Vellumio Uninstall"
    ExecWait '"$INSTDIR\Vellumio.exe" /uninstall_dlg'
  ${EndIf}
  Delete "$INSTDIR\Vellumio.exe"
  Delete "$INSTDIR\vellumio-db.exe"
  RMDir /r "$INSTDIR\Languages"
  RMDir /r "$INSTDIR\Schemes"
  RMDir /r "$INSTDIR\Help"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: a portable Vellumio.ini or backups stay.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\Vellumio.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
