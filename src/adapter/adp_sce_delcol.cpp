// A column removed by copying its table: the copy takes every other column
// of the type (fields with their search columns, the key columns of its
// relations, those of exclusive groups once each), the rows are copied
// across, and only then does the old table go and the copy take its name,
// its grants and its indexes.
#include <cstring>
#include <set>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kTableConvert = 0;
constexpr long kColumnConvert = 3;
constexpr long kSearchColumnConvert = 4;
constexpr long kRelColumnConvert = 5;
constexpr long kTempTableConvert = 7;
constexpr long kTypeTextSize = 64;
constexpr long kRecordList = 517;
constexpr long kRoom = 8;
constexpr const char kOwner[] = "adp_sce_delete_col";

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

// The copy's column definitions and the column list both sides share.
struct copy_columns {
  std::string definitions;
  std::string list;
  std::set<std::string> written;

  void add(const std::string& column, const std::string& type) {
    if (!written.insert(column).second) return;
    const char* s = list.empty() ? "" : ",";
    definitions += s + (" " + column + " " + type);
    list += s + (" " + column);
  }
};

long field_columns(KAdpConnId* con, const typ_sch_srec* schema, const char* deleted, copy_columns* out) {
  const bool search = adp_sce_upper_columns(con);
  for (long i = 0; i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    if (std::strcmp(text_of(f.name), deleted) == 0) continue;
    char type[kTypeTextSize] = "";
    if (long st = adp_sch_convert_to_string(f.db_type, f.array_size, f.dec_precision, f.dec_scale, type,
                                            kTypeTextSize)) {
      return st;
    }
    out->add(adp_sch_phys(con, f.name, kColumnConvert), type);
    if (search && (f.flags & ADP_SCE_SEARCHABLE) != 0) out->add(adp_sch_phys(con, f.name, kSearchColumnConvert), type);
  }
  return 0;
}

// The key columns of the type's relations on their foreign side, but the
// deleted one's.
void relation_columns(KAdpConnId* con, const typ_sch_srec* schema, const char* deleted, copy_columns* out) {
  const char* number = adp_sce_oracle() ? "number NULL" : "int NULL";
  for (long i = 0; i < schema->nrels; ++i) {
    const typ_sch_rel_inst& e = schema->rels[i];
    const typ_sch_rrec* r = e.rel;
    if (r == nullptr || e.side != 'f' || r->type == TYP_REL_MTM) continue;
    if (std::strcmp(text_of(r->fname), deleted) == 0) continue;
    if (r->exclusive != 0 && r->phys_name != nullptr && r->phys_name[0] != '\0') {
      out->add(adp_sch_phys(con, r->phys_name, kRelColumnConvert), number);
      if (r->focus_field != nullptr && r->focus_field[0] != '\0')
        out->add(adp_sch_phys(con, r->focus_field, kColumnConvert), number);
    } else {
      out->add(adp_sch_phys(con, r->fname, kRelColumnConvert), number);
    }
  }
}

// The table's indexes as the catalogue has them, made again on the copy.
// Those on the deleted column cannot be made again and are left out.
long rebuild_indexes(KAdpConnId* con, typ_sch_srec* schema, utl_ty_col* records) {
  long count = 0;
  if (long st = utl_col_num(records, &count)) return st;
  if (count == 0) return 0;
  utl_ty_estr* failed = nullptr;
  long st = adp_ind_build_table_index(con, schema, records, &failed, nullptr, 0);
  const char* names = nullptr;
  long length = 0;
  if (failed != nullptr && utl_estr_get_size(failed, &names, &length) == 0 && length > 0) {
    adp_db_log_msg("Indexes not rebuilt after a column delete on '%s': %s\n", schema->info->name, names);
    cmn_alrt_clear(nullptr);
    st = 0;
  }
  if (failed != nullptr) utl_estr_free(kOwner, failed);
  return st;
}

long copy_table(KAdpConnId* con, typ_sch_srec* schema, const std::string& table, const std::string& temp,
                const copy_columns& columns, utl_ty_col* records) {
  char exists = 0;
  if (long st = adp_sch_does_tbl_exist(con, temp.c_str(), &exists)) return st;
  if (exists != 0)
    if (long st = adp_sce_delete_table(con, temp.c_str(), nullptr, 0)) return st;
  if (long st = adp_sce_run_ddl(con, "CREATE TABLE " + temp + " (" + columns.definitions + ")\n", nullptr, 0))
    return st;
  const std::string insert = adp_sce_oracle() ? "INSERT INTO " : "insert ";
  if (long st = adp_sce_run_dml(con, insert + temp + " (" + columns.list + ") select " + columns.list + " from " + table,
                                nullptr, 0)) {
    // The old table stays whole; the half-made copy goes.
    adp_sce_delete_table(con, temp.c_str(), nullptr, 0);
    return st;
  }
  if (long st = adp_sce_delete_table(con, table.c_str(), nullptr, 0)) return st;
  const std::string rename = adp_sce_oracle() ? "RENAME " + temp + " to " + table : "sp_rename " + temp + ", " + table;
  if (long st = adp_sce_run_ddl(con, rename, nullptr, 0)) return st;
  if (long st = adp_usr_table_grant(con, table.c_str(), 0, 0)) return st;
  return rebuild_indexes(con, schema, records);
}

}  // namespace

long adp_sce_delete_col(KAdpConnId* con, typ_sch_srec* schema, const char* type_name, const char* column) {
  if (long st = adp_db_check_conn(con)) return st;
  if (schema == nullptr || schema->info == nullptr) return 0;
  const std::string table = adp_sch_phys(con, type_name != nullptr ? type_name : schema->info->name, kTableConvert);
  const std::string temp = adp_sch_phys(con, table.c_str(), kTempTableConvert);
  if (long st = adp_sce_check_name(table.c_str())) return st;
  if (long st = adp_sce_check_name(temp.c_str())) return st;
  copy_columns columns;
  if (long st = field_columns(con, schema, text_of(column), &columns)) return st;
  relation_columns(con, schema, text_of(column), &columns);
  for (const std::string& c : columns.written)
    if (long st = adp_sce_check_name(c.c_str())) return st;
  utl_ty_col* records = nullptr;
  if (long st = utl_col_make(kOwner, kRecordList, kRoom, kRoom, 0, 0, &records)) return st;
  long st = adp_ind_get_table_index(con, schema, records);
  if (st == 0) st = copy_table(con, schema, table, temp, columns, records);
  adp_ind_free_res_ind_col(records);
  utl_col_free(kOwner, records);
  return st;
}
