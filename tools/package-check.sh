#!/usr/bin/env bash
# Builds the Debian packages tarvelo-cli and tarvelo with CPack and checks them:
#   - their control fields (dependencies computed by dpkg-shlibdeps) and contents, listed;
#   - lintian, which must find nothing but the tags explained below;
#   - tarvelo-cli unpacked alone into a scratch root with `dpkg -x` and run from there: its
#     version, the roll types of the installed library, and a conversion of the bundled sample
#     that must give the same bytes as the build's own program;
#   - tarvelo unpacked over it: its version, desktop-file-validate on its desktop entry, and
#     xdg-mime on .cis files once its file type is in a scratch XDG_DATA_HOME.
#
#   tools/package-check.sh [BUILD_DIR]     (default build-package; the packages land there)
#
# Installs the Debian packages it needs when they are missing. The packages are built with
# Debian's hardening flags (dpkg-buildflags) and the install prefix /usr.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir="$PWD"
build="$(realpath -m "${1:-build-package}")"

packages=(build-essential cmake pkg-config libcli11-dev nlohmann-json3-dev libpng-dev libtiff-dev libjpeg-dev libfreetype-dev
  fonts-dejavu-core qt6-base-dev dpkg-dev lintian desktop-file-utils shared-mime-info xdg-utils
  libfile-mimeinfo-perl)
source tools/install-packages.sh
install_missing "${packages[@]}"

# Build and pack.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
cli_deb="$(ls "$build"/tarvelo-cli_*.deb)"
desktop_deb="$(ls "$build"/tarvelo_*.deb)"

failures=0
fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

for deb in "$cli_deb" "$desktop_deb"; do
  echo "== $(basename "$deb")"
  dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Installed-Size
  dpkg-deb --contents "$deb" | awk '{ print "  " $1, $6, $7, $8 }'
done
dpkg-deb --field "$cli_deb" Depends | grep -q "libqt6" && fail "tarvelo-cli depends on Qt"
dpkg-deb --field "$desktop_deb" Depends | grep -Eq "(^|, )tarvelo-cli \(= " || fail "tarvelo does not depend on tarvelo-cli"
dpkg-deb --field "$desktop_deb" Depends | grep -q "libqt6widgets6" || fail "tarvelo's Qt dependency was not computed"
dpkg-deb --field "$desktop_deb" Depends | grep -q "qt6-qpa-plugins" || fail "tarvelo does not depend on Qt's window system plugins"

# lintian, pedantic. Tags that remain, and why:
#   initial-upload-closes-no-bugs  the changelog's one entry closes no Debian bug: the packages
#                                  are made from the sources, not uploaded to Debian.
suppressed=initial-upload-closes-no-bugs
dpkg-deb --contents "$cli_deb" | grep "share/man/man1/tarvelo-cli.1" >/dev/null || fail "tarvelo-cli has no manual page"
echo "== lintian (suppressed: $suppressed)"
lintian --allow-root --pedantic --fail-on error,warning,pedantic --suppress-tags "$suppressed" --info "$cli_deb" "$desktop_deb" ||
  fail "lintian"

# Unpacked into a scratch root and run from there, the command line alone first.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg -x "$cli_deb" "$root"
cli="$root/usr/bin/tarvelo-cli"
mkdir -p "$scratch/work/out" "$scratch/work/reference"
cd "$scratch/work"
export SOURCE_DATE_EPOCH=0 TARVELO_PROFILE="$scratch/Tarvelo.ini" XDG_CONFIG_HOME="$scratch/config"
echo "== tarvelo-cli from $root"
if "$cli" --version >/dev/null 2>&1; then "$cli" --version; else echo "(no --version yet)"; fi
types="$("$cli" roll-types)" || fail "tarvelo-cli roll-types"
count="$(printf '%s\n' "$types" | grep -c .)"
echo "$count roll types from the installed library"
[ "$count" -gt 1 ] || fail "tarvelo-cli found no roll type library: $types"
[ ! -e /usr/share/tarvelo ] || echo "note: /usr/share/tarvelo exists on this machine; the scratch copy comes first"
"$cli" convert --quiet --output-dir out "$root/usr/share/tarvelo/sample/SampleRoll.cis" ||
  fail "tarvelo-cli could not convert the sample roll"
ls -l out
if [ -x "$source_dir/build/cli/tarvelo-cli" ]; then
  "$source_dir/build/cli/tarvelo-cli" convert --quiet --output-dir reference "$source_dir/data/sample/SampleRoll.cis"
  for output in SampleRoll_ScanImageMIDI.mid SampleRoll_eRollMIDI.mid; do
    cmp -s "out/$output" "reference/$output" || fail "$output differs from build/cli/tarvelo-cli's"
  done
  echo "the outputs are byte for byte those of build/cli/tarvelo-cli"
fi

dpkg -x "$desktop_deb" "$root"
echo "== tarvelo from $root"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$root/usr/bin/tarvelo" --version || fail "tarvelo --version"
# As the desktop entry starts it on a file: the roll is converted on opening.
mkdir desktop
cp "$root/usr/share/tarvelo/sample/SampleRoll.cis" desktop/Roll.CIS
"$root/usr/bin/tarvelo" --screenshot desktop/window.png desktop/Roll.CIS 2>/dev/null || fail "tarvelo Roll.CIS"
for output in Roll_ScanImageMIDI.mid Roll_eRollMIDI.mid window.png; do
  [ -s "desktop/$output" ] || fail "tarvelo Roll.CIS wrote no $output"
done
ls -l desktop
desktop-file-validate "$root/usr/share/applications/tarvelo.desktop" || fail "desktop-file-validate"
mkdir -p "$scratch/data/mime/packages"
cp "$root/usr/share/mime/packages/tarvelo.xml" "$scratch/data/mime/packages/"
XDG_DATA_HOME="$scratch/data" update-mime-database "$scratch/data/mime"
for name in roll.cis ROLL.CIS Roll.Cis roll.txt; do
  cp "$source_dir/data/sample/SampleRoll.cis" "$name"
  type="$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_HOME="$scratch/data" \
    XDG_DATA_DIRS=/usr/local/share:/usr/share xdg-mime query filetype "$name")"
  echo "$name: $type"
  case "$name" in
    *.[cC][iI][sS]) [ "$type" = application/x-tarvelo-cis ] || fail "$name is not a roll scan to xdg-mime" ;;
    *) [ "$type" != application/x-tarvelo-cis ] || fail "$name is taken for a roll scan" ;;
  esac
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "packages checked: $cli_deb $desktop_deb"
