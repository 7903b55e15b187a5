; The Windows installer, made by scripts/build-windows.sh:
;   makensis -DVERSION=0.1.0 -DSTAGE=<folder of the zip's files> -DFILES=<uninstall list> -DICON=<.ico>
;            -DOUTFILE=<setup.exe> kkt-config.nsi
; Installs into Program Files with a Start-menu shortcut. The uninstaller removes exactly the files it
; installed: the user's "ProgSett.ini" and "Scan.cfg" (in %APPDATA%\kkt-config, or beside the program
; when its folder was writable) stay.
; A 64-bit installer for a 64-bit program (and one that Wine without its 32-bit half runs).
Target amd64-unicode
!include "MUI2.nsh"

Name "kkt-config ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\kkt-config"
InstallDirRegKey HKLM "Software\kkt-config" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kkt-config"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "kkt-config"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка kkt-config"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "kkt-config developers"

Section "kkt-config"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\kkt-config.lnk" "$INSTDIR\kkt-config.exe" "" "$INSTDIR\kkt-config.exe" 0
  WriteRegStr HKLM "Software\kkt-config" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "kkt-config"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kkt-config.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\kkt-config.lnk"
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  ; Folders go only when empty: a portable copy's settings keep theirs.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\kkt-config"
SectionEnd
