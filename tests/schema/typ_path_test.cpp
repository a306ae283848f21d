// Field paths, counts, recursion marks and their clearing.
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_path.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

class typ_paths : public schema_test {
 protected:
  void SetUp() override {
    schema_test::SetUp();
    // case -> contact (OTM "contacts" / MTO "case"); employee reports to employee.
    typ_sch_srec* c = object("case", 1);
    field(c, "objid", 1, 3);
    field(c, "title", 4, -1, 516);
    typ_sch_srec* p = object("contact", 2);
    field(p, "objid", 1, 3);
    field(p, "last_name", 4, -1, 516);
    typ_sch_srec* e = object("employee", 3);
    field(e, "objid", 1, 3);
    field(e, "name", 4, -1, 516);
    EXPECT_EQ(rel("case", "contacts", 1, "contact", "case"), 0);
    EXPECT_EQ(rel("contact", "case", 2, "case", "contacts"), 0);
    EXPECT_EQ(rel("employee", "staff", 1, "employee", "boss"), 0);
    EXPECT_EQ(rel("employee", "boss", 2, "employee", "staff"), 0);
    EXPECT_EQ(rel("contact", "emp", 2, "employee", "contacts2"), 0);
    EXPECT_EQ(rel("employee", "contacts2", 1, "contact", "emp"), 0);
    EXPECT_EQ(typ_sch_optimize(), 0);
  }
  typ_sch_rel_inst* entry(const char* type, const char* name) {
    typ_sch_srec* s = sch(type);
    for (long i = 0; i < s->nrels; ++i)
      if (std::string(typ_sch_entry_name(&s->rels[i])) == name) return &s->rels[i];
    return nullptr;
  }
};

TEST_F(typ_paths, WalksFindTheFieldAndCountSteps) {
  struct row {
    const char* start;
    const char* path;
    long status;
    const char* final_type;
    const char* field;
    long steps;
  };
  const row rows[] = {
      {"case", "title", 0, "case", "title", 0},
      {"case", "TITLE", 0, "case", "title", 0},
      {"case", "contacts:last_name", 0, "contact", "last_name", 1},
      {"case", "contacts:emp:name", 0, "employee", "name", 1},
      {"case", "contacts:nope", TYP_NO_FIELD, nullptr, nullptr, 1},
      {"case", "bogus:title", TYP_BAD_REL, nullptr, nullptr, 0},
  };
  for (const row& r : rows) {
    cmn_alrt_clear(nullptr);
    typ_sch_srec* s = sch(r.start);
    s->path_steps = 9;
    long cf = 0, cnt = 0, rf = 0;
    unsigned long rw = 0;
    typ_sch_srec* fin = nullptr;
    typ_sch_frec* f = nullptr;
    EXPECT_EQ(typ_sch_field_path_walk(s, r.path, 0, 0, &fin, &f, &cf, &cnt, &rf, &rw), r.status) << r.path;
    EXPECT_EQ(s->path_steps, r.steps) << r.path;
    if (r.status == 0) {
      EXPECT_EQ(fin, sch(r.final_type)) << r.path;
      EXPECT_STREQ(f->name, r.field) << r.path;
    }
  }
  EXPECT_EQ(core_top_alert_text(), "Relation bogus of object type case is not valid.\n");
}

