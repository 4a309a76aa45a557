; Vantrell-setup.exe: installs vantrell.exe and vantrell-cli.exe into a folder the clerk
; chooses, with a Start-menu entry and an uninstaller.
;
; makensis -DBIN_DIR=<folder with the two programs> -DOUT_FILE=<setup file> -DVERSION=x.y.z
;          [-DBITS=32|64] Vantrell.nsi
;
; The setup runs as the clerk, without administrator rights, and offers the clerk's own
; programs folder; a folder under Program Files needs the setup to be run as administrator.
; Vantrell keeps Vantrell.mdb, its log and its trace files in its own folder when the clerk may
; write there, and otherwise in %LOCALAPPDATA%\Vantrell.

!ifndef BITS
  !define BITS 32
!endif
; The setup has the bitness of the programs it installs.
!if ${BITS} == 64
  Target amd64-unicode
!else
  Unicode true
!endif
!include "MUI2.nsh"

Name "Vantrell"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Vantrell"
InstallDirRegKey HKCU "Software\Vantrell" "InstallFolder"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Vantrell"
VIAddVersionKey "FileDescription" "Vantrell payroll export setup (${BITS}-bit)"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrell"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vantrell"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/vantrell.exe"
  File "${BIN_DIR}/vantrell-cli.exe"
  WriteUninstaller "$INSTDIR\Uninstall Vantrell.exe"

  CreateDirectory "$SMPROGRAMS\Vantrell"
  CreateShortcut "$SMPROGRAMS\Vantrell\Vantrell.lnk" "$INSTDIR\vantrell.exe"
  CreateShortcut "$SMPROGRAMS\Vantrell\Uninstall Vantrell.lnk" "$INSTDIR\Uninstall Vantrell.exe"

  WriteRegStr HKCU "Software\Vantrell" "InstallFolder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vantrell"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall Vantrell.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall Vantrell.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The clerk's data stays: Vantrell.mdb, the log and the trace files in the program's folder, and
; the stored locations of the two data files in the registry. The folder goes only when empty.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\vantrell.exe"
  Delete "$INSTDIR\vantrell-cli.exe"
  Delete "$INSTDIR\Uninstall Vantrell.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Vantrell\Vantrell.lnk"
  Delete "$SMPROGRAMS\Vantrell\Uninstall Vantrell.lnk"
  RMDir "$SMPROGRAMS\Vantrell"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Vantrell"
SectionEnd
