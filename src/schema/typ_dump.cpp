// Debug dumps of schemas, fields and relation entries.
#include "schema/typ_dump.h"

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {
const char* safe(const char* t) { return t ? t : ""; }

const char* type_name(long id) {
  const char* n = cmn_typ_name(id);
  return n ? n : "";
}

const char* field_label(unsigned long flags) {
  if (flags & TYP_FLD_PREDEFINED) return "PREDEFINED";
  if (flags & TYP_FLD_USER) return "USER DEFINED";
  if (flags & TYP_FLD_COMPUTED) return "COMPUTED";
  if (flags & TYP_FLD_BARRAY) return "BINARY ARRAY";
  return "UNKNOWN";
}

void dump_fields(FILE* f, long indent, utl_ty_col* col) {
  long n = 0;
  if (col) utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    typ_sch_dump_field(f, indent, e, TYP_TY_FREC, i);
  }
}

void dump_map(FILE* f, long indent, const typ_ty_map* m, const char* heading, const char* line) {
  if (!m) return;
  typ_put_indent(f, indent);
  std::fprintf(f, "%s", heading);
  for (long i = 0; i < m->count; ++i) {
    if (m->entries[i].gen == -1) continue;
    typ_put_indent(f, indent);
    std::fprintf(f, line, static_cast<long>(m->entries[i].gen), static_cast<long>(m->entries[i].spec));
  }
}
}  // namespace

void typ_put_indent(FILE* f, long indent) {
  if (indent > 0) std::fprintf(f, "%*s", static_cast<int>(indent), "");
}

long typ_sch_dump_field(FILE* f, long indent, const void* element, long, long number) {
  const auto* fld = static_cast<const typ_sch_frec*>(element);
  typ_put_indent(f, indent);
  std::fprintf(f, "Field '%s', cmn_type='%s',db_type=%ld, array=%ld\n", safe(fld->name), type_name(fld->data_type),
               fld->db_type, fld->array_size);
  typ_put_indent(f, indent);
  std::fprintf(f, " %ld: Field is %s and %s\n", number, field_label(fld->flags),
               (fld->flags & TYP_FLD_MANDATORY) ? "MANDATORY" : "OPTIONAL");
  typ_put_indent(f, indent);
  std::fprintf(f, " gen_field_id=%ld\n", fld->gen_id);
  typ_put_indent(f, indent);
  std::fprintf(f, " default value = '%s'\n", fld->def ? fld->def : "NULL");
  return 0;
}

long typ_sch_dump_rel(FILE* f, long indent, const void* element, long, long) {
  const auto* e = static_cast<const typ_sch_rel_inst*>(element);
  if (e->rel_index < 0 || e->rel_index >= typ_sch_num_rels) {
    typ_put_indent(f, indent);
    std::fprintf(f, "Invalid relation %ld\n", e->rel_index);
    return 0;
  }
  const typ_sch_rrec* r = &typ_sch_relations[e->rel_index];
  auto schema_name = [](long idx) {
    return idx >= 0 && idx < typ_sch_num_schs ? typ_sch_schemas[idx].info->name : "INVALID TYPE";
  };
  const bool many = r->type == TYP_REL_OTM || r->type == TYP_REL_MTO;
  const char *name, *label, *to, *inverse;
  long id, gen;
  if (e->side == 'p') {
    name = r->pname;
    label = many ? "OTM" : "OTOF";
    id = r->pspec;
    to = schema_name(r->findex);
    gen = r->pgen;
    inverse = r->fname;
  } else if (e->side == 'f') {
    name = r->fname;
    label = many ? "MTO" : "OTOP";
    id = r->fspec;
    to = schema_name(r->pindex);
    gen = r->fgen;
    inverse = r->pname;
  } else {
    typ_put_indent(f, indent);
    std::fprintf(f, "***Relation type of rel %ld is incorrect\n.", e->rel_index);
    return 0;
  }
  typ_put_indent(f, indent);
  std::fprintf(f, "Relation '%s', type='%s', id=%ld, to_obj='%s'\n", safe(name), label, id, to);
  typ_put_indent(f, indent);
  std::fprintf(f, "  gen_rel_id='%ld', inv_relation='%s'\n", gen, safe(inverse));
  return 0;
}

long typ_sch_dump(FILE* f, const char* label, long indent, const typ_sch_srec* s) {
  typ_put_indent(f, indent);
  std::fprintf(f, "Schema %s '%s' of type %s, %s %s\n", safe(label), s->info->name, type_name(s->type_id),
               (s->flags & TYP_SCH_OBJECT) ? "an OBJECT" : "a STRUCTURE",
               (s->flags & TYP_SCH_CONSTRUCT) ? "UNDER CONSTRUCTION" : "OPTIMIZED");
  typ_put_indent(f, indent);
  std::fprintf(f, " This schema has %ld fields:\n", s->nfields);
  dump_fields(f, indent + 2, s->fcol);
  void* a = nullptr;
  long n = 0;
  if (s->fcol && utl_col_get_array(s->fcol, &a, &n) == 0 && a != s->fields) {
    typ_put_indent(f, indent);
    std::fprintf(f, " Schema has incorrect fields pointer (%ld!=%ld)\n", reinterpret_cast<long>(s->fields),
                 reinterpret_cast<long>(a));
  }
  dump_fields(f, indent + 2, s->info->special_col);
  dump_map(f, indent, s->info->fmap, " GENERIC-TO-SPECIFIC field map:\n", "  Generic field %ld maps to spec field %ld\n");
  typ_put_indent(f, indent);
  std::fprintf(f, " This schema has %ld relations:\n", s->nrels);
  n = 0;
  if (s->rcol) utl_col_num(s->rcol, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(s->rcol, i, &e);
    typ_sch_dump_rel(f, indent + 2, e, TYP_TY_REL_INST, i);
  }
  if (s->rcol && utl_col_get_array(s->rcol, &a, &n) == 0 && a != s->rels) {
    typ_put_indent(f, indent);
    std::fprintf(f, " Schema has incorrect rels pointer (%ld!=%ld)\n", reinterpret_cast<long>(s->rels),
                 reinterpret_cast<long>(a));
  }
  dump_map(f, indent, s->info->rmap, " GENERIC-TO-SPECIFIC relation map:\n",
           "  Generic relation %ld maps to spec relation %ld\n");
  return 0;
}

long typ_sch_dump_all(FILE* f, const char* title, long indent) {
  std::fprintf(f, "\n\n");
  typ_put_indent(f, indent);
  std::fprintf(f, "*** Schema List %s ***\n", safe(title));
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    char label[32];
    std::snprintf(label, sizeof label, "SCHEMA #%ld", i + 1);
    if (long st = typ_sch_dump(f, label, indent + 2, &typ_sch_schemas[i])) return st;
  }
  return 0;
}
