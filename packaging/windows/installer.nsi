; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of Vellumstack: for the user alone (no administrator needed) or for
; every user of the machine. makensis -DVERSION=... -DSOURCE=<program folder> -DOUTFILE=...
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP "Vellumstack"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${SOURCE}/COPYING.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ; A folder given with /D stands: the install mode would otherwise choose its own.
    StrCpy $0 $INSTDIR
    !insertmacro MULTIUSER_INIT
    StrCmp $0 "" +2
    StrCpy $INSTDIR $0
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Vellumstack"
    SetOutPath "$INSTDIR"
    ; The files the installation brings, listed by the build (files.nsh), so that the
    ; uninstaller removes exactly these.
    !include "${FILELIST}"
    ; An installed program folder: the program writes nothing into it, and keeps the
    ; user's colours in %APPDATA%\Vellumstack.
    FileOpen $0 "$INSTDIR\.installed" w
    FileWrite $0 "This program folder was installed. Vellumstack writes nothing into it; the chosen colours are kept in %APPDATA%\Vellumstack\Setting.Dll."
    FileClose $0
    SetFileAttributes "$INSTDIR\source" HIDDEN|SYSTEM
    SetFileAttributes "$INSTDIR\source1" HIDDEN|SYSTEM

    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vellumstack.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP} (English-Arabic dictionary)"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vellumstack.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installation brought and nothing else: the user's colours in
; %APPDATA%\Vellumstack stay.
Section "Uninstall"
    !include "${UNFILELIST}"
    Delete "$INSTDIR\.installed"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${APP}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
SectionEnd
