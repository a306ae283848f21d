// WHERE conditions of simple and relation queries: one text per operator and
// field type, values as bound parameters, IN lists cut into groups, bit
// tests per server family and nested power queries.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"

using namespace adp_qry;

namespace {

constexpr const char* kOprText[] = {">", ">=", "<", "<=", "=", "!=", "LIKE", "NOT LIKE", "", "IN (", "", "", "", "",
                                    "",  ""};
constexpr long kNumOprText = sizeof(kOprText) / sizeof(kOprText[0]);
constexpr long kShortElements = ADP_VT_SHORT;
constexpr long kLowWord = 0xffffffffL;
// Added before a bit test's mod so that a negative column value is read as
// its 32-bit pattern.
constexpr const char* kUnsignedShift = "+4294967296";

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

long refuse(const char* what) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_QRY_REFUSED, 1, what);
  (void)rc;
  return ADP_QRY_REFUSED;
}

bool pointer_type(long type) { return type != ADP_VT_LONG && type != ADP_VT_SHORT; }

long rel_is_set(KAdpConnId* con, KAdpSqlBatch* b, typ_sch_srec* schema, long rel, const char* join) {
  (void)con;
  long index = 0;
  if (long st = typ_sch_rel_map(schema, rel, &index)) return st;
  const typ_sch_rel_inst& e = schema->rels[index];
  if (e.rel == nullptr) return refuse("relation");
  b->AppendSqlFormat(" %s %s IS NOT NULL", join, e.side == 'p' ? e.rel->pname : e.rel->fname);
  return b->GetStatus();
}

long empty_string(KAdpConnId* con, KAdpSqlBatch* b, long op, const char* join, const std::string& col) {
  const bool equal = op == ADP_OPR_EQ || op == ADP_OPR_LIKE;
  *b << " " << join << " " << col.c_str();
  if (is_oracle(con)) *b << (equal ? " IS NULL " : " IS NOT NULL ");
  else *b << (equal ? " = '' " : " != '' ");
  return b->GetStatus();
}

long in_list(KAdpConnId* con, KAdpSqlBatch* b, const typ_sch_frec* f, const char* join, const std::string& col,
             long value) {
  auto* values = reinterpret_cast<utl_ty_col*>(value);
  long elem = 0, n = 0, cap = 0, ext = 0, flags = 0;
  if (values == nullptr) return refuse("IN list");
  if (long st = utl_col_info(values, &elem, &n, &cap, &ext, nullptr, &flags)) return st;
  // Values kept in their slots (numbers, pointers) are read from the slot; a
  // pooled element (a text the list copied) is the element itself.
  const bool in_slot = (flags & UTL_COL_IN_SLOT) != 0;
  // An empty list matches nothing.
  if (n == 0) {
    b->AppendSqlFormat(" %s (1 = 0)", join);
    return b->GetStatus();
  }
  b->AppendSqlFormat("%s (", join);
  for (long i = 0; i < n; ++i) {
    long chunk = number(con, kNumberInChunk);
    if (chunk < 1) chunk = 1;
    if (i % chunk == 0) {
      if (i != 0) *b << ") or ";
      *b << col.c_str() << " " << "IN (" << " ";
    } else {
      *b << ",";
    }
    void* slot = nullptr;
    if (long st = utl_col_ith(values, i, &slot)) return st;
    long word = !in_slot                 ? reinterpret_cast<long>(slot)
                : elem == kShortElements ? *static_cast<int16_t*>(slot)
                                         : *static_cast<long*>(slot);
    if (long st = adp_qry_just_one_value(con, b, f, ADP_OPR_IN, word)) return st;
  }
  *b << "))";
  return b->GetStatus();
}

long nested(KAdpConnId* con, KAdpSqlBatch* b, const char* join, const std::string& col, long value) {
  auto* query = reinterpret_cast<dbs_ty_pwr_list*>(value);
  if (query == nullptr) return refuse("nested query");
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(query->type_id, &schema)) return st;
  std::vector<char> text(ADP_PWR_TEXT_SIZE, '\0');
  if (long st = adp_pwr_qry_construct(con, schema, query, nullptr, nullptr, text.data())) return st;
  *b << " " << join << " (" << col.c_str() << " in (" << text.data() << "))";
  return b->GetStatus();
}

