#!/usr/bin/env bash
# Maps drive D: of the tests' Wine prefix to a fresh folder of the build, or removes that mapping and
# the folder again. Wine follows the prefix's dosdevices links at every lookup, so programs on a
# running wineserver see the drive at once.
# Usage: map_drive_d.sh map|unmap <wine prefix> <folder>
set -euo pipefail
link="$2/dosdevices/d:"
folder="$3"
if [ "$1" = map ] && [ -L "$link" ] && [ "$(readlink "$link")" != "$folder" ]; then
  echo "the prefix maps D: to $(readlink "$link") already" >&2
  exit 1
fi
rm -rf "$folder"
if [ "$1" = map ]; then
  mkdir -p "$folder"
  ln -sfn "$folder" "$link"
elif [ "$(readlink "$link" 2>/dev/null)" = "$folder" ]; then
  rm -f "$link"
fi
