// Change calculation: turns the difference records of a schema upgrade into
// the sorted list of table changes, with the upgrade journal.
#include <cstring>
#include <string>

#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_sys.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_acc.h"
#include "schema/typ_diff.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"
#include "store/dbs_rdb_calc.h"
#include "store/dbs_rdb_int.h"
#include "store/dbs_upg.h"

namespace dbs_rdb {

long calc::text(const char* source, char** copy) {
  *copy = nullptr;
  return source ? utl_col_alloc_string(list, source, copy) : 0;
}

long calc::add_table(dbs_ty_tbl_change& change, const char* table) {
  const char* name = table ? table : "";
  long n = 0;
  if (long st = utl_col_num(old_names, &n)) return st;
  for (long i = 0; i < n; ++i) {
    void* o = nullptr;
    void* r = nullptr;
    utl_col_ith(old_names, i, &o);
    utl_col_ith(new_names, i, &r);
    if (o && r && std::strcmp(static_cast<const char*>(o), name) == 0) {
      name = static_cast<const char*>(r);
      break;
    }
  }
  std::snprintf(change.table_name, sizeof change.table_name, "%s", name);
  return utl_col_push(list, &change, nullptr);
}

long calc::add(dbs_ty_tbl_change& change, const char* type_name) {
  char table[DBS_RDB_TABLE_NAME_MAX + 1];
  dbs_rdb_make_table_name(type_name, table);
  return add_table(change, table);
}

long calc::write_journal(long opcode, const char* type_name, const char* text1, const std::string& details) {
  if (!journal) return 0;
  // The adapter quotes the names itself; the details are a literal already.
  return adp_sce_insert_upgrade_ops(con, ++entry, sequence, opcode, type_name ? type_name : "", text1 ? text1 : "",
                                    details.c_str());
}

}  // namespace dbs_rdb

