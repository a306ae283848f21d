// Adding relations between existing types: every spec checked first; then
// one relation at a time defined on both types, the model optimised, the
// key column made and the relation's row of each type written in one
// transaction.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_add_int.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

constexpr const char kProc[] = "adp_sce_add_relations";
constexpr long kNoGeneric = -1;

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

const adp_sce_rel_kind* kind_of(const char* name) {
  for (const adp_sce_rel_kind& k : adp_rel_types)
    if (name != nullptr && std::strcmp(name, k.name) == 0) return &k;
  return nullptr;
}

// The own-side name of each relation entry of a type.
std::vector<std::string> rel_names_of(const typ_sch_srec* schema) {
  std::vector<std::string> out;
  for (long i = 0; i < schema->nrels; ++i) {
    const typ_sch_rrec* r = adp_sch_entry_rel(schema->rels[i]);
    if (r != nullptr) out.emplace_back(text_of(schema->rels[i].side == 'p' ? r->pname : r->fname));
  }
  return out;
}

// One spec checked: a known kind, an existing target, plain names not yet
// used on either type.
long check_spec(const adp_sce_rel_spec& r, typ_sch_srec* schema) {
  if (kind_of(r.kind) == nullptr) return adp_sce_refuse("%s: invalid relation type '%s'\n", kProc, text_of(r.kind));
  typ_sch_srec* target = adp_sce_schema_of(nullptr, -1, r.target);
  if (target == nullptr) {
    return adp_sce_refuse("%s: cannot find object type '%s' for inverse of new relation\n", kProc, text_of(r.target));
  }
  if (long st = adp_sce_check_name(r.name)) return st;
  if (long st = adp_sce_check_name(r.inverse)) return st;
  if (adp_sce_name_taken(rel_names_of(schema), r.name)) {
    return adp_sce_refuse("%s: relation '%s' already exists in object '%s'\n", kProc, r.name, schema->info->name);
  }
  if (adp_sce_name_taken(rel_names_of(target), r.inverse) || (target == schema && std::strcmp(r.name, r.inverse) == 0)) {
    return adp_sce_refuse("%s: relation '%s' already exists in object '%s'\n", kProc, r.inverse, target->info->name);
  }
  return 0;
}

// The position of the type's entry named name, or -1.
long position_of(const typ_sch_srec* schema, const char* name) {
  for (long i = 0; i < schema->nrels; ++i) {
    const typ_sch_rrec* r = adp_sch_entry_rel(schema->rels[i]);
    if (r != nullptr && std::strcmp(text_of(schema->rels[i].side == 'p' ? r->pname : r->fname), name) == 0) return i;
  }
  return -1;
}

long define_both(typ_sch_srec* schema, typ_sch_srec* target, const adp_sce_rel_spec& r) {
  const adp_sce_rel_kind* k = kind_of(r.kind);
  typ_sch_modify(schema);
  typ_sch_modify(target);
  if (long st = typ_sch_define_rel(schema, r.name, k->rel_type, target->info->name, kNoGeneric, nullptr, r.inverse,
                                   0, nullptr, nullptr, r.comment, nullptr, TYP_REL_USER, nullptr)) {
    return st;
  }
  return typ_sch_define_rel(target, r.inverse, k->inverse_type, schema->info->name, kNoGeneric, nullptr, r.name, 0,
                            nullptr, nullptr, r.comment, nullptr, TYP_REL_USER, nullptr);
}

// The new relation's row of each type, in one transaction. Only these rows
// are written: the type's other rows stay as they are (a model opened
// without descriptions would otherwise write their comments away).
long write_rows(KAdpConnId* con, typ_sch_srec* schema, typ_sch_srec* target, const adp_sce_rel_spec& r) {
  return adp_sch_in_transaction(con, [&]() -> long {
    if (long st = adp_sch_write_rel_entry(con, schema, position_of(schema, r.name))) return st;
    return adp_sch_write_rel_entry(con, target, position_of(target, r.inverse));
  });
}

// The relation taken out of the model again.
void undo(typ_sch_srec* schema, typ_sch_srec* target, const char* name) {
  typ_sch_modify(schema);
  typ_sch_modify(target);
  typ_sch_srec* other = nullptr;
  typ_sch_delete_rel(schema, name, &other);
  typ_sch_optimize();
}

long add_one(KAdpConnId* con, typ_sch_srec* schema, const adp_sce_rel_spec& r) {
  typ_sch_srec* target = adp_sce_schema_of(nullptr, -1, r.target);
  if (long st = define_both(schema, target, r)) return st;
  if (long st = typ_sch_optimize()) {
    osl_print_mes("%s: cannot optimize modified schemas\n", kProc);
    return st;
  }
  const long position = position_of(schema, r.name);
  long st = position >= 0 ? adp_sch_rel_create(con, adp_sch_entry_rel(schema->rels[position])) : ADP_BAD_SCHEMA;
  if (st != 0) {
    osl_print_mes("%s: cannot create relation column for relation '%s'\n", kProc, r.name);
  } else if ((st = write_rows(con, schema, target, r)) != 0) {
    osl_print_mes("%s: cannot write relation schema for relation '%s'\n", kProc, r.name);
  }
  if (st != 0) undo(schema, target, r.name);
  return st;
}

}  // namespace

long adp_sce_add_relations(KAdpConnId* con, long type_id, typ_sch_srec* schema, long count,
                           const adp_sce_rel_spec* specs) {
  if (long st = adp_db_check_conn(con)) return st;
  schema = adp_sce_schema_of(schema, type_id, nullptr);
  if (schema == nullptr) {
    long rc = cmn_alrt_push(nullptr, kProc, ADP_BAD_SCHEMA, 1, 0UL);
    return rc != 0 ? rc : ADP_BAD_SCHEMA;
  }
  for (long i = 0; i < count; ++i) {
    if (long st = check_spec(specs[i], schema)) return st;
  }
  for (long i = 0; i < count; ++i) {
    if (long st = add_one(con, schema, specs[i])) return st;
  }
  return 0;
}
