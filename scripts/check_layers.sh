#!/usr/bin/env bash
# Checks that every folder includes only itself and the folders below it, so that no include
# goes up a layer and no two folders include each other (the linker checks the calls; this
# checks the headers, which the linker cannot see).
set -u
cd "$(dirname "$0")/.."
declare -A allowed=(
  [platform]="platform"
  [numerics]="numerics platform"
  [model]="model numerics platform"
  [state]="state model numerics platform"
  [simulation]="simulation state model numerics platform"
  [analysis]="analysis state model numerics platform"
  [curves]="curves state model numerics platform"
  [fitting]="fitting simulation state model numerics platform"
  [commands]="commands fitting simulation analysis curves state model numerics platform"
  [cli]="cli commands fitting simulation analysis curves state model numerics platform"
  [desktop]="desktop commands fitting simulation analysis curves state model numerics platform"
)
status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$file:$line: $folder/ may not include $target/: $include"
      status=1
    fi
  done < <(grep -nE '^#include "[a-z]+/' -r "$folder" --include='*.h' --include='*.cpp' /dev/null)
done
# Only the desktop program includes Qt: every other layer builds and runs without a toolkit.
toolkit_free=()
for folder in "${!allowed[@]}"; do
  [ "$folder" = desktop ] || toolkit_free+=("$folder")
done
if grep -rlE '#include <Q[A-Za-z]' "${toolkit_free[@]}" 2>/dev/null; then
  echo "Qt is included outside desktop/"
  status=1
fi
[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
