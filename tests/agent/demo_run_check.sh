#!/usr/bin/env bash
# Runs tools/demo/run.sh on a build and checks its output line by line: init
# 0; the Create answered 1 with the new contact's id; the three events
# delivered in order of priority (the new contact's Create, the seeded
# contact's Update, the site's Update with its two addresses in role order);
# every archive row "Success"; nothing waiting; exit status 0.
#
#   demo_run_check.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(bash "$root/tools/demo/run.sh" "${1:?build folder}")
status=$?
mapfile -t lines <<<"$out"
failures=0
expect() {  # line number, extended regular expression
  if ! [[ "${lines[$1]:-}" =~ $2 ]]; then
    echo "line $(($1 + 1)): '${lines[$1]:-}' does not match '$2'" >&2
    failures=$((failures + 1))
  fi
}
[[ $status == 0 ]] || { echo "run.sh exit status $status" >&2; failures=$((failures + 1)); }
[[ ${#lines[@]} == 9 ]] || { echo "${#lines[@]} lines instead of 9:" >&2; echo "$out" >&2; failures=$((failures + 1)); }
expect 0 '^\{"init":0,"version":"4\.8\.3"\}$'
expect 1 '^\{"status":1,"object":\{"name":"Orbisan_Contact","verb":"Create",.*"values":\{"ObjId":"([0-9]+)","FirstName":"Erin"'
id=${BASH_REMATCH[1]:-none}
expect 2 "^\\{\"name\":\"Orbisan_Contact\",\"verb\":\"Create\",.*\"values\":\\{\"ObjId\":\"$id\",\"FirstName\":\"Erin\".*\"SiteObjId\":\"1\".*\"ObjectEventId\":\"Orbisan_3\"\\}\\}$"
expect 3 '^\{"name":"Orbisan_Contact","verb":"Update",.*"values":\{"ObjId":"1","FirstName":"Carol".*"ObjectEventId":"Orbisan_2"\}\}$'
expect 4 '^\{"name":"Orbisan_Site","verb":"Update",.*"SiteID":"S-0001".*"Street":"1 Main St".*"AddressRoleType":"cust_primaddr2address".*"Street":"PO Box 77".*"AddressRoleType":"cust_billaddr2address".*"ObjectEventId":"Orbisan_1"\}\}$'
expect 5 '^\{"archive":1,"status":"Success"\}$'
expect 6 '^\{"archive":2,"status":"Success"\}$'
expect 7 '^\{"archive":3,"status":"Success"\}$'
expect 8 '^\{"waiting":0\}$'
if ((failures > 0)); then
  echo "$out" >&2
  exit 1
fi
echo "demo run checked: contact $id created, three events delivered and archived"