namespace {

using dbs_rdb::calc;
using dbs_rdb::sql_literal;

constexpr const char* kOwner = "dbs_rdb_calc_changes";

const char* safe(const char* s) { return s ? s : ""; }
const char* name_of(const typ_sch_srec* s) { return s && s->info ? s->info->name : ""; }

bool mtm(const typ_sch_diff_rel_info& r) { return r.rel_type == TYP_REL_MTM; }

// The link table a relation difference ends with.
const char* new_link_table(const typ_sch_diff_rec& d) {
  if (d.new_rel.mtm_table && *d.new_rel.mtm_table) return d.new_rel.mtm_table;
  if (d.rel_rec && d.rel_rec->mtm_table) return d.rel_rec->mtm_table;
  return safe(d.rel.mtm_table);
}

bool link_renamed(const typ_sch_diff_rec& d) {
  return mtm(d.rel) && std::strcmp(safe(d.rel.mtm_table), new_link_table(d)) != 0;
}

// Step 2: the tables whose names change.
long rename_pairs(calc& c, long count, typ_sch_diff_rec* records) {
  for (long i = 0; i < count; ++i) {
    const typ_sch_diff_rec& d = records[i];
    if (d.op == TYP_DIFF_MODIFY_TYPE && d.schema && d.old_schema &&
        std::strcmp(name_of(d.schema), name_of(d.old_schema)) != 0) {
      char from[DBS_RDB_TABLE_NAME_MAX + 1], to[DBS_RDB_TABLE_NAME_MAX + 1];
      dbs_rdb_make_table_name(name_of(d.old_schema), from);
      dbs_rdb_make_table_name(name_of(d.schema), to);
      if (long st = dbs_rdb_add_rename_tbl(from, to, c.old_names, c.new_names)) return st;
    } else if ((d.op == TYP_DIFF_RENAME_REL || d.op == TYP_DIFF_MODIFY_REL || d.op == TYP_DIFF_REL_KEPT) &&
               link_renamed(d)) {
      if (long st = dbs_rdb_add_rename_tbl(d.rel.mtm_table, new_link_table(d), c.old_names, c.new_names))
        return st;
    }
  }
  return 0;
}

long rename_table(calc& c, const char* table, const char* from, const char* to, const typ_sch_srec* schema) {
  dbs_ty_tbl_change ch{};
  ch.op = DBS_RDB_RENAME_TABLE;
  ch.schema = const_cast<typ_sch_srec*>(schema);
  if (long st = c.text(from, &ch.name)) return st;
  if (long st = c.text(to, &ch.second_name)) return st;
  return c.add_table(ch, table);
}

bool listed(calc& c, const char* table, long op, const char* name = nullptr) {
  dbs_ty_tbl_change* found = nullptr;
  dbs_rdb_find_change(c.list, op == DBS_RDB_RENAME_COLUMN ? name : table, op, &found);
  return found && (op != DBS_RDB_RENAME_COLUMN || std::strcmp(found->table_name, table) == 0);
}

long add_column(calc& c, const char* type_name, const typ_sch_frec& f, typ_sch_srec* schema) {
  std::string journal;
  std::string def = dbs_rdb::column_default(f, &journal);
  dbs_ty_tbl_change ch{};
  ch.op = DBS_RDB_ADD_COLUMN;
  ch.schema = schema;
  ch.old_db_type = f.db_type;
  ch.old_length = f.array_size;
  if (long st = c.text(f.name, &ch.name)) return st;
  if (long st = c.text(def.c_str(), &ch.default_text)) return st;
  if (long st = c.add(ch, type_name)) return st;
  return c.write_journal(5, type_name, f.name, journal);
}

// A key column without default (relations, exclusive groups).
long add_key_column(calc& c, const char* type_name, const char* column, typ_sch_srec* schema) {
  dbs_ty_tbl_change ch{};
  ch.op = DBS_RDB_ADD_COLUMN;
  ch.schema = schema;
  ch.old_db_type = 0;
  ch.old_length = 1;
  if (long st = c.text(column, &ch.name)) return st;
  return c.add(ch, type_name);
}

long simple(calc& c, long op, const char* type_name, typ_sch_srec* schema, const char* name = nullptr) {
  dbs_ty_tbl_change ch{};
  ch.op = op;
  ch.schema = schema;
  if (long st = c.text(name, &ch.name)) return st;
  return c.add(ch, type_name);
}

long add_relation(calc& c, const typ_sch_diff_rec& d) {
  const char* type = name_of(d.schema);
  if (mtm(d.rel)) {
    const char* link = new_link_table(d);
    if (!listed(c, link, DBS_RDB_ADD_TABLE)) {
      dbs_ty_tbl_change ch{};
      ch.op = DBS_RDB_ADD_TABLE;
      ch.schema = d.schema;
      ch.operand = reinterpret_cast<unsigned long>(d.rel_rec);
      if (long st = c.text(adp_sch_mtm_table_def(d.rel_rec, c.journal ? 1 : 0), &ch.name)) return st;
      if (long st = c.add_table(ch, link)) return st;
    }
  } else {
    // The key column stands on the foreign side's table.
    const bool foreign = d.rel.side == 'f';
    typ_sch_srec* holder = foreign ? d.schema : d.rel.target;
    const char* column = foreign ? d.rel.name : d.rel.inv_name;
    if (d.rel_rec && d.rel_rec->fschema) {
      holder = d.rel_rec->fschema;
      column = d.rel_rec->fname;
    }
    if (long st = add_key_column(c, name_of(holder), column, holder)) return st;
  }
  if (d.rel.side != 'p') return c.write_journal(9, type, d.rel.name, "''");
  return 0;
}

long delete_relation(calc& c, const typ_sch_diff_rec& d) {
  if (mtm(d.rel)) {
    dbs_ty_tbl_change ch{};
    ch.op = DBS_RDB_DELETE_TABLE;
    ch.schema = d.schema;
    return c.add_table(ch, d.rel.mtm_table);
  }
  if (d.rel.side == 'f') return simple(c, DBS_RDB_DELETE_COLUMN, name_of(d.schema), d.schema, d.rel.name);
  return 0;
}

long rename_relation(calc& c, const typ_sch_diff_rec& d) {
  if (!mtm(d.rel)) {
    if (d.rel.side != 'f') return 0;
    dbs_ty_tbl_change ch{};
    ch.op = DBS_RDB_RENAME_COLUMN;
    ch.schema = d.schema;
    ch.old_db_type = ch.new_db_type = 0;
    ch.old_length = ch.new_length = 1;
    if (long st = c.text(d.rel.name, &ch.name)) return st;
    if (long st = c.text(d.new_rel.name, &ch.second_name)) return st;
    return c.add(ch, name_of(d.schema));
  }
  const char* link = new_link_table(d);
  if (link_renamed(d) && !listed(c, link, DBS_RDB_RENAME_TABLE))
    if (long st = rename_table(c, link, d.rel.mtm_table, link, d.schema)) return st;
  const char* olds[2] = {d.rel.name, d.rel.inv_name};
  const char* news[2] = {d.new_rel.name, d.new_rel.inv_name};
  for (int i = 0; i < 2; ++i) {
    if (std::strcmp(safe(olds[i]), safe(news[i])) == 0 || listed(c, link, DBS_RDB_RENAME_COLUMN, olds[i])) continue;
    dbs_ty_tbl_change ch{};
    ch.op = DBS_RDB_RENAME_COLUMN;
    ch.schema = d.schema;
    ch.operand = reinterpret_cast<unsigned long>(d.new_rel_rec ? d.new_rel_rec : d.rel_rec);
    ch.old_length = ch.new_length = 1;
    if (long st = c.text(olds[i], &ch.name)) return st;
    if (long st = c.text(news[i], &ch.second_name)) return st;
    if (long st = c.add_table(ch, link)) return st;
  }
  return 0;
}

long add_type(calc& c, const typ_sch_diff_rec& d) {
  const char* type = name_of(d.schema);
  if (long st = simple(c, DBS_RDB_ADD_ARRAYS, type, d.schema)) return st;
  utl_ty_estr* def = nullptr;
  if (long st = adp_sch_table_def(c.con, d.schema, nullptr, nullptr, DBS_RDB_WITH_RELATION_COLUMNS, &def)) return st;
  const char* text = nullptr;
  long length = 0;
  utl_estr_get_size(def, &text, &length);
  long st = simple(c, DBS_RDB_ADD_TABLE, type, d.schema, text);
  utl_estr_free(kOwner, def);
  if (st) return st;
  if (c.events) {
    long id = d.schema ? d.schema->type_id : d.type_id;
    if (long s2 = utl_col_push(c.events, &id, nullptr)) return s2;
  }
  return c.write_journal(0, type, "", "''");
}

long modify_type(calc& c, const typ_sch_diff_rec& d) {
  const char* from = name_of(d.old_schema);
  const char* to = name_of(d.schema);
  if (!d.schema || !d.old_schema || std::strcmp(from, to) == 0) return 0;
  char old_table[DBS_RDB_TABLE_NAME_MAX + 1], new_table[DBS_RDB_TABLE_NAME_MAX + 1];
  dbs_rdb_make_table_name(from, old_table);
  dbs_rdb_make_table_name(to, new_table);
  if (long st = rename_table(c, new_table, old_table, new_table, d.schema)) return st;
  utl_ty_pool* pool = nullptr;
  if (long st = utl_col_get_pool(c.list, &pool)) return st;
  for (long gen_id : dbs_rdb::array_gen_ids(d.schema)) {
    char* old_array = nullptr;
    char* new_array = nullptr;
    if (long st = adp_bar_table_name(from, pool, gen_id, &old_array)) return st;
    if (long st = adp_bar_table_name(to, pool, gen_id, &new_array)) return st;
    if (long st = rename_table(c, new_array, old_array, new_array, d.schema)) return st;
  }
  return 0;
}

// A deleted type's binary-array tables go with its table.
long delete_array_tables(calc& c, typ_sch_srec* s) {
  utl_ty_pool* pool = nullptr;
  if (long st = utl_col_get_pool(c.list, &pool)) return st;
  for (long gen_id : dbs_rdb::array_gen_ids(s)) {
    char* table = nullptr;
    if (long st = adp_bar_table_name(name_of(s), pool, gen_id, &table)) return st;
    dbs_ty_tbl_change ch{};
    ch.op = DBS_RDB_DELETE_TABLE;
    ch.schema = s;
    if (long st = c.add_table(ch, table)) return st;
  }
  return 0;
}

long recompile_view(calc& c, const typ_sch_diff_rec& d) {
  utl_ty_estr* sql = nullptr;
  if (long st = adp_sch_view_def(c.con, d.schema, &sql)) return st;
  const char* text = nullptr;
  long length = 0;
  utl_estr_get_size(sql, &text, &length);
  long st = simple(c, DBS_RDB_DEFINE_VIEW, name_of(d.schema), d.schema, text);
  utl_estr_free(kOwner, sql);
  if (st) return st;
  return c.write_journal(3, name_of(d.schema), "", "''");
}

long recompile_indexes(calc& c, const typ_sch_diff_rec& d) {
  const char* type = name_of(d.schema);
  if (long st = simple(c, DBS_RDB_RECOMPILE_INDEXES, type, d.schema)) return st;
  if (!c.journal) return 0;
  utl_ty_col* names = nullptr;
  if (long st = utl_col_make(kOwner, 516, 8, 8, 0, 0, &names)) return st;
  long st = adp_ind_list_index(c.con, d.type_id, names);
  long n = 0;
  if (!st) utl_col_num(names, &n);
  for (long i = 0; !st && i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(names, i, &e);
    st = c.write_journal(13, type, static_cast<const char*>(e), "''");
  }
  utl_col_free(kOwner, names);
  return st ? st : c.write_journal(12, type, "", "''");
}

bool has_field(const typ_sch_srec* s, const char* name) {
  if (!s || !name) return false;
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].name && std::strcmp(s->fields[i].name, name) == 0) return true;
  return false;
}

