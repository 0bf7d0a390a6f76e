#!/usr/bin/env bash
# Runs the display tests on a private X server.
#   run_display_tests.sh <ui_display_tests.exe> <build folder> [test program arguments...]
# TGC_DISPLAY_SCREEN is the screen's size (default 1920x1080); the tests are told its width.
# A wineserver (and its desktop) that was started without a display keeps every later window off
# screen, so the prefix's server is stopped, started again with DISPLAY pointing at our Xvfb for the
# run, and afterwards put back as it was found (running without a display, or not running).
set -uo pipefail

test_exe="$1"
export BUILD_DIR="$2"
shift 2
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib/wine-env.sh"
make_prefix "$BUILD_DIR/wineprefix"

work="$BUILD_DIR/ui-display"
shots="$BUILD_DIR/screenshots"
rm -rf "$work"
mkdir -p "$work" "$shots"

# Wine's fallback browser list points here (the tests set it): it records instead of browsing.
cat >"$work/browser_recorder.sh" <<SCRIPT
#!/bin/sh
echo "\$@" >>"$work/browser.log"
SCRIPT
chmod +x "$work/browser_recorder.sh"

server_was_running=0
if "$WINESERVER" -k >/dev/null 2>&1; then
  server_was_running=1
fi
"$WINESERVER" -w

xvfb_pid=""
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if [ "$server_was_running" = 1 ]; then
    (unset DISPLAY; start_wineserver)
  fi
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to descriptor 3.
screen="${TGC_DISPLAY_SCREEN:-1920x1080}"
export TGC_DISPLAY_WIDTH="${screen%%x*}"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "run_display_tests: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

start_wineserver
# TGC_TEST_LOCALE (such as de_DE.UTF-8) runs the test program, and what it starts, in that language;
# the locale is made once, inside the build folder.
locale_env=()
if [ -n "${TGC_TEST_LOCALE:-}" ]; then
  if [ ! -d "$BUILD_DIR/locale/$TGC_TEST_LOCALE" ]; then
    mkdir -p "$BUILD_DIR/locale"
    localedef -i "${TGC_TEST_LOCALE%%.*}" -f UTF-8 "$BUILD_DIR/locale/$TGC_TEST_LOCALE" || exit 1
  fi
  locale_env=(LOCPATH="$BUILD_DIR/locale" LC_ALL="$TGC_TEST_LOCALE")
fi
# A bound on the whole program, so a misbehaving window can never hang the run (longer on request).
env "${locale_env[@]}" timeout -k 10 "${TGC_DISPLAY_TEST_TIMEOUT:-540}" "$WINE" "$test_exe" "$@"
status=$?

# Screenshots for people to look at.
for shot in "$shots"/*.bmp; do
  [ -e "$shot" ] || continue
  convert "$shot" -strip "${shot%.bmp}.png" && rm -f "$shot"
done
exit "$status"
