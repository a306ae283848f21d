// The table-change engine's module values, shared by its files.
#pragma once

namespace dbs_rdb {

// Maximum size of a table copied table to table (0: no limit).
long max_copy_size();
// The log flush period and the countdown to the next flush.
long& flush_period();
long& flush_countdown();

}  // namespace dbs_rdb