TEST_F(typ_paths, CountsAreMarkedAndCleared) {
  ASSERT_EQ(typ_sch_field_path_mark(sch("case"), "contacts(3):emp:name"), 0);
  typ_sch_rel_inst* e1 = entry("case", "contacts");
  typ_sch_rel_inst* e2 = entry("contact", "emp");
  EXPECT_EQ(e1->flags & 0xff0000ffUL, TYP_MARK_TRAVERSED | TYP_MARK_COUNT | 3UL);
  EXPECT_TRUE(sch("contact")->flags & TYP_SCH_COUNT_TARGET);
  // The next step carries the previous count.
  EXPECT_EQ(e2->flags & 0xff00ff00UL, TYP_MARK_TRAVERSED | TYP_MARK_PREV_COUNT | (3UL << 8));
  typ_sch_mark_visited_table(sch("case"), 0);
  EXPECT_TRUE(sch("employee")->flags & TYP_SCH_VISITED);
  typ_sch_clear_marks(sch("case"), 0);
  EXPECT_EQ(e1->flags & 0xffff00ffUL, 0UL);
  EXPECT_EQ(e2->flags & 0xffffff00UL, 0UL);
  for (const char* t : {"case", "contact", "employee"})
    EXPECT_FALSE(sch(t)->flags & (TYP_SCH_VISITED | TYP_SCH_COUNT_TARGET)) << t;
  // A path that ends in a relation name is accepted by the marking walk.
  EXPECT_EQ(typ_sch_field_path_mark(sch("case"), "contacts"), 0);
  EXPECT_EQ(core_num_alerts(), 0);
  EXPECT_EQ(typ_sch_field_path_mark(sch("case"), "nothing"), TYP_NO_FIELD);
  EXPECT_EQ(core_top_alert_code(), TYP_NO_FIELD);
  // Longer steps than a 64-character name with its count are refused.
  const std::string long_step = std::string(90, 'r') + ":title";
  EXPECT_EQ(typ_sch_field_path_mark(sch("case"), long_step.c_str()), TYP_BAD_REL);
}

TEST_F(typ_paths, RecursiveRelationsAreNumberedAndCleared) {
  typ_sch_srec* e = sch("employee");
  ASSERT_EQ(typ_sch_field_path_mark(e, "boss:boss:name"), 0);
  typ_sch_rel_inst* boss = entry("employee", "boss");
  // First step: recursion mark; second step: a repeat, merged with the
  // first step's word.
  EXPECT_TRUE(e->flags & TYP_SCH_RECURSIVE);
  EXPECT_EQ(boss->trav, TYP_TRAV_PREV | (1UL << 8));
  ASSERT_EQ(typ_sch_clear_recur_mark(e, "boss(2):boss:name"), 0);
  EXPECT_EQ(boss->trav, 0UL);
  EXPECT_FALSE(e->flags & (TYP_SCH_RECURSIVE | TYP_SCH_RECUR_COUNT));
  // Two walks: the second gets recursion number 1.
  typ_sch_clear_marks(e, 0);
  ASSERT_EQ(typ_sch_field_path_mark(e, "staff:name"), 0);
  typ_sch_rel_inst* staff = entry("employee", "staff");
  EXPECT_EQ(staff->trav, TYP_TRAV_RECURSIVE);
  ASSERT_EQ(typ_sch_field_path_mark(e, "boss:name"), 0);
  EXPECT_EQ(boss->trav, TYP_TRAV_RECURSIVE | 1UL);
  EXPECT_EQ((e->flags & TYP_SCH_RECUR_COUNT) >> 23, 1UL);
  // Meeting the same recursive relation again counts a repeat.
  ASSERT_EQ(typ_sch_field_path_mark(e, "boss:name"), 0);
  EXPECT_EQ(boss->trav, TYP_TRAV_RECURSIVE | 1UL | (1UL << 8));
  typ_sch_clear_marks(e, 0);
  EXPECT_EQ(boss->trav, 0UL);
  EXPECT_EQ(staff->trav, 0UL);
  EXPECT_FALSE(boss->flags & TYP_MARK_TRAVERSED);
}

TEST_F(typ_paths, InfoOfFieldsAndRelations) {
  long tid = -1, fid = -1, dt = -1;
  ASSERT_EQ(typ_sch_field_path_info_get(1, "contacts:last_name", &tid, &fid, &dt), 0);
  EXPECT_EQ(tid, 2);
  EXPECT_EQ(fid, 1);
  EXPECT_EQ(dt, 516);
  ASSERT_EQ(typ_sch_field_path_info_get(1, "contacts", &tid, &fid, &dt), 0);
  EXPECT_EQ(tid, 1);
  EXPECT_EQ(fid, 0);
  EXPECT_EQ(dt, 670);
  EXPECT_EQ(core_num_alerts(), 0);
  EXPECT_EQ(typ_sch_field_path_info_get(1, "neither", &tid, &fid, &dt), TYP_NO_FIELD);
  EXPECT_EQ(core_top_alert_text(), "Field 'neither' does not exist for object type 'case'.\n");
  EXPECT_EQ(typ_sch_field_path_info_get(99, "x", &tid, &fid, &dt), TYP_NO_TYPE);
}

}  // namespace
