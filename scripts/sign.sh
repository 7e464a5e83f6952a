#!/usr/bin/env bash
# Signs a built wispermoth.exe with Authenticode, in place, with osslsigncode.
#
#   scripts/sign.sh --pkcs12 FILE.p12 [--password-file FILE] [--timestamp URL] EXE
#   scripts/sign.sh --pkcs11-module MODULE.so --pkcs11-key URI --certificate CERT.pem
#                   [--pkcs11-engine ENGINE.so] [--password-file FILE] [--timestamp URL] EXE
#
# The PKCS#12 file holds the certificate and its key; a token is reached through osslsigncode's
# PKCS#11 engine options, the key named by its PKCS#11 URI ("pkcs11:object=...;type=private").
# A signed build accepts only updates signed under the same certificate subject: see the
# README's section for releasers.
set -euo pipefail

usage() { sed -n '4,6p' "$0" >&2; exit 2; }

pkcs12="" password_file="" timestamp="" module="" engine="" key="" certificate=""
while [ $# -gt 1 ]; do
  case "$1" in
    --pkcs12) pkcs12="$2" ;;
    --password-file) password_file="$2" ;;
    --timestamp) timestamp="$2" ;;
    --pkcs11-module) module="$2" ;;
    --pkcs11-engine) engine="$2" ;;
    --pkcs11-key) key="$2" ;;
    --certificate) certificate="$2" ;;
    *) usage ;;
  esac
  shift 2
done
[ $# -eq 1 ] || usage
executable="$1"

arguments=(sign -h sha256 -n wispermoth)
if [ -n "$pkcs12" ]; then
  arguments+=(-pkcs12 "$pkcs12")
elif [ -n "$module" ] && [ -n "$key" ] && [ -n "$certificate" ]; then
  [ -n "$engine" ] && arguments+=(-pkcs11engine "$engine")
  arguments+=(-pkcs11module "$module" -key "$key" -certs "$certificate")
else
  usage
fi
[ -n "$password_file" ] && arguments+=(-readpass "$password_file")
[ -n "$timestamp" ] && arguments+=(-ts "$timestamp")

# Written beside the executable, then moved over it: a failed signing leaves the build as it was.
signed="$executable.signing"
trap 'rm -f "$signed"' EXIT
osslsigncode "${arguments[@]}" -in "$executable" -out "$signed" >/dev/null
mv -f "$signed" "$executable"
