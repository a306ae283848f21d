#!/usr/bin/env bash
# Checks what liborbisan.so exports (its dynamic symbol table):
#  - no mutable global: no exported data symbol in .data or .bss unless a
#    header declares it ORB_API (a handle the host is specified to read), and
#    no weak or unique object other than C++ type information, virtual tables
#    and the standard library's own constants (std::nullopt and the like);
#  - no internal helper of the multibyte library (names that start with a
#    lower-case "gc", such as gcocx, gccount or gcObjManager; its public
#    interface is GC*), except the memory manager's hook gcInitialize;
#  - from the core runtime, only functions declared ORB_API in src/core
#    headers (every other cmn_, utl_, loc_, osl_, dbg_, clk_ ... name is an
#    internal helper);
#  - and the core's public interface really is exported.
# Usage: orb_exports_check.sh path/to/liborbisan.so path/to/src
# (Under AddressSanitizer each exported global has an "__odr_asan." twin in
# .bss; the global itself is checked, so the twin is passed over.)
set -euo pipefail

lib="${1:?library path}"
src="${2:?source directory}"

command -v nm >/dev/null || { echo "nm not found (package binutils)"; exit 1; }
[ -f "$lib" ] || { echo "no library at $lib"; exit 1; }

# Names the core headers mark for export.
mapfile -t allowed < <(grep -rhoE 'ORB_API[^;{(]*\b[A-Za-z_][A-Za-z0-9_]*[[:space:]]*\(' \
  --include='*.h' "$src/core" | sed -E 's/.*\b([A-Za-z_][A-Za-z0-9_]*)[[:space:]]*\($/\1/' | sort -u)
if [ "${#allowed[@]}" -lt 50 ]; then
  echo "only ${#allowed[@]} ORB_API declarations found under $src/core"
  exit 1
fi
declare -A is_allowed=()
for n in "${allowed[@]}"; do is_allowed[$n]=1; done

# Data any header declares ORB_API (extern ORB_API type name;).
declare -A data_allowed=()
while read -r n; do
  [ -n "$n" ] && data_allowed[$n]=1
done < <(grep -rhoE 'extern[[:space:]]+ORB_API[^;(]*\b[A-Za-z_][A-Za-z0-9_]*[[:space:]]*;' \
           --include='*.h' "$src" | sed -E 's/.*\b([A-Za-z_][A-Za-z0-9_]*)[[:space:]]*;$/\1/')

core_prefix='^(cmn|utl|loc|osl|dbg|clk|cas|bug|prb|bil|vert)_'
fail=0
report() { echo "$1"; fail=1; }

raw="$(nm -D --defined-only "$lib")"
demangled="$(nm -D --defined-only -C "$lib")"
mapfile -t raw_lines <<<"$raw"
mapfile -t dem_lines <<<"$demangled"
exported=()
for i in "${!raw_lines[@]}"; do
  line="${raw_lines[$i]}"
  [ -n "$line" ] || continue
  read -r _ type mangled <<<"$line"
  read -r _ _ name <<<"${dem_lines[$i]}"
  case "$mangled" in __bss_start|_edata|_end|_init|_fini|__odr_asan.*) continue ;; esac
  case "$type" in
    B|b|D|d|G|g|S|s)
      [ -n "${data_allowed[${name##*::}]:-}" ] || report "mutable global exported: $name ($type)" ;;
    V|v|u)
      case "$mangled" in
        _ZTI*|_ZTS*|_ZTV*) ;;
        *) [[ "$name" == std::* ]] || report "global object exported: $name ($type)" ;;
      esac ;;
  esac
  # The unqualified name: what precedes the parameter list, after the last ::.
  base="${name%%(*}"
  base="${base##*::}"
  base="${base##* }"
  if [[ "$base" =~ ^gc ]] && [ "$base" != gcInitialize ]; then
    report "internal helper of the multibyte library exported: $name"
  fi
  if [[ "$base" =~ $core_prefix ]] && [ -z "${is_allowed[$base]:-}" ]; then
    report "core symbol not marked ORB_API exported: $name"
  fi
  exported+=("$base")
done

# The public interface is there (so the rules above were not met by an empty
# table).
declare -A have=()
for n in "${exported[@]}"; do have[$n]=1; done
for n in cmn_alrt_push cmn_typ_install utl_col_make utl_pl_alloc loc_str_get_str \
         osl_sys_get_config_string osl_mem_alloc; do
  [ -n "${have[$n]:-}" ] || report "public function not exported: $n"
done

if [ "$fail" -ne 0 ]; then
  echo "liborbisan.so exports what it should not (see above)"
  exit 1
fi
echo "liborbisan.so: ${#exported[@]} exported symbols checked"
