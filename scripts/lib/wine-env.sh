# Sourced by the scripts: the build folder and a Wine environment that writes only inside it.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$root/build}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$root/$BUILD_DIR" ;; esac
export BUILD_DIR

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

# make_prefix DIR: a ready Wine prefix at DIR (made once, reused afterwards).
make_prefix() {
  local dir="$1"
  use_prefix "$dir"
  if [ ! -f "$dir/system.reg" ]; then
    echo "Preparing the Wine prefix $dir ..." >&2
    mkdir -p "$dir"
    DISPLAY= "$WINE" wineboot --init >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # No window manager decorations from the host: Wine draws the caption itself.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
  fi
}

# start_wineserver: a persistent server detached from our pipes, so callers that read
# a child's output do not wait for the server to exit.
start_wineserver() {
  "$WINESERVER" -p30 </dev/null >/dev/null 2>&1 &
  sleep 0.3
  "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wineserver() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
}
