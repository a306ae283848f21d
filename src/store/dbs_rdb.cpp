// The table-change engine's record type, its print form and order, and its
// small helpers: table names, temporary keys, finding changes, rename pairs.
#include "store/dbs_rdb.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb_int.h"

namespace dbs_rdb {
namespace {
long g_max_copy_size = 0;
long g_flush_period = 1;
long g_flush_countdown = 0;
}  // namespace

long max_copy_size() { return g_max_copy_size; }

long read_max_copy_size() {
  char* value = nullptr;
  if (osl_sys_get_config_string("UPGRADE_MAX_COPY_SIZE", &value) == 0 && value && *value) {
    const long size = loc_st_atol(value);
    g_max_copy_size = size < 0 ? 0 : size;
  }
  return g_max_copy_size;
}

std::vector<dbs_ty_tbl_change*> changes(utl_ty_col* list) {
  std::vector<dbs_ty_tbl_change*> out;
  long n = 0;
  if (list) utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(list, i, &e) == 0 && e) out.push_back(static_cast<dbs_ty_tbl_change*>(e));
  }
  return out;
}

std::vector<long> array_gen_ids(const typ_sch_srec* s) {
  std::vector<long> ids;
  if (!s) return ids;
  auto take = [&ids](const typ_sch_frec* fields, long n) {
    for (long i = 0; fields && i < n; ++i)
      if (fields[i].flags & TYP_FLD_BARRAY) ids.push_back(fields[i].gen_id);
  };
  take(s->fields, s->nfields);
  if (s->info) take(s->info->special, s->info->nspecial);
  return ids;
}

utl_ty_col* member(utl_ty_col* list, long i) {
  void* e = nullptr;
  if (utl_col_ith(list, i, &e) || !e) return nullptr;
  return *static_cast<utl_ty_col**>(e);
}
long& flush_period() { return g_flush_period; }
long& flush_countdown() { return g_flush_countdown; }

}  // namespace dbs_rdb

namespace {

const char* safe(const char* s) { return s ? s : ""; }

// The column type text of a change: precision and scale from the new
// model's field of that name, when there is one.
void type_text(const dbs_ty_tbl_change* c, const char* column, long db_type, long length, char* out, long size) {
  long precision = -1, scale = -1;
  if (c->schema && column) {
    for (long i = 0; i < c->schema->nfields; ++i) {
      const typ_sch_frec& f = c->schema->fields[i];
      if (f.name && std::strcmp(f.name, column) == 0) {
        precision = f.dec_precision;
        scale = f.dec_scale;
        break;
      }
    }
  }
  out[0] = '\0';
  if (adp_sch_convert_to_string(db_type, length, precision, scale, out, size)) out[0] = '\0';
}

void print_modify(FILE* f, const dbs_ty_tbl_change* c) {
  const char* old_name = safe(c->name);
  const char* new_name = c->second_name ? c->second_name : old_name;
  char new_type[128];
  type_text(c, new_name, c->new_db_type, c->new_length, new_type, sizeof new_type);
  std::fprintf(f, "modify %s column '%s'.\n", new_type, old_name);
  if (std::strcmp(old_name, new_name) != 0) std::fprintf(f, "  Change name from '%s' to '%s'.\n", old_name, new_name);
  if (c->old_db_type != c->new_db_type) {
    char old_type[128];
    type_text(c, old_name, c->old_db_type, c->old_length, old_type, sizeof old_type);
    std::fprintf(f, "  Change type from %s to %s.\n", old_type, new_type);
  }
  if (c->old_length != c->new_length)
    std::fprintf(f, "  Change length from %ld to %ld.\n", c->old_length, c->new_length);
}

}  // namespace

