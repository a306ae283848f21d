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

typ_sch_srec* object(const char* name, long type_id) {
  typ_sch_srec* s = nullptr;
  EXPECT_EQ(typ_sch_define_obj(name, type_id, "", "", &s), 0) << name;
  EXPECT_EQ(adp_sch_type_insert(type_id, 2, name), 0);
  return s;
}

void field(typ_sch_srec* s, const char* name, long type, long db_type, long gen = -1, unsigned long flags = 0) {
  long pos = -1;
  const bool dec = type == kDecimal;
  EXPECT_EQ(typ_sch_fadd(s, name, type, db_type, gen, -1, flags, type == kText ? 80 : 1, dec ? 19 : -1, dec ? 2 : -1,
                         0, 0, nullptr, "", &pos),
            0)
      << name;
}

void relation(long type_id, const char* name, long kind, const char* target, const char* inverse, long exclusive = 0,
              const char* phys = nullptr, const char* focus = nullptr) {
  long pos = -1;
  EXPECT_EQ(typ_sch_define_rel(schema(type_id), name, kind, target, -1, &pos, inverse, exclusive, phys, focus, "", "",
                               0, nullptr),
            0)
      << name;
}

}  // namespace

void build() {
  static adp_model* model = nullptr;
  release();
  delete model;
  model = new adp_model;
  typ_sch_srec* t = object("ticket", kTicket);
  field(t, "objid", kLong, kDbInt, kObjidGen);
  field(t, "dev", kLong, kDbInt);
  field(t, "title", kText, kDbText, -1, kSearchable);
  field(t, "notes", kText, kDbLongText);
  field(t, "opened", kDate, kDbDate);
  field(t, "amount", kDecimal, kDbDecimal);
  field(t, "ratio", kDouble, kDbDouble);
  field(t, "count", kLong, kDbInt);
  field(t, "mod_stamp", kDate, kDbDate, kStampGen);
  typ_sch_srec* n = object("note", kNote);
  field(n, "objid", kLong, kDbInt, kObjidGen);
  field(n, "dev", kLong, kDbInt);
  field(n, "text", kText, kDbText);
  typ_sch_srec* g = object("tag", kTag);
  field(g, "objid", kLong, kDbInt, kObjidGen);
  field(g, "label", kText, kDbText);
  relation(kTicket, "ticket2note", kOtm, "note", "note2ticket");
  relation(kNote, "note2ticket", kMto | TYP_REL_INDEX_MARK, "ticket", "ticket2note");
  relation(kTicket, "ticket2note_owner", kOtm, "note", "note_owner2ticket", 1, "owner_id", "owner_type");
  relation(kNote, "note_owner2ticket", kMto | TYP_REL_INDEX_MARK, "ticket", "ticket2note_owner", 1, "owner_id",
           "owner_type");
  relation(kTicket, "ticket2tag", kMtm, "tag", "tag2ticket");
  relation(kTag, "tag2ticket", kMtm, "ticket", "ticket2tag");
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
