// Indexes made again from the catalogue records read before a table was
// rebuilt: SQL Server's CREATE INDEX per record with its clustering, fill
// factor, duplicate-key option and file group (IndBuildTableIndex, which
// goes on past an index that fails and lists its name), the adp_sch_index
// rows of the records the schema declares (IndBuildAdpIndex), and the DDL
// text of a record list in either dialect (IndSqlBuildTableIndex).
#include <strings.h>

#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_ind_row.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"

namespace {

enum : long {
  kClusteredPhrase = 1,
  kIgnoreDupPhrase = 2,
  kHeadPhrase = 8,
  kFileGroupPhrase = 9,
  kFillFactorPhrase = 10,
  kOraPhysicalPhrase = 60,
  kOraStoragePhrase = 61,
};
enum : long { kUniqueNumber = 1, kClusteredNumber = 2, kIgnoreDupNumber = 3 };

constexpr unsigned long kOraPhysicalNulls =
    ADP_IND_NULL_INI_TRANS | ADP_IND_NULL_MAX_TRANS | ADP_IND_NULL_PCT_FREE | ADP_IND_NULL_TABLESPACE;
constexpr unsigned long kOraStorageNulls = ADP_IND_NULL_PCT_INCREASE | ADP_IND_NULL_INITIAL | ADP_IND_NULL_NEXT |
                                           ADP_IND_NULL_MIN_EXTENTS | ADP_IND_NULL_MAX_EXTENTS;

const char* phrase(const KAdpDbOperation* op, long n) {
  return op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
}

bool has_bit(const KAdpDbOperation* op, const adp_ty_index_info* r, long number) {
  return (r->attributes & op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(number))) != 0;
}

const char* type_name(const typ_sch_srec* schema) {
  return schema != nullptr && schema->info != nullptr ? schema->info->name : "";
}

// SQL Server: the CREATE INDEX of one record, up to its file group.
std::string mssql_index(const KAdpDbOperation* op, const adp_ty_index_info* r, const char* given_table) {
  const char* table = given_table != nullptr ? given_table : "";
  std::string text = adp_ind_vfmt(phrase(op, kHeadPhrase), has_bit(op, r, kUniqueNumber) ? "UNIQUE" : "",
                                  has_bit(op, r, kClusteredNumber) ? phrase(op, kClusteredPhrase) : "", r->name,
                                  table);
  text += adp_ind_join(r->fields, ", ") + ")\n";
  const bool ignore_dup = has_bit(op, r, kIgnoreDupNumber);
  if (r->fill_factor != 0) {
    text += "with " + adp_ind_vfmt(phrase(op, kFillFactorPhrase), static_cast<int>(r->fill_factor));
    if (ignore_dup) text += std::string(", ") + phrase(op, kIgnoreDupPhrase);
  } else if (ignore_dup) {
    text += std::string("with ") + phrase(op, kIgnoreDupPhrase);
  }
  if (r->location[0] != '\0') text += adp_ind_vfmt(phrase(op, kFileGroupPhrase), r->location);
  return text;
}

// Appends the DDL of every record (statement(record)) to the text.
template <class F>
long append_each(void* index_records, void* text, F&& statement) {
  return adp_err_guard([&]() -> long {
    auto* out = static_cast<utl_ty_estr*>(text);
    for (adp_ty_index_info* r : adp_ind_records(static_cast<utl_ty_col*>(index_records))) {
      if (long st = utl_estr_append(out, statement(r).c_str())) return st;
    }
    return 0L;
  });
}

// The names of the indexes the last rebuild could not make.
std::string& failed_list() {
  static std::string list;
  return list;
}

}  // namespace

