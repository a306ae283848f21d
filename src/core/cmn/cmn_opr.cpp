// Query operators and their tables.
#include "core/cmn/cmn_opr.h"

#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_st.h"

namespace {

constexpr long kRelation = 670;

constexpr long msg(long n) { return 0x100000 + n; }

const cmn_ty_opr_row cmn_opr_rows[CMN_OPR_COUNT] = {
    {"greater than", ">", msg(171)},
    {"greater than or equal to", ">=", msg(172)},
    {"less than", "<", msg(173)},
    {"less than or equal to", "<=", msg(174)},
    {"is equal to", "=", msg(175)},
    {"is not equal to", "!=", msg(176)},
    {"starts with", "LIKE", msg(177)},
    {"ends with", "LIKE", msg(178)},
    {"contains", "LIKE", msg(179)},
    {"is in", "IN", msg(180)},
    {"between", "BETWEEN", msg(181)},
    {"does not start with", "NOT LIKE", msg(182)},
    {"does not end with", "NOT LIKE", msg(183)},
    {"does not contain", "NOT LIKE", msg(184)},
    {"not between", "NOT BETWEEN", msg(185)},
    {"is not in", "NOT IN", msg(186)},
    {"sounds like", "sounds like", msg(187)},
    {"exists", "IS NOT NULL", msg(188)},
    {"does not exist", "IS NULL", msg(189)},
    {"today", ">=", msg(190)},
    {"yesterday", ">=", msg(191)},
    {"within last (days)", ">=", msg(192)},
    {"within last (hours)", ">=", msg(193)},
    {"exists", "IS NOT NULL", msg(196)},
    {"does not exist", "IS NULL", msg(197)},
    {"subqry not in", "NOT IN", 0},
};

const cmn_ty_type_opr cmn_type_opr_full[] = {
    {516, 6},  {516, 7},  {516, 8},  {516, 9},  {516, 4},  {516, 5},  {516, 11}, {516, 12}, {516, 13},
    {516, 15}, {516, 16}, {512, 0},  {512, 1},  {512, 2},  {512, 3},  {512, 4},  {512, 5},  {512, 9},
    {512, 15}, {512, 25}, {514, 0},  {514, 1},  {514, 2},  {514, 3},  {514, 4},  {514, 5},  {766, 0},
    {766, 1},  {766, 2},  {766, 3},  {766, 4},  {766, 5},  {609, 0},  {609, 1},  {609, 2},  {609, 10},
    {609, 14}, {609, 19}, {609, 20}, {609, 21}, {609, 22}, {670, 17}, {670, 18}, {597, 23}, {597, 24},
};

const cmn_ty_type_opr cmn_type_opr_perf[] = {
    {516, 6},  {516, 9},  {516, 4},  {516, 5},  {516, 11}, {516, 15}, {512, 0},  {512, 1},  {512, 2},
    {512, 3},  {512, 4},  {512, 5},  {512, 9},  {512, 10}, {512, 14}, {512, 15}, {514, 0},  {514, 1},
    {514, 2},  {514, 3},  {514, 4},  {514, 5},  {514, 9},  {514, 10}, {514, 14}, {514, 15}, {766, 0},
    {766, 1},  {766, 2},  {766, 3},  {766, 4},  {766, 5},  {766, 9},  {766, 10}, {766, 14}, {766, 15},
    {609, 0},  {609, 2},  {609, 10}, {609, 14}, {609, 19}, {609, 20}, {609, 21}, {609, 22}, {670, 17},
    {670, 18}, {597, 23}, {597, 24},
};

constexpr long kFull = sizeof cmn_type_opr_full / sizeof cmn_type_opr_full[0];
constexpr long kPerf = sizeof cmn_type_opr_perf / sizeof cmn_type_opr_perf[0];
static_assert(kFull == 45 && kPerf == 48);

unsigned char cmn_type_opr_is_restricted = 0;

// The localised name of a row, or null when it has none.
const char* localised(const cmn_ty_opr_row& row) {
  if (row.code == 0) return nullptr;
  const char* text = nullptr;
  return cmn_alrt_get_msg(row.code, &text) == 0 ? text : nullptr;
}

bool blank(const char* text) {
  for (; *text != '\0'; ++text) {
    if (*text != ' ' && *text != '\t') return false;
  }
  return true;
}

long not_empty(const char* name) {
  cmn_alrt_push(nullptr, "cmn_opr_get_operators", CMN_OPR_NOT_EMPTY, 1, name);
  return CMN_OPR_NOT_EMPTY;
}

}  // namespace

