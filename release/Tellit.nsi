; Tellit's installer and uninstaller (NSIS 3, Unicode, in Russian). scripts/release makes it:
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.3 -DVERSION4=1.3.0.0 -DPUBLISHER="..." \
;            -DSTAGE=build/release/stage -DOUTFILE=dist/Tellit-1.3-setup.exe release/Tellit.nsi
;
; STAGE is the staging folder of scripts/release: win64/ and win32/ (each Tellit.exe, LICENSE,
; ПРОЧТИ.txt and the skins folder when there is one), Tellit.ico, and skins-install.nsh and
; skins-uninstall.nsh, the File and Delete lines of the shipped skins (empty without skins).
;
; Per user, without administrator rights, into %LOCALAPPDATA%\Programs\Tellit: the settings file
; Tellit.ini lives beside Tellit.exe, so the folder must be the user's. The 64-bit Tellit.exe goes
; on 64-bit Windows, the 32-bit one elsewhere. Installing over an older version replaces the
; program files and keeps Tellit.ini and the user's own skins. The uninstaller removes the program
; files, the shortcuts and the uninstall entry, and asks before removing Tellit.ini (silently, /S,
; it keeps it).

!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined: VERSION, VERSION4, PUBLISHER, STAGE and OUTFILE (see scripts/release)"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required VERSION4
!insertmacro Required PUBLISHER
!insertmacro Required STAGE
!insertmacro Required OUTFILE

!ifdef TARGET
  ; For the release test alone, on a machine that cannot run 32-bit programs: amd64-unicode. The
  ; release is the 32-bit installer, which runs on every Windows.
  Target ${TARGET}
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tellit"

Name "Tellit"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tellit"
; An update goes where the earlier version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tellit ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define MUI_ICON "${STAGE}/Tellit.ico"
!define MUI_UNICON "${STAGE}/Tellit.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/win64/LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The last page offers to start Tellit ("Запустить Tellit").
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tellit.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Tellit"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION4}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Tellit ${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "MIT License"

Section "Tellit" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${STAGE}/win64/Tellit.exe"
  ${Else}
    File "${STAGE}/win32/Tellit.exe"
  ${EndIf}
  File "${STAGE}/win64/LICENSE"
  File "${STAGE}/win64/ПРОЧТИ.txt"
  ; The shipped skins (a file of the user's own in the skins folder stays as it is).
  !include "${STAGE}/skins-install.nsh"
  SetOutPath "$INSTDIR"
  ; Never Tellit.ini: the user's settings survive an update.

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tellit.lnk" "$INSTDIR\Tellit.exe" "" "$INSTDIR\Tellit.exe" 0

  ; The entry in the list of installed programs (per user).
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tellit"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tellit.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Ярлык на рабочем столе" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\Tellit.lnk" "$INSTDIR\Tellit.exe" "" "$INSTDIR\Tellit.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Tellit.exe, краткое руководство ПРОЧТИ.txt, лицензия, скины и ярлык в меню $\"Пуск$\"."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Ярлык Tellit на рабочем столе."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  Delete "$INSTDIR\Tellit.exe"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\ПРОЧТИ.txt"
  ; The shipped skins, then the skins folder if nothing of the user's is left in it.
  !include "${STAGE}/skins-uninstall.nsh"
  RMDir "$INSTDIR\skins"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Tellit.lnk"
  Delete "$DESKTOP\Tellit.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} ${FileExists} "$INSTDIR\Tellit.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Удалить и файл настроек Tellit.ini (последний номер, настройки прокси и оформления)?" \
      /SD IDNO IDNO keep_settings
    Delete "$INSTDIR\Tellit.ini"
    keep_settings:
  ${EndIf}
  ; The folder goes only when it is empty.
  RMDir "$INSTDIR"
SectionEnd
