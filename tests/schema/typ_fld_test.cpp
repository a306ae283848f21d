// Fields, field ids and generic maps.
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

using typ_fields = schema_test;

std::string names(const typ_sch_srec* s) {
  std::string out;
  for (long i = 0; i < s->nfields; ++i) {
    if (i) out += ",";
    out += s->fields[i].name;
  }
  return out;
}

void expect_positions_are_spec_ids(const typ_sch_srec* s) {
  for (long i = 0; i < s->nfields; ++i) EXPECT_EQ(s->fields[i].spec_id, i) << s->fields[i].name;
}

TEST_F(typ_fields, PredefinedFieldsStayAheadUnlessNamedWithXOrUnderscore) {
  struct row {
    const char* name;
    unsigned long flags;
    long position;
    const char* order;
  };
  const row rows[] = {
      {"P1", 1, 0, "P1"},
      {"U1", 4, 1, "P1,U1"},
      {"A", 1, 1, "P1,A,U1"},
      {"xtra", 1, 3, "P1,A,U1,xtra"},
      {"a_b", 1, 4, "P1,A,U1,xtra,a_b"},
      {"C", 2, 5, "P1,A,U1,xtra,a_b,C"},
      // The last PREDEFINED field is now a_b: the next goes after it.
      {"B", 1, 5, "P1,A,U1,xtra,a_b,B,C"},
  };
  typ_sch_srec* s = object("t", 1);
  for (const row& r : rows) {
    EXPECT_EQ(field(s, r.name, r.flags), r.position) << r.name;
    EXPECT_EQ(names(s), r.order) << r.name;
    expect_positions_are_spec_ids(s);
  }
  // Flag 0x10 follows the data type: set for a long, clear for a text.
  EXPECT_TRUE(s->fields[0].flags & TYP_FLD_INTEGER);
  EXPECT_EQ(field(s, "txt", 4, -1, 516), 7);
  EXPECT_FALSE(s->fields[7].flags & TYP_FLD_INTEGER);
}

