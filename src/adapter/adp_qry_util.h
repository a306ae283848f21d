// Small helpers the query builders share: the connection's server family,
// phrases and numbers, the case-insensitive search switch, field and
// object-id look-ups and column texts.
#pragma once

#include <string>

#include "adapter/adp_cfg.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"

namespace adp_qry {

constexpr long kFamilyOracle = KAdpConfig::DB_ORACLE;
constexpr long kFamilyQuill = KAdpConfig::DB_QUILL;
constexpr long kFamilyMssql = KAdpConfig::DB_OLEDB;
constexpr long kPhraseDateFormat = 34;
constexpr long kPhraseRootAlias = 53;
constexpr long kPhraseSubAlias = 54;
constexpr long kPhraseTableHint = 55;
constexpr long kNumberInChunk = 8;
constexpr long kNumberDupOption = 6;
constexpr long kObjidGeneric = TYP_GENERIC + 3;
constexpr unsigned long kHeadSearchUpper = 1;
constexpr unsigned long kHeadCompanion = 0x10;
constexpr unsigned long kFieldSearchUpper = 0x100;

inline long family(KAdpConnId* con) {
  KAdpConfig::db_type t{};
  con->GetConfig().GetDbType(t);
  return static_cast<long>(t);
}
inline bool is_oracle(KAdpConnId* con) { return family(con) == kFamilyOracle; }
inline bool is_mssql(KAdpConnId* con) { return family(con) == kFamilyMssql; }

inline const char* phrase(KAdpConnId* con, long n) {
  KAdpDbOperation* op = con->GetDbOperation();
  const char* s = op != nullptr ? op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n)) : nullptr;
  return s != nullptr ? s : "";
}
inline long number(KAdpConnId* con, long n) {
  KAdpDbOperation* op = con->GetDbOperation();
  return op != nullptr ? op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(n)) : 0;
}

inline bool header_flag(KAdpConnId* con, unsigned long bits) {
  char set = 0;
  adp_db_is_header_flags_set(con->GetHeader(), static_cast<long>(bits), &set);
  return set != 0;
}

// The upper-case search column is used for this field.
inline bool searched_upper(KAdpConnId* con, const typ_sch_frec* f) {
  return (f->flags & kFieldSearchUpper) != 0 && header_flag(con, kHeadSearchUpper);
}

inline long field_of(typ_sch_srec* schema, long id, typ_sch_frec** out) {
  long index = 0;
  if (long st = typ_sch_map(schema, id, &index)) return st;
  *out = &schema->fields[index];
  return 0;
}
inline long objid_of(typ_sch_srec* schema, typ_sch_frec** out) { return field_of(schema, kObjidGeneric, out); }

// [alias "."]["S_"]name
inline std::string column(KAdpConnId* con, const typ_sch_frec* f, const char* alias) {
  std::string c;
  if (alias != nullptr) c.append(alias).append(".");
  if (searched_upper(con, f)) c.append("S_");
  c.append(f->name);
  return c;
}

}  // namespace adp_qry
