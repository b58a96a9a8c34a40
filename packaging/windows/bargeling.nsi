; SPDX-FileCopyrightText: 2026 The Bargeling developers
;
; SPDX-License-Identifier: GPL-3.0-or-later

; The installer: for all users into Program Files\Bargeling, a shortcut "Bargeling 2000" in the
; Start menu, and an entry in Apps & features whose uninstaller removes all of it. /S installs
; and uninstalls silently. Built by makensis from the files that the package target stages, with
; VERSION, STAGE, ICON and OUTFILE defined on its command line.

Unicode true
SetCompressor /SOLID lzma
; The files keep the time stamps of the stage, which are the source's, so that two builds give
; the same installer.
SetDateSave on
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include x64.nsh

!define PRODUCT "Bargeling 2000"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bargeling"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Bargeling"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1044 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1044 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1044 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1044 "FileDescription" "Installasjon av ${PRODUCT}"
VIAddVersionKey /LANG=1044 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bargeling.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Norwegian"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} krever 64-biters Windows."
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}\bargeling.exe"
    File "${STAGE}\tips.txt"
    File "${STAGE}\COPYING"
    File "${STAGE}\README.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\bargeling.exe" "" "$INSTDIR\bargeling.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bargeling.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Bargeling-teamet"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\bargeling.exe"
    Delete "$INSTDIR\tips.txt"
    Delete "$INSTDIR\COPYING"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