long exclusive_change(calc& c, const typ_sch_diff_rec& d) {
  const char* type = name_of(d.schema);
  switch (d.op) {
    case TYP_DIFF_EXCL_ADD: {
      const typ_sch_rrec* r = d.rel_rec;
      if (!r || (has_field(d.schema, r->phys_name) && has_field(d.schema, r->focus_field))) return 0;
      if (long st = add_key_column(c, type, r->phys_name, d.schema)) return st;
      return add_key_column(c, type, r->focus_field, d.schema);
    }
    case TYP_DIFF_EXCL_JOIN: {
      if (d.rel.side != 'f' || d.new_rel.side != 'f') return 0;
      const bool was = d.rel_rec && d.rel_rec->exclusive;
      const bool is = d.new_rel_rec && d.new_rel_rec->exclusive;
      if (!was && !is) return 0;
      dbs_ty_tbl_change ch{};
      ch.op = was && is ? DBS_RDB_EXCL_BOTH : is ? DBS_RDB_EXCL_NEW : DBS_RDB_EXCL_OLD;
      ch.schema = d.schema;
      ch.operand = reinterpret_cast<unsigned long>(d.rel_rec);
      ch.operand2 = reinterpret_cast<unsigned long>(d.new_rel_rec);
      if (long st = c.text(d.rel.name, &ch.name)) return st;
      if (long st = c.text(d.new_rel.name, &ch.second_name)) return st;
      return c.add(ch, type);
    }
    case TYP_DIFF_EXCL_DROP: {
      if (d.rel.side != 'f' || !d.rel_rec) return 0;
      dbs_ty_tbl_change ch{};
      ch.op = DBS_RDB_RENAME_EXCL;
      ch.schema = d.schema;
      ch.operand = reinterpret_cast<unsigned long>(d.rel_rec);
      ch.old_length = d.rel.spec_id;  // the relation's position
      if (long st = c.text(d.rel_rec->phys_name, &ch.name)) return st;
      if (long st = c.text(d.rel_rec->focus_field, &ch.second_name)) return st;
      return c.add(ch, type);
    }
    default:
      return 0;
  }
}

