// Carrying out table changes: the sorted change list is walked in runs of
// one table; each run's changes become action bits, applied in a fixed
// order; views come last. Failed steps are logged and counted.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql_log.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"
#include "store/dbs_msg.h"
#include "store/dbs_rdb.h"
#include "store/dbs_rdb_int.h"
#include "store/dbs_rdb_run.h"
#include "store/dbs_sql.h"
#include "store/dbs_upg.h"

namespace {

constexpr const char* kOwner = "dbs_rdb_change_tables";
constexpr long kDryRun = 1;
constexpr long kViewsAsNew = 0x80000;

// Action bits of a run.
enum : unsigned long {
  kDelete = 0x1,
  kAdd = 0x2,
  kRename = 0x4,
  kAddColumns = 0x8,
  kRebuild = 0x10,
  kIndexes = 0x40,
  kObjidIndex = 0x80,
  kArrays = 0x100,
  kDropView = 0x200,
  kCatalogIndexes = 0x400,
  kTrigger = 0x800,
  kRenameColumns = 0x1000,
  kTypeFlags = 0x2000,
};

const char* safe(const char* s) { return s ? s : ""; }

FILE* message_out() { return osl_file_stdout() ? osl_file_stdout() : stdout; }

FILE* sql_out() {
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  return log ? log : message_out();
}

struct runner {
  KAdpConnId* con;
  long options;
  FILE* out;
  long errors = 0;

