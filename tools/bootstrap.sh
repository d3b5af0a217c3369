#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine (when it is missing), then
# configures and builds Tarvelo in ./build. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libcli11-dev libgtest-dev libgmock-dev nlohmann-json3-dev
          libexpat1-dev libssl-dev midicsv clang-format clang-tidy libpng-dev libtiff-dev libjpeg-dev libfreetype-dev fonts-dejavu-core
          python3-pil pngcheck qt6-base-dev xvfb xauth
          desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
          libfluidsynth-dev libasound2-dev timgm6mb-soundfont sox man-db)
source tools/install-packages.sh
install_missing "${packages[@]}"

# TARVELO_WERROR=ON (as CI sets it) makes every compiler warning an error.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
      -DTARVELO_WERROR="${TARVELO_WERROR:-OFF}"
cmake --build build -j"$(nproc)"
