// Rebuilding a table: a new definition under a temporary name, the rows
// copied across (table to table, or through a dump file), then the old
// table replaced by the new one.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"
#include "store/dbs_rdb_int.h"
#include "store/dbs_rdb_run.h"

namespace {

constexpr const char* kOwner = "dbs_rdb_modify_table";
constexpr unsigned long kSchForceDump = 0x8000;
constexpr long kOptVerbose = 0x400;

const char* safe(const char* s) { return s ? s : ""; }

// The copy lists: target column, its source (an old column or a value
// text) and whether the source is a value.
struct copy_lists {
  std::vector<std::string> targets, sources, is_value;
  bool has(const std::string& target) const {
    for (const auto& t : targets)
      if (t == target) return true;
    return false;
  }
  void remove(const std::string& target) {
    for (size_t i = 0; i < targets.size(); ++i) {
      if (targets[i] != target) continue;
      targets.erase(targets.begin() + static_cast<long>(i));
      sources.erase(sources.begin() + static_cast<long>(i));
      is_value.erase(is_value.begin() + static_cast<long>(i));
      return;
    }
  }
  void add(const std::string& target, const std::string& source, bool value) {
    if (has(target)) return;
    targets.push_back(target);
    sources.push_back(source);
    is_value.push_back(value ? "1" : "0");
  }
};

// The column's fate in this run: left out (added without a value), given
// a value, or copied from its old name.
void column(copy_lists& lists, const std::vector<dbs_ty_tbl_change*>& run, const char* name) {
  std::string source = safe(name);
  for (const dbs_ty_tbl_change* c : run) {
    if ((c->op == DBS_RDB_ADD_COLUMN || c->op == DBS_RDB_ADD_COLUMN2) && std::strcmp(safe(c->name), source.c_str()) == 0) {
      if (c->default_text) lists.add(source, c->default_text, true);
      return;
    }
    if ((c->op == DBS_RDB_RENAME_COLUMN || c->op == DBS_RDB_MODIFY_COLUMN) && c->second_name &&
        std::strcmp(c->second_name, name) == 0)
      source = safe(c->name);
  }
  lists.add(name, source, false);
}

long to_col(const std::vector<std::string>& texts, utl_ty_col** out) {
  if (long st = utl_col_make(kOwner, 516, 8, 8, 0, 0, out)) return st;
  for (const auto& t : texts)
    if (long st = utl_col_push(*out, t.c_str(), nullptr)) return st;
  return 0;
}

bool link_table(const char* table) {
  if (std::strncmp(table, "dbo.", 4) == 0) table += 4;
  return std::strncmp(table, "mtm", 3) == 0;
}

typ_sch_rrec* run_relation(const std::vector<dbs_ty_tbl_change*>& run) {
  for (const dbs_ty_tbl_change* c : run)
    if (c->operand && c->op != DBS_RDB_TYPE_FLAGS) return reinterpret_cast<typ_sch_rrec*>(c->operand);
  return nullptr;
}

void build_lists(copy_lists& lists, const char* table, typ_sch_srec* s, const std::vector<dbs_ty_tbl_change*>& run) {
  if (link_table(table)) {
    if (const typ_sch_rrec* r = run_relation(run)) {
      column(lists, run, r->pname);
      column(lists, run, r->fname);
    }
  } else if (s) {
    for (long i = 0; i < s->nfields; ++i) column(lists, run, s->fields[i].name);
    for (long i = 0; i < s->nrels; ++i) {
      const typ_sch_rel_inst& e = s->rels[i];
      const typ_sch_rrec* r = e.rel;
      if (e.side != 'f' || !r || r->type == TYP_REL_MTM) continue;
      if (r->exclusive) {
        column(lists, run, r->phys_name);
        column(lists, run, r->focus_field);
      } else {
        column(lists, run, r->fname);
      }
    }
  }
  // Columns the run adds with a value and the model does not list.
  for (const dbs_ty_tbl_change* c : run)
    if ((c->op == DBS_RDB_ADD_COLUMN || c->op == DBS_RDB_ADD_COLUMN2) && c->default_text && c->name)
      lists.add(c->name, c->default_text, true);
}

// The definition of the new table under the temporary name.
long definition(KAdpConnId* con, const char* table, const char* temp, typ_sch_srec* s,
                const std::vector<dbs_ty_tbl_change*>& run, std::string* ddl) {
  if (link_table(table)) {
    std::string text = safe(adp_sch_mtm_table_def(run_relation(run), 0));
    size_t at = text.find(table);
    if (at != std::string::npos) text.replace(at, std::strlen(table), temp);
    *ddl = text;
    return 0;
  }
  utl_ty_estr* def = nullptr;
  if (long st = adp_sch_table_def(con, s, temp, nullptr, DBS_RDB_WITH_RELATION_COLUMNS, &def)) return st;
  const char* text = nullptr;
  long length = 0;
  utl_estr_get_size(def, &text, &length);
  *ddl = safe(text);
  return utl_estr_free(kOwner, def);
}

// Why the rows go through a dump file (null: they do not).
bool through_dump(typ_sch_srec* s, long size, FILE* stream, long options) {
  const long server = adp_main_server_type();
  const bool say = (options & kOptVerbose) && stream;
  if (server & 0x100) return true;
  if (s && (s->flags & kSchForceDump)) {
    if (say) std::fprintf(stream, "Dumping to file because FORCE is on for this type.\n");
    return true;
  }
  const long max = dbs_rdb::max_copy_size();
  if (!(server & 4) && max >= 1 && max < size) {
    if (say) std::fprintf(stream, "Dumping to file because table > %ld bytes (%ld bytes).\n", max, size);
    return true;
  }
  return false;
}

// The new relation of a record whose relation joins an exclusive group
// (the old one held a plain key column); null for any other record.
const typ_sch_rrec* joining_group(const dbs_ty_tbl_change* c) {
  if (c->op != DBS_RDB_EXCL_NEW) return nullptr;
  return reinterpret_cast<const typ_sch_rrec*>(c->operand2);
}

// A group's columns the old table does not have yet start empty: the
// conversion fills them from the old key column once the rows are in.
long leave_out_new_group_columns(KAdpConnId* con, const char* table, const std::vector<dbs_ty_tbl_change*>& run,
                                 copy_lists& lists) {
  for (const dbs_ty_tbl_change* c : run) {
    const typ_sch_rrec* r = joining_group(c);
    if (!r) continue;
    for (const char* column : {r->phys_name, r->focus_field}) {
      if (!column || !lists.has(column)) continue;
      char exists = 0;
      if (long st = adp_sch_does_col_exist(con, table, column, &exists)) return st;
      if (!exists) lists.remove(column);
    }
  }
  return 0;
}

long upgrade_exclusive(KAdpConnId* con, typ_sch_srec* s, const char* table, const char* temp,
                       const std::vector<dbs_ty_tbl_change*>& run, FILE* stream, long options) {
  for (const dbs_ty_tbl_change* c : run) {
    const typ_sch_rrec* r = joining_group(c);
    if (!r || (s && r->fschema != s)) continue;
    if (long st = adp_sce_upgrade_exclusive(con, c, table, temp, stream, options)) return st;
    dbs_rdb_check_for_dump(options);
  }
  return 0;
}

long copy_rows(KAdpConnId* con, const char* table, const char* temp, typ_sch_srec* s, const copy_lists& lists,
               FILE* stream, long options) {
  long kind = 0, size = 0;
  if (long st = adp_sce_get_table_info(con, table, &kind, &size)) return st;
  utl_ty_col *targets = nullptr, *sources = nullptr, *values = nullptr;
  long st = to_col(lists.targets, &targets);
  if (!st) st = to_col(lists.sources, &sources);
  if (!st) st = to_col(lists.is_value, &values);
  if (!st) {
    if (through_dump(s, size, stream, options)) {
      st = adp_sce_fill_file_from_table(con, table, temp, targets, sources, values, stream, options, s);
      if (st && s) s->flags &= ~static_cast<unsigned long>(0x10);
    } else {
      st = adp_sce_fill_table_from_table(con, table, temp, targets, sources, values, stream, options, s);
    }
  }
  for (utl_ty_col* c : {targets, sources, values})
    if (c) utl_col_free(kOwner, c);
  return st;
}

}  // namespace

