// Stand-ins for the object store's calls that the schema compiler, the
// comparison and the upgrade applier make (revisions and features, the
// stored index descriptions, the table-change engine, the header write and
// the field calls of the schema writer): the schema suites do not link the
// store. Every call is recorded through the adapter double and answers with
// its script.
#pragma once

#include <string>
#include <vector>

namespace adp_double {

struct stored_index {
  std::string name;
  std::vector<std::string> fields;
  bool unique;
};
// The indexes answered for a type (none unless set).
void set_indexes(long type_id, std::vector<stored_index> indexes);

// Header values answered and changed by the revision calls.
void set_revisions(long schema_rev, long cust_int_rev);
long schema_rev();
long cust_int_rev();
const char* cust_rev();
void set_roamer(bool on);

}  // namespace adp_double

// A fresh adapter double, store double and stand-ins, with the server type
// of a plain server (0).
void schema_double_reset();
