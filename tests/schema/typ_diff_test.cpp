// Schema difference records: the sink, print forms, order and the report.
#include <cstring>
#include <string>

#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_diff.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

class typ_diffs : public schema_test {
 protected:
  void SetUp() override {
    schema_test::SetUp();
    ASSERT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  }
  void TearDown() override {
    utl_col_free("t", list_);
    schema_test::TearDown();
  }
  typ_sch_diff_rec* at(long i) {
    void* e = nullptr;
    utl_col_ith(list_, i, &e);
    return static_cast<typ_sch_diff_rec*>(e);
  }
  long count() {
    long n = 0;
    utl_col_num(list_, &n);
    return n;
  }
  utl_ty_col* list_ = nullptr;
};

TEST_F(typ_diffs, PrintFormsOfEveryOperation) {
  typ_sch_srec* t = object("T", 5);
  field(t, "old", 4);
  field(t, "new", 4);
  ASSERT_EQ(rel("T", "r", 1, "U", "ri"), 0);
  object("U", 6);
  ASSERT_EQ(rel("U", "ri", 2, "T", "r"), 0);
  ASSERT_EQ(rel("T", "m", 5, "U", "mi"), 0);
  ASSERT_EQ(rel("U", "mi", 5, "T", "m"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  t = sch("T");
  const typ_sch_frec* f0 = &t->fields[0];
  const typ_sch_frec* f1 = &t->fields[1];
  const typ_sch_rel_inst* r0 = &t->rels[0];
  const typ_sch_rel_inst* r1 = &t->rels[1];
  struct row {
    long op;
    const void* a;
    const void* b;
    const char* text;
    char droppable;
  };
  const row rows[] = {
      {0, f0, nullptr, "ADD field 'old' to 'T'\n", 0},
      {1, f0, nullptr, "DELETE field 'old' from 'T'\n", 1},
      {2, f0, f1, "MODIFY field 'old' in 'T'\n", 1},
      {3, f0, f1, "RENAME field 'old' to 'new' in 'T'\n", 1},
      {4, r0, nullptr, "ADD relation 'r/ri' to 'T'\n", 0},
      {5, r0, nullptr, "DELETE relation 'r/ri' from 'T'\n", 1},
      {6, r1, r0,
       "MODIFY relation 'm/mi' in 'T'\n  RELATION changed from type 5 to 1\n"
       "  MTM table name changed from 'mtm_T1_U1' to ''\n",
       1},
      {7, r0, r1, "RENAME relation 'r' to 'm' in 'T'\n", 1},
      {8, nullptr, nullptr, "ADD OBJECT type 'T'\n", 0},
      {9, nullptr, nullptr, "DELETE OBJECT type 'T'\n", 1},
      {10, nullptr, nullptr, "MODIFY OBJECT type 'T'\n", 1},
      {12, nullptr, nullptr, "SCHEMA changed for object 'T'\n", 0},
      {13, nullptr, nullptr, "RECOMPILE INDEXES for object 'T'\n", 0},
      {14, nullptr, nullptr, "RELATION SCHEMA changed for object 'T'\n", 1},
      {20, nullptr, nullptr, "UNKNOWN DIFF OP_TYPE 20\n", 1},
      {21, f0, f1, "MODIFY field 'old' in 'T'\n", 0},
      {30, nullptr, nullptr, "UNKNOWN DIFF OP_TYPE 30\n", 0},
  };
  for (const row& r : rows) {
    utl_col_reset(list_);
    std::string out = schema_stdout_of([&] {
      EXPECT_EQ(typ_sch_add_diff(t, t, r.a, r.b, r.op, list_, TYP_OPT_ALLOW_DROPS), 0);
    });
    EXPECT_EQ(out, "") << r.op;  // drops allowed: no warning
    const typ_sch_diff_rec* d = at(0);
    EXPECT_EQ(d->droppable, r.droppable) << r.op;
    EXPECT_EQ(d->type_id, 5);
    EXPECT_EQ(schema_written([&](FILE* f) { typ_sch_print_diff(f, 0, d, 0, 0, 0); }), r.text) << r.op;
  }
  // Without a new schema: the old schema's type id; the name is not known.
  utl_col_reset(list_);
  ASSERT_EQ(typ_sch_add_diff(t, nullptr, nullptr, nullptr, 9, list_, TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_EQ(schema_written([&](FILE* f) { typ_sch_print_diff(f, 0, at(0), 0, 0, 0); }), "DELETE OBJECT type '5'\n");
  // Relation summaries as seen from the entry's side.
  typ_sch_diff_rel_info info{};
  typ_sch_assign_rel_info(&sch("U")->rels[0], &info);
  EXPECT_STREQ(info.name, "ri");
  EXPECT_STREQ(info.inv_name, "r");
  EXPECT_EQ(info.rel_type, 2);
  EXPECT_EQ(info.side, 'f');
  EXPECT_EQ(info.target, sch("T"));
  EXPECT_EQ(info.gen_id, -1);
  EXPECT_STREQ(info.mtm_table, "");
}

TEST_F(typ_diffs, OneRecompilePerViewAndOneAddPerMtmRelationOfAnAddedType) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define_struct("V", 50, nullptr, nullptr, nullptr, &v), 0);
  object("T", 5);
  object("U", 6);
  ASSERT_EQ(rel("T", "m1", 5, "U", "n1"), 0);
  ASSERT_EQ(rel("T", "o", 1, "U", "p"), 0);
  ASSERT_EQ(rel("T", "m2", 5, "U", "n2"), 0);
  ASSERT_EQ(rel("U", "n1", 5, "T", "m1"), 0);
  ASSERT_EQ(rel("U", "p", 2, "T", "o"), 0);
  ASSERT_EQ(rel("U", "n2", 5, "T", "m2"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  ASSERT_EQ(typ_sch_add_diff(nullptr, sch("V"), nullptr, nullptr, 0, list_, 0), 0);
  ASSERT_EQ(typ_sch_add_diff(nullptr, sch("V"), nullptr, nullptr, 3, list_, 0), 0);
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(at(0)->op, 11);
  EXPECT_EQ(at(0)->droppable, 0);
  ASSERT_EQ(typ_sch_add_diff(nullptr, sch("T"), nullptr, nullptr, 8, list_, 0), 0);
  ASSERT_EQ(count(), 4);
  EXPECT_EQ(at(1)->op, 8);
  EXPECT_EQ(at(2)->op, 4);
  EXPECT_STREQ(at(2)->rel.name, "m1");
  EXPECT_EQ(at(3)->op, 4);
  EXPECT_STREQ(at(3)->rel.name, "m2");
  // Ordered by type id, then operation.
  ASSERT_EQ(utl_col_sort(list_, [](const void* a, const void* b, void*) { return typ_sch_compare_diff(a, b); },
                         nullptr),
            0);
  EXPECT_EQ(at(0)->type_id, 5);
  EXPECT_EQ(at(0)->op, 4);
  EXPECT_EQ(at(2)->op, 8);
  EXPECT_EQ(at(3)->type_id, 50);
}

TEST_F(typ_diffs, DropsWarnUnlessAllowedAndOp21IsStoredAsModify) {
  typ_sch_srec* t = object("T", 5);
  field(t, "f", 4);
  std::string out = schema_stdout_of([&] {
    EXPECT_EQ(typ_sch_add_diff(t, t, &t->fields[0], nullptr, 1, list_, 0), 0);
    EXPECT_EQ(typ_sch_add_diff(t, t, &t->fields[0], nullptr, 1, list_, 0), 0);
    EXPECT_EQ(typ_sch_add_diff(t, t, &t->fields[0], nullptr, 0, list_, 0), 0);
    EXPECT_EQ(typ_sch_add_diff(t, t, &t->fields[0], &t->fields[0], 21, list_, 0), 0);
  });
  const std::string warning =
      "  Drops are  not allowed, rename, delete, modifications flagged above changes will not done\n";
  EXPECT_EQ(out, warning + warning);
  EXPECT_EQ(at(3)->op, 2);
  EXPECT_EQ(at(3)->droppable, 0);
  EXPECT_STREQ(at(3)->new_field.name, "f");
  out = schema_stdout_of([&] {
    EXPECT_EQ(typ_sch_add_diff(t, t, &t->fields[0], nullptr, 1, list_, TYP_OPT_ALLOW_DROPS), 0);
  });
  EXPECT_EQ(out, "");
}

TEST_F(typ_diffs, StorageTypeNames) {
  struct row {
    long code;
    const char* name;
  };
  const row rows[] = {{0, "4 byte integer"}, {5, "currency 8 byte float"}, {9, "date/time"},
                      {10, "vtext"},         {11, "decimal"},              {12, "Unknown DB Type"},
                      {-1, "Unknown DB Type"}};
  for (const row& r : rows) EXPECT_STREQ(typ_sch_dtype_name(r.code), r.name) << r.code;
  char custom = 0;
  for (long id : {430L, 511L, 2000L, 4999L}) {
    typ_sch_is_custom_table(id, &custom);
    EXPECT_EQ(custom, 1) << id;
  }
  for (long id : {429L, 512L, 1999L, 5000L}) {
    typ_sch_is_custom_table(id, &custom);
    EXPECT_EQ(custom, 0) << id;
  }
}

TEST_F(typ_diffs, ReportHeadingIsPrintedOnceBeforeItsFirstMessage) {
  utl_ty_estr* estr = nullptr;
  ASSERT_EQ(utl_estr_create("t", nullptr, 16, 16, &estr), 0);
  std::string file;
  typ_sch_diff_out out{};
  file = schema_written([&](FILE* f) {
    out.stream = f;
    out.estr = estr;
    typ_sch_set_next_diff_type("Empty section");
    typ_sch_set_next_diff_type("Fields of T");
    typ_sch_pdiff(&out, "one %ld\n", 1L);
    typ_sch_pdiff(&out, "two %s\n", "x");
  });
  EXPECT_EQ(file, "\nFields of Tone 1\ntwo x\n");
  EXPECT_STREQ(utl_estr_get(estr), "\nFields of Tone 1\ntwo x\n");
  // Without a stream: the message printer; a long heading is cut at 128.
  const std::string heading(200, 'h');
  typ_sch_set_next_diff_type(heading.c_str());
  std::string printed = schema_stdout_of([&] { typ_sch_pdiff(nullptr, "%s\n", "m"); });
  EXPECT_EQ(printed, "\n" + std::string(127, 'h') + "m\n");
  utl_estr_free("t", estr);
}

}  // namespace
