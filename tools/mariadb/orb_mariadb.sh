#!/usr/bin/env bash
# A private MariaDB server for the tests and the agent: its own data directory
# under a temporary folder, reachable only through a Unix socket (no TCP
# port), running as root with the settings the Oracle-dialect data service
# expects (lower-case table names, sql_mode ORACLE, utf8mb4_nopad_bin).
#
#   orb_mariadb.sh start DIR   installs (from a cached template when there is
#                              one) and starts a server in DIR; prints the
#                              socket path
#   orb_mariadb.sh stop DIR    shuts the server of DIR down and removes DIR
#   orb_mariadb.sh kill DIR    kills the server of DIR at once (DIR is kept)
#
# ORB_MARIADB_OWNER (a process id) ties the server to that process: it is shut
# down when the process ends.
# ORB_MARIADB_TEMPLATE names a folder where a freshly installed data directory
# is kept and copied from, so that only the first start pays for the install.
set -euo pipefail

cmd=${1:-}
dir=${2:-}
if [[ -z "$cmd" || -z "$dir" ]]; then
  echo "usage: $0 start|stop|kill DIR" >&2
  exit 2
fi

# The data directory is installed with the redo log size the server runs
# with: a template of the default size (96 MB) would be copied at every
# start and the server would then rewrite the log at its own size.
server_opts() {
  echo --no-defaults --user=root --lower-case-table-names=1 \
       --character-set-server=utf8mb4 --collation-server=utf8mb4_nopad_bin --innodb-log-file-size=16M
}

# Whether process $1 still runs. A process that has ended but is not yet
# reaped (a zombie: its files, sockets and locks are already released)
# counts as ended; the reaper of an orphaned server may take a second.
running() {
  local state
  state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) || return 1
  [[ -n "$state" && "$state" != Z ]]
}

install_into() {
  local data=$1
  mkdir -p "$data" "$data.tmp"
  mariadb-install-db $(server_opts) --datadir="$data" --auth-root-authentication-method=normal \
    --skip-test-db --skip-name-resolve --tmpdir="$data.tmp" >"$data.install.log" 2>&1 || {
    cat "$data.install.log" >&2
    return 1
  }
  rm -rf "$data.tmp"
}

start() {
  local tool
  for tool in mariadbd mariadb-install-db mariadb-admin; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool not found: install mariadb-server (.ci/packages)" >&2; return 1; }
  done
  mkdir -p "$dir"
  local data=$dir/data
  if [[ ! -d "$data/mysql" ]]; then
    if [[ -n "${ORB_MARIADB_TEMPLATE:-}" ]]; then
      mkdir -p "$(dirname "$ORB_MARIADB_TEMPLATE")"
      (
        flock 9
        if [[ ! -d "$ORB_MARIADB_TEMPLATE/mysql" ]]; then
          rm -rf "$ORB_MARIADB_TEMPLATE.tmp"
          install_into "$ORB_MARIADB_TEMPLATE.tmp"
          rm -rf "$ORB_MARIADB_TEMPLATE"
          mv "$ORB_MARIADB_TEMPLATE.tmp" "$ORB_MARIADB_TEMPLATE"
        fi
      ) 9>"$ORB_MARIADB_TEMPLATE.lock"
      cp -a "$ORB_MARIADB_TEMPLATE" "$data"
    else
      install_into "$data"
    fi
  fi
  local sock=$dir/mysqld.sock
  # A temporary folder of its own: a server clears "#sql*" files of its
  # temporary folder when it starts, which would take other servers' files.
  mkdir -p "$dir/tmp"
  # Committed data is written to the files at each commit but not flushed to
  # the disk (no fsync, no doublewrite buffer): it survives the server being
  # killed, only not the machine failing, which a throwaway server need not.
  mariadbd $(server_opts) --innodb-flush-log-at-trx-commit=2 --innodb-doublewrite=0 --datadir="$data" --socket="$sock" --skip-networking --tmpdir="$dir/tmp" \
    --pid-file="$dir/mysqld.pid" --log-error="$dir/mysqld.err" --sql-mode=ORACLE \
    --innodb-buffer-pool-size=32M --skip-log-bin \
    --innodb-lock-wait-timeout=5 --performance-schema=OFF \
    >/dev/null 2>&1 </dev/null &
  local server=$!
  # ORB_MARIADB_OWNER: a process id; when that process ends (even by a
  # crash), the server is shut down and its folder removed.
  if [[ -n "${ORB_MARIADB_OWNER:-}" ]]; then
    (
      while running "$ORB_MARIADB_OWNER" && running "$server"; do sleep 1; done
      if running "$server"; then
        kill -TERM "$server" 2>/dev/null || true
        for ((w = 0; w < 100; w++)); do running "$server" || break; sleep 0.1; done
        kill -KILL "$server" 2>/dev/null || true
        rm -rf "$dir"
      fi
    ) >/dev/null 2>&1 </dev/null &
    disown
  fi
  local i
  for ((i = 0; i < 300; i++)); do
    if [[ -S "$sock" ]] && mariadb-admin --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1; then
      echo "$sock"
      return 0
    fi
    if ! running "$server"; then break; fi
    sleep 0.1
  done
  echo "MariaDB did not start in $dir" >&2
  cat "$dir/mysqld.err" >&2 2>/dev/null || true
  return 1
}

# The pid of DIR's server: the pid file's, when that process is still a
# server of DIR (a stale file may name a pid that another program has now).
server_pid() {
  local pid
  [[ -f "$dir/mysqld.pid" ]] || return 1
  pid=$(cat "$dir/mysqld.pid")
  [[ -n "$pid" ]] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "--datadir=$dir/data" || return 1
  echo "$pid"
}

stop() {
  local pid
  pid=$(server_pid || true)
  if [[ -n "$pid" ]] && running "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    local i
    for ((i = 0; i < 300; i++)); do
      running "$pid" || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

kill_now() {
  local pid
  pid=$(server_pid || true)
  if [[ -n "$pid" ]]; then
    kill -KILL "$pid" 2>/dev/null || true
    while running "$pid"; do sleep 0.05; done
  fi
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  kill) kill_now ;;
  *) echo "unknown command $cmd" >&2; exit 2 ;;
esac
