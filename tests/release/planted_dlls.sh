#!/usr/bin/env bash
# Plants a marking DLL next to a copy of the client under the name of every DLL it loads that Windows
# would look for in the game folder, runs every operation with native-first load order for those
# names, and fails if any planted copy was loaded.
#
# Windows takes the KnownDLLs (everything the client imports; a separate test checks that) and their
# dependencies from the system folder whatever the search order. Wine does not model that: its own
# system DLLs import others at start-up (its shlwapi pulls in shcore, its user32 version.dll) and
# would take planted copies of them from the game folder. So the plants are the DLLs the client
# process loads after its entry point has run (traced by Wine) that are not KnownDLLs, and the
# client's own run-time load of version.dll, checked in a probe process that has not loaded it yet.
# A naive loader in the same folder must pick up a plant: the control. The same names are planted in
# the current directory the client runs in.
# With --without-kb2533623 the client and the probe meet the loader of Windows 7 without that update
# (no SetDefaultDllDirectories, no LOAD_LIBRARY_SEARCH_* flags), as test builds of them.
# Usage: planted_dlls.sh <build folder> [--without-kb2533623]
set -euo pipefail
build="$1"
client="$build/bin/tgc_client.exe"
probe_options=()
restriction=SetDefaultDllDirectories  # the client's first call, which every run must make
if [ "${2:-}" = --without-kb2533623 ]; then
  client="$build/planted/windows7_client.exe"
  probe_options=(--without-kb2533623)
  restriction=SetDllDirectoryW
fi
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-env.sh"
[ -n "${WINEPREFIX:-}" ] || use_prefix "$build/wineprefix"
export WINEDEBUG=-all
default_overrides="${WINEDLLOVERRIDES:-winemenubuilder.exe=d}"

known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
       normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
is_known() { case " $(echo $known) " in *" $1 "*) return 0 ;; esac; return 1; }

# Messages go to the script's own error output, also from inside the trace pass, whose error output
# is captured.
exec 3>&2
fail() { echo "$*" >&3; exit 1; }

game="$build/planted/game"
current="$build/planted/current"
rm -rf "$game" "$current" "$build"/planted/failed-run-*.log
mkdir -p "$game" "$current"
cp "$client" "$game/tgc_client.exe"
cp "$build/planted/naive_loader.exe" "$build/planted/version_probe.exe" "$game/"
cd "$current"

# A game center the client accepts, through the path file; what was there before is put back.
tarvo="$WINEPREFIX/drive_c/ProgramData/Tarvo"
data="$tarvo/GameCenter/data"
saved=""
tarvo_existed=0
[ -d "$tarvo" ] && tarvo_existed=1
if [ -f "$data/tgc_path.dat" ]; then saved="$(mktemp)"; cp "$data/tgc_path.dat" "$saved"; fi
restore() {
  "$WINE" reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1 || true
  if [ -n "$saved" ]; then cp "$saved" "$data/tgc_path.dat"; rm -f "$saved"; else rm -f "$data/tgc_path.dat"; fi
  [ "$tarvo_existed" = 1 ] || rm -rf "$tarvo"
}
trap restore EXIT
mkdir -p "$data"
gc_folder="$(BUILD_DIR="$build" install_fixture_game_center 26.0.2.1046)"
printf '%s' "$gc_folder" >"$data/tgc_path.dat"

# status_meaning STATUS [ERRORS]: what a non-zero status of "timeout 30 wine <program>" says, with the
# errors Wine printed for that run.
status_meaning() {
  # Now and then Wine's loader finds the address of the shared user data taken in the new process and
  # gives up with status 1 before any of the program's code runs (seen once in about 1400 runs).
  if [ "$1" = 1 ] && grep -q 'failed to map the shared user data' "${2:-/dev/null}" 2>/dev/null; then
    echo "Wine could not map the shared user data and ended the process before it ran"
    return
  fi
  case "$1" in
    124) echo "time-out" ;;
    66) echo "0xC0000142, a DLL's initialisation failed: what a loaded plant does" ;;
    53) echo "0xC0000135, a DLL was not found" ;;
    5) echo "0xC0000005, an access violation" ;;
    *) if [ "$1" -gt 128 ]; then echo "killed by signal $(($1 - 128)) from outside"; else echo "exit code $1 (AND 0xFF)"; fi ;;
  esac
}

# run_client ARGUMENTS...: the client on one operation; fails unless it ends with 0 and marks nothing.
# A non-zero status with no plant marked is not a planted load (a loaded plant writes its mark
# before it refuses to load): the same run is made once more with the loader and exception channels
# traced, and must then pass; the first status and the trace are kept beside the game folder.
planted_marks() { (cd "$game" && ls -- *.loaded 2>/dev/null || true); (cd "$current" && ls -- *.loaded 2>/dev/null || true); }
attempt=0
run_client() {
  local status=0 again=0 trace_file errors="$build/planted/last-run.err"
  # Wine's own errors of the loader's memory set-up are kept, as they name a start that failed in
  # Wine; then passed on, as the trace pass reads them. A game center still running from the run before
  # keeps writing to its own (removed) copy.
  rm -f "$errors"
  WINEDEBUG="${WINEDEBUG:--all},err+virtual" timeout 30 "$WINE" "$game/tgc_client.exe" "$@" </dev/null \
    2>"$errors" || status=$?
  cat "$errors" >&2
  [ "$status" = 0 ] && return 0
  local marks meaning
  meaning="$(status_meaning "$status" "$errors")"
  marks="$(planted_marks)"
  [ -z "$marks" ] || fail "planted DLLs were loaded for '$*': $marks (status $status: $meaning)"
  trace_file="$build/planted/failed-run-$((attempt += 1)).log"
  WINEDEBUG="+pid,+process,+loaddll,+module,+seh${WINEDEBUG:+,$WINEDEBUG}" \
    timeout 30 "$WINE" "$game/tgc_client.exe" "$@" </dev/null 2> >(tee "$trace_file" >&2) || again=$?
  marks="$(planted_marks)"
  [ -z "$marks" ] || fail "planted DLLs were loaded for '$*': $marks"
  [ "$again" = 0 ] || fail "the client failed for '$*': status $status ($meaning), then $again" \
    "($(status_meaning "$again" "$trace_file")) with a trace in $trace_file; overrides: ${WINEDLLOVERRIDES:-none}"
  echo "note: '$*' ended with status $status ($meaning) and marked no plant; it passed" \
    "when run again (trace: $trace_file)" >&3
}