long dbs_rdb_modify_table(KAdpConnId* con, const char* table, typ_sch_srec* s, utl_ty_col* changes, FILE* stream,
                          long options) {
  const std::vector<dbs_ty_tbl_change*> run = dbs_rdb::changes(changes);
  bool dropped = false;
  for (const dbs_ty_tbl_change* c : run) dropped = dropped || c->op == DBS_RDB_DELETE_COLUMN;
  copy_lists lists;
  build_lists(lists, table, s, run);
  if (long st = leave_out_new_group_columns(con, table, run, lists)) return st;
  const std::string temp = std::string("T_") + table;
  std::string ddl;
  if (long st = definition(con, table, temp.c_str(), s, run, &ddl)) return st;
  char exists = 0;
  if (long st = adp_sch_does_tbl_exist(con, temp.c_str(), &exists)) return st;
  if (exists)
    if (long st = adp_sce_delete_table(con, temp.c_str(), stream, options)) return st;
  if (long st = adp_sce_create_table(con, temp.c_str(), ddl.c_str(), table, stream, options)) return st;
  dbs_rdb_check_for_dump(options);
  if (long st = copy_rows(con, table, temp.c_str(), s, lists, stream, options)) {
    // The old table stays; the half-filled copy goes.
    long code = 0;
    const char* text = nullptr;
    std::string kept = cmn_alrt_top(nullptr, &code, &text) == 0 && text ? text : "";
    adp_sce_delete_table(con, temp.c_str(), stream, options);
    cmn_alrt_clear(nullptr);
    if (code) cmn_alrt_push_msg(nullptr, code, kept.c_str());
    return st;
  }
  dbs_rdb_check_for_dump(options);
  if (long st = upgrade_exclusive(con, s, table, temp.c_str(), run, stream, options)) return st;
  if (long st = adp_sce_delete_table(con, table, stream, options)) return st;
  dbs_rdb_check_for_dump(options);
  if (long st = adp_sce_rename_table(con, temp.c_str(), table, stream, options)) return st;
  dbs_rdb_check_for_dump(options);
  if (!dropped)
    if (long st = adp_sce_make_table_searchable(con, s, table, stream, options)) return st;
  return 0;
}
