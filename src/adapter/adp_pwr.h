// Power queries inside the adapter: the condition and sort records, the text
// writers that append at the moving end of the caller's buffer (bounded by
// the limit of the statement being built), value literals, the condition
// writers and the relative-date texts of the three server families.
#pragma once

#include <string>

#include "orb_api.h"
#include "store/dbs_pwr.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_frec;

// The store's buffer; the text stays within its first 70,000 bytes.
constexpr long ADP_PWR_TEXT_SIZE = 70016;
constexpr long ADP_PWR_TEXT_LIMIT = 70000;

// Power-query operators (the core's query-operator table).
enum adp_pwr_opr : long {
  ADP_PWR_GT = 0,
  ADP_PWR_GE = 1,
  ADP_PWR_LT = 2,
  ADP_PWR_LE = 3,
  ADP_PWR_EQ = 4,
  ADP_PWR_NE = 5,
  ADP_PWR_STARTS = 6,
  ADP_PWR_ENDS = 7,
  ADP_PWR_CONTAINS = 8,
  ADP_PWR_IN = 9,
  ADP_PWR_BETWEEN = 10,
  ADP_PWR_NOT_STARTS = 11,
  ADP_PWR_NOT_ENDS = 12,
  ADP_PWR_NOT_CONTAINS = 13,
  ADP_PWR_NOT_BETWEEN = 14,
  ADP_PWR_NOT_IN = 15,
  ADP_PWR_SOUNDS = 16,
  ADP_PWR_REL_EXISTS = 17,
  ADP_PWR_REL_NOT_EXISTS = 18,
  ADP_PWR_TODAY = 19,
  ADP_PWR_YESTERDAY = 20,
  ADP_PWR_LAST_DAYS = 21,
  ADP_PWR_LAST_HOURS = 22,
  ADP_PWR_EXISTS = 23,
  ADP_PWR_NOT_EXISTS = 24,
  ADP_PWR_SUBQRY_NOT_IN = 25,
};

// One condition: field path, operator, value text (the store's record).
struct pwr_cond {
  const char* field;
  long op;
  const char* value;
};

// The sort keys (the store's client query): field paths or expressions.
struct adp_ty_pwr_sort {
  long num_sorts;
  const char** sorts;
  long descending;  // 1: every key " desc"
};

// The distinct count of a power query's text: "select count(DISTINCT "
// + the selected column + ") " + the text from its "from" up to its
// "order by" ("from" and "order by" as whole words outside literals).
ORB_API long adp_pwr_trend_text(const char* sql, char* out, long size);

// Text writers. The bound is the one of the statement being built (none
// outside a build); a text that would pass it stops with 0x600022.
ORB_API long adp_pwr_string_append(char** end, const char* text);
ORB_API long adp_pwr_string_append_five(char** end, const char* s1, const char* s2, const char* s3,
                                        const char* s4, const char* s5);
ORB_API long adp_pwr_sprintf_append(char** end, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Copies the format up to its next "%s" (counting parentheses into depth)
// and steps over it; at the format's end a depth other than 0 is 0x600034.
ORB_API long adp_pwr_format_str_append(char** end, const char** cursor, long* depth);
// Sets the bound of the build that writes from start; the previous bound is
// returned through previous (restore it with adp_pwr_set_limit).
ORB_API void adp_pwr_set_limit(char* limit, char** previous);

// A value as an SQL literal of the field's type: strings quoted with their
// quotes doubled (wildcards for the LIKE operators), dates as the server's
// date text, numbers as they read; a number field's value must read wholly
// as a number (else 0x600030).
ORB_API long adp_pwr_process_value(KAdpConnId* con, const typ_sch_frec* field, char** end, long op,
                                   const char* value);
// The value of a relative-date operator as a whole number (empty: 0); else
// 0x600030.
ORB_API long adp_pwr_count_value(const char* value, long* out);
// Pushes 0x600030 with the text and returns it.
ORB_API long adp_pwr_refuse(const char* text);

// The value part shared by both writers and both dialects for operators
// 9, 10, 14, 15, 25 and the plain ones (the "v_" companion included);
// handled is 0 for the relative dates and 23/24, which the caller writes.
ORB_API long adp_pwr_common_value(KAdpConnId* con, const pwr_cond* cond, char** end, const char* value,
                                  const char* qualifier, const char* op_text, const typ_sch_frec* field,
                                  char* handled);

// Relative-date texts: Oracle (both writers and the Oracle dialect), the
// grouped-path writer's SQL Server and quill forms, and the SQL Server
// dialect's form. q, s, f: qualifier, separator, field name.
ORB_API long adp_pwr_reldate_oracle(char** end, long op, const char* value, const char* q, const char* s,
                                    const char* f);
ORB_API long adp_pwr_reldate_oledb(char** end, long op, const char* value, const char* q, const char* s,
                                   const char* f);
ORB_API long adp_pwr_reldate_quill(char** end, long op, const char* value, const char* q, const char* s,
                                   const char* f);
ORB_API long adp_pwr_reldate_mssql_dialect(char** end, long op, const char* value, const char* q, const char* s,
                                           const char* f);

// One condition of the statement being built.
ORB_API long adp_pwr_qry_one_cond(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* cond, char** end);
ORB_API long adp_pwr_qry_one_cond_new(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* cond, char** end,
                                      const char* group_path);

// The table name (alias) and field a path ends at, as conditions and sort
// keys write them; group_path as for adp_pwr_qry_one_cond_new (or null).
ORB_API long adp_pwr_path_column(KAdpConnId* con, typ_sch_srec* root, const char* path, const char* group_path,
                                 std::string* qualifier, typ_sch_frec** field);

// True while an OR group of "is in" conditions is open.
ORB_API bool adp_pwr_or_group_is_open();
