#include "adapter/adp_obj_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "adapter/adp_model.h"
#include "adapter/adp_sch_load.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace adp_obj_model {

namespace {

constexpr long kObjidGen = 3, kStampGen = 48;
constexpr long kLong = 512, kText = 516, kDate = 609, kDouble = 613, kDecimal = 766;
constexpr long kDbInt = 0, kDbDouble = 4, kDbText = 7, kDbLongText = 8, kDbDate = 9, kDbDecimal = 11;
constexpr unsigned long kSearchable = 0x100;
constexpr long kMto = 2, kOtm = 1, kMtm = 5;

std::vector<dbs_ty_lobj*>& objects() {
  static std::vector<dbs_ty_lobj*> list;
  return list;
}

}  // namespace

void build() {
  static adp_model* model = nullptr;
  release();
  delete model;
  model = new adp_model;
  typ_sch_srec* t = adp_model_object("ticket", kTicket);
  adp_model_field(t, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(t, "dev", kLong, kDbInt);
  adp_model_field(t, "title", kText, kDbText, -1, kSearchable);
  adp_model_field(t, "notes", kText, kDbLongText);
  adp_model_field(t, "opened", kDate, kDbDate);
  adp_model_field(t, "amount", kDecimal, kDbDecimal);
  adp_model_field(t, "ratio", kDouble, kDbDouble);
  adp_model_field(t, "count", kLong, kDbInt);
  adp_model_field(t, "mod_stamp", kDate, kDbDate, kStampGen);
  typ_sch_srec* n = adp_model_object("note", kNote);
  adp_model_field(n, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(n, "dev", kLong, kDbInt);
  adp_model_field(n, "text", kText, kDbText);
  typ_sch_srec* g = adp_model_object("tag", kTag);
  adp_model_field(g, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(g, "label", kText, kDbText);
  adp_model_relation(kTicket, "ticket2note", kOtm, "note", "note2ticket");
  adp_model_relation(kNote, "note2ticket", kMto | TYP_REL_INDEX_MARK, "ticket", "ticket2note");
  adp_model_relation(kTicket, "ticket2note_owner", kOtm, "note", "note_owner2ticket", 1, "owner_id", "owner_type");
  adp_model_relation(kNote, "note_owner2ticket", kMto | TYP_REL_INDEX_MARK, "ticket", "ticket2note_owner", 1, "owner_id",
           "owner_type");
  adp_model_relation(kTicket, "ticket2tag", kMtm, "tag", "tag2ticket");
  adp_model_relation(kTag, "tag2ticket", kMtm, "ticket", "ticket2tag");
  model->finish(kTicket);
}

typ_sch_srec* schema(long type_id) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

dbs_ty_lobj* make(long type_id, long number) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_make(nullptr, type_id, &o), 0);
  if (o == nullptr) return nullptr;
  objects().push_back(o);
  o->slots[kObjid].l = number;
  EXPECT_EQ(dbs_obj_mark_dirty(o, 0), 0);
  return o;
}

void release() {
  for (dbs_ty_lobj* o : objects()) dbs_obj_free_local("test", o);
  objects().clear();
}

}  // namespace adp_obj_model
