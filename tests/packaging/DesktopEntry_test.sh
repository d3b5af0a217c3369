#!/usr/bin/env bash
# The desktop entry passes desktop-file-validate and says what the menus and file managers need:
# it runs tarvelo on the file it is given, in the Music menu, for roll scans.
#   DesktopEntry_test.sh tarvelo.desktop
set -euo pipefail
entry="$1"
if ! command -v desktop-file-validate >/dev/null; then
  echo "skipped: desktop-file-validate is missing (Debian: desktop-file-utils)"
  exit 77
fi
problems="$(desktop-file-validate "$entry" 2>&1)" || true
if [ -n "$problems" ]; then
  echo "desktop-file-validate: $problems"
  exit 1
fi
for line in "Exec=tarvelo %f" "Categories=AudioVideo;Music;" "MimeType=application/x-tarvelo-cis;" "Icon=tarvelo"; do
  grep -qxF "$line" "$entry" || { echo "$entry lacks the line $line"; exit 1; }
done
echo "ok: $entry"
