# Sourced by the scripts: the build folders and a Wine environment that writes only inside them.
# Two builds live side by side: build/x86 (the client games ship) and build/x64. TGC_ARCH picks the
# one a script works on (default x86); BUILD_DIR, when set, names that build's folder directly.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
TGC_ARCHES=(x86 x64)
TGC_ARCH="${TGC_ARCH:-x86}"
case "$TGC_ARCH" in x86 | x64) ;; *) echo "unknown TGC_ARCH '$TGC_ARCH' (x86 or x64)" >&2; exit 2 ;; esac
BUILD_DIR="${BUILD_DIR:-$root/build/$TGC_ARCH}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$root/$BUILD_DIR" ;; esac
export BUILD_DIR TGC_ARCH

# arch_build_dir ARCH: the build folder of one architecture.
arch_build_dir() { echo "$root/build/$1"; }

# wine_path PATH: the Windows name of a Unix path, through the prefix's Z: drive.
wine_path() { local p="$1"; echo "Z:${p//\//\\}"; }

# toolchain_file ARCH
toolchain_file() {
  case "$1" in x86) echo "$root/cmake/mingw-w64-i686.cmake" ;; x64) echo "$root/cmake/mingw-w64-x86_64.cmake" ;; esac
}

# configure_build DIR ARCH [cmake options...]: configures the build folder DIR once, Release, with
# ARCH's toolchain file; later calls leave an existing configuration alone.
configure_build() {
  local dir="$1" arch="$2"
  shift 2
  [ -f "$dir/CMakeCache.txt" ] && return 0
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$(toolchain_file "$arch")" -DCMAKE_BUILD_TYPE=Release \
    "$@" >/dev/null
}

# The 64-bit loader makes and serves every prefix; in a 64-bit prefix it also starts 32-bit programs
# through WoW64.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# use_prefix DIR: point Wine at DIR and keep everything it writes inside the build.
use_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export HOME="$BUILD_DIR/home"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export LC_ALL=C.UTF-8
  mkdir -p "$HOME"
}

WINE32=/usr/lib/wine/wine

# check_32bit: decides once per run whether this machine can run 32-bit Windows programs (the shipped
# x86 client, x86 test programs, NSIS-made installers, the Inno Setup compiler), and exports the answer
# for the scripts and tests started later: TGC_HOST_32BIT=yes|no, with the reason in TGC_32BIT_REASON.
# TGC_FORCE_NO_32BIT=1 makes it answer "no" on a machine that can, so that path can be tried anywhere.
check_32bit() {
  [ -z "${TGC_HOST_32BIT:-}" ] || return 0
  local said
  TGC_HOST_32BIT=no
  if [ "${TGC_FORCE_NO_32BIT:-0}" = 1 ]; then
    TGC_32BIT_REASON="the check was forced to answer no (TGC_FORCE_NO_32BIT=1)"
  elif [ ! -x "$WINE32" ]; then
    TGC_32BIT_REASON="Wine's 32-bit side (wine32:i386) is not installed"
    local note="$root/third_party/.wine32-unavailable"
    [ ! -s "$note" ] || TGC_32BIT_REASON+="; when it was tried: $(head -n 1 "$note")"
  elif said="$("$WINE32" --version 2>&1 </dev/null)"; then
    TGC_HOST_32BIT=yes
    TGC_32BIT_REASON=
  elif grep -qiE 'exec format error|cannot execute binary' <<<"$said"; then
    TGC_32BIT_REASON="its kernel has no IA-32 emulation"
  else
    TGC_32BIT_REASON="Wine's 32-bit loader does not start: $(head -n 1 <<<"$said")"
  fi
  export TGC_HOST_32BIT TGC_32BIT_REASON
}

# no_32bit_line WHAT: the one plain sentence a script prints where 32-bit programs cannot run.
no_32bit_line() {
  echo "$1: not run here: this machine cannot run 32-bit programs ($TGC_32BIT_REASON)"
}

