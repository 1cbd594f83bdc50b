#!/usr/bin/env bash
# The include layers of src/: each folder may include itself and the folders listed for it, all
# of them lower in the order below, so nothing runs back up. The README's layout table says the
# same in words; change both together.
#
#   scripts/check-layers.sh [SRC]     check every #include "folder/..." line under SRC (src/)
#   scripts/check-layers.sh --self-test
#                                     plant an upward include in a copy of src/ and make sure
#                                     the check fails on it and passes without it
set -euo pipefail

# Lowest first. A folder's list may name only folders before it.
LAYERS=(platform core storage engine controls maintenance printing forms exchange shell batch app)
declare -A MAY_INCLUDE=(
  [platform]=""
  [core]="platform"
  [storage]="core platform"
  [engine]="core platform"
  [controls]="storage core platform"
  [maintenance]="controls storage core platform"
  [printing]="engine controls storage core platform"
  [forms]="printing maintenance engine controls storage core platform"
  [exchange]="forms storage core platform"
  [shell]="exchange forms printing maintenance engine controls storage core platform"
  [batch]="exchange forms printing engine storage core platform"
  [app]="shell exchange forms printing maintenance engine controls storage core platform"
)

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# The table itself must point only downward.
check_table() {
  local i j folder allowed ok=0
  for i in "${!LAYERS[@]}"; do
    folder=${LAYERS[$i]}
    for allowed in ${MAY_INCLUDE[$folder]}; do
      for j in "${!LAYERS[@]}"; do [[ ${LAYERS[$j]} == "$allowed" ]] && break; done
      if [[ ${LAYERS[$j]} != "$allowed" || $j -ge $i ]]; then
        echo "layer table: $folder may not include $allowed (not below it)" >&2
        ok=1
      fi
    done
  done
  return $ok
}

check_tree() {
  local src=$1 bad=0 file folder target line
  for folder in "$src"/*/; do
    folder=$(basename "$folder")
    if [[ ! -v MAY_INCLUDE[$folder] ]]; then
      echo "$src/$folder: a folder without a layer; add it to scripts/check-layers.sh" >&2
      bad=1
    fi
  done
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([a-z]+)\/.*/\1/' <<<"${line#*:}")
    folder=$(basename "$(dirname "$file")")
    [[ $target == "$folder" ]] && continue
    if [[ " ${MAY_INCLUDE[$folder]:-} " != *" $target "* ]]; then
      echo "${file#"$src"/}: includes $target/, which is not below $folder/" >&2
      bad=1
    fi
  done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$src" \
             --include='*.h' --include='*.cpp' || true)
  return $bad
}

self_test() {
  local tmp
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  cp -r "$here/../src" "$tmp/src"
  if ! check_tree "$tmp/src" 2>"$tmp/clean.log"; then
    echo "self-test: the unchanged tree already fails:" >&2
    cat "$tmp/clean.log" >&2
    return 1
  fi
  echo '#include "shell/FrmMain.h"' >>"$tmp/src/storage/RecordSet.cpp"
  if check_tree "$tmp/src" 2>"$tmp/planted.log"; then
    echo "self-test: an include of shell/ from storage/ was not caught" >&2
    return 1
  fi
  if ! grep -F 'storage/RecordSet.cpp: includes shell/' "$tmp/planted.log" >/dev/null; then
    echo "self-test: the planted include was not named:" >&2
    cat "$tmp/planted.log" >&2
    return 1
  fi
  echo "self-test: the planted upward include was caught"
}

check_table
if [[ ${1:-} == --self-test ]]; then
  self_test
else
  src=${1:-$here/../src}
  check_tree "$src"
  echo "include layers: every folder includes only folders below it"
fi
