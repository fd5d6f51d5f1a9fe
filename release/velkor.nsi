; The installer of Velkor - IPv4 Subnetting. makensis is given:
;   VERSION   the program's version (from the VERSION file)
;   WIN32DIR  WIN64DIR  folders with velkor-subnetting.exe, velkor.exe, README.txt
;   OUTFILE   the installer to write
;   AMD64     (optional) build a 64-bit installer; the released one is 32-bit so
;             that it runs on every Windows and picks the build itself.
; It installs for the current user only, so it needs no administrator rights.
Unicode true
!ifdef AMD64
  Target amd64-unicode
  !pragma warning disable 6012  ; the 32-bit branch is never taken there
!endif
!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "Velkor - IPv4 Subnetting"
!define MAKER "Orvantis"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Velkor"
SetCompressor /SOLID lzma
ShowInstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${MAKER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${WIN64DIR}\velkor-subnetting.exe"
    File "${WIN64DIR}\velkor.exe"
  ${Else}
    File "${WIN32DIR}\velkor-subnetting.exe"
    File "${WIN32DIR}\velkor.exe"
  ${EndIf}
  File "${WIN64DIR}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\velkor-subnetting.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkor-subnetting.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\velkor-subnetting.exe"
  Delete "$INSTDIR\velkor.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
