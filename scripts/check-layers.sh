#!/usr/bin/env bash
# The library's folders are layers: a file may include headers of its own
# folder and of the folders below it, never of a folder above it or beside
# it. The bundled analysis engine stands on the library's ground floors only.
#   scripts/check-layers.sh        (from the repository root)
# Prints each include that breaks the order and fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

# Each folder's floor; folders on one floor may not include one another.
declare -A floor=(
  [platform]=0 [util]=1 [model]=2 [elements]=3 [loads]=3 [document]=4
  [writers]=5 [results]=5 [json]=5 [solver]=5 [analysis]=3 [plot]=2
  [qt]=6
)

folder_of() {
  case $1 in
    src/tav/*/*) local rest=${1#src/tav/}; echo "${rest%%/*}" ;;
    src/analysis/*) echo analysis ;;
    *) echo "" ;;
  esac
}

status=0
while IFS= read -r file; do
  from=$(folder_of "$file")
  [[ -z $from ]] && continue
  if [[ -z ${floor[$from]+x} ]]; then
    echo "$file: the folder $from has no floor in scripts/check-layers.sh"
    status=1
    continue
  fi
  while IFS=: read -r line target; do
    case $target in
      tav/*/*) to=${target#tav/}; to=${to%%/*} ;;
      analysis/*) to=analysis ;;
      *) continue ;;
    esac
    [[ $to == "$from" ]] && continue
    if [[ -z ${floor[$to]+x} || ${floor[$to]} -ge ${floor[$from]} || ($from == analysis && ${floor[$to]} -gt 2) ]]; then
      echo "$file:$line: $from includes $target, which is not below it"
      status=1
    fi
  done < <(grep -n '^#include "' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(find src -name '*.h' -o -name '*.cpp' | sort)
exit $status