operations=("" "--update" "--verify-integrity" "--cct beta" "--install package" "--uninstall")
run_all() {  # every operation, quiet and not, for a game folder of its own
  for op in "${operations[@]}"; do
    # shellcheck disable=SC2086
    run_client $op --quiet --target-game-folder 'C:\Games\Planted'
  done
  # Without a display the notification windows cannot be created, so these end at once; they still
  # take the paths that load the window and shell libraries. An outdated game center shows a notification.
  printf '%s' "$(BUILD_DIR="$build" install_fixture_game_center 26.0.2.1045)" >"$data/tgc_path.dat"
  for op in "--update" "--propose-zgc-install 110"; do
    # shellcheck disable=SC2086
    DISPLAY= run_client $op --target-game-folder 'C:\Games\Planted'
  done
  printf '%s' "$gc_folder" >"$data/tgc_path.dat"
}

lower_names() { tr 'A-Z' 'a-z' | { grep '\.dll$' || true; } | sed 's/\.dll$//' | sort -u; }

# What the client loads before and after its entry point: its first call marks the boundary.
"$WINE" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "kernel32.$restriction" /f >/dev/null 2>&1
trace="$(WINEDEBUG=+pid,+loaddll,+relay run_all 2>&1)"
"$WINE" reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1
loads="$(echo "$trace" | awk -v restriction="$restriction" '
  /Loaded L".*\\tgc_client\.exe"/ { split($0, f, ":"); client[f[1]] = 1; started[f[1]] = 0; next }
  $0 ~ "Call KERNEL32\\." restriction "\\(" { split($0, f, ":"); started[f[1]] = 1; next }
  /trace:loaddll:.*Loaded L"/ {
    split($0, f, ":"); if (!(f[1] in client)) next
    name = $0; sub(/.*Loaded L"/, "", name); sub(/".*/, "", name); sub(/.*\\/, "", name)
    print (started[f[1]] ? "late " : "early ") name
  }
  END { for (p in client) if (!started[p]) print "unrestricted " p }')"
early="$(echo "$loads" | sed -n 's/^early //p' | lower_names)"
late="$(echo "$loads" | sed -n 's/^late //p' | lower_names)"
imports="$(x86_64-w64-mingw32-objdump -p "$game/tgc_client.exe" | sed -n 's/^\s*DLL Name: //p' | lower_names)"
[ -n "$early" ] || fail "no start-up loads traced: the trace format of this Wine is not understood"
unrestricted="$(echo "$loads" | grep -c '^unrestricted ' || true)"
[ "$unrestricted" = 0 ] || fail "$unrestricted runs of the client never called $restriction"

native_first=""
for name in $late; do
  echo "$early" | grep -qx "$name" || is_known "$name" || native_first+="$name "
done
echo "imported: $(echo $imports)"
echo "loaded after the entry point: $(echo $late)"
echo "native-first: ${native_first:-(none)}"

for name in $native_first version; do
  cp "$build/planted/planted_mark.dll" "$game/$name.dll"
  cp "$build/planted/planted_mark.dll" "$current/$name.dll"
done
rm -f "$game"/*.loaded "$current"/*.loaded

overrides_for() { local o=""; for n in "$@"; do o+="$n,"; done; echo "${o%,}=n,b;$default_overrides"; }

# Control: loading by bare name with the default search order must pick up the planted copy.
WINEDLLOVERRIDES="$(overrides_for version)" "$WINE" "$game/naive_loader.exe" version.dll </dev/null || true
[ -f "$game/version.dll.loaded" ] || fail "control failed: a naive loader did not load the planted version.dll"
rm -f "$game"/*.loaded

# The client's own run-time load of version.dll, in a process that has not loaded it yet.
probe="$(WINEDEBUG=+loaddll WINEDLLOVERRIDES="$(overrides_for version)" "$WINE" "$game/version_probe.exe" \
  "${probe_options[@]}" "$gc_folder\\tgc.exe" 2>&1 </dev/null | tr -d '\r')"
version_dll="$(echo "$probe" | sed -n 's/.*Loaded L"\(.*\\version\.dll\)".*/\1/Ip')"
echo "the version probe loaded: ${version_dll:-(no version.dll)}"
read_version="$(echo "$probe" | grep -v ':loaddll:' | tail -n 1)"
[ "$read_version" = "26.0.2.1046" ] || fail "the version probe read '$read_version' instead of 26.0.2.1046"

if [ -n "$native_first" ]; then
  # shellcheck disable=SC2086
  WINEDLLOVERRIDES="$(overrides_for $native_first)" run_all
else
  run_all
fi
marks="$(planted_marks)"
[ -z "$marks" ] || fail "planted DLLs were loaded: $marks"
echo "no planted DLL was loaded"
