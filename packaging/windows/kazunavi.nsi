; The Windows installer: for the user who runs it, without administrator
; rights, into %LOCALAPPDATA%\Programs\Kazunavi, with a Start-menu entry and
; an uninstaller registered for that user. The program keeps its keep list
; (URL.ini, and the copies URL.ini.bak-N) beside itself there: the
; uninstaller removes only the files it installed, so the list stays.
;
; makensis -DVERSION=1.2 -DEXE=path\to\kazunavi.exe -DHELP=path\to\index.html
;          -DOUTFILE=Kazunavi-1.2-setup.exe kazunavi.nsi

; 64-bit, as the program: it runs wherever the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kazunavi"

Name "Kazunavi"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kazunavi"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "Kazunavi"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Kazunavi setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Kazunavi developers"

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Kazunavi"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=kazunavi.exe" "${EXE}"
    SetOutPath "$INSTDIR\help"
    File "/oname=index.html" "${HELP}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Kazunavi.lnk" "$INSTDIR\kazunavi.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kazunavi"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kazunavi.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Kazunavi.lnk"
    Delete "$INSTDIR\kazunavi.exe"
    Delete "$INSTDIR\help\index.html"
    RMDir "$INSTDIR\help"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: URL.ini and its copies stay with the folder.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
