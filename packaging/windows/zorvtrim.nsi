; The ZorvTrim setup program for 64-bit Windows.
;   makensis -DVERSION=1.43 -DFILES=install.nsh -DUNFILES=uninstall.nsh -DICON=zorvtrim.ico
;            -DOUTFILE=ZorvTrim-1.43-setup.exe zorvtrim.nsi
; FILES installs the programs with every DLL and Qt plugin they load, UNFILES removes them
; (both written by scripts/windows/build.sh), so the uninstaller removes exactly what was
; installed and nothing else that may share the folder.
; Silent install for fleet roll-outs: ZorvTrim-<version>-setup.exe /S [/D=C:\Folder]

Unicode true
; The default 32-bit stub cannot install 64-bit programs where only 64-bit Windows code runs.
Target amd64-unicode
ManifestDPIAware true

!macro ZorvRequire NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined (-D${NAME}=...)"
  !endif
!macroend
!insertmacro ZorvRequire VERSION
!insertmacro ZorvRequire FILES
!insertmacro ZorvRequire UNFILES
!insertmacro ZorvRequire ICON
!insertmacro ZorvRequire OUTFILE

!define PRODUCT "ZorvTrim"
!define MAKER "Dravik Controls"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define FILE_CLASS "DravikControls.ZorvTrim.SwitchFile"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${MAKER}\${PRODUCT}"
; A second run (an update) offers the folder of the first.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${MAKER}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${MAKER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zorvtrim.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ; Program Files and the machine's part of the registry: the 64-bit views.
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "ZorvTrim"
  SetShellVarContext all
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zorvtrim.exe" "" "$INSTDIR\zorvtrim.exe" 0

  ; "Apps and features" lists the tool and removes it with this uninstaller.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zorvtrim.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; A double-clicked switch file opens in the tool.
  WriteRegStr HKLM "Software\Classes\.joy" "" "${FILE_CLASS}"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "ZorvTrim switch file"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\zorvtrim.exe,0"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\zorvtrim.exe" "%1"'
  ; Tells Explorer that file associations changed (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${UNFILES}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\${MAKER}"

  ; The .joy extension is given back only while it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.joy" ""
  StrCmp $0 "${FILE_CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.joy"
  DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ; The technician's own settings (the COM port) and service history are kept.
SectionEnd
