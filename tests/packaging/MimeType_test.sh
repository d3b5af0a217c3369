#!/usr/bin/env bash
# The roll scan file type, installed into a scratch XDG_DATA_HOME: files ending in .cis are
# application/x-tarvelo-cis whatever the case of the extension, and the same bytes under another
# name are not (the type goes by the name alone).
#   MimeType_test.sh tarvelo-mime.xml SAMPLE.cis
set -euo pipefail
definition="$1" sample="$2"
for tool in update-mime-database xdg-mime mimetype; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is missing (Debian: shared-mime-info, xdg-utils, libfile-mimeinfo-perl)"
    exit 77
  fi
done
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data/mime/packages" "$scratch/files"
cp "$definition" "$scratch/data/mime/packages/tarvelo.xml"
XDG_DATA_HOME="$scratch/data" update-mime-database "$scratch/data/mime"

# xdg-mime asks the desktop's own tools when it finds a desktop session; without one it asks
# mimetype, which reads the shared MIME database of XDG_DATA_HOME and XDG_DATA_DIRS.
query() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS=/usr/local/share:/usr/share xdg-mime query filetype "$1"
}
failures=0
for name in roll.cis ROLL.CIS Roll.Cis "Chopin Étude.cis"; do
  cp "$sample" "$scratch/files/$name"
  type="$(query "$scratch/files/$name")"
  if [ "$type" != "application/x-tarvelo-cis" ]; then
    echo "$name: $type, not application/x-tarvelo-cis"
    failures=$((failures + 1))
  fi
done
for name in roll.bin roll.cis.bak roll.cisx; do
  cp "$sample" "$scratch/files/$name"
  type="$(query "$scratch/files/$name")"
  if [ "$type" = "application/x-tarvelo-cis" ]; then
    echo "$name: taken for a roll scan"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo "ok: .cis files in any case, and nothing else"
exit "$((failures > 0))"
