#!/usr/bin/env bash
# The demo's private database: sourced by run.sh and by the tests that run
# the agent on it. Needs ROOT (the repository) and WORK (a folder of its own).
#
#   demo_db_start           a server in $WORK/db, the CRM database loaded, the
#                           application account made; sets DEMO_SOCK
#   demo_db_sql SQL         runs SQL in the CRM database as root (tab-separated
#                           rows, no headers)
#   demo_db_event ID PRIO NAME VERB KEY
#                           an event as the CRM writes it: the event row and
#                           its archive row
#   demo_db_props FILE      the connector's properties for this server
#   demo_db_stop            the server stopped and its folder removed
#
# The CRM database is "sa", where the Oracle-dialect service looks by
# default; the application user "orbisan" (password "orbisan-demo") is a
# CRM user and a database account.

DEMO_DB_NAME=sa
DEMO_USER=orbisan
DEMO_PASSWORD=orbisan-demo

# Every "/" line ends a statement of the set-up script.
demo_db_setup_script() {
  echo "DELIMITER //"
  sed 's#^/$#//#' "$ROOT/platform/dataservice/ora/ora_setup.sql"
  echo "DELIMITER ;"
}

demo_db_client() {
  mariadb --no-defaults --socket="$DEMO_SOCK" -uroot --batch --skip-column-names "$@"
}

demo_db_sql() {
  demo_db_client "$DEMO_DB_NAME" -e "$1"
}

demo_db_start() {
  local owner=${ORB_MARIADB_OWNER:-$$}
  DEMO_SOCK=$(ORB_MARIADB_OWNER=$owner "$ROOT/tools/mariadb/orb_mariadb.sh" start "$WORK/db") || return 1
  demo_db_client -e "CREATE DATABASE $DEMO_DB_NAME CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin;
    CREATE USER '$DEMO_USER'@'localhost' IDENTIFIED BY '$DEMO_PASSWORD';
    GRANT ALL ON $DEMO_DB_NAME.* TO '$DEMO_USER'@'localhost';" || return 1
  {
    echo "SET SESSION sql_mode = 'ORACLE,STRICT_ALL_TABLES';"
    demo_db_setup_script
    cat "$ROOT/tests/data/crm_fixture.sql" "$ROOT/tools/demo/demo_crm.sql"
  } | demo_db_client "$DEMO_DB_NAME" || return 1
}

demo_db_event() {
  local id=$1 prio=$2 name=$3 verb=$4 key=$5
  demo_db_sql "insert into table_orbisan_events values($id, '$name', '$verb', '$key', sysdate, '0', $prio);
    insert into table_orbisan_archive values($id, $id, '$name', '$verb', '$key', 'Pending');"
}

demo_db_props() {
  cat >"$1" <<EOF
ServerName=$DEMO_SOCK
DatabaseName=crm
ApplicationUserName=$DEMO_USER
ApplicationPassword=$DEMO_PASSWORD
EventTableName=orbisan_events
ArchiveTableName=orbisan_archive
PollFrequency=500
AgentTraceLevel=0
EOF
}

demo_db_stop() {
  "$ROOT/tools/mariadb/orb_mariadb.sh" stop "$WORK/db"
}