long dbs_rdb_print_change(FILE* f, long, const void* record, long, long number) {
  if (!f || !record) return 0;
  auto* c = static_cast<const dbs_ty_tbl_change*>(record);
  std::fprintf(f, "%ld) %s: ", number + 1, c->table_name);
  switch (c->op) {
    case DBS_RDB_ADD_COLUMN: {
      char type[128];
      type_text(c, c->name, c->old_db_type, c->old_length, type, sizeof type);
      std::fprintf(f, "add column '%s' a %s.\n", safe(c->name), type);
      break;
    }
    case DBS_RDB_DELETE_COLUMN:
      std::fprintf(f, "delete column '%s'.\n", safe(c->name));
      break;
    case DBS_RDB_MODIFY_COLUMN:
      print_modify(f, c);
      break;
    case DBS_RDB_RENAME_COLUMN:
      if (std::strcmp(safe(c->name), safe(c->second_name)) != 0)
        std::fprintf(f, "rename column from '%s' to '%s'.\n", safe(c->name), safe(c->second_name));
      break;
    case DBS_RDB_ADD_TABLE:
      std::fprintf(f, "add table with definition:\n  '%s'\n", safe(c->name));
      break;
    case DBS_RDB_DELETE_TABLE:
      std::fprintf(f, "delete table.\n");
      break;
    case DBS_RDB_MODIFY_TABLE:
      std::fprintf(f, "modify table.\n");
      break;
    case DBS_RDB_RENAME_TABLE:
      std::fprintf(f, "rename table from '%s' to '%s'.\n", safe(c->name), safe(c->second_name));
      break;
    case DBS_RDB_DEFINE_VIEW:
      std::fprintf(f, "define view with this sql:\n   '%50.50s...'\n", safe(c->name));
      break;
    case DBS_RDB_NO_OP:
      std::fprintf(f, "no op\n");
      break;
    case DBS_RDB_READD_TABLE:
      std::fprintf(f, "delete, then re-add table with definition:\n  '%s'\n", safe(c->name));
      break;
    case DBS_RDB_RECOMPILE_INDEXES:
      std::fprintf(f, "recompile indexes\n");
      break;
    case DBS_RDB_ADD_ARRAYS:
      std::fprintf(f, "add binary arrays tables.\n");
      break;
    case DBS_RDB_DROP_VIEW:
      std::fprintf(f, "dropping view.\n");
      break;
    case DBS_RDB_CASE_INSENSITIVE:
      std::fprintf(f, "make column '%s' case-insensitive.\n", safe(c->name));
      break;
    case DBS_RDB_CASE_SENSITIVE:
      std::fprintf(f, "make column '%s' case-sensitive.\n", safe(c->name));
      break;
    default:
      std::fprintf(f, "UNKNOWN table change op type %ld.\n", c->op);
      break;
  }
  return 0;
}

long dbs_rdb_compare_change(const void* a, const void* b) {
  auto* x = static_cast<const dbs_ty_tbl_change*>(a);
  auto* y = static_cast<const dbs_ty_tbl_change*>(b);
  if (int d = std::strcmp(x->table_name, y->table_name)) return d < 0 ? -1 : 1;
  // Within a table a rename of the table comes first.
  bool xr = x->op == DBS_RDB_RENAME_TABLE, yr = y->op == DBS_RDB_RENAME_TABLE;
  if (xr != yr) return xr ? -1 : 1;
  if (x->op != y->op) return x->op < y->op ? -1 : 1;
  int d = std::strcmp(safe(x->name), safe(y->name));
  return d < 0 ? -1 : d > 0 ? 1 : 0;
}

long dbs_rdb_init() {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  info.size = sizeof(dbs_ty_tbl_change);
  info.compare = cmn_typ_proc(dbs_rdb_compare_change);
  info.print = cmn_typ_proc(dbs_rdb_print_change);
  return cmn_typ_install_info(DBS_TY_TBL_CHANGE, &info);
}

long dbs_rdb_temp_unique_key(long n) {
  auto key = static_cast<uint32_t>((static_cast<uint64_t>(n) & 0x0fffffffu) | 0xffc00000u);
  return static_cast<int32_t>(key);
}

long dbs_rdb_make_table_name(const char* type_name, char* out) {
  const char* prefix = adp_sql_get_perf_flag(nullptr) == 1 ? "dbo.table_" : "table_";
  std::snprintf(out, DBS_RDB_TABLE_NAME_MAX + 1, "%s%.64s", prefix, safe(type_name));
  return 0;
}

long dbs_rdb_find_change(utl_ty_col* list, const char* name, long op, dbs_ty_tbl_change** out) {
  *out = nullptr;
  long n = 0;
  if (long st = utl_col_num(list, &n)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(list, i, &e)) return st;
    auto* c = static_cast<dbs_ty_tbl_change*>(e);
    bool hit = op == DBS_RDB_RENAME_COLUMN ? c->op == op && std::strcmp(safe(c->name), safe(name)) == 0
                                           : std::strcmp(c->table_name, safe(name)) == 0 && (op == -1 || c->op == op);
    if (hit) {
      *out = c;
      return 0;
    }
  }
  return 0;
}

long dbs_rdb_add_rename_tbl(const char* old_name, const char* new_name, utl_ty_col* old_list,
                            utl_ty_col* new_list) {
  if (long st = utl_col_push(old_list, safe(old_name), nullptr)) return st;
  return utl_col_push(new_list, safe(new_name), nullptr);
}

long dbs_rdb_free_textptr(void* p) {
  if (p) utl_mem_free("dbs_rdb_free_textptr", p);
  return 0;
}

long dbs_rdb_set_max_copy_size(long n) {
  dbs_rdb::g_max_copy_size = n;
  return 0;
}