long bit_tests(KAdpConnId* con, KAdpSqlBatch* b, long op, const char* join, const std::string& col, long value) {
  const long fam = family(con);
  const bool any = op == ADP_OPR_ANY_BIT;
  if (fam == kFamilyMssql) {
    *b << " " << join << " " << "( " << col.c_str() << " & " << KAdpBindParam(value) << (any ? " != " : " = ")
       << "0" << ") ";
    return b->GetStatus();
  }
  if (fam != kFamilyOracle && fam != kFamilyQuill) return 0;
  b->AppendSqlFormat(" %s ", join);
  const unsigned long bits = static_cast<unsigned long>(value) & kLowWord;
  // No bit given: "any of none" is false, "none of none" true.
  if (bits == 0) {
    *b << (any ? "(1 = 0)" : "(1 = 1)");
    return b->GetStatus();
  }
  bool first = true;
  for (unsigned long bit = 1; bit <= bits && bit <= 0x80000000UL; bit <<= 1) {
    if ((bits & bit) == 0) continue;
    const char* link = first ? "" : (any ? "or " : "and ");
    b->AppendSqlFormat(" %s(mod(%s%s,%lu) %s %lu)", link, col.c_str(), kUnsignedShift, 2 * bit, any ? ">=" : "<",
                       bit);
    first = false;
  }
  return b->GetStatus();
}

long general(KAdpConnId* con, KAdpSqlBatch* b, const typ_sch_frec* f, long op, const char* join,
             const std::string& col, long value) {
  if (op == ADP_OPR_SOUNDEX) {
    *b << " " << join << " soundex(" << col.c_str() << ") = soundex(";
    if (long st = adp_qry_just_one_value(con, b, f, op, value)) return st;
    *b << ")";
    return b->GetStatus();
  }
  if (op == ADP_OPR_NE) {
    *b << " " << join << " (" << col.c_str() << " " << "!=" << " ";
    if (long st = adp_qry_just_one_value(con, b, f, op, value)) return st;
    *b << " OR " << col.c_str() << " IS NULL)";
    return b->GetStatus();
  }
  if (op < 0 || op >= kNumOprText || kOprText[op][0] == '\0') return refuse("operator");
  *b << " " << join << " " << col.c_str() << " " << kOprText[op] << " ";
  if (long st = adp_qry_just_one_value(con, b, f, op, value)) return st;
  return b->GetStatus();
}

bool empty_text(const typ_sch_frec* f, long value) {
  if (f->data_type != ADP_VT_STRING) return false;
  const char* s = reinterpret_cast<const char*>(value);
  return s == nullptr || s[0] == '\0';
}

}  // namespace

long adp_qry_just_one_value(KAdpConnId* con, void* stmt, const typ_sch_frec* f, long, long value) {
  KAdpSqlBatch* b = batch(stmt);
  const void* p = reinterpret_cast<const void*>(value);
  if (pointer_type(f->data_type) && p == nullptr && f->data_type != ADP_VT_STRING) return refuse("null value");
  switch (f->data_type) {
    case ADP_VT_LONG: *b << KAdpBindParam(value); break;
    case ADP_VT_SHORT: *b << KAdpBindParam(static_cast<short>(value & 0xffff)); break;
    case ADP_VT_FLOAT: *b << KAdpBindParam(*static_cast<const float*>(p)); break;
    case ADP_VT_STRING:
      *b << KAdpBindParam(p != nullptr ? static_cast<const char*>(p) : "", searched_upper(con, f) ? 1 : 0, 0);
      break;
    case ADP_VT_CLK: *b << KAdpBindParam(*static_cast<const clktime*>(p)); break;
    case ADP_VT_DOUBLE:
    case ADP_VT_MONEY: *b << KAdpBindParam(*static_cast<const double*>(p)); break;
    case ADP_VT_DECIMAL: *b << KAdpBindParam(*static_cast<const cmn_ty_decimal*>(p)); break;
    default: {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_VALUE_TYPE, 1, f->data_type);
      (void)rc;
      return ADP_BAD_VALUE_TYPE;
    }
  }
  return b->GetStatus();
}

