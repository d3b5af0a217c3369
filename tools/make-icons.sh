#!/usr/bin/env bash
# Makes the program icons of the Windows and macOS builds from the drawn icon
# packaging/tarvelo.svg: packaging/tarvelo.ico (the .exe's icon) and packaging/tarvelo.icns (the
# app bundle's icon). Both are kept in the repository, so a build on those systems needs no
# picture tools; run this again after changing the SVG. Installs the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(librsvg2-bin icoutils icnsutils)
source tools/install-packages.sh
install_missing "${packages[@]}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
render() { rsvg-convert -w "$1" -h "$1" packaging/tarvelo.svg -o "$scratch/icon-$1.png"; }

# Windows shows 16 to 48 pixels in lists and 256 in large views (stored as PNG inside the .ico).
ico_sizes=(16 24 32 48 64 128 256)
for size in "${ico_sizes[@]}"; do render "$size"; done
icotool --create --output="$scratch/tarvelo.ico" \
  $(for size in 16 24 32 48 64 128; do echo "$scratch/icon-$size.png"; done) --raw="$scratch/icon-256.png"

# macOS picks from 16 to 1024 pixels.
icns_sizes=(16 32 48 128 256 512 1024)
for size in "${icns_sizes[@]}"; do [ -f "$scratch/icon-$size.png" ] || render "$size"; done
png2icns "$scratch/tarvelo.icns" $(for size in "${icns_sizes[@]}"; do echo "$scratch/icon-$size.png"; done) >/dev/null

# Replaced whole or not at all.
cp "$scratch/tarvelo.ico" packaging/tarvelo.ico.tmp && mv packaging/tarvelo.ico.tmp packaging/tarvelo.ico
cp "$scratch/tarvelo.icns" packaging/tarvelo.icns.tmp && mv packaging/tarvelo.icns.tmp packaging/tarvelo.icns
echo "made packaging/tarvelo.ico and packaging/tarvelo.icns"
