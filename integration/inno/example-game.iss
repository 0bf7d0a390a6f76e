; The installer of a pretend game that ships the Tarvo Game Center client: a model for game teams.
;
;   ISCC.exe /Q /DTgcClientExe=path\to\tgc_client.exe example-game.iss
;
; Silent install, into Program Files or a folder of your choice (/DIR= quoted when it has blanks):
;   example-game-setup.exe /VERYSILENT /SUPPRESSMSGBOXES [/DIR="C:\Games\Example Game"]
; Silent uninstall (it waits for the game center before it removes the files):
;   "C:\Program Files (x86)\Example Game\unins000.exe" /VERYSILENT /SUPPRESSMSGBOXES

#define GameName "Example Game"
#define TgcInstallArgument "example-game"
#ifndef GameFiles
  #define GameFiles SourcePath + "..\example-game"
#endif

#include "tgc_client.iss"

[Setup]
AppId=ExampleGame
AppName={#GameName}
AppVersion=1.0.0
AppPublisher=Example Studio
; Program Files: only administrators can write there, so nobody can swap the programs the
; uninstaller runs with administrator rights (docs/integration.md, "Where to install").
DefaultDirName={commonpf}\{#GameName}
PrivilegesRequired=admin
; /CURRENTUSER installs for the one user who runs the setup, without administrator rights.
PrivilegesRequiredOverridesAllowed=commandline
DisableProgramGroupPage=yes
OutputBaseFilename=example-game-setup

[Files]
Source: "{#GameFiles}\example-game.dat"; DestDir: "{app}"