  bool dry() const { return (options & kDryRun) != 0; }
  // Counts a failed step and logs it; true when it succeeded.
  bool step(long status, const char* marker = "*** ERROR ABOVE ***\n") {
    if (status == 0) {
      dbs_rdb_check_for_dump(options);
      return true;
    }
    adp_db_log_msg("%s", marker);
    ++errors;
    return false;
  }
};

unsigned long bits_of(const std::vector<dbs_ty_tbl_change*>& run) {
  const long server = adp_main_server_type();
  char* arg = nullptr;
  const bool rename_as_add = osl_sys_has_arg("-sch_rn", 0, &arg) == 1;
  unsigned long bits = 0;
  auto rebuild = [&bits] {
    bits &= ~static_cast<unsigned long>(kAddColumns);
    bits |= kRebuild | kCatalogIndexes | kTrigger;
  };
  auto add_column = [&bits] {
    if (bits & kRebuild) {
      bits |= kIndexes;
      return;
    }
    bits |= kAddColumns;
    if (!(dbs_main_get_super_flag() & 2)) bits |= kIndexes;
  };
  for (const dbs_ty_tbl_change* c : run) {
    switch (c->op) {
      case DBS_RDB_ADD_COLUMN:
      case DBS_RDB_ADD_COLUMN2:
        add_column();
        break;
      case DBS_RDB_DELETE_COLUMN:
      case DBS_RDB_MODIFY_COLUMN:
      case DBS_RDB_CASE_INSENSITIVE:
      case DBS_RDB_CASE_SENSITIVE:
      case DBS_RDB_RENAME_EXCL:
      case DBS_RDB_EXCL_BOTH:
      case DBS_RDB_EXCL_OLD:
      case DBS_RDB_EXCL_NEW:
        rebuild();
        break;
      case DBS_RDB_RENAME_COLUMN:
        if (server & (1 | 4))
          bits |= kRenameColumns;
        else if (rename_as_add)
          add_column();
        else
          rebuild();
        break;
      case DBS_RDB_ADD_TABLE:
        bits |= kAdd | kIndexes | kObjidIndex;
        break;
      case DBS_RDB_DELETE_TABLE:
        bits |= kDelete;
        break;
      case DBS_RDB_RENAME_TABLE:
        bits |= kRename;
        break;
      case DBS_RDB_READD_TABLE:
        bits |= kDelete | kAdd | kIndexes | kCatalogIndexes | kTrigger;
        break;
      case DBS_RDB_RECOMPILE_INDEXES:
        bits |= kIndexes;
        break;
      case DBS_RDB_ADD_ARRAYS:
        bits |= kArrays;
        break;
      case DBS_RDB_DROP_VIEW:
        bits |= kDropView;
        break;
      case DBS_RDB_TYPE_FLAGS:
        bits |= kTypeFlags;
        break;
      default:
        break;
    }
  }
  return bits;
}

// The run's records as a list of their own (type 701).
long run_list(const std::vector<dbs_ty_tbl_change*>& run, utl_ty_col** out) {
  if (long st = utl_col_make(kOwner, DBS_TY_TBL_CHANGE, 8, 8, 0, 0, out)) return st;
  for (const dbs_ty_tbl_change* c : run)
    if (long st = utl_col_push(*out, c, nullptr)) return st;
  return 0;
}

const dbs_ty_tbl_change* first_of(const std::vector<dbs_ty_tbl_change*>& run, long op) {
  for (const dbs_ty_tbl_change* c : run)
    if (c->op == op) return c;
  return nullptr;
}

typ_sch_srec* schema_of(const std::vector<dbs_ty_tbl_change*>& run) {
  for (const dbs_ty_tbl_change* c : run)
    if (c->schema) return c->schema;
  return nullptr;
}

const char* type_name(const typ_sch_srec* s) { return s && s->info ? s->info->name : ""; }

void report_dropped_indexes(utl_ty_estr* failed) {
  const char* names = nullptr;
  long length = 0;
  if (!failed || utl_estr_get_size(failed, &names, &length) || length == 0) return;
  dbs_alrt("dbs_rdb_change_tables", DBS_INDEXES_DROPPED, names);
  dbs_sql_catch_message();
}

// Rebuild or add columns, with the table's catalog indexes dropped before
// and rebuilt after.
void change_columns(runner& r, const char* table, typ_sch_srec* s, const std::vector<dbs_ty_tbl_change*>& run,
                    unsigned long bits, utl_ty_col* records) {
  utl_ty_col* list = nullptr;
  if (!r.step(run_list(run, &list))) return;
  r.step(adp_ind_drop_table_index(r.con, s, records, r.out, r.options));
  if (bits & kRebuild)
    r.step(dbs_rdb_modify_table(r.con, table, s, list, r.out, r.options));
  else
    r.step(dbs_rdb_extend_table(r.con, s, list, r.out, r.options));
  utl_ty_estr* failed = nullptr;
  r.step(adp_ind_build_table_index(r.con, s, records, &failed, r.out, r.options));
  report_dropped_indexes(failed);
  if (failed) utl_estr_free(kOwner, failed);
  utl_col_free(kOwner, list);
}

void binary_arrays(runner& r, typ_sch_srec* s) {
  if (!s) return;
  utl_ty_pool* pool = nullptr;
  if (utl_pl_create(kOwner, 512, &pool)) return;
  for (long gen_id : dbs_rdb::array_gen_ids(s)) {
    char* name = nullptr;
    if (!r.step(adp_bar_table_name(type_name(s), pool, gen_id, &name))) continue;
    if (r.dry()) {
      std::fprintf(r.out, "Would create binary array for table '%s', field #%ld\n", name, gen_id);
      continue;
    }
    char exists = 0;
    if (!r.step(adp_sch_does_tbl_exist(r.con, name, &exists))) continue;
    if (exists && !r.step(adp_sce_delete_table(r.con, name, r.out, r.options))) continue;
    r.step(adp_bar_create_with_name(r.con, name, gen_id));
  }
  utl_pl_free(kOwner, pool);
}

// Reads the stored index descriptions onto the type when it has none; the
// list read is handed back to be freed.
utl_ty_col* stored_indexes(runner& r, typ_sch_srec* s) {
  void* word = nullptr;
  if (!s || typ_sch_uptr_get(s, &word) || word) return nullptr;
  utl_ty_col* list = nullptr;
  if (!r.step(dbs_rdb_get_indexes(r.con, s->type_id, &list))) return nullptr;
  typ_sch_uptr_set(s, list);
  return list;
}

void apply_run(runner& r, const std::vector<dbs_ty_tbl_change*>& run) {
  const char* table = run.front()->table_name;
  typ_sch_srec* s = schema_of(run);
  const unsigned long bits = bits_of(run);
  if (bits & kRename) {
    const dbs_ty_tbl_change* c = first_of(run, DBS_RDB_RENAME_TABLE);
    r.step(adp_sce_rename_table(r.con, c->name, c->second_name, r.out, r.options));
  }
  utl_ty_col* triggers = nullptr;
  if ((bits & kTrigger) && s) r.step(adp_stp_get_table_trigger(r.con, s, &triggers));
  utl_ty_col* records = nullptr;
  utl_ty_col* read = nullptr;
  if ((bits & (kRebuild | kAddColumns | kIndexes | kCatalogIndexes)) && s) {
    if (r.step(utl_col_make(kOwner, 517, 8, 8, 0, 0, &records))) r.step(adp_ind_get_table_index(r.con, s, records));
    read = stored_indexes(r, s);
  }
  if ((bits & kDelete) && !(bits & kAdd)) r.step(adp_sce_delete_table(r.con, table, r.out, r.options));
  if (bits & kAdd) {
    const dbs_ty_tbl_change* c = first_of(run, DBS_RDB_READD_TABLE);
    if (c) {
      // The table is empty: a leftover copy and the table itself go first.
      const std::string leftover = std::string(table) + "_T";
      char exists = 0;
      if (r.step(adp_sch_does_tbl_exist(r.con, leftover.c_str(), &exists)) && exists)
        r.step(adp_sce_delete_table(r.con, leftover.c_str(), r.out, r.options));
      r.step(adp_sce_delete_table(r.con, table, r.out, r.options));
    } else {
      c = first_of(run, DBS_RDB_ADD_TABLE);
    }
    if (r.step(adp_sce_create_table(r.con, table, safe(c->name), nullptr, r.out, r.options)))
      r.step(adp_sce_create_synonym(r.con, table, r.out, r.options));
  }
  if ((bits & (kRebuild | kAddColumns)) && !(bits & kAdd)) change_columns(r, table, s, run, bits, records);
  if ((bits & kIndexes) && s) {
    r.step(dbs_rdb_drop_indexes(r.con, s, r.out, r.options));
    r.step(dbs_rdb_create_indexes(r.con, s, r.out, r.options));
  }
  if ((bits & kObjidIndex) && s) r.step(adp_sch_create_objid_index(r.con, s, r.out, r.options));
  if (bits & kRenameColumns) {
    utl_ty_col* list = nullptr;
    if (r.step(run_list(run, &list))) r.step(dbs_rdb_rename_columns(r.con, s, list, r.out, r.options));
    if (list) utl_col_free(kOwner, list);
  }
  if (bits & kDropView) {
    if (r.dry())
      std::fprintf(r.out, "Would drop view '%s'\n", table);
    else
      r.step(adp_sce_delete_view(r.con, table, r.out, r.options));
  }
  if (bits & kArrays) binary_arrays(r, s);
  if ((bits & kTrigger) && triggers && (adp_main_server_type() & 2))
    r.step(adp_stp_build_table_trigger(r.con, 0, triggers));
  if (bits & kTypeFlags)
    for (const dbs_ty_tbl_change* c : run)
      if (c->op == DBS_RDB_TYPE_FLAGS) r.step(adp_sce_modify_flags(r.con, c));
  if (triggers) adp_stp_free_table_trigger(triggers);
  if (records) {
    adp_ind_free_res_ind_col(records);
    utl_col_free(kOwner, records);
  }
  if (read) {
    typ_sch_uptr_set(s, nullptr);
    dbs_rdb_free_ind_col(nullptr, read);
  }
}

// Views last, from their SQL.
long define_views(runner& r, const std::vector<dbs_ty_tbl_change*>& all) {
  for (const dbs_ty_tbl_change* c : all) {
    if (c->op != DBS_RDB_DEFINE_VIEW) continue;
    if (r.options & kViewsAsNew) {
      if (adp_sce_create_table(r.con, c->table_name, safe(c->name), nullptr, r.out, r.options))
        cmn_alrt_clear(nullptr);
    } else {
      if (adp_sce_delete_view(r.con, c->table_name, r.out, r.options)) cmn_alrt_clear(nullptr);
      r.step(adp_sce_create_table(r.con, c->table_name, safe(c->name), nullptr, r.out, r.options),
             "***** ERROR ABOVE *****\n");
    }
    if (long st = adp_sce_create_synonym(r.con, c->table_name, r.out, r.options)) return st;
  }
  return 0;
}

}  // namespace

