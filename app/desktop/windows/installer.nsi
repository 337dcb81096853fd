; The Windows installer, made by scripts/windows.sh with Debian's NSIS:
;   makensis -DVERSION=2.2 -DSOURCE=folder-of-the-zip -DOUTFILE=VardunSetup-2.2.exe installer.nsi
; Installs for all users into Program Files, with a Start-menu entry, the file types of
; assessments (.sav) and dictionaries (.dic), both opened by the program, and
; an uninstaller listed among the installed programs.
Unicode true
!include "MUI2.nsh"

!ifndef VERSION | SOURCE | OUTFILE
  !error "VERSION, SOURCE and OUTFILE must be defined"
!endif

!define APP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardun"
!define DATA_TYPE "Vardun.Assessment"
!define DICTIONARY_TYPE "Vardun.Dictionary"

Name "Vardun ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vardun"
InstallDirRegKey HKLM "${APP_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${SOURCE}\vardun.ico"
!define MUI_UNICON "${SOURCE}\vardun.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vardun.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; Registers a file type whose files show the program's icon; with a command, they open in
; the program too. An extension another program already owns keeps its owner: Vardun is
; then only offered under "Open with".
!macro FileType EXTENSION TYPE DESCRIPTION OPENS
  WriteRegStr HKLM "Software\Classes\${TYPE}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "Software\Classes\${TYPE}\DefaultIcon" "" "$INSTDIR\vardun.exe,0"
  !if "${OPENS}" == "yes"
    WriteRegStr HKLM "Software\Classes\${TYPE}\shell\open\command" "" '"$INSTDIR\vardun.exe" "%1"'
  !endif
  WriteRegStr HKLM "Software\Classes\${EXTENSION}\OpenWithProgids" "${TYPE}" ""
  ReadRegStr $0 HKLM "Software\Classes\${EXTENSION}" ""
  StrCmp $0 "" 0 +2
    WriteRegStr HKLM "Software\Classes\${EXTENSION}" "" "${TYPE}"
!macroend

!macro RemoveFileType EXTENSION TYPE
  DeleteRegKey HKLM "Software\Classes\${TYPE}"
  DeleteRegValue HKLM "Software\Classes\${EXTENSION}\OpenWithProgids" "${TYPE}"
  ReadRegStr $0 HKLM "Software\Classes\${EXTENSION}" ""
  StrCmp $0 "${TYPE}" 0 +2
    DeleteRegValue HKLM "Software\Classes\${EXTENSION}" ""
!macroend

Section "Vardun"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Vardun.lnk" "$INSTDIR\vardun.exe" "" "$INSTDIR\vardun.exe" 0
  !insertmacro FileType ".sav" "${DATA_TYPE}" "Данные оценки Vardun" "yes"
  !insertmacro FileType ".dic" "${DICTIONARY_TYPE}" "Словарь Vardun" "yes"
  ; Explorer redraws the icons of the new types.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${APP_KEY}" "DisplayName" "Vardun"
  WriteRegStr HKLM "${APP_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APP_KEY}" "Publisher" "The Vardun developers"
  WriteRegStr HKLM "${APP_KEY}" "DisplayIcon" "$INSTDIR\vardun.exe,0"
  WriteRegStr HKLM "${APP_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APP_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${APP_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APP_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vardun.lnk"
  !insertmacro RemoveFileType ".sav" "${DATA_TYPE}"
  !insertmacro RemoveFileType ".dic" "${DICTIONARY_TYPE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKLM "${APP_KEY}"
  ; Only what the installer put there: the analyst's own files in the folder stay.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\doc"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\vardun.exe"
  Delete "$INSTDIR\vardun-report.exe"
  Delete "$INSTDIR\vardun.ico"
  Delete "$INSTDIR\default.dic"
  Delete "$INSTDIR\example.sav"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
