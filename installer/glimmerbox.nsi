; Glimmerbox setup: the tray program and the status sink module, installed
; for every user of the machine. installer/installer.cmake builds it with
;   makensis -DVERSION=1.2.3 -DPROGRAM=Glimmerbox.exe -DSINK32=<32-bit Glimmerbox.dll>
;            -DSINK64=<64-bit Glimmerbox.dll> -DICON=glimmerbox.ico -DOUTFILE=Glimmerbox-1.2.3-setup.exe glimmerbox.nsi
;
; The setup program itself is 32-bit, like the program, so that one file
; serves 32-bit and 64-bit Windows. On 64-bit Windows it also installs the
; 64-bit module (for a 64-bit Media Center host) in the "x64" folder and
; registers it with the 64-bit regsvr32; each module's registration lands in
; the registry view of its own bitness.
;
; /S installs or removes silently; the log-on start is then on. The user's
; own settings under HKCU\Software\Quillmoor\Glimmerbox are never touched.

Target x86-unicode

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh

!define ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PUBLISHER "Quillmoor"
!define SYNCHRONIZE 0x00100000

Name "Glimmerbox"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\Glimmerbox"
InstallDirRegKey HKLM "${ARP_KEY}" "InstallLocation"
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "Glimmerbox ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Glimmerbox"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Glimmerbox Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "Glimmerbox-${VERSION}-setup.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Glimmerbox now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define SETTINGS_KEPT "Your relations and calibration stay in your own settings \
(HKEY_CURRENT_USER\Software\Quillmoor\Glimmerbox), ready for a later installation."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Glimmerbox has been removed from your computer.$\r$\n$\r$\n${SETTINGS_KEPT}"
!define MUI_FINISHPAGE_TEXT_REBOOT "Glimmerbox has been removed. Files still in use, such as a module that \
Media Center holds, are removed when Windows restarts.$\r$\n$\r$\n${SETTINGS_KEPT}"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; Ends every running Glimmerbox through a close request to its main window,
; which the program grants while the window is hidden or in the background,
; and waits for the process, so that its files can be replaced or removed.
!macro CLOSE_PROGRAM_FUNCTION PREFIX
Function ${PREFIX}CloseProgram
  ${Do}
    FindWindow $0 "TfMain" "Glimmerbox configuration"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    DetailPrint "Closing the running Glimmerbox"
    System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call "kernel32::WaitForSingleObject(p r2, i 10000)"
    System::Call "kernel32::CloseHandle(p r2)"
    IsWindow $0 0 +3
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Glimmerbox is still running. Choose Exit in its tray icon's menu, then Retry." /SD IDCANCEL IDRETRY +2
      Abort "Glimmerbox is still running."
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FUNCTION ""
!insertmacro CLOSE_PROGRAM_FUNCTION "un."

; Runs regsvr32 of one bitness on a module; $0 is its exit code, 0 for success.
; The 64-bit one lives in the real System32, which a 32-bit setup program
; sees only with file-system redirection off.
Var Regsvr32Bits
Var Regsvr32Arguments
Var Regsvr32Module
!macro REGSVR32_FUNCTION PREFIX
Function ${PREFIX}Regsvr32
  ${If} $Regsvr32Bits = 64
    ${DisableX64FSRedirection}
    StrCpy $1 "$WINDIR\System32\regsvr32.exe"
  ${ElseIf} ${RunningX64}
    StrCpy $1 "$WINDIR\SysWOW64\regsvr32.exe"
  ${Else}
    StrCpy $1 "$WINDIR\System32\regsvr32.exe"
  ${EndIf}
  ClearErrors
  ExecWait '"$1" $Regsvr32Arguments "$Regsvr32Module"' $0
  ${If} ${Errors}
    StrCpy $0 -1
  ${EndIf}
  ${EnableX64FSRedirection}
FunctionEnd
!macroend
!insertmacro REGSVR32_FUNCTION ""
!insertmacro REGSVR32_FUNCTION "un."

!macro REGSVR32 PREFIX BITS ARGUMENTS MODULE
  StrCpy $Regsvr32Bits ${BITS}
  StrCpy $Regsvr32Arguments "${ARGUMENTS}"
  StrCpy $Regsvr32Module "${MODULE}"
  Call ${PREFIX}Regsvr32
!macroend

