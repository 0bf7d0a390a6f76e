; Ships the Tarvo Game Center client (tgc_client.exe) with a game and calls it from the game's Inno
; Setup installer and uninstaller. Include it from the game's script:
;
;   #define TgcInstallArgument "my-game"           ; the game's own word for the install operation (no
;                                                  ; blanks or quotes: it reaches the game center unquoted)
;   #define TgcClientExe "path\to\tgc_client.exe"  ; where ISCC finds the client (optional)
;   #include "tgc_client.iss"
;
; What it does by itself:
;   [Files]  puts tgc_client.exe into {app}, the game folder;
;   [Run]    --install <TgcInstallArgument> once the game's files are in place, as the user who started
;            the setup (runasoriginaluser): the player's own rights, not the ones the setup was given;
;   [Code]   --uninstall when the uninstaller starts to uninstall, before any file is removed; the
;            client returns only when the game center sets the event "<folder key>tgc_uninstall_mtx"
;            or ends, and the uninstaller waits for it.
; Each call adds --quiet when the setup or uninstaller runs silently (/SILENT or /VERYSILENT): a
; silent install must never stop on a window nobody sees. Otherwise the client tells the player when
; the game center is missing, outdated or will not start, and the setup waits for that window.
;
;
; When the setup or uninstaller keeps a log (/LOG or /LOG="file"), each call adds --log with
; tgc_client.log in the same folder (for a bare /LOG, the user's TEMP folder, where Inno Setup writes it):
; what the client found and why it passed over a game center is then beside the setup's own log.
;
; The game folder reaches the client with --target-game-folder, quoted by the Windows argument rules:
; {app} ends in a backslash at a drive root ("D:\"), and a backslash before the closing quote would
; escape it, so trailing backslashes are doubled and the game center gets back exactly {app}.
;
; The other operations, for the game's own entries (each waits for the client, which never waits for
; the game center except on uninstall; its exit code is always 0 and tells nothing):
;   [Run]   Filename: "{app}\tgc_client.exe"; Parameters: "{code:TgcArguments|--update}"
;           (--update, --verify-integrity, --cct TYPE, or an empty text to open the game)
;   [Code]  TgcOpen, TgcUpdate, TgcVerifyIntegrity, TgcChangeClientType(ClientType), TgcInstall(Argument),
;           TgcUninstall: true when the client was started, false (and a line in the setup log) when not.
;           In the setup they run as the user who started it (ExecAsOriginalUser); Inno Setup has no such
;           call in the uninstaller, where they run with the uninstaller's rights.

#ifndef TgcInstallArgument
  #error tgc_client.iss: define TgcInstallArgument, the game's word for the install operation, before the include
#endif
#ifndef TgcClientExe
  #define TgcClientExe "tgc_client.exe"
#endif

[Files]
Source: "{#TgcClientExe}"; DestDir: "{app}"; DestName: "tgc_client.exe"; Flags: ignoreversion

[Run]
Filename: "{app}\tgc_client.exe"; Parameters: "{code:TgcArguments|--install {#TgcInstallArgument}}"; Flags: waituntilterminated runasoriginaluser

[Code]
// Text in quote marks that the Windows argument rules read back exactly (folders hold no quote marks).
function TgcQuoted(Text: String): String;
var
  Doubled: String;
  I: Integer;
begin
  Doubled := '';
  I := Length(Text);
  while (I > 0) and (Text[I] = '\') do begin
    Doubled := Doubled + '\';
    I := I - 1;
  end;
  Result := '"' + Text + Doubled + '"';
end;

function TgcSilent: Boolean;
begin
  if IsUninstaller then
    Result := UninstallSilent
  else
    Result := WizardSilent;
end;

// tgc_client.log in the folder of the log that /LOG asked for; empty when the run keeps no log.
function TgcLogFile: String;
var
  I: Integer;
  Param: String;
begin
  Result := '';
  for I := 1 to ParamCount do begin
    Param := ParamStr(I);
    if CompareText(Copy(Param, 1, 5), '/LOG=') = 0 then
      Result := ExtractFilePath(ExpandFileName(RemoveQuotes(Copy(Param, 6, Length(Param))))) + 'tgc_client.log'
    else if CompareText(Param, '/LOG') = 0 then
      Result := AddBackslash(ExpandConstant('{%TEMP}')) + 'tgc_client.log';
  end;
end;

// The client's command line after its own path, for Operation ('--update', '--install my-game', ...).
function TgcArguments(Operation: String): String;
var
  LogFile: String;
begin
  Result := Operation;
  if TgcSilent then
    Result := Result + ' --quiet';
  LogFile := TgcLogFile;
  if LogFile <> '' then
    Result := Result + ' --log ' + TgcQuoted(LogFile);
  Result := Result + ' --target-game-folder ' + TgcQuoted(ExpandConstant('{app}'));
end;

// Runs the client in the game folder with Operation and waits for it to end: in the setup as the user
// who started it, so that the player does not get a browser with the setup's administrator rights.
function TgcRun(Operation: String): Boolean;
var
  ResultCode: Integer;
begin
  if IsUninstaller then
    Result := Exec(ExpandConstant('{app}\tgc_client.exe'), TgcArguments(Operation), '', SW_SHOWNORMAL,
                   ewWaitUntilTerminated, ResultCode)
  else
    Result := ExecAsOriginalUser(ExpandConstant('{app}\tgc_client.exe'), TgcArguments(Operation), '',
                                 SW_SHOWNORMAL, ewWaitUntilTerminated, ResultCode);
  if not Result then
    Log('tgc_client.exe did not start: ' + SysErrorMessage(ResultCode));
end;

function TgcOpen: Boolean;
begin
  Result := TgcRun('');
end;

function TgcUpdate: Boolean;
begin
  Result := TgcRun('--update');
end;

function TgcVerifyIntegrity: Boolean;
begin
  Result := TgcRun('--verify-integrity');
end;

function TgcChangeClientType(ClientType: String): Boolean;
begin
  Result := TgcRun('--cct ' + ClientType);
end;

function TgcInstall(Argument: String): Boolean;
begin
  Result := TgcRun('--install ' + Argument);
end;

function TgcUninstall: Boolean;
begin
  Result := TgcRun('--uninstall');
end;

// usUninstall comes before the uninstaller removes anything. The uninstaller cannot take the quiet
// switch from an [UninstallRun] entry, whose parameters are fixed at install time.
<event('CurUninstallStepChanged')>
procedure TgcUninstallStep(CurUninstallStep: TUninstallStep);
begin
  if CurUninstallStep = usUninstall then
    TgcUninstall;
end;
