; The Windows installer: one user's install, without administrator rights,
; in %LOCALAPPDATA%\Programs\PavSdi. The uninstaller takes away exactly what
; was laid and written, and never the data directory (%APPDATA%\PavSdi).
; Built by installer.cmake, which defines VERSION, LISTS (the folder of
; install.nsh and uninstall.nsh, the files laid and taken away one by one),
; WINDOW (1 when pavsdiw.exe is there), SIZE_KB, OUTFILE and, when the
; window's icon is built, ICON.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PavSdi"
!define CLASSES "Software\Classes"
!define DOCUMENT "PavSdi.Document.1"
!define APPLICATION "PavSdi.Application"
; The default of an extension that ours replaced, put back at removal (the
; program's own registration keeps it there too).
!define PREVIOUS "PavSdi.Previous"
!if ${WINDOW} == 1
  !define OPENER "pavsdiw.exe"
!else
  !define OPENER "pavsdi.exe"
!endif

Name "PavSdi"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\PavSdi"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "PavSdi ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "PavSdi"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de PavSdi"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "GPL 3 ou ultérieure"

!define MUI_ABORTWARNING
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!if ${WINDOW} == 1
  !define MUI_FINISHPAGE_RUN "$INSTDIR\pavsdiw.exe"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Function .onInit
  ; 64-bit programs: a 32-bit Windows cannot run them.
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "PavSdi demande une version 64 bits de Windows." /SD IDOK
    Abort
  ${EndIf}
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; Explorer reads the associations again.
!macro AnnounceAssociations
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section "PavSdi" Program
  ; An earlier install goes first, by its own uninstaller, which knows its
  ; files (an upgrade leaves none of the old ones behind). Run in place
  ; (_?=) it is waited for, and left for us to remove.
  ClearErrors
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${IfNot} ${Errors}
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    DetailPrint "Désinstallation de la version précédente"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}
  SetOutPath "$INSTDIR"
  !include "${LISTS}\install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  !if ${WINDOW} == 1
    CreateShortcut "$SMPROGRAMS\PavSdi.lnk" "$INSTDIR\pavsdiw.exe" "" "$INSTDIR\pavsdiw.exe" 0 \
      SW_SHOWNORMAL "" "Pavane environnement midi"
  !endif
  ; The program for consoles, for people who prefer its terminal mode.
  CreateShortcut "$SMPROGRAMS\PavSdi (console).lnk" "$INSTDIR\pavsdi.exe" "" "$INSTDIR\pavsdi.exe" 0 \
    SW_SHOWNORMAL "" "PavSdi dans une console"

  ; The document type, as the program registers it at every start: the
  ; default of .tab, offered for .txt beside its own default.
  WriteRegStr HKCU "${CLASSES}\${APPLICATION}\DefaultIcon" "" "$INSTDIR\${OPENER}"
  WriteRegStr HKCU "${CLASSES}\${APPLICATION}\shell\open\command" "" '"$INSTDIR\${OPENER}" "%1"'
  WriteRegStr HKCU "${CLASSES}\${DOCUMENT}\DefaultIcon" "" "$INSTDIR\${OPENER},1"
  WriteRegStr HKCU "${CLASSES}\${DOCUMENT}\shell\open\command" "" '"$INSTDIR\${OPENER}" "%1"'
  ClearErrors
  ReadRegStr $0 HKCU "${CLASSES}\.tab" ""
  ${If} ${Errors}
    DeleteRegValue HKCU "${CLASSES}\.tab" "${PREVIOUS}"
  ${ElseIf} $0 != "${DOCUMENT}"
    WriteRegStr HKCU "${CLASSES}\.tab" "${PREVIOUS}" "$0"
  ${EndIf}
  WriteRegStr HKCU "${CLASSES}\.tab" "" "${DOCUMENT}"
  WriteRegNone HKCU "${CLASSES}\.txt\OpenWithProgids" "${DOCUMENT}"
  !insertmacro AnnounceAssociations

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "PavSdi"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${OPENER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  ; The association first: one that the user changed since stays his.
  DeleteRegKey HKCU "${CLASSES}\${APPLICATION}"
  DeleteRegKey HKCU "${CLASSES}\${DOCUMENT}"
  ClearErrors
  ReadRegStr $0 HKCU "${CLASSES}\.tab" ""
  ${IfNot} ${Errors}
  ${AndIf} $0 == "${DOCUMENT}"
    ClearErrors
    ReadRegStr $1 HKCU "${CLASSES}\.tab" "${PREVIOUS}"
    ${If} ${Errors}
      DeleteRegValue HKCU "${CLASSES}\.tab" ""
    ${Else}
      WriteRegStr HKCU "${CLASSES}\.tab" "" "$1"
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKCU "${CLASSES}\.tab" "${PREVIOUS}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.tab"
  DeleteRegValue HKCU "${CLASSES}\.txt\OpenWithProgids" "${DOCUMENT}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.txt\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.txt"
  !insertmacro AnnounceAssociations

  Delete "$SMPROGRAMS\PavSdi.lnk"
  Delete "$SMPROGRAMS\PavSdi (console).lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The files laid, one by one: what the user put in the folder stays, and
  ; so does the folder then.
  !include "${LISTS}\uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
