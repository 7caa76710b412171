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
!define CLASS_KEY "Software\Classes\CLSID\{BA85F2E0-3923-47DA-B92D-428A6C986A38}"
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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
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

; A module still loaded by the host is removed at the next restart. Its
; class is unregistered only while it is this module, not the one of an
; installation in another folder.
!macro REMOVE_MODULE BITS FOLDER
  ${If} ${FileExists} "${FOLDER}\Glimmerbox.dll"
    SetRegView ${BITS}
    ReadRegStr $0 HKLM "${CLASS_KEY}\InprocServer32" ""
    SetRegView default
    ${If} $0 == "${FOLDER}\Glimmerbox.dll"
      !insertmacro REGSVR32 "un." ${BITS} "/u /s" "${FOLDER}\Glimmerbox.dll"
    ${EndIf}
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

; The folder chosen must be empty, missing, or the earlier installation's:
; its files are replaced and later removed, and outside Program Files the
; folder is locked down, which would leave whatever it held to whoever put it
; there. $0 is the reason for refusing it, empty when it is fine.
!define ERROR_DIR_NOT_EMPTY 145
Function CheckFolder
  StrCpy $0 ""
  ReadRegStr $1 HKLM "${ARP_KEY}" "InstallLocation"
  ${DirState} "$INSTDIR" $2
  ${If} $2 = 1
  ${AndIf} $1 != $INSTDIR
    StrCpy $0 "The folder $INSTDIR already holds other files. Choose an empty or a new folder for Glimmerbox."
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckFolder
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP $0
    Abort
  ${EndIf}
FunctionEnd

; Everyone runs the program at log-on and Media Center loads the module from
; this folder, so only administrators may change it. Program Files already
; sees to that, and its subfolders inherit it; anywhere else (a new folder
; inherits from its parent, a folder made beforehand belongs to whoever made
; it) the folder gets its own permissions: owned by Administrators, full
; control for them and SYSTEM, read and execute for Users, nothing inherited.
; The system calls, not icacls or cacls: the same on every Windows from XP on,
; and free of the account names that differ from language to language.
!define LOCKED_FOLDER "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
!define SE_FILE_OBJECT 1
!define OWNER_DACL_PROTECTED 0x80000005
!macro IF_UNDER_FOLDER PARENT
  StrLen $1 "${PARENT}\"
  StrCpy $2 "$0\" $1
  ${If} $2 == "${PARENT}\"
    Return
  ${EndIf}
!macroend
Function LockDownFolder
  GetFullPathName $0 "$INSTDIR"
  !insertmacro IF_UNDER_FOLDER "$PROGRAMFILES32"
  !insertmacro IF_UNDER_FOLDER "$PROGRAMFILES64"
  CreateDirectory "$INSTDIR"
  StrCpy $0 0
  StrCpy $6 "$INSTDIR"  ; passed in a register: a folder's name may hold a quote
  System::Call "advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w '${LOCKED_FOLDER}', i 1, *p .r1, p 0) i .r2"
  ${If} $2 <> 0
    System::Call "advapi32::GetSecurityDescriptorOwner(p r1, *p .r3, *i .r4)"
    System::Call "advapi32::GetSecurityDescriptorDacl(p r1, *i .r4, *p .r5, *i .r4)"
    System::Call "advapi32::SetNamedSecurityInfoW(w r6, i ${SE_FILE_OBJECT}, i ${OWNER_DACL_PROTECTED}, p r3, p 0, p r5, p 0) i .r0"
    System::Call "kernel32::LocalFree(p r1)"
  ${Else}
    StrCpy $0 -1
  ${EndIf}
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "The permissions of $INSTDIR could not be set (error $0), \
so other users could change Glimmerbox there. Choose another folder." /SD IDOK
    Abort "The folder's permissions could not be set."
  ${EndIf}
FunctionEnd

