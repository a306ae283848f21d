#!/usr/bin/env bash
# The connector end to end on the demo CRM database:
#
#   bash tools/demo/run.sh [BUILD_DIR]
#
# BUILD_DIR is a build of this checkout (default build-release/, configured
# and built in Release when its agent is missing). A private MariaDB server
# starts in a temporary folder with the demo database; the agent starts the
# connector (init), creates a contact (create_contact.json), the CRM writes
# three events (the new contact's Create, an Update of a seeded contact and
# an Update of the site with two address roles, in that order of priority),
# and one poll delivers them. Standard output: the agent's JSON lines, then
# each archive row as {"archive":ID,"status":S} and {"waiting":N}, the events
# still waiting. The server stops at the end.
#
# Exit status 0 only when init gave 0, the Create gave 1 with the new id in
# ObjId, the three events were delivered in that order and archived
# "Success", and none waits. The connector's error log "orbisan.err" is
# written in the run's folder and shown on standard error at the end.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
[[ "$BUILD" = /* ]] || BUILD=$PWD/$BUILD

if [[ ! -x "$BUILD/orbisan-agent" ]]; then
  if [[ "$BUILD" != "$ROOT/build-release" ]]; then
    echo "run.sh: no orbisan-agent in $BUILD" >&2
    exit 2
  fi
  echo "run.sh: building the agent in $BUILD (Release)" >&2
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBISAN_SANITIZE=OFF \
    -DORBISAN_TESTS=OFF >&2 || exit 2
  cmake --build "$BUILD" -j "$(nproc)" --target orbisan-agent orbisan OraDataSvc >&2 || exit 2
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orbisan-demo.XXXXXX")
# shellcheck source=tools/demo/demo_db.sh
source "$ROOT/tools/demo/demo_db.sh"
# shellcheck source=tools/demo/demo_agent.sh
source "$ROOT/tools/demo/demo_agent.sh"

finish() {
  [[ -s "$WORK/orbisan.err" ]] && { echo "--- $WORK/orbisan.err" >&2; cat "$WORK/orbisan.err" >&2; }
  demo_db_stop >/dev/null 2>&1
  rm -rf "$WORK"
}
trap finish EXIT

ORB_MARIADB_OWNER=$$ demo_db_start >/dev/null || { echo "run.sh: the demo database did not start" >&2; exit 1; }
demo_agent_setup

ok=1
init=$(demo_agent init) || ok=0
echo "$init"
[[ "$init" == '{"init":0,'* ]] || ok=0

created=$(demo_agent request "$ROOT/tools/demo/create_contact.json") || ok=0
echo "$created"
id=$(sed -n 's/^{"status":1,"object":{"name":"Orbisan_Contact".*"values":{"ObjId":"\([0-9][0-9]*\)".*/\1/p' \
  <<<"$created")
[[ -n "$id" ]] || { ok=0; id=0; }

demo_db_event 1 3 "Site:cust_primaddr2address:cust_billaddr2address" Update "S-0001" || ok=0
demo_db_event 2 2 "Contact:ObjId=1" Update "1" || ok=0
demo_db_event 3 1 "Contact:ObjId=$id" Create "$id" || ok=0

delivered=$(demo_agent poll) || ok=0
[[ -n "$delivered" ]] && echo "$delivered"
order=$(sed -n 's/.*"ObjectEventId":"Orbisan_\([0-9]*\)".*/\1/p' <<<"$delivered" | tr '\n' ' ')
[[ "$order" == "3 2 1 " ]] || ok=0

demo_archive_lines || ok=0
exit $((1 - ok))
