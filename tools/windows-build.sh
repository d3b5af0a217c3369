#!/usr/bin/env bash
# Cross-builds tarvelo-cli.exe and the unit test program for 64-bit Windows with Debian's
# MinGW-w64 compiler (installing the packages it needs when they are missing), and packs
# tarvelo-cli-windows-x86_64.zip: the program, the roll type library and the sample roll.
#
#   tools/windows-build.sh [BUILD_DIR]        (default build-windows)
#
# The programs are linked statically and run alone; tools/windows-test.sh runs them under wine.
# The Windows build has no libpng or FreeType, so tarvelo-cli.exe has no render or histogram.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

packages=(cmake g++-mingw-w64-x86-64-posix wine64 wine googletest libcli11-dev nlohmann-json3-dev)
source tools/install-packages.sh
install_missing "${packages[@]}"

# The header-only libraries, seen through a folder of their own: their CMake files name the
# include folder beside them, and the build machine's /usr/include must not reach the cross
# compiler.
deps="$build/header-only"
mkdir -p "$deps/include" "$deps/share/cmake"
for pair in CLI:CLI11 nlohmann:nlohmann_json; do
  headers="${pair%%:*}" package="${pair##*:}"
  ln -sfn "/usr/include/$headers" "$deps/include/$headers"
  rm -rf "$deps/share/cmake/$package"
  cp -r "/usr/share/cmake/$package" "$deps/share/cmake/$package"
done

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVELO_BUILD_BENCH=OFF -DTARVELO_BUILD_DESKTOP=OFF \
  -DTARVELO_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DCLI11_DIR="$PWD/$deps/share/cmake/CLI11" -Dnlohmann_json_DIR="$PWD/$deps/share/cmake/nlohmann_json"
cmake --build "$build" -j2 --target tarvelo-cli tarvelo_tests

# The zip a Windows user unpacks: tarvelo-cli.exe finds RollTypeDefinitions.xml beside it.
package="$build/tarvelo-cli-windows-x86_64"
rm -rf "$package" "$package.zip"
mkdir -p "$package"
cp "$build/cli/tarvelo-cli.exe" data/RollTypeDefinitions.xml data/sample/SampleRoll.cis "$package/"
x86_64-w64-mingw32-strip "$package/tarvelo-cli.exe"
(cd "$build" && cmake -E tar cf "tarvelo-cli-windows-x86_64.zip" --format=zip "tarvelo-cli-windows-x86_64")
echo "built $build/cli/tarvelo-cli.exe, $build/tests/tarvelo_tests.exe and $package.zip"
