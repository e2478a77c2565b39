#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine; quick when everything is
# there already.
#   scripts/setup.sh          what the build and the main job need: the
#                             cross compilers, Wine, an X server and fonts
#                             (and GoogleTest, which the configuration reads)
#   scripts/setup.sh --tests  that, and what only the tests use: a word
#                             processor to open the documents we write
#                             (LibreOffice, with poppler to read its PDFs), a
#                             native clang for the sanitizer and fuzz builds, a
#                             real SMTP server (with openssl for its test
#                             certificates and GnuTLS, which Wine's Schannel
#                             is built on), xdotool to drive windows from
#                             outside, and the consumers of the graph exports
#                             and the SVG (Graphviz, librsvg, networkx,
#                             jsonschema, xmllint, jq)
# One package per word, so that a package added to either list merges cleanly.
set -eu
packages=(
  cmake ninja-build git
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  fp-utils-3.2.2
  wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-liberation fonts-wine
  googletest
)
test_packages=(
  clang
  libclang-rt-14-dev
  libreoffice-writer-nogui
  poppler-utils
  python3-aiosmtpd
  openssl
  libgnutls30
  xdotool
  graphviz
  librsvg2-bin
  libxml2-utils
  jq
  python3-networkx
  python3-jsonschema
)
for arg in "$@"; do
  case "$arg" in
    --tests) packages+=("${test_packages[@]}") ;;
    *) echo "setup: unknown option $arg (--tests adds what the tests use)" >&2; exit 2 ;;
  esac
done
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
