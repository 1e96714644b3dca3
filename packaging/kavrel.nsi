; Kavrel's installer, in Turkish: a per-user install into the user's local programs folder
; (no administrator rights, and the folder stays writable so F6 can save), a Start-menu
; shortcut that starts Kavrel in that folder, and an uninstaller in the Apps list.
; An update writes the program and the help anew but only the dictionaries that are
; missing, so a dictionary the user changed is never overwritten. The installer records
; the size and time of each dictionary it wrote; the uninstaller removes a dictionary only
; while it still has them, and says which changed dictionaries it kept.
; makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=dir -DOUTFILE=file -DICON=file kavrel.nsi
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrel"
!define DICTIONARY_KEY "Software\Kavrel\Kurulum"
!define UNINSTALLER "kaldir.exe"

Name "Kavrel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kavrel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kavrel ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Kavrel'i başlat"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKavrel
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Turkish"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductName" "Kavrel"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "FileDescription" "Kavrel ${VERSION} kurulumu"
VIAddVersionKey /LANG=${LANG_TURKISH} "LegalCopyright" "Copyright © 2026 Kavrel geliştiricileri"

; The stamp of a dictionary as the installer left it: size and last-write time of $R1,
; in $R0 ("" when the file cannot be read). A save by Kavrel rewrites the whole file, so
; a changed dictionary never keeps both.
!macro DictionaryStamp prefix
Function ${prefix}DictionaryStamp
  Push $0
  Push $1
  Push $2
  StrCpy $R0 ""
  ClearErrors
  GetFileTime "$R1" $0 $1
  FileOpen $2 "$R1" r
  ${IfNot} ${Errors}
    FileSeek $2 0 END $R0
    FileClose $2
    StrCpy $R0 "$R0 $0 $1"
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DictionaryStamp ""
!insertmacro DictionaryStamp "un."

; Windows keeps a running program's file from being replaced or deleted: while Kavrel is
; open, ask the user to close it (a silent run stops with an error instead).
!macro KavrelClosed prefix
Function ${prefix}KavrelClosed
  Push $0
  retry:
  ${If} ${FileExists} "$INSTDIR\kavrel.exe"
    ClearErrors
    FileOpen $0 "$INSTDIR\kavrel.exe" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Kavrel açık. Lütfen Kavrel'i kapatıp Yeniden Dene'ye basın." \
        /SD IDCANCEL IDRETRY retry
      Pop $0
      Abort "Kavrel açık olduğu için hiçbir dosya değiştirilmedi."
    ${EndIf}
    FileClose $0
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro KavrelClosed ""
!insertmacro KavrelClosed "un."

!macro InstallDictionary NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
    File "${STAGE}\${NAME}"
    StrCpy $R1 "$INSTDIR\${NAME}"
    Call DictionaryStamp
    WriteRegStr HKCU "${DICTIONARY_KEY}" "${NAME}" "$R0"
  ${Else}
    DetailPrint "${NAME} zaten var; olduğu gibi bırakıldı."
  ${EndIf}
!macroend

!macro RemoveDictionary NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    StrCpy $R1 "$INSTDIR\${NAME}"
    Call un.DictionaryStamp
    ReadRegStr $R2 HKCU "${DICTIONARY_KEY}" "${NAME}"
    ${If} $R0 != ""
    ${AndIf} $R0 == $R2
      Delete "$INSTDIR\${NAME}"
    ${Else}
      StrCpy $R9 "$R9$\r$\n    ${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Kavrel"
  SetShellVarContext current
  Call KavrelClosed
  SetOutPath "$INSTDIR"
  File "${STAGE}\kavrel.exe"
  File "${STAGE}\BENIOKU.txt"
  File "${STAGE}\GPL-2.txt"
  SetOutPath "$INSTDIR\help"
  File "${STAGE}\help\kavrel.chm"
  SetOutPath "$INSTDIR"
  !insertmacro InstallDictionary kavrel.001
  !insertmacro InstallDictionary kavrel.002
  !insertmacro InstallDictionary kavrel.003
  !insertmacro InstallDictionary kavrel.004
  !insertmacro InstallDictionary kavrel.005
  !insertmacro InstallDictionary kavrel.006
  !insertmacro InstallDictionary kavrel.007
  !insertmacro InstallDictionary kavrel.008

  ; The shortcut's working directory is the output folder: Kavrel finds its dictionaries
  ; and help\kavrel.chm relative to it.
  CreateShortCut "$SMPROGRAMS\Kavrel.lnk" "$INSTDIR\kavrel.exe" "" "$INSTDIR\kavrel.exe" 0 \
    SW_SHOWNORMAL "" "Türkçe sözlük"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kavrel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kavrel geliştiricileri"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kavrel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function StartKavrel
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\kavrel.exe"'
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.KavrelClosed
  Delete "$SMPROGRAMS\Kavrel.lnk"
  Delete "$INSTDIR\kavrel.exe"
  Delete "$INSTDIR\BENIOKU.txt"
  Delete "$INSTDIR\GPL-2.txt"
  Delete "$INSTDIR\help\kavrel.chm"
  RMDir "$INSTDIR\help"
  StrCpy $R9 ""
  !insertmacro RemoveDictionary kavrel.001
  !insertmacro RemoveDictionary kavrel.002
  !insertmacro RemoveDictionary kavrel.003
  !insertmacro RemoveDictionary kavrel.004
  !insertmacro RemoveDictionary kavrel.005
  !insertmacro RemoveDictionary kavrel.006
  !insertmacro RemoveDictionary kavrel.007
  !insertmacro RemoveDictionary kavrel.008
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${DICTIONARY_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Kavrel"
  ${If} $R9 != ""
    DetailPrint "Değiştirdiğiniz sözlükler silinmedi: $INSTDIR"
    MessageBox MB_OK|MB_ICONINFORMATION "Değiştirdiğiniz şu sözlükler silinmedi:$R9$\r$\n$\r$\nBulundukları klasör: $INSTDIR" /SD IDOK
  ${EndIf}
SectionEnd
