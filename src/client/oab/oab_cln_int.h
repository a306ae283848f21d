// Helpers shared by the calendar files.
#pragma once

#include "core/clk/clk_time.h"

struct dbs_ty_lobj;
struct utl_ty_col;

namespace oab_cln {

clktime add_secs(const clktime& t, long seconds);
long secs_between(const clktime& a, const clktime& b);
long compare(const clktime& a, const clktime& b);
dbs_ty_lobj* object_at(utl_ty_col* col, long i);
clktime time_at(utl_ty_col* col, long i);
clktime time_field(dbs_ty_lobj* o, long field);
long long_field(dbs_ty_lobj* o, long field);
// A collection of clock times (type 609).
long make_times(const char* owner, utl_ty_col** col);

}  // namespace oab_cln
