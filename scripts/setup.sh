#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again: it returns at
# once when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang python3 libclang-rt-14-dev googletest libgtest-dev nodejs
  g++-mingw-w64-x86-64-posix mingw-w64-tools clang-19 lld-19
  wine wine64 xvfb xserver-xephyr xdotool x11-apps imagemagick
  osslsigncode openssl
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
