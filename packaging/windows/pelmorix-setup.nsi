; Pelmorix-Setup.exe: installs the launcher with a game as a vendor ships them. The build
; (CMakeLists.txt beside this file) passes every !define below to makensis.
;   BIN_DIR          folder of the built Pelmorix.exe, Update.exe, Helper1.exe, demo-game.exe
;   OUTFILE          the setup program to write
;   ID               installation id (101 to 300): the registry key and the launcher's "/ID"
;   PRODUCT          name in the system's list of programs and of the Start menu shortcut
;   FOLDER           the default folder's name under Program Files
;   GAME_EXE         the game's file name in the installation folder (the demo game's copy)
;   VERSION, STARTER_VERSION, AFFID   the installation key's "version", "starterversion", "affid"
; Silent use: Pelmorix-Setup.exe /S /D=C:\Program Files\Folder (the /D= last and unquoted);
; uninstall.exe /S.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define INSTALLATION_KEY "SOFTWARE\velkora\tarnovia\${ID}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnovia${ID}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${FOLDER}"
; Program Files and the machine-wide keys need an administrator: the setup asks for the rights
; at its start (the UAC prompt) instead of failing half way.
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"

; The shortcut goes to every user's Start menu, as the installation is machine-wide.
Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/Pelmorix.exe"
  File "${BIN_DIR}/Update.exe"
  File "${BIN_DIR}/Helper1.exe"
  File "/oname=${GAME_EXE}" "${BIN_DIR}/demo-game.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The launcher reads the installation where the games' 32-bit installers keep it.
  SetRegView 32
  WriteRegStr HKLM "${INSTALLATION_KEY}" "folder" "$INSTDIR"
  WriteRegStr HKLM "${INSTALLATION_KEY}" "exe" "${GAME_EXE}"
  WriteRegStr HKLM "${INSTALLATION_KEY}" "uninstallexe" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${INSTALLATION_KEY}" "version" "${VERSION}"
  WriteRegStr HKLM "${INSTALLATION_KEY}" "starterversion" "${STARTER_VERSION}"
  WriteRegStr HKLM "${INSTALLATION_KEY}" "affid" "${AFFID}"

  ; The programs are 64-bit: their entry in the list of programs goes to the 64-bit view.
  SetRegView 64
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pelmorix.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; A patch run writes "temp" in the current folder, so the launcher starts in its own.
  SetOutPath "$INSTDIR"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\Pelmorix.exe" "/${ID}" "$INSTDIR\Pelmorix.exe" 0
SectionEnd

; Removes what the setup put in place and what the launcher and the demo game write into the
; folder; files of anyone else stay, and so does the folder then.
Section "Uninstall"
  Delete "${SHORTCUT}"

  ; A program still running keeps its file; Windows removes it at the next start instead.
  Delete /REBOOTOK "$INSTDIR\Pelmorix.exe"
  Delete /REBOOTOK "$INSTDIR\Update.exe"
  Delete /REBOOTOK "$INSTDIR\Helper1.exe"
  Delete /REBOOTOK "$INSTDIR\${GAME_EXE}"
  Delete "$INSTDIR\gestartet.txt"
  Delete "$INSTDIR\gestartet.txt.part"
  ; The launcher's downloads and write probe.
  RMDir /r "$INSTDIR\temp"
  ; The launcher's button picture cache: the row (1 to 5, 7, 9, 10 or 11), the picture level
  ; and ".jpg". Only one-character levels are matched, so that a picture of the user's own in
  ; a folder chosen for the setup ("1 Urlaub.jpg") is never taken for one.
  Delete "$INSTDIR\1?.jpg"
  Delete "$INSTDIR\2?.jpg"
  Delete "$INSTDIR\3?.jpg"
  Delete "$INSTDIR\4?.jpg"
  Delete "$INSTDIR\5?.jpg"
  Delete "$INSTDIR\7?.jpg"
  Delete "$INSTDIR\9?.jpg"
  Delete "$INSTDIR\10?.jpg"
  Delete "$INSTDIR\11?.jpg"
  Delete "$INSTDIR\uninstall.exe"

  SetRegView 32
  DeleteRegKey HKLM "${INSTALLATION_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\velkora\tarnovia"
  DeleteRegKey /ifempty HKLM "SOFTWARE\velkora"
  SetRegView 64
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The folder goes when it is empty, or at the next start after the files held in use.
  IfRebootFlag 0 remove_folder_now
    RMDir /REBOOTOK "$INSTDIR"
    MessageBox MB_OK|MB_ICONINFORMATION "Einige Dateien sind noch in Gebrauch und werden beim \
        nächsten Start von Windows entfernt." /SD IDOK
    Goto folder_done
  remove_folder_now:
    RMDir "$INSTDIR"
  folder_done:
SectionEnd
