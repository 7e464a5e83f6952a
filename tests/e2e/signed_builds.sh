#!/usr/bin/env bash
# Makes the signed builds the update cases swap in, with certificates made here and now: no key
# is kept anywhere but in this run's output folder.
#   signed_builds.sh SHELL_EXE OUTPUT_FOLDER
# Writes: running.exe, SHELL_EXE signed under the subject "publisher"; next.exe, the unsigned
# next build (SHELL_EXE with bytes appended, so a different file that still runs); publisher.exe
# and other.exe, next.exe signed under "publisher" and under "other"; publisher-changed.exe,
# publisher.exe with one byte changed after signing; older.exe, next.exe with its file version
# just below, signed under "publisher".
set -euo pipefail
shell="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$out"
mkdir -p "$out"

cp "$shell" "$out/next.exe"
printf 'appended by the update test' >> "$out/next.exe"

# The version resource: its key "VS_VERSION_INFO" (UTF-16), then at 34 bytes on the fixed part,
# which begins with 0xFEEF04BD; the file version's two double words, 8 bytes further, read as one
# number that is lowered by one (0.3.0.0 becomes 0.2.65535.65535). The code holds the same key on
# its own.
cp "$out/next.exe" "$out/older.exe"
python3 - "$out/older.exe" <<'PY'
import re, struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
key = "VS_VERSION_INFO\0".encode("utf-16-le")
fixed = [m.start() + 34 for m in re.finditer(re.escape(key), data)
         if data[m.start() + 34:m.start() + 38] == struct.pack("<I", 0xFEEF04BD)]
assert len(fixed) == 1, "not one version resource"
at = fixed[0] + 8
high, low = struct.unpack_from("<II", data, at)
version = (high << 32 | low) - 1
assert version >= 0, "no version to lower"
struct.pack_into("<II", data, at, version >> 32, version & 0xFFFFFFFF)
open(path, "wb").write(data)
PY

for subject in publisher other; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=wispermoth test $subject/O=$subject" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$out/$subject.key" -out "$out/$subject.crt" 2>/dev/null
  openssl pkcs12 -export -passout pass: -inkey "$out/$subject.key" -in "$out/$subject.crt" -out "$out/$subject.p12"
  cp "$out/next.exe" "$out/$subject.exe"
  "$here/../../scripts/sign.sh" --pkcs12 "$out/$subject.p12" "$out/$subject.exe"
done
"$here/../../scripts/sign.sh" --pkcs12 "$out/publisher.p12" "$out/older.exe"
cp "$shell" "$out/running.exe"
"$here/../../scripts/sign.sh" --pkcs12 "$out/publisher.p12" "$out/running.exe"

# One byte in the middle of the code, well inside what the signature covers.
cp "$out/publisher.exe" "$out/publisher-changed.exe"
size=$(stat -c %s "$out/publisher-changed.exe")
offset=$((size / 2))
byte=$(od -An -tu1 -j "$offset" -N1 "$out/publisher-changed.exe" | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
  dd of="$out/publisher-changed.exe" bs=1 seek="$offset" conv=notrunc status=none
