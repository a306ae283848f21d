// The end of a type's CREATE TABLE text: the key columns of the relations
// the type holds on its foreign side (one column for a plain relation, the
// id and type columns of an exclusive set, the id column written once per
// set), the closing parenthesis and, on Oracle, the table's storage clause.
// The same lines go to the script file when one is given.
#include <cstdio>
#include <cstring>
#include <strings.h>

#include <string>

#include "adapter/adp_conn.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "schema/typ_stor.h"

namespace {

constexpr long kColumnConvert = 5;
constexpr long kColumnsPerLine = 3;

struct column_forms {
  const char* text;          // the DDL text's line
  const char* plain_script;  // the script's line of a plain relation
  const char* set_script;    // the script's lines of an exclusive set
};
constexpr column_forms kOraForms{",%s %s number null", ",%s %s number null", ",%s %s number null"};
constexpr column_forms kMssqlForms{",%s %s INTEGER NULL", ",%s %s integer null", ",%s %s INTEGER NULL"};

struct table_def {
  KAdpConnId* con;
  const column_forms& forms;
  typ_sch_srec* schema;
  utl_ty_estr* text;
  long* count;
  FILE* script;

  // One key column; the running count decides the line break before it.
  long write(const char* name, bool plain) {
    const char* lead = *count % kColumnsPerLine == 0 ? "\n " : "";
    KCLASSIC::KZString phys =
        con != nullptr ? con->GetPhys(name, static_cast<KAdpNameMapper::convert_type>(kColumnConvert), 0, nullptr)
                       : KCLASSIC::KZString(name);
    if (long st = utl_estr_aprintf(text, forms.text, lead, static_cast<const char*>(phys))) return st;
    if (script != nullptr) std::fprintf(script, plain ? forms.plain_script : forms.set_script, lead, name);
    ++*count;
    return 0;
  }

  bool has_field(const char* name) const {
    for (long i = 0; i < schema->nfields; ++i) {
      if (schema->fields[i].name != nullptr && strcasecmp(schema->fields[i].name, name) == 0) return true;
    }
    return false;
  }

  long exclusive_columns(const typ_sch_rrec* r, utl_ty_col* written) {
    const char* id = r->phys_name != nullptr ? r->phys_name : "";
    const char* type = r->focus_field != nullptr ? r->focus_field : "";
    if (written != nullptr) {
      long at = -1;
      utl_col_find(written, id, &at);
      if (at >= 0) return 0;
      if (long st = utl_col_push(written, id, nullptr)) return st;
    }
    if (!has_field(id)) {
      if (long st = write(id, false)) return st;
    }
    if (!has_field(type)) return write(type, false);
    return 0;
  }

  long relation_columns(utl_ty_col* written) {
    for (long i = 0; i < schema->nrels; ++i) {
      const typ_sch_rel_inst& e = schema->rels[i];
      if (e.side != 'f') continue;
      typ_sch_rrec* r = e.rel;
      if (r == nullptr) typ_sch_find_temp_rel(e.rel_index, &r);
      if (r == nullptr || r->type == TYP_REL_MTM) continue;
      long st = r->exclusive != 0 ? exclusive_columns(r, written) : write(typ_sch_get_frel_name(r), true);
      if (st != 0) return st;
    }
    return 0;
  }

  long close() {
    if (long st = utl_estr_append(text, ")\n")) return st;
    if (script != nullptr) std::fputs(")\n\n", script);
    return 0;
  }
};

}  // namespace

long KAdpOraOperation::SchTableDef(typ_sch_srec* schema, char relation_columns, utl_ty_col* written_ids,
                                   utl_ty_estr* text, long* column_count, const char* table_name, FILE* script) {
  table_def d{GetConnection(), kOraForms, schema, text, column_count, script};
  if (relation_columns != 0) {
    if (long st = d.relation_columns(written_ids)) return st;
  }
  if (long st = d.close()) return st;
  const char* clause = nullptr;
  if (typ_lookup_physical_storage_params(table_name, &clause) == 0 && clause != nullptr) {
    if (long st = utl_estr_append(text, clause)) return st;
    if (script != nullptr) std::fprintf(script, "%s\n\n", clause);
  }
  return 0;
}

long KAdpMssqlOperation::SchTableDef(typ_sch_srec* schema, char relation_columns, utl_ty_col* written_ids,
                                     utl_ty_estr* text, long* column_count, const char*, FILE* script) {
  table_def d{GetConnection(), kMssqlForms, schema, text, column_count, script};
  if (relation_columns != 0) {
    if (long st = d.relation_columns(written_ids)) return st;
  }
  return d.close();
}
