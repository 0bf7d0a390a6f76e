#!/usr/bin/env bash
# The release package holds exactly what a studio takes from it: both clients as built, the kits and
# the guide as git tracks them, the notices, the changelog (with this version's entry) and one
# SHA256SUMS that covers every other file; its notices match what both clients' links pulled in; and
# it is reproducible: made again on a "signing host" from the unpacked zip (fresh file times, another
# umask), it comes out byte for byte the same.
# Usage: package_contents.sh <build folder>
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib/wine-env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

work="$build/package-test"
rm -rf "$work"
mkdir -p "$work"
TGC_DIST_DIR="$work/dist" "$root/scripts/package" >"$work/package.log" 2>&1 ||
  fail "scripts/package failed: $(tail -n 5 "$work/package.log")"
grep -q '^package: NOT signed' "$work/package.log" || fail "the unsigned package does not say so"
zip="$(ls "$work"/dist/tgc_client-*.zip)"
name="$(basename "$zip" .zip)"
version="${name#tgc_client-}"
(cd "$work/dist" && sha256sum -c --quiet "$name.zip.sha256") || fail "the zip's own sum does not match"

# The entries, exactly.
{
  printf '%s\n' tgc_client.exe x64/tgc_client.exe THIRD-PARTY-NOTICES.txt CHANGELOG.md SHA256SUMS
  git -C "$root" ls-files -- integration docs/integration.md
} | sed "s|^|$name/|" | LC_ALL=C sort >"$work/expected.txt"
unzip -Z1 "$zip" | LC_ALL=C sort >"$work/entries.txt"
diff -u "$work/expected.txt" "$work/entries.txt" >"$work/entries.diff" ||
  fail "the zip does not hold what it should (- missing, + extra): $(grep '^[-+][^-+]' "$work/entries.diff" | tr '\n' ' ')"

# Each entry is the file it comes from.
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
top="$work/unpacked/$name"
cmp -s "$top/tgc_client.exe" "$(arch_build_dir x86)/bin/tgc_client.exe" || fail "tgc_client.exe is not the x86 build's client"
cmp -s "$top/x64/tgc_client.exe" "$(arch_build_dir x64)/bin/tgc_client.exe" || fail "x64/tgc_client.exe is not the x64 build's client"
x86_64-w64-mingw32-objdump -f "$top/tgc_client.exe" | grep -q 'file format pei-i386' || fail "tgc_client.exe is not x86"
while read -r file; do
  cmp -s "$top/$file" "$root/$file" || fail "$file in the zip differs from the tree's"
done < <(sed -n "s|^$name/||p" "$work/entries.txt" | grep -vE '^(x64/)?tgc_client\.exe$|^SHA256SUMS$')
grep -q "^## $version" "$top/CHANGELOG.md" || fail "CHANGELOG.md has no entry for $version"

# SHA256SUMS: every other file, once, and each sum right.
(cd "$top" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match the files"
sed 's/^[0-9a-f]\{64\}  //' "$top/SHA256SUMS" | LC_ALL=C sort >"$work/summed.txt"
grep -v '/SHA256SUMS$' "$work/entries.txt" | sed "s|^$name/||" | diff - "$work/summed.txt" >/dev/null ||
  fail "SHA256SUMS does not list every other file once: $(tr '\n' ' ' <"$work/summed.txt")"

# The notices match both links.
"$root/scripts/notices" --check "$top/THIRD-PARTY-NOTICES.txt" "$(arch_build_dir x86)/tgc_client.map" \
  "$(arch_build_dir x64)/tgc_client.map" | sed 's/^/  /' || fail "the packaged notices do not match the links"

# Fixed times and modes on every entry: the zip says the same whoever made it, whenever.
zipinfo "$zip" | awk 'NF >= 9 && $1 ~ /^-/ && ($1 != "-rw-r--r--" || $7 != "26-Jan-01" || $8 != "00:00") {print; bad = 1} END {exit bad}' ||
  fail "entries with other modes or times (above)"

# Made again from the zip alone, files unpacked anew under another umask: the same bytes.
(umask 0077 && TGC_DIST_DIR="$work/again" "$root/scripts/package" --from "$zip" >"$work/again.log" 2>&1) ||
  fail "scripts/package --from failed: $(tail -n 3 "$work/again.log")"
cmp "$zip" "$work/again/$name.zip" || fail "the package made again from its own zip differs: not reproducible"
echo "$name.zip: $(wc -l <"$work/entries.txt") entries, sums and notices right, made again byte for byte"