std::string adp_ind_ora_text(const KAdpDbOperation* op, const adp_ty_index_info* r, const char* given_table) {
  const char* table = given_table != nullptr ? given_table : "";
  const bool unique = strcasecmp(r->uniqueness, "UNIQUE") == 0;
  std::string text = adp_ind_vfmt(phrase(op, kHeadPhrase), unique ? "UNIQUE" : "", r->name, table);
  text += adp_ind_join(r->fields, ", ") + ")\n";
  if ((r->null_storage & kOraPhysicalNulls) == 0) {
    text += adp_ind_vfmt(phrase(op, kOraPhysicalPhrase), r->ini_trans, r->max_trans, r->pct_free, r->tablespace);
  }
  if ((r->null_storage & kOraStorageNulls) == 0) {
    text += adp_ind_vfmt(phrase(op, kOraStoragePhrase), r->pct_increase, r->initial_extent, r->next_extent,
                         r->min_extents, r->max_extents);
  }
  return text;
}

long KAdpMssqlOperation::IndBuildTableIndex(adp_ty_index_info*, typ_sch_srec* schema, void* index_records,
                                            char** failed_names, FILE* ddl_file, long options) {
  return adp_err_guard([&]() -> long {
    std::string& failed = failed_list();
    failed.clear();
    KAdpConnId* con = GetConnection();
    auto* records = static_cast<utl_ty_col*>(index_records);
    for (adp_ty_index_info* r : adp_ind_records(records)) {
      const std::string text = mssql_index(this, r, type_name(schema));
      if (adp_ind_run(con, text, false, ddl_file, options) != 0) {
        if (!failed.empty()) failed += ",\n";
        failed += r->name;
      }
    }
    if (long st = adp_ind_build_adp_index(con, schema, records, ddl_file, options)) return st;
    if (failed_names != nullptr) *failed_names = const_cast<char*>(failed.c_str());
    return 0L;
  });
}

long KAdpMssqlOperation::IndBuildAdpIndex(typ_sch_srec* schema, void* index_records, FILE* ddl_file,
                                          long options) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    const long type_id = schema != nullptr ? schema->type_id : 0;
    for (adp_ty_index_info* r : adp_ind_records(static_cast<utl_ty_col*>(index_records))) {
      if (strcasecmp(r->name, "objindex") == 0 || r->in_schema == 0) continue;
      long count = 0;
      const std::string fields = adp_ind_quoted(adp_ind_join(r->fields, ":", &count).c_str());
      const std::string name = adp_ind_quoted(r->name);
      const long unique = has_bit(this, r, kUniqueNumber) ? 1 : 0;
      char roamer = 0;
      if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
      std::string text = adp_ind_fmt("delete adp_sch_index where type_id=%ld and index_name='%s'\n", type_id,
                                     name.c_str());
      if (roamer != 0) {
        long objid = 0;
        if (long st = adp_ind_row_objid(con, &objid)) return st;
        text += adp_ind_fmt("insert adp_sch_index (objid, dev, type_id, index_name, flags, field_count, "
                            "field_names, comments) values(%ld, 1, ",
                            objid);
        text += adp_ind_fmt("%ld, '%s', %ld, %ld, '%s', '')", type_id, name.c_str(), unique, count, fields.c_str());
      } else {
        text += "insert adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) ";
        text += adp_ind_fmt(" values (%ld, '%s', %ld, %ld, '%s', '')", type_id, name.c_str(), unique, count,
                            fields.c_str());
      }
      if (long st = adp_ind_run(con, text, false, ddl_file, options)) return st;
    }
    return 0L;
  });
}

long KAdpMssqlOperation::IndSqlBuildTableIndex(char* table_name, void* index_records, void* text) {
  return append_each(index_records, text,
                     [&](const adp_ty_index_info* r) { return mssql_index(this, r, table_name) + "\n\ngo\n"; });
}

long KAdpOraOperation::IndSqlBuildTableIndex(char* table_name, void* index_records, void* text) {
  return append_each(index_records, text,
                     [&](const adp_ty_index_info* r) { return adp_ind_ora_text(this, r, table_name) + ";\n"; });
}
