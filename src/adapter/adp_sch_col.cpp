// The column-type tables of the dialects (by db type 0..11), the column
// type text of DDL, the dialect's type names and SQL Server's column lists.
#include <algorithm>
#include <cstdio>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_types.h"
#include "schema/typ_acc.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kDecimal = 766;
constexpr long kText = 515;
constexpr long kOraUnicodeFactor = 3;
constexpr long kOraMaxVarchar = 2000;
constexpr unsigned long kSearchField = 0x100;

bool header_unicode() {
  adp_db_dhead* h = adp_db_get_head_addr();
  return h != nullptr && (h->flags & ADP_HEAD_UNICODE) != 0;
}

bool unicode_db() {
  if (header_unicode()) return true;
  char u = 0;
  typ_sch_is_unicode_cmdline_flag(&u);
  return u != 0;
}

}  // namespace

const adp_sch_type_string adp_sch_type_strings_oracle[ADP_SCH_NUM_DB_TYPES] = {
    {0, "number", 3, 4, -1},    {0, "number", 3, 4, -1},      {0, "number", 3, 4, -1},
    {0, "number", 4, 4, 514},   {0, "number", 4, 8, 613},     {0, "number", 4, 8, 613},
    {1, "varchar2", 5, -1, 515}, {1, "varchar2", 5, -1, 515}, {0, "clob", 5, 64000, 515},
    {0, "date", 5, 100, 515},   {0, "clob", 5, 64000, 515},   {1, "number", 5, 44, 766},
};

const adp_sch_type_string adp_sch_type_strings_mssql[ADP_SCH_NUM_DB_TYPES] = {
    {0, "int", 3, 4, -1},      {0, "smallint", 3, 2, -1},   {0, "tinyint", 3, 2, -1},
    {0, "real", 4, 4, 514},    {0, "float", 4, 8, 613},     {0, "float", 4, 8, 613},
    {1, "char", 5, -1, 515},   {1, "varchar", 5, -1, 515},  {0, "text", 5, 32000, 515},
    {0, "datetime", 5, 8, 515}, {0, "text", 5, 32000, 515}, {1, "decimal", 5, 44, 766},
};

const adp_sch_type_string adp_sch_unicode_type_strings_mssql[ADP_SCH_NUM_DB_TYPES] = {
    {0, "int", 3, 4, -1},       {0, "smallint", 3, 2, -1},   {0, "tinyint", 3, 2, -1},
    {0, "real", 4, 4, 514},     {0, "float", 4, 8, 613},     {0, "float", 4, 8, 613},
    {1, "nchar", 5, -1, 515},   {1, "nvarchar", 5, -1, 515}, {0, "ntext", 5, 32000, 515},
    {0, "datetime", 5, 8, 515}, {0, "ntext", 5, 32000, 515}, {1, "decimal", 5, 44, 766},
};

long adp_sch_convert_to_string(long db_type, long length, long precision, long scale, char* out, long size) {
  const size_t n = static_cast<size_t>(size);
  if (db_type < 0 || db_type >= ADP_SCH_NUM_DB_TYPES) {
    std::snprintf(out, n, "%s", adp_sch_type_to_string(db_type));
    return 0;
  }
  const bool unicode = unicode_db();
  if (adp_db_is_db_mssql()) {
    const adp_sch_type_string& plain = adp_sch_type_strings_mssql[db_type];
    const adp_sch_type_string& row = unicode ? adp_sch_unicode_type_strings_mssql[db_type] : plain;
    if (row.has_length == 0) std::snprintf(out, n, "%s", row.name);
    else if (row.cmn_type == kDecimal) std::snprintf(out, n, "%s(%ld, %ld)", plain.name, precision, scale);
    else std::snprintf(out, n, "%s(%ld)", row.name, length);
    return 0;
  }
  const adp_sch_type_string& row = adp_sch_type_strings_oracle[db_type];
  if (row.has_length == 0) std::snprintf(out, n, "%s", row.name);
  else if (row.cmn_type == kDecimal) std::snprintf(out, n, "%s(%ld, %ld)", row.name, precision, scale);
  else if (row.cmn_type == kText && unicode)
    std::snprintf(out, n, "%s(%ld)", row.name, std::min(kOraUnicodeFactor * length, kOraMaxVarchar));
  else std::snprintf(out, n, "%s(%ld)", row.name, length);
  return 0;
}

const char* adp_sch_type_to_string(long db_type) {
  if (db_type < 0 || db_type >= ADP_SCH_NUM_DB_TYPES) return "unknown database datatype";
  if (adp_db_is_db_mssql())
    return header_unicode() ? adp_sch_unicode_type_strings_mssql[db_type].name : adp_sch_type_strings_mssql[db_type].name;
  return adp_sch_type_strings_oracle[db_type].name;
}

long adp_sch_list_columns(KAdpConnId* /*con*/, typ_sch_srec* schema, const char* alias, const char** out,
                          char no_search) {
  if (!adp_db_is_db_mssql()) return 0;
  static std::string text;
  text.clear();
  text.reserve(256);
  // The header flag is read at each call: another database may be open.
  char upper = 0;
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HEAD_UPPER_COLUMNS, &upper);
  const std::string a = alias != nullptr ? alias : "";
  const std::string dot = alias != nullptr ? "." : "";
  for (long i = 0; schema != nullptr && i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    text += (i == 0 ? "" : ", ") + a + dot + f.name;
    if (no_search == 0 && upper && (f.flags & kSearchField) != 0) text += ", " + a + dot + "s_" + f.name;
  }
  *out = text.c_str();
  return 0;
}