long adp_qry_cond_build(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long field, long op, const char* join,
                        long value, const char* alias, char) {
  KAdpSqlBatch* b = batch(stmt);
  if (op == ADP_OPR_REL_SET) return rel_is_set(con, b, schema, field, join);
  if (op == ADP_OPR_RAW) {
    const char* sql = reinterpret_cast<const char*>(value);
    if (!adp_qry_sql_text_is_safe(sql)) return refuse(sql != nullptr ? sql : "");
    *b << " " << join << " " << sql;
    return b->GetStatus();
  }
  typ_sch_frec* f = nullptr;
  if (long st = field_of(schema, field, &f)) return st;
  const std::string col = column(con, f, alias);
  if (op == ADP_OPR_ANY_BIT || op == ADP_OPR_NO_BIT) {
    // The plain column, qualified when the query names its tables.
    std::string bare = alias != nullptr ? std::string(alias) + "." + f->name : std::string(f->name);
    return bit_tests(con, b, op, join, bare, value);
  }
  if (op == ADP_OPR_NULL || op == ADP_OPR_NOT_NULL) {
    *b << " " << join << " " << col.c_str() << " " << (op == ADP_OPR_NULL ? "IS NULL " : "IS NOT NULL ");
    return b->GetStatus();
  }
  if (op != ADP_OPR_IN && op != ADP_OPR_NESTED && empty_text(f, value)) return empty_string(con, b, op, join, col);
  if (op == ADP_OPR_IN) return in_list(con, b, f, join, col, value);
  if (op == ADP_OPR_NESTED) return nested(con, b, join, col, value);
  return general(con, b, f, op, join, col, value);
}

long adp_qry_where(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const adp_ty_qry* desc, char subobj_ok,
                   char reserved) {
  const bool sub = (desc->join_flags & ADP_QRY_SUBOBJ) != 0;
  if (sub && subobj_ok == 0) {
    osl_print_mes("%s: subobject queries are not allowed using this query routine\n", "adp_qry_where");
    return 1;
  }
  if (desc->count <= 0) return 0;
  const auto* conds = static_cast<const adp_ty_qry_cond*>(desc->conds);
  const char* close = " ) ";
  for (long i = 0; i < desc->count; ++i) {
    const char* join = (desc->join_flags & ADP_QRY_JOIN_AND) != 0 ? " AND " : " OR ";
    if (i == 0) join = " ( ";
    else if (sub && i == 1) join = " AND ";
    else if (sub && i == 2) join = " AND (", close = " )) ";
    if (long st = adp_qry_cond_build(con, stmt, schema, conds[i].field, conds[i].op, join, conds[i].value, nullptr,
                                     reserved))
      return st;
  }
  *batch(stmt) << close;
  return batch(stmt)->GetStatus();
}

long adp_qry_where_parsed(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const adp_ty_qry* desc) {
  if (desc->count <= 0) return 0;
  const auto* conds = static_cast<const adp_ty_qry_pcond*>(desc->conds);
  for (long i = 0; i < desc->count; ++i) {
    const char* join = i == 0 ? " ( " : ((conds[i].join & ADP_QRY_JOIN_AND) != 0 ? " AND " : " OR ");
    if (long st =
            adp_qry_cond_build(con, stmt, schema, conds[i].field, conds[i].op, join, conds[i].value, nullptr, 0))
      return st;
  }
  *batch(stmt) << " ) ";
  return batch(stmt)->GetStatus();
}

namespace {

template <class C, class J>
long where_alias(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const char* alias, const adp_ty_qry* desc,
                 J join_and) {
  if (desc == nullptr || desc->count <= 0) return 0;
  const auto* conds = static_cast<const C*>(desc->conds);
  for (long i = 0; i < desc->count; ++i) {
    const char* join = i == 0 ? " AND (" : (join_and(conds[i]) ? " AND " : " OR ");
    if (long st = adp_qry_cond_build(con, stmt, schema, conds[i].field, conds[i].op, join, conds[i].value, alias, 0))
      return st;
  }
  *batch(stmt) << ")";
  return batch(stmt)->GetStatus();
}

}  // namespace

long adp_qry_where_with_tbl_name(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const char* alias,
                                 const adp_ty_qry* desc) {
  const bool all_and = (desc != nullptr && (desc->join_flags & ADP_QRY_JOIN_AND) != 0);
  return where_alias<adp_ty_qry_cond>(con, stmt, schema, alias, desc, [&](const adp_ty_qry_cond&) { return all_and; });
}

long adp_qry_where_wtbl_name_parsed(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const char* alias,
                                    const adp_ty_qry* desc) {
  return where_alias<adp_ty_qry_pcond>(con, stmt, schema, alias, desc, [](const adp_ty_qry_pcond& c) {
    return (c.join & ADP_QRY_JOIN_AND) != 0;
  });
}