# prefix_complete DIR: the prefix holds the system DLLs, of both sides where this machine runs 32-bit
# programs. A prefix made before Wine's 32-bit side was installed has no syswow64, and a wineboot that
# failed part way (seen once on a fresh clone: its registry written, its system folders empty) none at
# all. Where 32-bit programs cannot run, syswow64 stays empty whatever wineboot does.
prefix_complete() {
  check_32bit
  [ -f "$1/drive_c/windows/system32/kernel32.dll" ] || return 1
  [ "$TGC_HOST_32BIT" = no ] || [ -f "$1/drive_c/windows/syswow64/kernel32.dll" ]
}

# make_prefix DIR: a ready Wine prefix at DIR (made once, reused afterwards; one that is incomplete is
# made anew, up to three times, with wineboot's messages kept in DIR.wineboot.log).
make_prefix() {
  local dir="$1" attempt
  use_prefix "$dir"
  if [ -f "$dir/system.reg" ] && ! prefix_complete "$dir"; then
    echo "The Wine prefix $dir is incomplete (or was made before Wine's 32-bit side was installed); making it anew ..." >&2
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/system.reg" ]; then
    for attempt in 1 2 3; do
      echo "Preparing the Wine prefix $dir ..." >&2
      mkdir -p "$dir"
      DISPLAY= WINEDEBUG=fixme-all "$WINE" wineboot --init >"$dir.wineboot.log" 2>&1 || true
      "$WINESERVER" -w
      prefix_complete "$dir" && break
      echo "wineboot left $dir incomplete (attempt $attempt; its messages: $dir.wineboot.log)" >&2
      "$WINESERVER" -k >/dev/null 2>&1 || true
      "$WINESERVER" -w >/dev/null 2>&1 || true
      rm -rf "$dir"
    done
    if ! prefix_complete "$dir"; then
      echo "Could not make the Wine prefix $dir." >&2
      return 1
    fi
    # No window manager decorations from the host: Wine draws the caption itself.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
  fi
  # Wine draws the caption buttons with glyphs of its Marlett font; this Wine does not find its own
  # copy (fonts-wine), and without it a close box shows a letter "r".
  local fonts="$dir/drive_c/windows/Fonts"
  if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# start_wineserver: the prefix's server for the rest of the run, started by us and kept until
# stop_wineserver, detached from our pipes (so callers that read a child's output do not wait for it).
# It must be up before any Wine program runs: a program that finds no server starts one of its own,
# and Debian's wineserver wrapper gives that one -p0, so it goes down (with the system processes of
# the prefix) whenever no program is left, and the next test then starts everything anew.
start_wineserver() {
  stop_wineserver  # one left from before, whoever started it
  "$WINESERVER" -f -p </dev/null >/dev/null 2>&1 &
  local server=$! tries=0
  # Listening once its socket exists in the folder it works in.
  until [ -S "/proc/$server/cwd/socket" ]; do
    if ! kill -0 "$server" 2>/dev/null || [ $((tries += 1)) -gt 600 ]; then
      echo "The wineserver for $WINEPREFIX did not start." >&2
      return 1
    fi
    sleep 0.05
  done
  "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# stop_wineserver: ends the prefix's server and its programs, and waits until it is gone, so that a
# server started next never finds the old one still holding the prefix.
stop_wineserver() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
}

# install_fixture_game_center VARIANT: copies the build's stand-in game center VARIANT under the prefix's
# C:\tgc-fixtures (where the C++ tests keep theirs too) and prints its Windows folder. A client with
# administrator rights, as every process under Wine has, refuses a game center in the build folder:
# the Unix folders above it may be writable by everyone (/tmp).
install_fixture_game_center() {
  local target="$WINEPREFIX/drive_c/tgc-fixtures/gc_$1"
  mkdir -p "$target"
  cp -p "$BUILD_DIR/fixtures/gc_$1/tgc.exe" "$target/tgc.exe"
  chmod -R go-w "$WINEPREFIX/drive_c/tgc-fixtures"
  echo "C:\\tgc-fixtures\\gc_$1"
}
