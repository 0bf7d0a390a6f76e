#!/usr/bin/env bash
# The release package signed with a throwaway code-signing certificate: both executables verify
# against it, sit where a game takes them from with the right architecture, and still start the
# game center under Wine. A wrong password or a missing certificate stops the package with one
# sentence and leaves no zip behind.
# Usage: signed_package.sh <build folder>
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib/wine-env.sh"
[ -n "${WINEPREFIX:-}" ] || use_prefix "$build/wineprefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

work="$build/signing-test"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
echo "correct horse" >password.txt
echo "wrong" >wrong-password.txt
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvo Test Code Signing" \
  -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:password.txt

package() {  # package DIST P12 PASSWORD_FILE: runs scripts/package, its output in DIST.log
  TGC_DIST_DIR="$1" TGC_SIGN_PKCS12="$2" TGC_SIGN_PASSWORD_FILE="$3" "$root/scripts/package" >"$1.log" 2>&1
}

# Refusals: one sentence, a non-zero exit, no zip.
for refusal in "cert.p12 wrong-password.txt" "missing.p12 password.txt" "cert.p12 missing.txt"; do
  read -r p12 pass <<<"$refusal"
  if package "$work/refused" "$p12" "$pass"; then fail "scripts/package signed with $refusal"; fi
  [ "$(grep -c '^package: ' "$work/refused.log")" = 1 ] || fail "no single sentence for $refusal: $(cat "$work/refused.log")"
  if ls "$work/refused"/*.zip* >/dev/null 2>&1; then fail "a zip was left behind for $refusal"; fi
  echo "refused ($refusal): $(grep '^package: ' "$work/refused.log")"
done

package "$work/dist" cert.p12 password.txt || fail "scripts/package failed: $(cat "$work/dist.log")"
grep -q 'signed with cert.p12' "$work/dist.log" || fail "the package does not say it is signed"
zip="$(ls "$work"/dist/tgc_client-*.zip)"
(cd "$work/dist" && sha256sum -c --quiet "$(basename "$zip").sha256") || fail "the zip's sum does not match"
mkdir unpacked
(cd unpacked && unzip -q "$zip")
top="$(ls -d unpacked/tgc_client-*)"

# place, PE format, manifest architecture
for entry in ".:pei-i386:x86" "x64:pei-x86-64:amd64"; do
  IFS=: read -r sub format manifest <<<"$entry"
  exe="$top/$sub/tgc_client.exe"
  [ -f "$exe" ] || fail "no $sub/tgc_client.exe in the zip"
  (cd "$top/$sub" && sha256sum -c --quiet tgc_client.exe.sha256) || fail "the sum of $sub/tgc_client.exe does not match"
  x86_64-w64-mingw32-objdump -f "$exe" | grep -q "file format $format" || fail "$sub/tgc_client.exe is not $format"
  grep -q -a "processorArchitecture=\"$manifest\"" "$exe" || fail "$sub/tgc_client.exe's manifest does not say $manifest"
  verdict="$(osslsigncode verify -CAfile cert.pem -in "$exe" 2>&1 || true)"
  echo "$verdict" | grep -q 'Signature verification: ok' || fail "$sub/tgc_client.exe does not verify: $verdict"
  echo "$sub/tgc_client.exe: $format, manifest $manifest, signature verifies"
done

# The signed clients still start the game center: a stand-in found through the path file.
data="$WINEPREFIX/drive_c/ProgramData/Tarvo/GameCenter/data"
tarvo_existed=0
[ -d "$WINEPREFIX/drive_c/ProgramData/Tarvo" ] && tarvo_existed=1
[ ! -f "$data/tgc_path.dat" ] || fail "a path file is already installed in the test prefix"
cleanup() { rm -f "$data/tgc_path.dat"; [ "$tarvo_existed" = 1 ] || rm -rf "$WINEPREFIX/drive_c/ProgramData/Tarvo"; }
trap cleanup EXIT
mkdir -p "$data"
check_32bit
# The stand-in of this build; where 32-bit programs cannot run, the x64 build's.
fixtures="$build"
[ "$TGC_HOST_32BIT" = yes ] || fixtures="$(arch_build_dir x64)"
printf '%s' "$(BUILD_DIR="$fixtures" install_fixture_game_center 26.0.2.1046)" >"$data/tgc_path.dat"
for sub in . x64; do
  if [ "$sub" = . ] && [ "$TGC_HOST_32BIT" = no ]; then
    echo "tgc_client.exe (signed, x86): verified above; $(no_32bit_line started)"
    continue
  fi
  log="$work/starts-${sub/./x86}.log"
  TGC_FIXTURE_LOG="Z:${log//\//\\}" timeout 60 "$WINE" "$top/$sub/tgc_client.exe" --quiet --update \
    --target-game-folder 'C:\Games\Signed' </dev/null || fail "the signed $sub client failed"
  for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.1; done
  grep -qF -- '--target-game-folder "C:\\Games\\Signed" --update -d "C:\\Games\\Signed"' "$log" ||
    fail "the signed $sub client did not start the game center: $(cat "$log" 2>/dev/null)"
  echo "$sub/tgc_client.exe (signed) started the game center"
done
