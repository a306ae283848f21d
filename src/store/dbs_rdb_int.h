// The table-change engine's module values, shared by its files.
#pragma once

struct utl_ty_col;

namespace dbs_rdb {

// The collection held at position i of a list of collections (type 517);
// null when there is none.
utl_ty_col* member(utl_ty_col* list, long i);

// Maximum size of a table copied table to table (0: no limit).
long max_copy_size();
// The log flush period and the countdown to the next flush.
long& flush_period();
long& flush_countdown();

}  // namespace dbs_rdb
