; Calls every operation of the Inno Setup kit once and may be installed into a drive root, where {app}
; ends in a backslash: the installer tests check what the game center receives from each.
;   ISCC.exe /DKit=<kit folder> /DTgcClientExe=... every_operation.iss
#define TgcInstallArgument "pkg-7"
#include Kit + "\tgc_client.iss"

[Setup]
AppId=EveryOperation
AppName=Every Operation
AppVersion=1
DefaultDirName={commonpf}\Every Operation
AllowRootDirectory=yes
PrivilegesRequiredOverridesAllowed=commandline
OutputBaseFilename=every-operation-setup

[Code]
<event('CurStepChanged')>
procedure CallEveryOperation(CurStep: TSetupStep);
begin
  if CurStep = ssPostInstall then begin
    TgcOpen;
    TgcUpdate;
    TgcVerifyIntegrity;
    TgcChangeClientType('beta');
    TgcInstall('pkg-8');
  end;
end;
