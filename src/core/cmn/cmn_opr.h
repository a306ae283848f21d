// Query operators: the 26 operators a query compares a field with a value
// through, which operators each data type allows (a full and a restricted
// set), their SQL texts and localised names, and the check of a query value
// against a data type.
//
// Threads: the tables are constant; the localised names and the value check follow
// the locale layer and push alerts (cmn_alrt.h), one thread at a time.
#pragma once

#include "core/utl/utl_col.h"
#include "orb_api.h"

constexpr long CMN_OPR_COUNT = 26;
constexpr long CMN_OPR_NOT_EMPTY = 0x100013;  // collection name
constexpr long CMN_OPR_BAD_VALUE = 0x100014;  // operator value
constexpr long CMN_OPR_NO_CONV = 0x10000C;

struct cmn_ty_opr_row {
  const char* english;
  const char* sql;
  long code;  // alert code of the localised name, 0 for none
};

struct cmn_ty_type_opr {
  long type;
  long opr;
};

// The operator table and the full and restricted type-operator tables.
ORB_API const cmn_ty_opr_row* cmn_opr_sql_table();
ORB_API const cmn_ty_type_opr* cmn_type_opr_table(long* count);
ORB_API const cmn_ty_type_opr* cmn_type_opr_perf_table(long* count);

ORB_API long cmn_opr_set_mode(long restricted);
// Fills the empty collections with the operator values (type 512) and
// localised names (type 516) the type allows in the current mode.
ORB_API long cmn_opr_get_operators(long type, utl_ty_col* values, utl_ty_col* names);
ORB_API long cmn_opr_sql_str_byval(long value, const char** sql);
// -1 when the name is no operator's; always 0.
ORB_API long cmn_opr_value_from_str(const char* name, long* value);
ORB_API long cmn_opr_str_opr_chk(long type, const char* name, long* allowed);
ORB_API long cmn_opr_loc_str_from_englstr(const char* english, const char** localised);
// 0, 0x10000C for a blank text of a type other than 670 and 516 (no alert),
// or the result of converting the text to the type.
ORB_API long cmn_opr_check_value(long type, const char* text);
