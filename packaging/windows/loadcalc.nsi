; The Windows installer: installs for the current user only (no administrator rights), in
; simplified Chinese, with a Start-menu entry, the .lcbook association and an uninstaller that removes everything it put
; there, and what the program wrote for itself: its settings and its recovery copies. The user's
; books stay.
;   makensis -DVERSION=<x.y.z> -DICON=<loadcalc.ico> -DOUTFILE=<setup.exe>
;            -DSTAGE_LIST=<File lines> -DUNSTAGE_LIST=<Delete lines> loadcalc.nsi
; scripts/windows writes both lists from the folder it packs.

; A 64-bit installer for a 64-bit program: it runs where the program can, and Wine runs it
; without 32-bit support.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
SetCompressorDictSize 32
RequestExecutionLevel user

!define PRODUCT "loadcalc"
!define TITLE "框架梁均布线荷载及楼梯折算恒荷载计算"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; A calculation book (*.lcbook) opens in the program and shows its icon, for this user only.
!define BOOK_CLASS "loadcalc.book"
!define CLASSES "Software\Classes"
; Where the program keeps its settings (the recent books, under the organisation and application
; names it gives Qt, both "loadcalc") and its recovery copies (Qt's application-data folder, in the
; roaming profile). The portable zip keeps both beside the program instead.
!define SETTINGS_KEY "Software\${PRODUCT}"
!define DATA_DIR "$APPDATA\${PRODUCT}\${PRODUCT}"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${TITLE} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "loadcalc 开发组"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\loadcalc.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "loadcalc"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; The uninstaller's list is the same folder's, so it removes exactly what was installed.
  !include "${STAGE_LIST}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\loadcalc.exe" "" "$INSTDIR\loadcalc.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\loadcalc.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "loadcalc 开发组"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  WriteRegStr HKCU "${CLASSES}\.lcbook" "" "${BOOK_CLASS}"
  WriteRegStr HKCU "${CLASSES}\${BOOK_CLASS}" "" "loadcalc 计算书"
  WriteRegStr HKCU "${CLASSES}\${BOOK_CLASS}\DefaultIcon" "" "$INSTDIR\loadcalc.exe,0"
  WriteRegStr HKCU "${CLASSES}\${BOOK_CLASS}\shell\open\command" "" '"$INSTDIR\loadcalc.exe" "%1"'
  ; Explorer redraws the files' icons now rather than at the next sign-in.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${TITLE}.lnk"
  !include "${UNSTAGE_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; Only the program's own files are ever in it: the books the copies stood for are wherever the
  ; user saved them.
  RMDir /r "${DATA_DIR}"
  RMDir "$APPDATA\${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  DeleteRegKey HKCU "${CLASSES}\${BOOK_CLASS}"
  ; The extension only while it still points at this program: another may have claimed it since.
  ReadRegStr $0 HKCU "${CLASSES}\.lcbook" ""
  StrCmp $0 "${BOOK_CLASS}" 0 +2
    DeleteRegKey HKCU "${CLASSES}\.lcbook"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
