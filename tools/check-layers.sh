#!/usr/bin/env bash
# Checks that no folder includes a folder of its own layer or above it (docs/architecture.md).
# The layers, bottom first, are those of tools/layers.txt: folders on one line are side by side
# and do not include each other.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t layers < <(grep '^[a-z]' tools/layers.txt)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
for folder in "${!rank[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file _ include; do
    target="${include#*\"}"
    target="${target%%/*}"
    [ "$target" = "$folder" ] && continue
    [ -n "${rank[$target]+set}" ] || continue
    if [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "layering: $file includes $target/ (layer ${rank[$target]}), not below $folder/ (layer ${rank[$folder]})" >&2
      status=1
    fi
  done < <(grep -rn '^#include "[a-z]*/' "$folder" --include='*.h' --include='*.cpp' || true)
done
[ $status -eq 0 ] && echo "layering: every include points down"
exit $status