// Step 4: one difference.
long one_difference(calc& c, typ_sch_diff_rec& d) {
  const char* type = name_of(d.schema);
  switch (d.op) {
    case TYP_DIFF_ADD_FIELD:
      return add_column(c, type, d.old_field, d.schema);
    case TYP_DIFF_DELETE_FIELD:
      return simple(c, DBS_RDB_DELETE_COLUMN, type, d.schema, d.old_field.name);
    case TYP_DIFF_MODIFY_FIELD:
    case TYP_DIFF_RENAME_FIELD:
      return dbs_rdb::calc_modified_column(c, d);
    case TYP_DIFF_ADD_REL:
      return add_relation(c, d);
    case TYP_DIFF_DELETE_REL:
      return delete_relation(c, d);
    case TYP_DIFF_MODIFY_REL:
    case TYP_DIFF_REL_KEPT: {
      if (!link_renamed(d)) return 0;
      const char* link = new_link_table(d);
      if (d.op == TYP_DIFF_REL_KEPT && listed(c, link, DBS_RDB_RENAME_TABLE)) return 0;
      if (long st = rename_table(c, link, d.rel.mtm_table, link, d.schema)) return st;
      if (d.op != TYP_DIFF_MODIFY_REL) return 0;
      return c.write_journal(11, type, d.rel.mtm_table, sql_literal(link));
    }
    case TYP_DIFF_RENAME_REL:
      return rename_relation(c, d);
    case TYP_DIFF_ADD_TYPE:
      return add_type(c, d);
    case TYP_DIFF_DELETE_TYPE: {
      typ_sch_srec* s = d.old_schema ? d.old_schema : d.schema;
      const bool view = s && (s->flags & TYP_SCH_VIEW);
      if (long st = simple(c, view ? DBS_RDB_DROP_VIEW : DBS_RDB_DELETE_TABLE, name_of(s), s)) return st;
      if (!view)
        if (long st = delete_array_tables(c, s)) return st;
      return c.write_journal(view ? 4 : 1, name_of(s), "", "''");
    }
    case TYP_DIFF_MODIFY_TYPE:
      return modify_type(c, d);
    case TYP_DIFF_RECOMPILE_VIEW:
      return recompile_view(c, d);
    case TYP_DIFF_INDEXES:
      return recompile_indexes(c, d);
    case TYP_DIFF_EXCL_ADD:
    case TYP_DIFF_EXCL_JOIN:
    case TYP_DIFF_EXCL_DROP:
      return exclusive_change(c, d);
    case TYP_DIFF_ATTRIBUTE: {
      dbs_ty_tbl_change ch{};
      ch.op = DBS_RDB_TYPE_FLAGS;
      ch.schema = d.schema;
      ch.operand = d.schema ? (d.schema->flags & 0x280000) : 0;
      return c.add(ch, type);
    }
    default:
      return 0;
  }
}