TEST_F(typ_fields, GenericIdsAreCheckedAndMapped) {
  typ_sch_srec* s = object("t", 1);
  EXPECT_EQ(field(s, "objid", 1, 3), 0);
  EXPECT_EQ(field(s, "loc", 4, 153), 1);
  EXPECT_EQ(field(s, "none", 4, -1), 2);
  EXPECT_EQ(field(s, "bad", 4, 154), -1 - TYP_BAD_GEN_DEF);
  EXPECT_EQ(core_top_alert_text(), "Definition of generic field ID 154 of object schema t is invalid.\n");
  EXPECT_EQ(field(s, "bad2", 4, -2), -1 - TYP_BAD_GEN_DEF);
  EXPECT_EQ(field(s, "ptr", 4, -1, 518), -1 - TYP_NOT_STORABLE);
  EXPECT_EQ(s->nfields, 3);
  ASSERT_EQ(typ_sch_optimize(), 0);
  s = sch("t");
  struct row {
    long id;
    long status;
    long index;
  };
  const row rows[] = {
      {0x1000003, 0, 0},          {0x1000000 | 153, 0, 1},   {0x1000000 | 46, TYP_BAD_GEN_MAP, -9},
      {0x1000000 | 200, TYP_BAD_GEN_FIELD, -9}, {2, 0, 2}, {3, TYP_BAD_SPEC_FIELD, -9}, {-1, TYP_BAD_GEN_FIELD, -9},  // -1 carries bit 24
  };
  for (const row& r : rows) {
    long index = -9;
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(typ_sch_map(s, r.id, &index), r.status) << r.id;
    EXPECT_EQ(index, r.index) << r.id;
    if (r.status) {
      EXPECT_EQ(core_top_alert_code(), r.status);
    }
  }
  long index = 0;
  EXPECT_EQ(typ_sch_map(nullptr, 1, &index), TYP_BAD_HANDLE);
  EXPECT_EQ(typ_sch_gen_to_sp(s, 0x1000000 | 46, &index), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(typ_sch_gen_to_sp(s, 0x1000003, &index), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(typ_sch_gen_to_sp(s, 0x1000000 | 154, &index), TYP_BAD_GEN_FIELD);
  long gen = 0;
  EXPECT_EQ(typ_sch_sp_to_gen(s, 1, &gen), 0);
  EXPECT_EQ(gen, 153);
  EXPECT_EQ(typ_sch_sp_to_gen(s, 2, &gen), 0);
  EXPECT_EQ(gen, -1);
  EXPECT_EQ(typ_sch_sp_to_gen(s, 3, &gen), TYP_BAD_SPEC_FIELD);
}

TEST_F(typ_fields, MapsHoldEveryEntryAlsoPast154AndAnswerWithTheFirst) {
  typ_sch_srec* s = object("t", 1);
  for (int i = 0; i < 160; ++i) field(s, ("f" + std::to_string(i)).c_str(), 4, i % 150);
  ASSERT_EQ(typ_sch_optimize(), 0);
  s = sch("t");
  ASSERT_NE(s->info->fmap, nullptr);
  EXPECT_EQ(s->info->fmap->count, 160);
  long index = -1;
  // Generic 5 is carried by fields 5 and 155: the first answers.
  EXPECT_EQ(typ_sch_map(s, 0x1000005, &index), 0);
  EXPECT_EQ(index, 5);
  EXPECT_EQ(s->info->fmap->entries[159].spec, 159);
  EXPECT_EQ(s->info->fmap->entries[159].gen, 9);
  EXPECT_EQ(s->flags & (TYP_SCH_CONSTRUCT | TYP_SCH_OPTIMIZED), TYP_SCH_OPTIMIZED);
  // Optimised: no more fields.
  EXPECT_EQ(field(s, "late", 4), -1 - TYP_NOT_MODIFIABLE);
}

TEST_F(typ_fields, PredefinedInsertionAfterOptimiseShiftsTheMap) {
  typ_sch_srec* s = object("t", 1);
  field(s, "objid", 1, 3);
  field(s, "u", 4, 50);
  ASSERT_EQ(typ_sch_optimize(), 0);
  s = sch("t");
  typ_sch_modify(s);
  EXPECT_EQ(field(s, "p", 1, 60), 1);
  long index = -1;
  EXPECT_EQ(typ_sch_map(s, 0x1000000 | 50, &index), 0);
  EXPECT_EQ(index, 2);
  EXPECT_STREQ(s->fields[index].name, "u");
}

TEST_F(typ_fields, DeletionsRenumberAndFixTheMap) {
  typ_sch_srec* s = object("t", 1);
  for (auto [n, g] : std::vector<std::pair<const char*, long>>{{"a", 3}, {"b", 10}, {"c", 11}, {"d", 12}})
    field(s, n, 4, g);
  typ_sch_add_barray_field(s, "arr", 20, 0, "c", "old");
  ASSERT_EQ(typ_sch_optimize(), 0);
  s = sch("t");
  EXPECT_EQ(s->info->nspecial, 1);
  EXPECT_EQ(s->info->special[0].flags & 0x27, TYP_FLD_BARRAY);
  // Position 0 and positions past the end cannot be deleted.
  for (long bad : {0L, 4L, -1L}) {
    std::string out = schema_stdout_of([&] { EXPECT_EQ(typ_sch_delete_field(s, bad), 1); });
    EXPECT_EQ(out, "typ_sch_delete_field: invalid field id " + std::to_string(bad) + " to delete\n");
  }
  EXPECT_EQ(names(s), "a,b,c,d");
  ASSERT_EQ(typ_sch_delete_field(s, 1), 0);
  EXPECT_EQ(names(s), "a,c,d");
  expect_positions_are_spec_ids(s);
  EXPECT_EQ(s->flags & 0x4010, 0x4010UL);
  long index = -1;
  EXPECT_EQ(typ_sch_map(s, 0x1000000 | 10, &index), TYP_BAD_GEN_MAP);
  EXPECT_EQ(typ_sch_map(s, 0x1000000 | 12, &index), 0);
  EXPECT_EQ(index, 2);
  // By name: the generic entry goes, later fields move.
  ASSERT_EQ(typ_sch_field_delete(s, "a"), 0);
  EXPECT_EQ(names(s), "c,d");
  expect_positions_are_spec_ids(s);
  EXPECT_EQ(typ_sch_map(s, 0x1000003, &index), TYP_BAD_GEN_MAP);
  EXPECT_EQ(typ_sch_map(s, 0x1000000 | 11, &index), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(typ_sch_map(s, 0x1000000 | 12, &index), 0);
  EXPECT_EQ(index, 1);
  // The special-field collection is searched too.
  ASSERT_EQ(typ_sch_field_delete(s, "arr"), 0);
  EXPECT_EQ(s->info->nspecial, 0);
  EXPECT_EQ(typ_sch_field_delete(s, "zz"), 0x500016);
  EXPECT_EQ(core_top_alert_text(), "The field 'zz' cannot be deleted because it does not exist for object t.\n");
}

TEST_F(typ_fields, ReplaceRenamesAndUpdatesDefaultsAndComments) {
  typ_sch_srec* s = object("t", 1);
  long pos = -1;
  ASSERT_EQ(typ_sch_fadd(s, "f", 512, 0, -1, 0, 4, 0, 5, 2, 0, 0, "1", "c", &pos), 0);
  long spec = -1;
  ASSERT_EQ(typ_sch_freplace(s, "F", "g", 516, 7, 40, 0, 8, 30, "2", nullptr, &spec), 0);
  const typ_sch_frec& f = s->fields[0];
  EXPECT_EQ(spec, 0);
  EXPECT_STREQ(f.name, "g");
  EXPECT_STREQ(f.def, "2");
  EXPECT_STREQ(f.comment, "");
  EXPECT_EQ(f.data_type, 516);
  EXPECT_EQ(f.db_type, 7);
  EXPECT_EQ(f.gen_id, 40);
  EXPECT_EQ(f.flags, 8UL);
  EXPECT_EQ(f.array_size, 30);
  EXPECT_EQ(f.dec_precision, 5);
  EXPECT_EQ(f.dec_scale, 2);
  ASSERT_EQ(typ_sch_freplace(s, "g", "g", 516, 7, 40, 0, 8, 30, nullptr, "new", &spec), 0);
  EXPECT_EQ(s->fields[0].def, nullptr);
  EXPECT_STREQ(s->fields[0].comment, "new");
  EXPECT_EQ(typ_sch_freplace(s, "nope", "x", 512, 0, -1, 0, 4, 0, nullptr, nullptr, &spec), TYP_NO_FIELD);
}

TEST_F(typ_fields, AccessorsByTypeAndField) {
  typ_sch_srec* s = object("t", 9);
  long pos = -1;
  ASSERT_EQ(typ_sch_fadd(s, "name", 516, 8, 50, 0, 4, 80, -1, -1, 0, 0, "dflt", nullptr, &pos), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  long size = 0, dt = 0;
  EXPECT_EQ(typ_sch_field_length_get(9, 0x1000000 | 50, &size), 0);
  EXPECT_EQ(size, 80);
  EXPECT_EQ(typ_sch_field_type_get(9, 0, &dt), 0);
  EXPECT_EQ(dt, 516);
  EXPECT_EQ(typ_sch_field_type_get(10, 0, &dt), TYP_NO_TYPE);
  EXPECT_TRUE(typ_sch_field_type_is_text(8));
  EXPECT_FALSE(typ_sch_field_type_is_text(7));
  const char* name = nullptr;
  const char* def = nullptr;
  long db = 0;
  unsigned long flags = 0;
  EXPECT_EQ(typ_sch_get_field_info2(sch("t"), 0, &name, nullptr, &flags, nullptr, &db, &def), 0);
  EXPECT_STREQ(name, "name");
  EXPECT_STREQ(def, "dflt");
  EXPECT_EQ(db, 8);
  typ_sch_frec* f = nullptr;
  EXPECT_EQ(typ_sch_field_get_by_name(sch("t"), "NAME", &f), 0);
  EXPECT_EQ(f, &sch("t")->fields[0]);
  EXPECT_EQ(typ_sch_field_get_by_name(sch("t"), "nam", &f), TYP_NO_FIELD);
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(core_top_alert_text(), "Field 'nam' does not exist for object type 't'.\n");
}

}  // namespace

namespace {

TEST_F(typ_fields, KindWrappersAndTextSetters) {
  typ_sch_srec* s = object("t", 1);
  typ_sch_frec t{};
  typ_sch_ty_field_init(&t);
  EXPECT_EQ(t.name, nullptr);
  t.name = const_cast<char*>("u");
  t.data_type = 512;
  t.gen_id = -1;
  t.flags = TYP_FLD_PREDEFINED | TYP_FLD_BARRAY | TYP_FLD_MANDATORY;
  long pos = -1;
  struct row {
    long (*add)(typ_sch_srec*, typ_sch_frec*, long*);
    const char* name;
    unsigned long kind;
  };
  const row rows[] = {{typ_sch_add_ufield, "u", TYP_FLD_USER},
                      {typ_sch_add_cfield, "c", TYP_FLD_COMPUTED},
                      {typ_sch_add_pfield, "p", TYP_FLD_PREDEFINED}};
  for (const row& r : rows) {
    t.name = const_cast<char*>(r.name);
    t.flags = TYP_FLD_PREDEFINED | TYP_FLD_BARRAY | TYP_FLD_MANDATORY | TYP_FLD_USER;
    ASSERT_EQ(r.add(s, &t, &pos), 0) << r.name;
    EXPECT_EQ(s->fields[pos].flags & 0x2f, r.kind | TYP_FLD_MANDATORY) << r.name;
  }
  EXPECT_STREQ(s->fields[2].name, "p");  // no predefined field before it: appended
  typ_sch_frec* f = &s->fields[1];
  ASSERT_EQ(typ_sch_set_field_name(&f->name, "renamed"), 0);
  EXPECT_STREQ(f->name, "renamed");
  ASSERT_EQ(typ_sch_set_field_def(f, "7"), 0);
  EXPECT_STREQ(f->def, "7");
  ASSERT_EQ(typ_sch_set_field_def(f, nullptr), 0);
  EXPECT_EQ(f->def, nullptr);
  ASSERT_EQ(typ_sch_set_field_comment(f, nullptr), 0);
  EXPECT_STREQ(f->comment, "");
  ASSERT_EQ(typ_sch_set_field_comment(f, "note"), 0);
  EXPECT_STREQ(f->comment, "note");
  int word = 0;
  void* got = nullptr;
  typ_sch_field_uptr_set(f, &word);
  typ_sch_field_uptr_get(f, &got);
  EXPECT_EQ(got, &word);
}

}  // namespace
