// The table-change engine's module values, shared by its files.
#pragma once

#include <vector>

struct utl_ty_col;
struct dbs_ty_tbl_change;
struct typ_sch_srec;

namespace dbs_rdb {

// The collection held at position i of a list of collections (type 517);
// null when there is none.
utl_ty_col* member(utl_ty_col* list, long i);

// The change records of a list (type 701), in list order.
std::vector<dbs_ty_tbl_change*> changes(utl_ty_col* list);

// The generic ids of a type's binary-array fields (the model keeps them
// with its special fields), in order.
std::vector<long> array_gen_ids(const typ_sch_srec* s);

// Maximum size of a table copied table to table (0: no limit).
long max_copy_size();
// Takes the maximum from "UPGRADE_MAX_COPY_SIZE" when it is set (a negative
// value counts as 0) and returns the maximum in force.
long read_max_copy_size();
// The log flush period and the countdown to the next flush.
long& flush_period();
long& flush_countdown();

}  // namespace dbs_rdb
