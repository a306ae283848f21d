// The records of a query as the object store hands it to the adapter, and
// the query builders the execution and relation layers share: select lists,
// FROM, WHERE conditions with one text per operator and field type, ORDER
// BY, GROUP BY and aggregate select lists. Values are streamed into the
// statement as bound parameters; the statement decides how they are written.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_frec;

// Join flags of a query description.
constexpr char ADP_QRY_JOIN_AND = 1;
constexpr char ADP_QRY_SUBOBJ = 4;

// Select flags.
constexpr long ADP_QRY_DISTINCT = 1;
constexpr long ADP_QRY_IDS_ONLY = 4;
constexpr long ADP_QRY_NO_LOCK = 8;

// Operators of a simple query condition.
enum adp_qry_opr : long {
  ADP_OPR_GT = 0,
  ADP_OPR_GE = 1,
  ADP_OPR_LT = 2,
  ADP_OPR_LE = 3,
  ADP_OPR_EQ = 4,
  ADP_OPR_NE = 5,
  ADP_OPR_LIKE = 6,
  ADP_OPR_NOT_LIKE = 7,
  ADP_OPR_SOUNDEX = 8,
  ADP_OPR_IN = 9,
  ADP_OPR_REL_SET = 10,
  ADP_OPR_ANY_BIT = 11,
  ADP_OPR_NO_BIT = 12,
  ADP_OPR_NULL = 13,
  ADP_OPR_NOT_NULL = 14,
  ADP_OPR_RAW = 15,
  ADP_OPR_NESTED = 16,
};

// One condition: field id (index or generic id), operator, value word (a
// long, or a pointer to the value, a collection for operator 9, a power
// query for operator 16).
struct adp_ty_qry_cond {
  long field;
  long op;
  long value;
};

// One condition of the parsed form: join bit 1 means AND in front of it.
struct adp_ty_qry_pcond {
  long field;
  long op;
  long value;
  long join;
};

// The query description.
struct adp_ty_qry {
  long type_id;
  long count;
  void* conds;  // adp_ty_qry_cond[] or adp_ty_qry_pcond[]
  char join_flags;
};

// One ordering: descending when desc is 1.
struct qry_order {
  long field;
  signed char desc;
};

// One aggregate column: code indexes the aggregate formats; column is used
// as written when not null, else the field's column.
struct adp_ty_qry_agg {
  long code;
  const char* column;
  long field;
  long result_type;
  long result_size;
};

// The aggregates and grouping of adp_qry_aggregate (its third and fourth
// arguments).
struct adp_ty_qry_agg_list {
  long count;
  adp_ty_qry_agg* entries;
};
struct adp_ty_qry_group {
  long count;
  long* fields;
  long norder;
  qry_order* orders;
};

// One relation query of adp_qry_mult_rel_for_id.
struct adp_ty_qry_rel {
  adp_ty_qry from;
  long rel_id;
  adp_ty_qry target;
  long norder;
  qry_order* orders;
  char parsed;
};

// Statement choice and select lists.
ORB_API long adp_qry_prepare(KAdpConnId* con, long type_id, typ_sch_srec* schema, long flags, void** stmt);
ORB_API long adp_qry_prepare_sql(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec* schema, long flags);
ORB_API long adp_qry_prepare_with_tbl_name(KAdpConnId* con, long type_id, typ_sch_srec* schema, const char* alias,
                                           void** stmt, long flags);
ORB_API long adp_qry_prepare_num(KAdpConnId* con, long type_id, typ_sch_srec* schema, void** stmt);
ORB_API long adp_qry_prepare_id(KAdpConnId* con, long type_id, typ_sch_srec* schema, long flags, char new_stmt,
                                void** stmt);

// Conditions. adp_qry_where returns 1 (no alert) for subobject conditions
// where they are not allowed.
ORB_API long adp_qry_where(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const adp_ty_qry* desc,
                           char subobj_ok, char reserved);
ORB_API long adp_qry_where_parsed(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const adp_ty_qry* desc);
ORB_API long adp_qry_where_with_tbl_name(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const char* alias,
                                         const adp_ty_qry* desc);
ORB_API long adp_qry_where_wtbl_name_parsed(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const char* alias,
                                            const adp_ty_qry* desc);
ORB_API long adp_qry_cond_build(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long field, long op,
                                const char* join, long value, const char* alias, char reserved);
ORB_API long adp_qry_just_one_value(KAdpConnId* con, void* stmt, const typ_sch_frec* field, long op, long value);

// Orderings, grouping and aggregate select lists.
ORB_API long adp_qry_order(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const qry_order* orders);
ORB_API long adp_qry_order_with_tbl_name(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n,
                                         const qry_order* orders, const char* alias);
ORB_API long adp_qry_group(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const long* fields);
ORB_API long adp_qry_gen_select_list(KAdpConnId* con, void* stmt, long type_id, long n,
                                     const adp_ty_qry_agg* aggregates, long ngroup, const long* group);

// Module state.
ORB_API long adp_qry_set_buff_limit(long limit);
ORB_API long adp_qry_get_buff_limit();
using adp_ty_qry_convert_proc = long (*)(void*);
ORB_API long adp_qry_install_convert(adp_ty_qry_convert_proc proc);
ORB_API long adp_qry_display_dlg();

// Caller-prepared SQL text is written only when this passes: its quotes
// balance and no statement separator or comment lies outside a literal.
ORB_API bool adp_qry_sql_text_is_safe(const char* text);
