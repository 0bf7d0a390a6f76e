; Ships the Tarvo Game Center client (tgc_client.exe) with a game and calls it from the game's
; installer and uninstaller. Include it after `Unicode true` (game folders may hold any character).
;
;   !define TGC_CLIENT_EXE "path\to\tgc_client.exe"   ; where makensis finds the client (optional)
;   !include "tgc_client.nsh"
;
;   Section "Game"
;     ...the game's files...
;     !insertmacro TGC_SHIP_CLIENT "$INSTDIR"
;     !insertmacro TGC_INSTALL "$INSTDIR" "my-game" ${TGC_QUIET_WHEN_SILENT}
;   SectionEnd
;
;   Section "Uninstall"
;     !insertmacro TGC_UNINSTALL "$INSTDIR" ${TGC_QUIET_WHEN_SILENT}
;     ...remove the game's files...
;     !insertmacro TGC_REMOVE_CLIENT "$INSTDIR"
;   SectionEnd
;
; Every call runs "FOLDER\tgc_client.exe" and waits for it to end. The client never waits for the game
; center except on uninstall, so only TGC_UNINSTALL can take long. The client's exit code is always 0:
; an installer cannot learn from it whether the game center is installed. When the client itself
; cannot be started the error flag is set.
;
; NSIS starts the client with the installer's own rights (administrator under RequestExecutionLevel
; admin): it has no command that starts a program as the user who ran the setup. The client then opens
; web pages through the desktop's shell, as that user, never with the installer's rights.
;
; FOLDER is handed over as the game folder with --target-game-folder, quoted by the Windows argument
; rules, so a folder with blanks, non-ASCII characters or a trailing backslash (a drive root) arrives
; exactly as written. The client starts the game center with it, unchanged, after "--target-game-folder"
; and "-d".
;
; QUIET is one of:
;   ${TGC_QUIET}              always --quiet: the client shows nothing, whatever happens.
;   ${TGC_QUIET_WHEN_SILENT}  --quiet when the installer or uninstaller runs silently (/S). Use this
;                             one: a silent install must never stop on a window nobody sees.
;   ${TGC_SHOWN}              never quiet: when the game center is missing, outdated or will not start,
;                             the client tells the player in a window and the installer waits for it.

!ifndef TGC_CLIENT_NSH
!define TGC_CLIENT_NSH

!ifndef TGC_CLIENT_EXE
  !define TGC_CLIENT_EXE "tgc_client.exe"
!endif

!define TGC_QUIET "quiet"
!define TGC_QUIET_WHEN_SILENT "when-silent"
!define TGC_SHOWN "shown"

; Puts the client into FOLDER (the game folder) as tgc_client.exe. It needs no other file.
!macro TGC_SHIP_CLIENT FOLDER
  Push $OUTDIR
  SetOutPath "${FOLDER}"
  File "/oname=tgc_client.exe" "${TGC_CLIENT_EXE}"
  Exch $0
  SetOutPath $0
  Pop $0
!macroend

; Deletes the client from FOLDER; call it after TGC_UNINSTALL has returned.
!macro TGC_REMOVE_CLIENT FOLDER
  Delete "${FOLDER}\tgc_client.exe"
!macroend

; Runs FOLDER\tgc_client.exe with ARGUMENTS, the quiet switch that QUIET asks for and
; --target-game-folder FOLDER, and waits for it to end. Registers are kept.
!macro _TGC_RUN_CLIENT FOLDER ARGUMENTS QUIET
  ; Take both texts before any register changes: the caller may pass registers.
  Push "${ARGUMENTS}"
  Push "${FOLDER}"
  Exch $0  ; folder
  Exch
  Exch $1  ; arguments
  Push $2  ; the quiet switch, or nothing
  Push $3  ; the folder's trailing backslashes once more
  Push $4
  Push $5

  !if "${QUIET}" == "${TGC_QUIET}"
    StrCpy $2 " --quiet"
  !else if "${QUIET}" == "${TGC_QUIET_WHEN_SILENT}"
    StrCpy $2 ""
    IfSilent 0 +2
      StrCpy $2 " --quiet"
  !else if "${QUIET}" == "${TGC_SHOWN}"
    StrCpy $2 ""
  !else
    !error "tgc_client.nsh: QUIET must be one of the defines TGC_QUIET, TGC_QUIET_WHEN_SILENT, TGC_SHOWN, not '${QUIET}'"
  !endif

  ; Backslashes right before the closing quote would escape it: double that run.
  StrCpy $3 ""
  StrLen $4 $0
  IntCmp $4 0 +6
    IntOp $4 $4 - 1
    StrCpy $5 $0 1 $4
    StrCmp $5 "\" 0 +3
      StrCpy $3 "$3\"
      Goto -5

  ExecWait '"$0\tgc_client.exe" $1$2 --target-game-folder "$0$3"'

  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
!macroend

; Install: the game center installs the game, given ARGUMENT (the game's own word: no blanks or quotes,
; it reaches the game center unquoted). The game center receives
;   --target-game-folder "FOLDER" --install -g ARGUMENT -d "FOLDER"
; Call it last in the installer, when the game's files are in place.
!macro TGC_INSTALL FOLDER ARGUMENT QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "--install ${ARGUMENT}" ${QUIET}
!macroend

; Update: the game center receives --target-game-folder "FOLDER" --update -d "FOLDER".
!macro TGC_UPDATE FOLDER QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "--update" ${QUIET}
!macroend

; Verify the game's files: the game center receives
;   --target-game-folder "FOLDER" --verify-integrity -d "FOLDER".
!macro TGC_VERIFY FOLDER QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "--verify-integrity" ${QUIET}
!macroend

; Open the game in the game center: it receives --target-game-folder "FOLDER" --open -d "FOLDER".
!macro TGC_OPEN FOLDER QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "" ${QUIET}
!macroend

; Change the client type to TYPE (one word): the game center receives
;   --target-game-folder "FOLDER" -ct -t TYPE -d "FOLDER".
!macro TGC_CHANGE_CLIENT_TYPE FOLDER TYPE QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "--cct ${TYPE}" ${QUIET}
!macroend

; Uninstall: the game center receives
;   --uninstall -d "FOLDER" --pa --target-game-folder "FOLDER"     (quiet)
;   --uninstall -d "FOLDER"  --target-game-folder "FOLDER"         (not quiet)
; and returns control by setting the event "<folder key>tgc_uninstall_mtx" or by ending; this macro
; returns only then. Call it first in the uninstaller, while the game's files are still there.
; While one uninstall of a folder waits, a second one for the same folder starts nothing and returns
; at once.
!macro TGC_UNINSTALL FOLDER QUIET
  !insertmacro _TGC_RUN_CLIENT "${FOLDER}" "--uninstall" ${QUIET}
!macroend

!endif
