#include "adapter/adp_qry_model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "adapter/adp_model.h"
#include "adapter/adp_sch_load.h"
#include "schema/typ_fld.h"
#include "schema/typ_path.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace adp_qry_model {

namespace {

constexpr long kObjidGen = 3;
constexpr long kLong = 512, kText = 516, kDate = 609, kDecimal = 766;
constexpr long kDbInt = 0, kDbText = 7, kDbDate = 9, kDbDecimal = 11;
constexpr long kMto = 2, kOtm = 1, kMtm = 5;

typ_sch_srec* object(const char* name, long type_id) { return adp_model_object(name, type_id); }

void field(typ_sch_srec* s, const char* name, long type, long db_type, long gen = -1, unsigned long flags = 0) {
  adp_model_field(s, name, type, db_type, gen, flags);
}

void relation(long type_id, const char* name, long kind, const char* target, const char* inverse, long exclusive = 0,
              const char* phys = nullptr, const char* focus = nullptr) {
  adp_model_relation(type_id, name, kind, target, inverse, exclusive, phys, focus);
}

}  // namespace

void build() {
  // The model lives until the next build (its end empties the cache).
  static adp_model* model = nullptr;
  delete model;
  model = new adp_model;
  typ_sch_srec* c = object("case", kCase);
  field(c, "objid", kLong, kDbInt, kObjidGen);
  field(c, "title", kText, kDbText);
  field(c, "status", kText, kDbText);
  field(c, "amount", kDecimal, kDbDecimal);
  field(c, "opened", kDate, kDbDate);
  field(c, "flags", kLong, kDbInt);
  typ_sch_srec* s = object("site", kSite);
  field(s, "objid", kLong, kDbInt, kObjidGen);
  field(s, "name", kText, kDbText, -1, TYP_FLD_CARRIED);
  typ_sch_srec* k = object("contact", kContact);
  field(k, "objid", kLong, kDbInt, kObjidGen);
  field(k, "last_name", kText, kDbText);
  typ_sch_srec* n = object("note", kNote);
  field(n, "objid", kLong, kDbInt, kObjidGen);
  field(n, "text", kText, kDbText);
  relation(kCase, "case2site", kMto, "site", "site2case");
  relation(kSite, "site2case", kOtm, "case", "case2site");
  relation(kSite, "site2contact", kMtm, "contact", "contact2site");
  relation(kContact, "contact2site", kMtm, "site", "site2contact");
  relation(kSite, "parent", kMto, "site", "children");
  relation(kSite, "children", kOtm, "site", "parent");
  relation(kNote, "note2case", kMto, "case", "case2note", 1, "note_owner", "owner_type");
  relation(kCase, "case2note", kOtm, "note", "note2case", 1, "note_owner", "owner_type");
  model->finish(kCase);
}

typ_sch_srec* schema(long type_id) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

long rel(long type_id, const char* name) {
  typ_sch_srec* s = schema(type_id);
  for (long i = 0; s != nullptr && i < s->nrels; ++i) {
    const typ_sch_rel_inst& e = s->rels[i];
    if (e.rel != nullptr && std::strcmp(e.side == 'p' ? e.rel->pname : e.rel->fname, name) == 0) return i;
  }
  return -1;
}

bool unmarked() {
  constexpr unsigned long kSchemaMarks = TYP_SCH_VISITED | TYP_SCH_COUNT_TARGET | TYP_SCH_RECURSIVE | TYP_SCH_RECUR_COUNT;
  for (long t : {kCase, kSite, kContact, kNote}) {
    const typ_sch_srec* s = schema(t);
    if ((s->flags & kSchemaMarks) != 0) return false;
    for (long i = 0; i < s->nrels; ++i) {
      const typ_sch_rel_inst& e = s->rels[i];
      if ((e.flags & (TYP_MARK_TRAVERSED | TYP_MARK_COUNT | TYP_MARK_PREV_COUNT | 0xffffUL)) != 0) return false;
      if ((e.trav & (TYP_TRAV_RECURSIVE | TYP_TRAV_PREV | 0xffffUL)) != 0) return false;
    }
  }
  return true;
}

}  // namespace adp_qry_model