long dbs_rdb_check_for_dump(long options) {
  if (options & kDryRun) return 0;
  long& countdown = dbs_rdb::flush_countdown();
  if (++countdown < dbs_rdb::flush_period()) return 0;
  countdown = 0;
  FILE* log = nullptr;
  if (adp_sql_get_log(&log) == 0 && log) std::fflush(log);
  return 0;
}

long dbs_rdb_change_tables(KAdpConnId* con, utl_ty_col* changes, long mode) {
  runner r{con, mode, sql_out()};
  if (long st = adp_sce_prepare_for_changes()) return st;
  std::fprintf(r.out, "UPGRADE MAX COPY SIZE: %ld\n", dbs_rdb::read_max_copy_size());
  const std::vector<dbs_ty_tbl_change*> all = dbs_rdb::changes(changes);
  for (size_t i = 0; i < all.size();) {
    std::vector<dbs_ty_tbl_change*> run;
    size_t j = i;
    while (j < all.size() && std::strcmp(all[j]->table_name, all[i]->table_name) == 0) run.push_back(all[j++]);
    apply_run(r, run);
    i = j;
  }
  long st = define_views(r, all);
  long finish = adp_sce_finish_changes();
  std::fprintf(message_out(), "Table/view modification encountered %ld errors.\n", r.errors);
  if (st) return st;
  if (r.errors) return dbs_alrt("dbs_rdb_change_tables", DBS_TABLE_CHANGES);
  return finish;
}
