// Stand-ins for the object store's upgrade calls (revisions, features,
// schema writing, currency flags, the table-change engine) while the store
// is not part of the schema suites. Every call is recorded through the
// double and answers with its script.
#pragma once

namespace adp_double {

// Header values answered and changed by the revision calls.
void set_revisions(long schema_rev, long cust_int_rev);
long schema_rev();
long cust_int_rev();
const char* cust_rev();
void set_roamer(bool on);
void store_reset();

}  // namespace adp_double