const cmn_ty_opr_row* cmn_opr_sql_table() { return cmn_opr_rows; }

const cmn_ty_type_opr* cmn_type_opr_table(long* count) {
  if (count != nullptr) *count = kFull;
  return cmn_type_opr_full;
}

const cmn_ty_type_opr* cmn_type_opr_perf_table(long* count) {
  if (count != nullptr) *count = kPerf;
  return cmn_type_opr_perf;
}

long cmn_opr_set_mode(long restricted) {
  cmn_type_opr_is_restricted = restricted != 0 ? 1 : 0;
  return 0;
}

long cmn_opr_get_operators(long type, utl_ty_col* values, utl_ty_col* names) {
  long n = 0;
  if (long rc = utl_col_num(values, &n)) return rc;
  if (n != 0) return not_empty("opr_val_col");
  if (long rc = utl_col_num(names, &n)) return rc;
  if (n != 0) return not_empty("opr_usr_str_col");
  long count = 0;
  const cmn_ty_type_opr* table =
      cmn_type_opr_is_restricted != 0 ? cmn_type_opr_perf_table(&count) : cmn_type_opr_table(&count);
  for (long i = 0; i < count; ++i) {
    if (table[i].type != type) continue;
    const long value = table[i].opr;
    if (long rc = utl_col_insert(values, &value, nullptr)) return rc;
    const cmn_ty_opr_row& row = cmn_opr_rows[value];
    const char* name = localised(row);
    if (long rc = utl_col_insert(names, name != nullptr ? name : row.english, nullptr)) return rc;
  }
  return 0;
}

long cmn_opr_sql_str_byval(long value, const char** sql) {
  if (value < 0 || value >= CMN_OPR_COUNT) {
    *sql = nullptr;
    cmn_alrt_push(nullptr, "cmn_opr_sql_str_byval", CMN_OPR_BAD_VALUE, 1, value);
    return CMN_OPR_BAD_VALUE;
  }
  *sql = cmn_opr_rows[value].sql;
  return 0;
}

long cmn_opr_value_from_str(const char* name, long* value) {
  *value = -1;
  if (name == nullptr) return 0;
  for (long i = 0; i < CMN_OPR_COUNT; ++i) {
    const char* loc = localised(cmn_opr_rows[i]);
    if ((loc != nullptr && std::strcmp(loc, name) == 0) || std::strcmp(cmn_opr_rows[i].english, name) == 0) {
      *value = i;
      return 0;
    }
  }
  return 0;
}

long cmn_opr_str_opr_chk(long type, const char* name, long* allowed) {
  *allowed = 0;
  long value = -1;
  cmn_opr_value_from_str(name, &value);
  for (const cmn_ty_type_opr& p : cmn_type_opr_full) {
    if (p.type == type && p.opr == value) {
      *allowed = 1;
      break;
    }
  }
  return 0;
}

long cmn_opr_loc_str_from_englstr(const char* english, const char** localised_name) {
  *localised_name = nullptr;
  if (english == nullptr) return 0;
  for (const cmn_ty_opr_row& row : cmn_opr_rows) {
    if (loc_st_strcmpi(row.english, english) == 0) {
      *localised_name = localised(row);
      return 0;
    }
  }
  return 0;
}

long cmn_opr_check_value(long type, const char* text) {
  if (text == nullptr) text = "";
  if (blank(text)) {
    if (type == kRelation) return 0;
    if (type != CMN_TYP_CHAR_P) return CMN_OPR_NO_CONV;
  }
  alignas(long double) char area[50] = {};
  void* slot = area;
  long allocated = 0;
  long rc = cmn_typ_convert(-1, CMN_TYP_CHAR_P, &text, type, &slot, sizeof area, &allocated);
  if (allocated == 1) cmn_typ_dealloc("cmn_opr_check_value", slot);
  return rc;
}
