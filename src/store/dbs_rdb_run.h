// Internal to carrying out table changes.
#pragma once

// After a successful statement: counts down and flushes the adapter's log
// when the flush period is reached (not in a dry run, option 1).
long dbs_rdb_check_for_dump(long options);
