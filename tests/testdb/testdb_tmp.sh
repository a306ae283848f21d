#!/usr/bin/env bash
# The ctest fixture "TestTmp": the folder the tests of one run write their
# temporary files to (their TMPDIR).
#
#   testdb_tmp.sh start DIR   removes what an earlier, interrupted run left
#                             in DIR and DIR.shared and makes them afresh
#   testdb_tmp.sh stop DIR    names what the tests left in DIR (a test that
#                             does not clean up after itself), removes DIR,
#                             and fails when something was left; removes
#                             DIR.shared (what the tests share on purpose)
set -euo pipefail
cmd=${1:-}
dir=${2:-}
if [[ -z "$cmd" || -z "$dir" ]]; then
  echo "usage: $0 start DIR | stop DIR" >&2
  exit 2
fi
case "$cmd" in
  start)
    rm -rf -- "$dir" "$dir.shared"
    mkdir -p -- "$dir" "$dir.shared"
    ;;
  stop)
    rm -rf -- "$dir.shared"
    [[ -d "$dir" ]] || exit 0
    left=$(cd "$dir" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | sort)
    rm -rf -- "$dir"
    if [[ -n "$left" ]]; then
      echo "tests left these in their temporary folder $dir:" >&2
      echo "$left" | head -n 50 >&2
      echo "($(echo "$left" | wc -l) in all)" >&2
      exit 1
    fi
    ;;
  *)
    echo "unknown command $cmd" >&2
    exit 2
    ;;
esac
