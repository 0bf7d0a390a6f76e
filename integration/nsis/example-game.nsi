; The installer of a pretend game that ships the Tarvo Game Center client: a model for game teams.
;
;   makensis -DTGC_CLIENT_EXE=path/to/tgc_client.exe example-game.nsi
;
; Silent install into a folder of your choice (/D= comes last and is never quoted, even with blanks):
;   example-game-setup.exe /S /D=C:\Games\Example Game
; Silent uninstall, waiting for it (without _?= the uninstaller copies itself to the temporary folder,
; starts the copy and ends at once):
;   "C:\Games\Example Game\uninstall.exe" /S _?=C:\Games\Example Game

Unicode true
ManifestDPIAware true

!define GAME_NAME "Example Game"
; The game's own word for the game center's install operation.
!define GAME_ARGUMENT "example-game"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${GAME_NAME}"
!ifndef GAME_FILES
  !define GAME_FILES "${__FILEDIR__}/../example-game"
!endif
!ifndef OUTFILE
  !define OUTFILE "example-game-setup.exe"
!endif

!include "${__FILEDIR__}/tgc_client.nsh"

Name "${GAME_NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; Program Files: only administrators can write there, so nobody can swap the programs the
; uninstaller runs with administrator rights (docs/integration.md, "Where to install").
InstallDir "$PROGRAMFILES\${GAME_NAME}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Game"
  SetOutPath "$INSTDIR"
  File "${GAME_FILES}/example-game.dat"
  !insertmacro TGC_SHIP_CLIENT "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${GAME_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'

  ; Last, with every file in place: the game center takes over the game from here.
  !insertmacro TGC_INSTALL "$INSTDIR" "${GAME_ARGUMENT}" ${TGC_QUIET_WHEN_SILENT}
SectionEnd

Section "Uninstall"
  ; First, while the game's files are still there; returns when the game center says so or ends.
  !insertmacro TGC_UNINSTALL "$INSTDIR" ${TGC_QUIET_WHEN_SILENT}

  Delete "$INSTDIR\example-game.dat"
  !insertmacro TGC_REMOVE_CLIENT "$INSTDIR"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
