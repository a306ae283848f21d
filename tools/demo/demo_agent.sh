#!/usr/bin/env bash
# The agent on the demo database: sourced after demo_db.sh, with BUILD (a
# build folder holding orbisan-agent, liborbisan.so and dataservice/) and
# WORK (the run's folder, the connector's working folder).
#
#   demo_agent_setup        the properties ($WORK/demo.properties) and the CRM
#                           environment file ($WORK/orbisan.env: the "oracle"
#                           driver) for the started server
#   demo_agent ARGS...      orbisan-agent with those files and the demo's
#                           definitions, run in $WORK (the subshell becomes
#                           the agent: a signal to it reaches the agent)
#   demo_agent_bg OUT ERR ARGS...
#                           the same in the background, its output to the
#                           files OUT and ERR; DEMO_AGENT_PID is the agent's
#   demo_archive_lines      each archive row as {"archive":ID,"status":S}, then
#                           {"waiting":N}; fails unless every row says
#                           "Success" and no event waits

demo_agent_setup() {
  demo_db_props "$WORK/demo.properties"
  echo "db_driver=oracle" >"$WORK/orbisan.env"
}

demo_agent() {
  (cd "$WORK" && LD_LIBRARY_PATH="$BUILD/dataservice${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    exec "$BUILD/orbisan-agent" --properties "$WORK/demo.properties" --objects "$ROOT/tools/demo/objects" "$@")
}

demo_agent_bg() {
  local out=$1 err=$2
  shift 2
  (cd "$WORK" && LD_LIBRARY_PATH="$BUILD/dataservice${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    exec "$BUILD/orbisan-agent" --properties "$WORK/demo.properties" --objects "$ROOT/tools/demo/objects" "$@") \
    >"$out" 2>"$err" &
  DEMO_AGENT_PID=$!
}

demo_archive_lines() {
  local rows waiting good=0
  rows=$(demo_db_sql "select event_id, event_status from table_orbisan_archive order by event_id") || return 1
  while IFS=$'\t' read -r id status; do
    [[ -n "$id" ]] || continue
    echo "{\"archive\":$id,\"status\":\"$status\"}"
    [[ "$status" == Success ]] || good=1
  done <<<"$rows"
  waiting=$(demo_db_sql "select count(*) from table_orbisan_events") || return 1
  echo "{\"waiting\":$waiting}"
  [[ "$waiting" == 0 ]] || good=1
  return $good
}
