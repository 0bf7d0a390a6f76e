#!/usr/bin/env bash
# The release package signed with throwaway keys, both ways a studio signs: a PKCS#12 file while
# building, and a key on a PKCS#11 token (SoftHSM) with an RFC 3161 timestamp from a server on
# 127.0.0.1 (openssl ts), on a "signing host" that takes the unsigned package built elsewhere. Both
# executables verify against the certificate (the token-signed ones with their timestamp), sit where a
# game takes them from with the right architecture, match SHA256SUMS, and still start the game center
# under Wine. Every refusal (wrong password or PIN, missing file or key, incomplete token settings, no
# timestamp server) is one sentence and leaves no zip behind.
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
server=
data="$WINEPREFIX/drive_c/ProgramData/Tarvo/GameCenter/data"
tarvo_existed=0
[ -d "$WINEPREFIX/drive_c/ProgramData/Tarvo" ] && tarvo_existed=1
path_file_ours=0
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  if [ "$path_file_ours" = 1 ]; then
    rm -f "$data/tgc_path.dat"
    [ "$tarvo_existed" = 1 ] || rm -rf "$WINEPREFIX/drive_c/ProgramData/Tarvo"
  fi
}
trap cleanup EXIT

# The studio's code-signing certificate, as a PKCS#12 file and as a key on a software token.
echo "correct horse" >password.txt
echo "wrong" >wrong-password.txt
echo 4711 >pin.txt
echo 1234 >wrong-pin.txt
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvo Test Code Signing" \
  -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:password.txt
mkdir tokens
printf 'directories.tokendir = %s/tokens\nobjectstore.backend = file\nlog.level = ERROR\n' "$work" >softhsm2.conf
export SOFTHSM2_CONF="$work/softhsm2.conf"
softhsm2-util --init-token --free --label tgc-test --pin "$(cat pin.txt)" --so-pin 87654321 >/dev/null
openssl pkcs8 -topk8 -nocrypt -in key.pem -out key.pk8
softhsm2-util --import key.pk8 --token tgc-test --label signing --id 01 --pin "$(cat pin.txt)" >/dev/null
module="$(ls /usr/lib/softhsm/libsofthsm2.so /usr/lib/*/softhsm/libsofthsm2.so 2>/dev/null | head -n 1)"
[ -n "$module" ] || fail "SoftHSM's PKCS#11 module is not installed (softhsm2)"
key="pkcs11:token=tgc-test;object=signing;type=private"

# The timestamp authority: its own certificate (time stamping only) and openssl ts behind HTTP.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvo Test Timestamps" \
  -addext "extendedKeyUsage=critical,timeStamping" -addext "keyUsage=critical,digitalSignature" \
  -keyout tsa-key.pem -out tsa-cert.pem 2>/dev/null
