#!/usr/bin/env bash
# Builds the example installers of the integration kits on this machine, as a game team would:
# the NSIS one with makensis (warnings are errors), the MSI with wixl, the Inno Setup one with the
# real ISCC.exe under Wine; and the installers that call every NSIS macro in each quiet mode and
# every Inno Setup operation. Then reads the MSI's execute sequence back and checks that the
# client runs after the files are installed and before they are removed, inside the installation
# script.
# Usage: build_examples.sh <integration folder> <tgc_client.exe> <Inno Setup folder> <output folder> [all|msi]
# ("msi" builds the MSI alone: NSIS-made installers and the Inno Setup compiler are 32-bit programs.)
set -euo pipefail
kit="$1"
client="$2"
inno="$3"
out="$4"
kits="${5:-all}"

rm -rf "$out"
mkdir -p "$out/msi-files"
if [ "$kits" = all ]; then
  makensis -V2 -WX -DTGC_CLIENT_EXE="$client" -DOUTFILE="$out/example-game-setup.exe" \
    "$kit/nsis/example-game.nsi"
  echo "built $out/example-game-setup.exe"

  for mode in quiet when-silent shown; do
    makensis -V2 -WX -DKIT="$kit/nsis" -DQUIET_MODE="$mode" -DTGC_CLIENT_EXE="$client" \
      -DOUTFILE="$out/every-macro-$mode.exe" "$(dirname "${BASH_SOURCE[0]}")/every_macro.nsi"
  done
  echo "built $out/every-macro-{quiet,when-silent,shown}.exe"

  # ISCC is a 32-bit Windows program: it takes the prefix's Z: paths. It prints warnings only when not
  # quiet (/Q): keep its output and treat a warning as an error.
  win() { local path="${1//\//\\}"; echo "Z:$path"; }
  [ -f "$inno/bin/ISCC.exe" ] || { echo "no $inno/bin/ISCC.exe: run scripts/bootstrap" >&2; exit 1; }
  mkdir -p "$out/inno"
  for script in "$kit/inno/example-game.iss" "$(dirname "${BASH_SOURCE[0]}")/every_operation.iss"; do
    log="$out/inno/$(basename "$script" .iss).log"
    /usr/lib/wine/wine "$inno/bin/ISCC.exe" "/DKit=$(win "$kit/inno")" "/DTgcClientExe=$(win "$client")" \
      "/O$(win "$out/inno")" "$(win "$(realpath "$script")")" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
    if grep -q '^Warning' "$log"; then
      grep '^Warning' "$log" >&2
      exit 1
    fi
  done
  echo "built $out/inno/{example-game,every-operation}-setup.exe"
fi

# wixl takes only relative Source paths: it runs in a folder holding the files.
cp "$client" "$kit/example-game/example-game.dat" "$out/msi-files/"
(cd "$out/msi-files" && wixl -I "$kit/msi" -o "$out/example-game.msi" "$kit/msi/example-game.wxs")
echo "built $out/example-game.msi"

msiinfo export "$out/example-game.msi" InstallExecuteSequence | tr -d '\r' >"$out/InstallExecuteSequence.idt"
sequence() {
  awk -F'\t' -v action="$1" '$1 == action { print $3 }' "$out/InstallExecuteSequence.idt"
}
for action in InstallInitialize RemoveFiles InstallFiles InstallFinalize TgcUninstall TgcInstall; do
  value="$(sequence "$action")"
  [ -n "$value" ] || { echo "InstallExecuteSequence has no $action" >&2; exit 1; }
  printf -v "seq_$action" '%s' "$value"
  echo "$action $value"
done
if ! (( seq_InstallInitialize < seq_TgcUninstall && seq_TgcUninstall < seq_RemoveFiles )); then
  echo "TgcUninstall must run inside the script before RemoveFiles" >&2
  exit 1
fi
if ! (( seq_InstallFiles < seq_TgcInstall && seq_TgcInstall < seq_InstallFinalize )); then
  echo "TgcInstall must run after InstallFiles and before InstallFinalize" >&2
  exit 1
fi
