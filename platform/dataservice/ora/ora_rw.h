// Rewrites of the Oracle-dialect SQL the adapter writes into what MariaDB
// runs in its Oracle mode. Each rule is small and works on tokens outside
// string literals, quoted names and comments; a statement no rule fits is
// passed on unchanged, and the server's own error comes back.
//
// Rules, in the order they are applied:
//   1  CREATE/DROP PUBLIC SYNONYM, ALTER SESSION and GRANT ... TO PUBLIC:
//      succeed without running
//   2  DEFAULT EMPTY_CLOB()          -> DEFAULT ''
//   3  a column named sql            -> "sql"
//   4  DELETE t                      -> DELETE FROM t
//   5  SELECT c INTO c FROM T        -> SELECT T.c INTO c FROM T (a local
//                                       variable of a block would hide the column)
//   6  RENAME a TO b                 -> RENAME TABLE a TO b
//   7  INITRANS n ... STORAGE(...)   -> dropped
//   8  begin P(...); end;            -> CALL P(...) (OUT values come back as
//                                       the statement's row)
//   9  sysdate + n / sysdate - n     -> sysdate + INTERVAL n*86400 SECOND, and
//      the midnight form (sysdate+a)-((sysdate+a)-(to_date(to_char(...))))+b
//      -> CAST(DATE(sysdate + INTERVAL a SECOND) AS DATETIME) + INTERVAL b SECOND
//  10  a lone ''                     -> NULL (empty bound texts: see the service)
//  11  markers :B3                   -> ? (the marker numbers are kept in order)
//  12  two top-level statements      -> BEGIN s1; s2; END;
//  13  (errors) 1062                 -> ORA-00001 text, see ora_err.h
//  15  ALTER TABLE t MODIFY (c [NOT] NULL, ...) -> table and columns in
//      result::nulls, for the service to restate with their types
//  16  FROM a, b WHERE a.x = b.y (+) -> FROM a LEFT JOIN b ON a.x = b.y (also
//      a.x (+) = b.y, b.t (+) = 5, several optional tables, CREATE VIEW)
//  17  TO_CHAR(x) of one argument  -> CAST(x AS CHAR)
//  18  DROP INDEX i (Oracle names no table) -> the index in result::
//      drop_index, for the service to add "ON <its table>"
//  19  a literal wholly a date 'MM/DD/YYYY HH24:MI:SS' as the value of an
//      UPDATE's "SET c =" -> TO_DATE(literal, that format); after DEFAULT
//      -> the same date as 'YYYY-MM-DD HH24:MI:SS' (the server takes no
//      stored function in a DEFAULT)
//  20  ALTER INDEX i RENAME TO j -> both names in result::rename_index, for
//      the service to restate as ALTER TABLE <its table> RENAME INDEX i TO j
//  21  COMMIT / ROLLBACK as a statement of a block -> COMMIT AND CHAIN /
//      ROLLBACK AND CHAIN: as on Oracle, the rest of the block runs in a
//      new transaction (which the caller, or the block's own guard, ends)
//      instead of committing statement by statement
//  14  SAVEPOINT / ROLLBACK TO / COMMIT / ROLLBACK are recognised so the
//      service keeps its transaction state (ora_rw_kind); a COMMIT inside a
//      block is followed by the service (see the service's undo_block)
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ora_rw {

// What a statement does to the service's transaction state.
enum class kind { plain, commit, rollback, savepoint, rollback_to, block_call };

struct result {
  std::string sql;            // the text to send
  std::vector<long> markers;  // bind-variable numbers, in the order of the ?s
  bool skip = false;          // rule 1: succeeds without running
  bool block = false;         // a block or CALL: several statements run
  kind what = kind::plain;
  // ALTER TABLE t MODIFY (c NULL, d NOT NULL): the table and each column with
  // true for NOT NULL; MariaDB wants each column's type restated, which the
  // service reads from the catalogue (sql keeps the text as it came).
  std::string table;
  std::vector<std::pair<std::string, bool>> nulls;
  // DROP INDEX i: the index name (an owner before it left out); the service
  // names the table the catalogue gives for it.
  std::string drop_index;
  // ALTER INDEX i RENAME TO j: i and j (owners left out); the service names
  // the table the catalogue gives for i.
  std::pair<std::string, std::string> rename_index;
};

// All rules on one statement.
result rewrite(std::string_view text);

// The number of the marker text (":B3", "b:B3" for a binary value), or -1.
long marker_number(std::string_view marker);

}  // namespace ora_rw
