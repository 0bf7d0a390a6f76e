#!/usr/bin/env bash
# Plants a marking DLL under the name of every DLL the client imports or loads next to a copy of
# the client, runs every operation with native-first load order for those names, and fails if any
# planted DLL was loaded. Windows takes its KnownDLLs from the system folder whatever the load
# order; Wine does not model that, so those names are planted but keep Wine's default order.
# Usage: planted_dlls.sh <build folder>
set -euo pipefail
build="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-env.sh"
[ -n "${WINEPREFIX:-}" ] || use_prefix "$build/wineprefix"
export WINEDEBUG=-all

known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
       normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
       ntdll kernelbase"
is_known() { case " $(echo $known) " in *" $1 "*) return 0 ;; esac; return 1; }

win_path() { echo "Z:${1//\//\\}"; }

game="$build/planted/game"
rm -rf "$game"
mkdir -p "$game"
cp "$build/bin/tgc_client.exe" "$build/planted/naive_loader.exe" "$game/"

# A game center the client accepts, through the path file; the previous one is put back afterwards.
data="$WINEPREFIX/drive_c/ProgramData/Tarvo/GameCenter/data"
saved=""
if [ -f "$data/tgc_path.dat" ]; then saved="$(mktemp)"; cp "$data/tgc_path.dat" "$saved"; fi
restore() {
  if [ -n "$saved" ]; then cp "$saved" "$data/tgc_path.dat"; rm -f "$saved"; else rm -f "$data/tgc_path.dat"; fi
}
trap restore EXIT
mkdir -p "$data"
printf '%s' "$(win_path "$build/fixtures/gc_26.0.2.1046")" >"$data/tgc_path.dat"

operations=("" "--update" "--verify-integrity" "--cct beta" "--install package" "--uninstall")
run_all() {  # every operation, quiet, for a game folder of its own
  for op in "${operations[@]}"; do
    # shellcheck disable=SC2086
    timeout 30 "$WINE" "$game/tgc_client.exe" $op --quiet --target-game-folder 'C:\Games\Planted' </dev/null || {
      echo "client failed or hung for '$op'" >&2
      exit 1
    }
  done
}

# Which DLLs do the operations load? The import table plus what Wine reports loading.
names="$(x86_64-w64-mingw32-objdump -p "$game/tgc_client.exe" | sed -n 's/^\s*DLL Name: //p')"
names+=$'\n'"$(WINEDEBUG=+loaddll run_all 2>&1 | sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' | sed 's/.*\\//')"
names+=$'\n'"version.dll"  # loaded at run time by the version check
names="$(echo "$names" | tr 'A-Z' 'a-z' | grep '\.dll$' | sed 's/\.dll$//' | sort -u)"

overrides=""
for name in $names; do
  cp "$build/planted/planted_mark.dll" "$game/$name.dll"
  is_known "$name" || overrides+="$name,"
done
[ -n "$overrides" ] || { echo "no DLL outside the KnownDLLs was found to plant" >&2; exit 1; }
export WINEDLLOVERRIDES="${overrides%,}=n,b;winemenubuilder.exe=d"
echo "planted: $(echo $names)"
echo "native-first: ${overrides%,}"

# Control: a program that loads by bare name must pick up a planted copy, or this check proves nothing.
"$WINE" "$game/naive_loader.exe" version.dll </dev/null || true
[ -f "$game/version.dll.loaded" ] || { echo "control failed: the planted version.dll was not loaded by a naive loader" >&2; exit 1; }
rm -f "$game"/*.loaded

run_all
marks="$(cd "$game" && ls -- *.loaded 2>/dev/null || true)"
if [ -n "$marks" ]; then
  echo "planted DLLs were loaded: $marks" >&2
  exit 1
fi
echo "no planted DLL was loaded"
