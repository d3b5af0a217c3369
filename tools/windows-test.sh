#!/usr/bin/env bash
# Runs the Windows build under wine (builds it first with tools/windows-build.sh when needed):
#   1. the whole unit test suite (tarvelo_tests.exe; ../shared is reached through wine's Z:
#      drive, so run this from a folder outside the wine prefix);
#   2. the registry profile as a user finds it: every setting written by tarvelo-cli.exe into
#      HKEY_CURRENT_USER\Software\Quenby_Software\Tarvelo, checked with `wine reg query` (each
#      section a key, integers REG_DWORD, reals and texts REG_SZ) and read back by the program;
#   3. with a Linux tarvelo-cli given, tools/output-digest.sh with both programs: the outputs of
#      every real scan under every settings variation must be byte-identical.
#
#   tools/windows-test.sh [BUILD_DIR [LINUX_CLI]]    (default build-windows, build/cli/tarvelo-cli)
#
# Wine runs in a prefix of its own (BUILD_DIR/wine, or $WINEPREFIX), whose registry the tests
# may change freely. Extra arguments for the test program: TARVELO_GTEST_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="${1:-build-windows}"
linux_cli="${2:-build/cli/tarvelo-cli}"
[ -f "$build/tests/tarvelo_tests.exe" ] && [ -f "$build/cli/tarvelo-cli.exe" ] || bash tools/windows-build.sh "$build"
build="$(realpath "$build")"

export WINEPREFIX="${WINEPREFIX:-$build/wine}"
export WINEDEBUG=-all
# Wine converts arguments and file names with the locale's character set.
export LC_ALL=C.UTF-8
wine="$(command -v wine64 || true)"
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== preparing the wine prefix $WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
fi
cli="$build/cli/tarvelo-cli.exe"
status=0

echo "== unit tests under wine"
# shellcheck disable=SC2086
if ! "$wine" "$build/tests/tarvelo_tests.exe" --gtest_brief=1 ${TARVELO_GTEST_ARGS:-}; then
  echo "unit tests under wine: FAILED" >&2
  status=1
fi

echo "== registry profile"
key='HKCU\Software\Quenby_Software\Tarvelo'
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(
  set -euo pipefail
  unset TARVELO_PROFILE
  "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
  "$wine" "$cli" settings list | tr -d '\r' >"$work/defaults.txt"
  mapfile -t settings <"$work/defaults.txt"
  [ "${#settings[@]}" -gt 200 ] || { echo "settings list gave ${#settings[@]} lines" >&2; exit 1; }
  # Every setting, then a few with values of their own.
  "$wine" "$cli" settings set "${settings[@]}"
  "$wine" "$cli" settings set "Scanner Settings/ScannerDPI3=250" "Scanner Settings/ScannerOffset3=1.1" \
    "Scanner Settings/PresetName3=Pianola Étude" "Midi Gen Settings/ScanMidiLeadInTime=4"
  "$wine" reg query "$key" /s | tr -d '\r' >"$work/registry.txt"
  # Each listed setting "Section/Key=Value" must be a value of the section's key, an integer
  # as REG_DWORD and anything else as REG_SZ.
  awk -v prefix="HKEY_CURRENT_USER\\\\Software\\\\Quenby_Software\\\\Tarvelo\\\\" '
    FNR == NR { split($0, parts, "="); setting = parts[1]; value = substr($0, length(setting) + 2)
                want[setting] = (value ~ /^-?[0-9]+$/) ? "REG_DWORD" : "REG_SZ"; next }
    index($0, prefix) == 1 { section = substr($0, length(prefix) + 1); next }
    /^    / { n = split(substr($0, 5), field, "    "); found[section "/" field[1]] = field[2] }
    END { bad = 0
          for (s in want) if (found[s] != want[s]) { print "registry: " s " is " (found[s] == "" ? "missing" : found[s]) ", not " want[s]; bad = 1 }
          print "registry: " length(want) " settings checked"; exit bad }' "$work/defaults.txt" "$work/registry.txt"
  grep -q '    ScannerDPI3    REG_DWORD    0xfa$' "$work/registry.txt"
  grep -q '    ScannerOffset3    REG_SZ    1.1$' "$work/registry.txt"
  [ "$("$wine" "$cli" settings get "Scanner Settings/PresetName3" | tr -d '\r')" = "Pianola Étude" ]
  [ "$("$wine" "$cli" settings get "midi gen settings/scanmidileadintime" | tr -d '\r')" = "4" ]
  # A conversion reads its settings from there.
  cp data/sample/SampleRoll.cis "$work/Chopin Étude.cis"
  (cd "$work" && "$wine" "$cli" convert --quiet "Chopin Étude.cis")
  [ -f "$work/Chopin Étude_eRollMIDI.mid" ]
  echo "registry: every setting in $key, read back"
) || { echo "registry profile: FAILED" >&2; status=1; }

if [ -x "$linux_cli" ]; then
  echo "== outputs of the Linux and the Windows program"
  printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine" "$cli" >"$work/tarvelo-cli-wine"
  chmod +x "$work/tarvelo-cli-wine"
  bash tools/output-digest.sh "$linux_cli" >"$work/linux.txt"
  bash tools/output-digest.sh "$work/tarvelo-cli-wine" >"$work/windows.txt"
  if diff "$work/linux.txt" "$work/windows.txt"; then
    echo "outputs: $(grep -vc ' exit=' "$work/linux.txt") digests identical over $(grep -c ' exit=' "$work/linux.txt") runs"
  else
    echo "outputs: the Windows program writes other bytes" >&2
    status=1
  fi
else
  echo "== no Linux tarvelo-cli at $linux_cli: outputs not compared"
fi
exit $status