; An upgrade into another folder first removes the earlier installation with
; its own uninstaller, which keeps everyone's settings: left behind, its files
; would stay, and its uninstaller would later take this installation's entry,
; log-on start, shortcut and class with it.
Function RemoveInstallationElsewhere
  ReadRegStr $0 HKLM "${ARP_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIf} $0 == $INSTDIR
  ${OrIfNot} ${FileExists} "$0\Uninstall.exe"
    Return
  ${EndIf}
  DetailPrint "Removing the earlier installation in $0"
  ; _?= runs it in place and waits for it; it cannot remove itself then.
  ClearErrors
  ExecWait '"$0\Uninstall.exe" /S _?=$0' $1
  ${If} ${Errors}
  ${OrIf} $1 <> 0
    MessageBox MB_OK|MB_ICONSTOP "The earlier installation in $0 could not be removed. \
Remove Glimmerbox in Programs and Features, then run this setup again." /SD IDOK
    Abort "The earlier installation could not be removed."
  ${EndIf}
  Delete "$0\Uninstall.exe"
  RMDir "$0"
FunctionEnd

; $0: the kilobytes of the installed files, for "Programs and Features";
; whatever else the folder holds is not Glimmerbox's.
!macro ADD_FILE_SIZE FILE
  ${If} ${FileExists} "${FILE}"
    FileOpen $1 "${FILE}" r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $0 $0 + $2
  ${EndIf}
!macroend
Function InstalledKilobytes
  StrCpy $0 0
  !insertmacro ADD_FILE_SIZE "$INSTDIR\Glimmerbox.exe"
  !insertmacro ADD_FILE_SIZE "$INSTDIR\Glimmerbox.dll"
  !insertmacro ADD_FILE_SIZE "$INSTDIR\x64\Glimmerbox.dll"
  !insertmacro ADD_FILE_SIZE "$INSTDIR\Uninstall.exe"
  IntOp $0 $0 / 1024
FunctionEnd

; $0: the target of the Start menu shortcut, empty when there is none.
!define CLSID_ShellLink "{00021401-0000-0000-C000-000000000046}"
!define IID_IShellLinkW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPersistFile "{0000010b-0000-0000-C000-000000000046}"
Function un.ShortcutTarget
  StrCpy $0 ""
  System::Call "ole32::CoCreateInstance(g '${CLSID_ShellLink}', p 0, i 1, g '${IID_IShellLinkW}', *p .r1) i .r2"
  ${If} $2 <> 0
    Return
  ${EndIf}
  System::Call "$1->0(g '${IID_IPersistFile}', *p .r3) i .r2"
  ${If} $2 = 0
    StrCpy $4 "$SMPROGRAMS\Glimmerbox.lnk"
    System::Call "$3->5(w r4, i 0) i .r2"
    ${If} $2 = 0
      System::Call "$1->3(w .r0, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
    ${EndIf}
    System::Call "$3->2()"
  ${EndIf}
  System::Call "$1->2()"
FunctionEnd

Section "Glimmerbox" SectionProgram
  SectionIn RO
  Call CloseProgram
  Call RemoveInstallationElsewhere
  Call LockDownFolder

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
  Call InstalledKilobytes
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
  ${If} ${Silent}
    Call CheckFolder
    ${If} $0 != ""
      MessageBox MB_OK|MB_ICONSTOP $0 /SD IDOK
      SetErrorLevel ${ERROR_DIR_NOT_EMPTY}
      Quit
    ${EndIf}
  ${EndIf}
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

  ; An installation in another folder may own these by now.
  Call un.ShortcutTarget
  ${If} $0 == "$INSTDIR\Glimmerbox.exe"
    Delete "$SMPROGRAMS\Glimmerbox.lnk"
  ${EndIf}
  ReadRegStr $0 HKLM "${RUN_KEY}" "Glimmerbox"
  ${If} $0 == '"$INSTDIR\Glimmerbox.exe"'
    DeleteRegValue HKLM "${RUN_KEY}" "Glimmerbox"
  ${EndIf}
  ReadRegStr $0 HKLM "${ARP_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    DeleteRegKey HKLM "${ARP_KEY}"
  ${EndIf}
SectionEnd
