; Calls every macro of the NSIS kit once, in the quiet mode given by QUIET_MODE, for the install
; folder written with a trailing backslash (as a script may well pass it): the installer tests check
; what the game center receives from each, and which windows appear.
;   makensis -DKIT=<kit folder> -DQUIET_MODE=quiet|when-silent|shown -DTGC_CLIENT_EXE=... -DOUTFILE=...
Unicode true
!include "${KIT}/tgc_client.nsh"

Name "Every Macro"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$TEMP\Every Macro"

Section
  !insertmacro TGC_SHIP_CLIENT "$INSTDIR"
  !insertmacro TGC_OPEN "$INSTDIR\" ${QUIET_MODE}
  !insertmacro TGC_UPDATE "$INSTDIR\" ${QUIET_MODE}
  !insertmacro TGC_VERIFY "$INSTDIR\" ${QUIET_MODE}
  !insertmacro TGC_CHANGE_CLIENT_TYPE "$INSTDIR\" "beta" ${QUIET_MODE}
  !insertmacro TGC_INSTALL "$INSTDIR\" "pkg-7" ${QUIET_MODE}
  !insertmacro TGC_UNINSTALL "$INSTDIR\" ${QUIET_MODE}
SectionEnd
