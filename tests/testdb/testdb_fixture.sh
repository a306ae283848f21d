#!/usr/bin/env bash
# The ctest fixture "MariaDB": one private server for the whole test run.
#
#   testdb_fixture.sh start DIR TEMPLATE   clears what an earlier run left in
#                                          DIR (a server, a socket, lock
#                                          files), then starts a server there
#   testdb_fixture.sh stop DIR             shuts it down and removes DIR
#
# The server is tied to the process that runs the fixture (ctest): when ctest
# ends without its clean-up step (interrupted), the server goes with it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
server="$here/../../tools/mariadb/orb_mariadb.sh"
cmd=${1:-}
dir=${2:-}
if [[ -z "$cmd" || -z "$dir" ]]; then
  echo "usage: $0 start DIR TEMPLATE | stop DIR" >&2
  exit 2
fi
case "$cmd" in
  start)
    bash "$server" stop "$dir"
    ORB_MARIADB_TEMPLATE="${3:?template folder}" ORB_MARIADB_OWNER="$PPID" bash "$server" start "$dir"
    ;;
  stop)
    # The data goes with the server: killed, it need not shut down in order.
    bash "$server" kill "$dir"
    bash "$server" stop "$dir"
    ;;
  *)
    echo "unknown command $cmd" >&2
    exit 2
    ;;
esac
