#!/usr/bin/env bash
# Checks the layering of the core runtime by the headers each module's files
# include: a module may include only itself and the modules below it (cmn
# and utl are one layer: collections raise alerts, operators fill collections).
#   msg (positional message formatter)  : nothing
#   osl (OS layer)                      : nothing
#   loc (message lists, locale layer)   : msg, osl
#   cmn (alerts, subsystems, registry)  : msg, osl, loc, and utl for the
#                                         collections its query operators fill
#   utl (memory, collections, strings)  : msg, osl, loc, cmn
#   clk (clock time, zones, clock texts): msg, osl, loc, cmn, utl
# Usage: orb_layers_check.sh path/to/src
set -euo pipefail
src="${1:?source directory}"
declare -A allowed=(
  [msg]="msg"
  [osl]="osl"
  [loc]="loc msg osl"
  [cmn]="cmn msg osl loc utl"
  [utl]="utl msg osl loc cmn"
  [clk]="clk msg osl loc cmn utl"
)
fail=0
for module in "${!allowed[@]}"; do
  dir="$src/core/$module"
  [ -d "$dir" ] || { echo "missing module directory $dir"; fail=1; continue; }
  while IFS=: read -r file used; do
    ok=0
    for a in ${allowed[$module]}; do [ "$used" = "$a" ] && ok=1; done
    if [ "$ok" -eq 0 ]; then
      echo "$file: module $module includes core/$used (allowed: ${allowed[$module]})"
      fail=1
    fi
  done < <(grep -oE '#include "core/[a-z_]+/' "$dir"/*.h "$dir"/*.cpp 2>/dev/null |
           sed -E 's|#include "core/([a-z_]+)/|\1|')
done
[ "$fail" -eq 0 ] && echo "core layering holds"
exit "$fail"