; A file in use cannot be overwritten, but it can be renamed: a module that
; Media Center's host holds, or the program running in another user's
; session, keeps its old file until it ends, and the old file goes at the
; next restart.
!macro INSTALL_FILE FOLDER NAME SOURCE
  SetOutPath "${FOLDER}"
  Delete /REBOOTOK "${FOLDER}\${NAME}.old"
  ClearErrors
  Rename "${FOLDER}\${NAME}" "${FOLDER}\${NAME}.old"
  ${IfNot} ${Errors}
    Delete /REBOOTOK "${FOLDER}\${NAME}.old"
  ${EndIf}
  File "/oname=${NAME}" "${SOURCE}"
!macroend

!macro REGISTER_MODULE BITS MODULE
  !insertmacro REGSVR32 "" ${BITS} /s "${MODULE}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "The ${BITS}-bit Glimmerbox.dll could not be registered (regsvr32 ended with $0), \
so Media Center cannot find it." /SD IDOK
    Abort "Glimmerbox.dll could not be registered."
  ${EndIf}
!macroend

; A module still loaded by the host is removed at the next restart.
!macro REMOVE_MODULE BITS FOLDER
  ${If} ${FileExists} "${FOLDER}\Glimmerbox.dll"
    !insertmacro REGSVR32 "un." ${BITS} "/u /s" "${FOLDER}\Glimmerbox.dll"
    Delete /REBOOTOK "${FOLDER}\Glimmerbox.dll"
  ${EndIf}
  Delete /REBOOTOK "${FOLDER}\Glimmerbox.dll.old"
!macroend

; Without elevation (no UAC, a standard account) nothing could be written:
; say so and end with ERROR_ELEVATION_REQUIRED.
!macro REQUIRE_ADMINISTRATOR
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Glimmerbox is set up for every user of this computer: \
please run this as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

Section "Glimmerbox" SectionProgram
  SectionIn RO
  Call CloseProgram

  !insertmacro INSTALL_FILE "$INSTDIR" Glimmerbox.exe "${PROGRAM}"
  !insertmacro INSTALL_FILE "$INSTDIR" Glimmerbox.dll "${SINK32}"
  ${If} ${RunningX64}
    !insertmacro INSTALL_FILE "$INSTDIR\x64" Glimmerbox.dll "${SINK64}"
  ${EndIf}
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Glimmerbox.lnk" "$INSTDIR\Glimmerbox.exe"

  WriteRegStr HKLM "${ARP_KEY}" "DisplayName" "Glimmerbox"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${ARP_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayIcon" "$INSTDIR\Glimmerbox.exe,0"
  WriteRegStr HKLM "${ARP_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ARP_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${ARP_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${ARP_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${ARP_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${ARP_KEY}" "EstimatedSize" $0

  ; Registered last: a failure leaves a complete installation that the
  ; "Programs and Features" entry removes again.
  !insertmacro REGISTER_MODULE 32 "$INSTDIR\Glimmerbox.dll"
  ${If} ${RunningX64}
    !insertmacro REGISTER_MODULE 64 "$INSTDIR\x64\Glimmerbox.dll"
  ${EndIf}
SectionEnd

Section "Start Glimmerbox at log-on (all users)" SectionLogOn
  WriteRegStr HKLM "${RUN_KEY}" "Glimmerbox" '"$INSTDIR\Glimmerbox.exe"'
SectionEnd

; Unticking the log-on start on an upgrade removes the earlier one.
Section "-"
  ${IfNot} ${SectionIsSelected} ${SectionLogOn}
    DeleteRegValue HKLM "${RUN_KEY}" "Glimmerbox"
  ${EndIf}
SectionEnd

Function .onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetShellVarContext all
  ; An upgrade keeps the earlier choice of the log-on start.
  ReadRegStr $0 HKLM "${ARP_KEY}" "UninstallString"
  ReadRegStr $1 HKLM "${RUN_KEY}" "Glimmerbox"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    !insertmacro UnselectSection ${SectionLogOn}
  ${EndIf}
FunctionEnd

; Setup runs elevated; the shell starts the program as the signed-in user,
; whose settings it reads.
Function StartProgram
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Glimmerbox.exe"'
FunctionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.CloseProgram
  ${If} ${RunningX64}
    !insertmacro REMOVE_MODULE 64 "$INSTDIR\x64"
  ${EndIf}
  !insertmacro REMOVE_MODULE 32 "$INSTDIR"
  RMDir /REBOOTOK "$INSTDIR\x64"
  Delete /REBOOTOK "$INSTDIR\Glimmerbox.exe"
  Delete /REBOOTOK "$INSTDIR\Glimmerbox.exe.old"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\Glimmerbox.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "Glimmerbox"
  DeleteRegKey HKLM "${ARP_KEY}"
SectionEnd