echo 01 >tsa-serial
cat >tsa.cnf <<EOF
[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = $work/tsa-serial
signer_cert = $work/tsa-cert.pem
signer_key = $work/tsa-key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
python3 "$here/timestamp_server.py" tsa.cnf tsa-port 2>tsa-server.log &
server=$!
for _ in $(seq 100); do [ -s tsa-port ] && break; sleep 0.05; done
[ -s tsa-port ] || fail "the timestamp server did not start: $(cat tsa-server.log)"
tsa="http://127.0.0.1:$(cat tsa-port)"

# package NAME [--from ZIP] [VAR=VALUE...]: scripts/package into NAME/, its output in NAME.log, with
# only the signing settings given.
package() {
  local dist="$work/$1" args=()
  shift
  if [ "${1:-}" = --from ]; then args=(--from "$2"); shift 2; fi
  env -u TGC_SIGN_PKCS12 -u TGC_SIGN_PKCS11_KEY -u TGC_SIGN_PKCS11_MODULE -u TGC_SIGN_CERTS \
    -u TGC_SIGN_PASSWORD_FILE -u TGC_SIGN_TIMESTAMP_URL TGC_DIST_DIR="$dist" "$@" \
    "$root/scripts/package" "${args[@]}" >"$dist.log" 2>&1
}

package unsigned || fail "scripts/package failed: $(tail -n 5 "$work/unsigned.log")"
unsigned="$(ls "$work"/unsigned/tgc_client-*.zip)"
token=(TGC_SIGN_PKCS11_KEY="$key" TGC_SIGN_PKCS11_MODULE="$module" TGC_SIGN_CERTS=cert.pem)

# Refusals, on the signing host's path: one sentence, a non-zero exit, no zip.
while IFS='|' read -r case settings; do
  read -r -a assignments <<<"$settings"
  if package refused --from "$unsigned" "${assignments[@]}"; then fail "scripts/package signed with $case"; fi
  [ "$(grep -c '^package: ' "$work/refused.log")" = 1 ] || fail "no single sentence for $case: $(cat "$work/refused.log")"
  if ls "$work/refused"/*.zip* >/dev/null 2>&1; then fail "a zip was left behind for $case"; fi
  echo "refused ($case): $(grep '^package: ' "$work/refused.log")"
done <<EOF
a wrong PKCS#12 password|TGC_SIGN_PKCS12=cert.p12 TGC_SIGN_PASSWORD_FILE=wrong-password.txt
a missing PKCS#12 file|TGC_SIGN_PKCS12=missing.p12 TGC_SIGN_PASSWORD_FILE=password.txt
a missing password file|TGC_SIGN_PKCS12=cert.p12 TGC_SIGN_PASSWORD_FILE=missing.txt
a token key without its certificate|TGC_SIGN_PKCS11_KEY=$key TGC_SIGN_PKCS11_MODULE=$module TGC_SIGN_PASSWORD_FILE=pin.txt
a wrong PIN|${token[*]} TGC_SIGN_PASSWORD_FILE=wrong-pin.txt
a key the token does not hold|${token[*]/object=signing/object=other} TGC_SIGN_PASSWORD_FILE=pin.txt
no timestamp server answering|${token[*]} TGC_SIGN_PASSWORD_FILE=pin.txt TGC_SIGN_TIMESTAMP_URL=http://127.0.0.1:9
EOF

# Signed while building, with the PKCS#12 file; on the signing host, with the token and a timestamp.
package p12 TGC_SIGN_PKCS12=cert.p12 TGC_SIGN_PASSWORD_FILE=password.txt ||
  fail "scripts/package failed: $(cat "$work/p12.log")"
grep -q 'signed with cert.p12' "$work/p12.log" || fail "the package does not say it is signed"
grep -q 'have NO timestamp' "$work/p12.log" || fail "the package does not say its signatures have no timestamp"
package token --from "$unsigned" "${token[@]}" TGC_SIGN_PASSWORD_FILE=pin.txt TGC_SIGN_TIMESTAMP_URL="$tsa" ||
  fail "scripts/package --from with the token failed: $(cat "$work/token.log")"
grep -q "signed with the token key $key" "$work/token.log" || fail "the package does not say it is signed with the token"
grep -q "timestamped ($tsa)" "$work/token.log" || fail "the package does not say it is timestamped"
[ "$(grep -c '"POST' tsa-server.log)" -ge 2 ] || fail "the timestamp server was not asked for both clients"

check_32bit
# The stand-in of this build; where 32-bit programs cannot run, the x64 build's.
fixtures="$build"
[ "$TGC_HOST_32BIT" = yes ] || fixtures="$(arch_build_dir x64)"
[ ! -f "$data/tgc_path.dat" ] || fail "a path file is already installed in the test prefix"
path_file_ours=1
mkdir -p "$data"
printf '%s' "$(BUILD_DIR="$fixtures" install_fixture_game_center 26.0.2.1046)" >"$data/tgc_path.dat"

for signed in p12 token; do
  zip="$(ls "$work/$signed"/tgc_client-*.zip)"
  (cd "$work/$signed" && sha256sum -c --quiet "$(basename "$zip").sha256") || fail "$signed: the zip's sum does not match"
  mkdir "unpacked-$signed"
  (cd "unpacked-$signed" && unzip -q "$zip")
  top="$(ls -d "unpacked-$signed"/tgc_client-*)"
  (cd "$top" && sha256sum -c --quiet SHA256SUMS) || fail "$signed: SHA256SUMS does not match the signed files"
  # place, PE format, manifest architecture, signature (and timestamp)
  for entry in ".:pei-i386:x86" "x64:pei-x86-64:amd64"; do
    IFS=: read -r sub format manifest <<<"$entry"
    exe="$top/$sub/tgc_client.exe"
    [ -f "$exe" ] || fail "$signed: no $sub/tgc_client.exe in the zip"
    x86_64-w64-mingw32-objdump -f "$exe" | grep -q "file format $format" || fail "$signed: $sub/tgc_client.exe is not $format"
    grep -q -a "processorArchitecture=\"$manifest\"" "$exe" || fail "$signed: $sub/tgc_client.exe's manifest does not say $manifest"
    verdict="$(osslsigncode verify -CAfile cert.pem -TSA-CAfile tsa-cert.pem -in "$exe" 2>&1 || true)"
    echo "$verdict" | grep -q '^Signature verification: ok' || fail "$signed: $sub/tgc_client.exe does not verify: $verdict"
    stamped=no
    echo "$verdict" | grep -q '^Timestamp Server Signature verification: ok' && stamped=yes
    [ "$stamped" = "$([ "$signed" = token ] && echo yes || echo no)" ] ||
      fail "$signed: $sub/tgc_client.exe timestamped: $stamped: $verdict"
    echo "$signed: $sub/tgc_client.exe: $format, manifest $manifest, signature verifies$([ $stamped = yes ] && echo ', timestamp verifies')"
  done
  # The signed clients still start the game center: a stand-in found through the path file.
  for sub in . x64; do
    if [ "$sub" = . ] && [ "$TGC_HOST_32BIT" = no ]; then
      echo "$signed: tgc_client.exe (x86): verified above; $(no_32bit_line started)"
      continue
    fi
    log="$work/starts-$signed-${sub/./x86}.log"
    # As a standard user: under Wine every program is an administrator, whose client trusts no file
    # of the prefix's own user, and the stand-in is one.
    TGC_FIXTURE_LOG="Z:${log//\//\\}" timeout 60 "$WINE" "$fixtures/fixtures/standard_user/standard_user.exe" \
      "$(wine_path "$top/$sub/tgc_client.exe")" --quiet --update \
      --target-game-folder 'C:\Games\Signed' </dev/null || fail "the $signed-signed $sub client failed"
    for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.1; done
    grep -qF -- '--target-game-folder "C:\\Games\\Signed" --update -d "C:\\Games\\Signed"' "$log" ||
      fail "the $signed-signed $sub client did not start the game center: $(cat "$log" 2>/dev/null)"
    echo "$signed: $sub/tgc_client.exe started the game center"
  done
done
