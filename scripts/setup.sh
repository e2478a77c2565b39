#!/usr/bin/env bash
# Installs what the build, the tests and the main job need on a Debian 12
# machine. Quick when everything is there already. Besides the compilers and
# Wine: a word processor to open the documents we write (LibreOffice, with
# poppler to read its PDFs), a real SMTP server for the bug report's tests
# (with openssl to make its test certificates, and GnuTLS, which Wine's
# Schannel is built on, for the client's TLS), and xdotool to drive windows from outside as a person would.
set -eu
packages=(
  cmake ninja-build git
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  fp-utils-3.2.2
  wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-liberation fonts-wine
  clang libclang-rt-14-dev googletest
  libreoffice-writer-nogui poppler-utils python3-aiosmtpd openssl libgnutls30 xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