bool column_op(long op) {
  return (op >= DBS_RDB_ADD_COLUMN && op <= DBS_RDB_RENAME_COLUMN) || op == DBS_RDB_CASE_INSENSITIVE ||
         op == DBS_RDB_CASE_SENSITIVE;
}

// The table's definition text for an add or a re-add.
long table_definition(calc& c, dbs_ty_tbl_change& ch) {
  const char* bare = ch.table_name;
  if (std::strncmp(bare, "dbo.", 4) == 0) bare += 4;
  if (std::strncmp(bare, "mtm", 3) == 0) {
    auto* rel = reinterpret_cast<typ_sch_rrec*>(ch.operand);
    return c.text(adp_sch_mtm_table_def(rel, c.journal ? 1 : 0), &ch.name);
  }
  utl_ty_estr* def = nullptr;
  if (long st = adp_sch_table_def(c.con, ch.schema, nullptr, nullptr, DBS_RDB_WITH_RELATION_COLUMNS, &def)) return st;
  const char* text = nullptr;
  long length = 0;
  utl_estr_get_size(def, &text, &length);
  long st = c.text(text, &ch.name);
  utl_estr_free(kOwner, def);
  return st;
}

// The name a table has in the database while the changes are worked out:
// a table this upgrade renames is still found under its old name.
const char* name_in_database(calc& c, const char* table) {
  long n = 0;
  utl_col_num(c.new_names, &n);
  for (long i = 0; i < n; ++i) {
    void* o = nullptr;
    void* r = nullptr;
    utl_col_ith(c.old_names, i, &o);
    utl_col_ith(c.new_names, i, &r);
    if (o && r && std::strcmp(static_cast<const char*>(r), table) == 0) return static_cast<const char*>(o);
  }
  return table;
}

// Step 7: duplicates become no-ops; a column change on a table that does
// not exist or holds no rows becomes an add or re-add of the whole table.
long fold(calc& c) {
  if (long st = utl_col_sort(c.list, nullptr, nullptr)) return st;
  long n = 0;
  utl_col_num(c.list, &n);
  dbs_ty_tbl_change* prev = nullptr;
  std::string optimized;  // the table whose column changes are folded
  std::string checked;    // the last table looked up
  for (dbs_ty_tbl_change* ch : dbs_rdb::changes(c.list)) {
    const bool same_table_as_prev = prev && std::strcmp(prev->table_name, ch->table_name) == 0;
    if (prev && same_table_as_prev && prev->op == ch->op && std::strcmp(safe(prev->name), safe(ch->name)) == 0) {
      ch->op = DBS_RDB_NO_OP;
      continue;
    }
    prev = ch;
    if (!column_op(ch->op)) continue;
    if (optimized == ch->table_name) {
      ch->op = DBS_RDB_NO_OP;
      continue;
    }
    if (checked == ch->table_name) continue;
    checked = ch->table_name;
    char exists = 0, rows = 0;
    const char* current = name_in_database(c, ch->table_name);
    if (long st = adp_sch_does_tbl_exist(c.con, current, &exists)) return st;
    if (exists)
      if (long st = adp_sch_does_table_have_data(c.con, current, &rows)) return st;
    if (exists && rows) continue;
    ch->op = exists ? DBS_RDB_READD_TABLE : DBS_RDB_ADD_TABLE;
    if (long st = table_definition(c, *ch)) return st;
    if (c.verbose())
      std::fprintf(c.out, "Table '%s' has no data or does not exist; optimizing modification\n", ch->table_name);
    optimized = ch->table_name;
    prev = nullptr;
  }
  for (long i = n - 1; i >= 0; --i) {
    void* e = nullptr;
    utl_col_ith(c.list, i, &e);
    if (static_cast<dbs_ty_tbl_change*>(e)->op == DBS_RDB_NO_OP)
      if (long st = utl_col_remove(c.list, nullptr, i)) return st;
  }
  return 0;
}

