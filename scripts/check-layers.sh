#!/usr/bin/env bash
# Folders read bottom to top: a file includes only from its own layer or the layers below it.
# Prints every include that reaches up and exits 1 when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
order=(core/log core/model core/device core/channel core/events core/config core/input core/driver
       platform tools agent settings helper)
rank() {
  local i
  for i in "${!order[@]}"; do
    case "$1" in "${order[$i]}"/*) echo "$i"; return ;; esac
  done
  echo -1
}
bad=0
while IFS= read -r line; do
  file=${line%%:*}
  target=$(sed -n 's/.*#include "\([^"]*\)".*/\1/p' <<<"${line#*:}")
  from=$(rank "$file"); to=$(rank "$target")
  if [ "$from" -ge 0 ] && [ "$to" -gt "$from" ]; then
    echo "$file includes $target from a layer above it"
    bad=1
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "${order[@]}" 2>/dev/null | cut -d: -f1,3-)
exit "$bad"
