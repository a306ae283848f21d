// A schema compiled from the schema language and written through the
// schema layer into a database of the run's MariaDB server (Oracle-dialect
// service): the CRM fixture's tables with an empty dictionary, opened by the
// store, the schema compiled on that session.
#pragma once

#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"

// Object types account (70: a field of every database type, a binary array,
// user-defined and nullable fields, a default, two declared indexes), site
// (71), tag (72), profile (73) and note (74); subobject address (75); view
// account_sites (76, a join over two aliases) and the SQL-defined view
// big_accounts (77). Relations: account2site many-to-one, required and
// indexed (kind + 8); account2tag many-to-many and user-defined (a link
// table); account2profile one-to-one; notes belong to an account or a site
// through the exclusive set "owner" (two key columns owner_id, owner_type).
extern const char kAdpSchE2eSchema[];

class adp_sch_e2e_test : public adp_ora_test {
 protected:
  void SetUp() override;

  // Empties the dictionary of the CRM fixture; with the offline feature the
  // header gets its flag and the dictionary tables their objid and dev
  // columns. Then opens the store's session on it (header flags: search
  // columns, offline when asked) and compiles the schema on that session.
  KAdpConnId* compiled_session(bool offline);
  // The rows of a query, each as its cells joined by "|".
  std::vector<std::string> rows(const std::string& sql);
};