bool needs_copy(long op) {
  return op == DBS_RDB_DELETE_COLUMN || op == DBS_RDB_MODIFY_COLUMN || op == DBS_RDB_RENAME_COLUMN ||
         op == DBS_RDB_CASE_INSENSITIVE || op == DBS_RDB_CASE_SENSITIVE ||
         (op >= DBS_RDB_RENAME_EXCL && op <= DBS_RDB_EXCL_NEW);
}

// Step 8: a table copy on a bulk-copy server needs the bulk-copy program.
long probe_bulk_copy(calc& c) {
  const long server = adp_main_server_type();
  if (!(server & 1) || (server & 4)) return 0;
  bool copies = false;
  for (const dbs_ty_tbl_change* ch : dbs_rdb::changes(c.list)) copies = copies || needs_copy(ch->op);
  if (!copies) return 0;
  if (dbs_rdb::read_max_copy_size() <= 0) return 0;
  long result = osl_sys_system("bcp -v");
  if (result != 0) {
    std::fprintf(c.out, "Error in invoking BCP: %ld\n", result);
    return 1;
  }
  return 0;
}

long start_journal(calc& c, long revision) {
  if (!(c.options & dbs_rdb::kOptJournal)) return 0;
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(c.con, &roamer)) return st;
  if (!roamer) return 0;
  if (revision == -1)
    if (long st = dbs_db_get_schema_rev(c.con, &revision)) return st;
  long internal = 0;
  if (long st = dbs_db_get_cust_int_sch_rev(c.con, &internal)) return st;
  c.sequence = revision * 1000000L + internal + 1;
  if (long st = adp_sce_get_sequence(c.con, &c.entry)) return st;
  c.journal = true;
  return 0;
}

long run(calc& c, long count, typ_sch_diff_rec* records, long revision) {
  if (long st = typ_sch_is_unicode_upgrade(&c.unicode)) return st;
  if (long st = typ_sch_is_lob_upgrade(&c.lob)) return st;
  if (long st = utl_col_make(kOwner, 516, 8, 8, 0, 0, &c.old_names)) return st;
  if (long st = utl_col_make(kOwner, 516, 8, 8, 0, 0, &c.new_names)) return st;
  if (long st = rename_pairs(c, count, records)) return st;
  if (long st = start_journal(c, revision)) return st;
  for (long i = 0; i < count; ++i)
    if (long st = one_difference(c, records[i])) return st;
  if (long st = fold(c)) return st;
  return probe_bulk_copy(c);
}

}  // namespace

long dbs_rdb_calc_changes(KAdpConnId* con, long count, typ_sch_diff_rec* records, unsigned long options,
                          utl_ty_col** changes, long revision, utl_ty_col* events) {
  calc c;
  c.con = con;
  c.options = options;
  c.events = events;
  c.out = osl_file_stdout() ? osl_file_stdout() : stdout;
  if (c.verbose()) std::fprintf(c.out, "PROCESSING %ld schema differences\n", count);
  if (long st = utl_col_make(kOwner, DBS_TY_TBL_CHANGE, 16, 16, 0, UTL_COL_OPT_POOL, &c.list)) return st;
  *changes = c.list;
  long st = run(c, count, records, revision);
  if (c.old_names) utl_col_free(kOwner, c.old_names);
  if (c.new_names) utl_col_free(kOwner, c.new_names);
  return st;
}
