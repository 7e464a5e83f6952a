#!/usr/bin/env bash
# Makes the signed builds the update cases swap in, with certificates made here and now: no key
# is kept anywhere but in this run's output folder.
#   signed_builds.sh SHELL_EXE OUTPUT_FOLDER
# Writes: running.exe, SHELL_EXE signed under the subject "publisher"; next.exe, the unsigned
# next build (SHELL_EXE with bytes appended, so a different file that still runs); publisher.exe
# and other.exe, next.exe signed under "publisher" and under "other"; publisher-changed.exe,
# publisher.exe with one byte changed after signing.
set -euo pipefail
shell="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$out"
mkdir -p "$out"

cp "$shell" "$out/next.exe"
printf 'appended by the update test' >> "$out/next.exe"

for subject in publisher other; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=wispermoth test $subject/O=$subject" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$out/$subject.key" -out "$out/$subject.crt" 2>/dev/null
  openssl pkcs12 -export -passout pass: -inkey "$out/$subject.key" -in "$out/$subject.crt" -out "$out/$subject.p12"
  cp "$out/next.exe" "$out/$subject.exe"
  "$here/../../scripts/sign.sh" --pkcs12 "$out/$subject.p12" "$out/$subject.exe"
done
cp "$shell" "$out/running.exe"
"$here/../../scripts/sign.sh" --pkcs12 "$out/publisher.p12" "$out/running.exe"

# One byte in the middle of the code, well inside what the signature covers.
cp "$out/publisher.exe" "$out/publisher-changed.exe"
size=$(stat -c %s "$out/publisher-changed.exe")
offset=$((size / 2))
byte=$(od -An -tu1 -j "$offset" -N1 "$out/publisher-changed.exe" | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
  dd of="$out/publisher-changed.exe" bs=1 seek="$offset" conv=notrunc status=none
