#!/usr/bin/env bash
# The third-party notices against the client's link map: the real map passes, and the check refuses a
# link that took members from a library without a notice, and notices that lack a linked library's
# section or carry one for a library nothing links.
# Usage: notices.sh <build folder>
set -euo pipefail
build="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
fail() { echo "FAIL: $*" >&2; exit 1; }
map="$build/tgc_client.map"
notices="$root/THIRD-PARTY-NOTICES.txt"
work="$build/notices-test"
rm -rf "$work"
mkdir -p "$work"

"$root/scripts/notices" --check "$notices" "$map" || fail "the notices do not match the client's link"

# Maps that also took something from a library with no notice: zlib, which a toolchain package
# installs beside the runtime, and a library built here that is none of the client's own. They lie
# beside the real map, whose relative paths are the build folder's.
zlib="$(ls /usr/*-w64-mingw32/lib/zlib1.dll 2>/dev/null | head -n 1)"
[ -n "$zlib" ] || fail "no mingw-w64 zlib (libz-mingw-w64) to stand for a new library"
awk -v zlib="$zlib" '{print} $1 == "LOAD" && !done {print "LOAD " zlib; done = 1}' "$map" >"$build/notices-test-with-zlib.map"
awk -v lib="$build/libvendored.a" '{print} /^Archive member included/ {print ""; print lib "(vendored.o)"; print "                              x (vendored)"}' \
  "$map" >"$build/notices-test-with-vendored.map"
trap 'rm -f "$build"/notices-test-with-*.map' EXIT
# Notices without the Boost section, and notices with a section for a library no client links.
awk '/ \[boost\]$/ {sub(/ \[boost\]$/, "")} {print}' "$notices" >"$work/no-boost.txt"
sed 's/^3\. mingw-w64 runtime and winpthreads \[mingw-w64\]$/&\n5. zlib [zlib]/' "$notices" >"$work/extra.txt"
# Notices whose licence text was changed by hand.
sed 's/^Boost Software License - Version 1\.0/Boost Software License - Version 1.1/' "$notices" >"$work/edited.txt"

# case | notices | map | what the refusal must name
while IFS='|' read -r case file with_map expected; do
  if "$root/scripts/notices" --check "$file" "$with_map" >"$work/$case.log" 2>&1; then
    fail "$case: the check passed"
  fi
  grep -qF -- "$expected" "$work/$case.log" || fail "$case: the refusal does not name '$expected': $(cat "$work/$case.log")"
  echo "refused ($case): $(grep -m1 -F -- "$expected" "$work/$case.log")"
done <<EOF
a library from a package without a notice|$notices|$build/notices-test-with-zlib.map|$zlib (from the Debian package libz-mingw-w64, which has no notice)
a library built here without a notice|$notices|$build/notices-test-with-vendored.map|libvendored.a (built here, not a target the notices know)
a linked library without its section|$work/no-boost.txt|$map|no section [boost] for libboost_program_options_min.a
a section for a library no client links|$work/extra.txt|$map|the section [zlib] names a library that no client links
notices edited by hand|$work/edited.txt|$map|is not what scripts/notices writes
EOF
