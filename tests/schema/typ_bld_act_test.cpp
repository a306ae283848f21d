// Build actions of the schema compiler: the model a file builds, field
// description flags and warnings, exclusive groups, flexible-attribute
// tables, binary arrays, remembered revisions and the upgrade road's
// saved model.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_bld.h"
#include "bld_fixture.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_bld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

using typ_bld_act = bld_test;

const std::string kLong = " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";

TEST_F(typ_bld_act, CompleteFileBuildsTheModel) {
  const std::string text =
      "SCHEMA_REVISION 42 LOCAL_SCHEMA_REVISION \"cust 7\"\n"
      "/* two objects */\n"
      "OBJECT contact 10 CACHEOBJIDS SUBJECT=\"People\" COMMENT=\"a person\"\n"
      "FIELDS\n"
      " objid" + kLong + " GEN_FIELD_ID=3,\n"
      " first_name CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=30 SEARCHABLE OPTIONAL"
      " DEFAULT=\"x\" COMMENT=\"given\" OLD_NAME=fname,\n"
      " amount CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=11 DEC_PRECISION=10 DEC_SCALE=2 USER_DEFINED"
      " CURRENCY CHANGE_DATE DEFAULT=5,\n"
      " rate DB_DATA_TYPE=0 DEFAULT=2.5,\n"
      "FIELDS_END\n"
      "RELATIONS contact2site MTO site INV_REL=site2contact REQUIRED COMMENT=\"works at\",\n"
      "RELATIONS_END\n"
      "INDEXES by_name FIELD=FIRST_NAME UNIQUE, by_site RELATION=contact2site, INDEXES_END\n"
      "OBJECT_END;\n"
      "OBJECT site 11 FIELDS objid" + kLong + " GEN_FIELD_ID=3 FIELDS_END\n"
      "RELATIONS site2contact OTM contact INV_REL=contact2site RELATIONS_END OBJECT_END;\n"
      "VIEW contact_view 20 SUBJECT=\"V\"\n"
      "ALIAS contact c, site s\n"
      "FIELDS id FROM c.objid UNIQUE, name FROM c.first_name OPTIONAL USER_DEFINED COMMENT=\"n\" FIELDS_END\n"
      "JOINS c.contact2site = OUTER s.site2contact, JOINS_END\n"
      "VIEW_END;\n";
  std::string out;
  ASSERT_EQ(compile(text, 0, &out), 0) << out << core_top_alert_text();
  typ_sch_srec* c = sch("contact");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->type_id, 10);
  EXPECT_STREQ(c->info->subject, "People");
  EXPECT_STREQ(c->description, "a person");
  // CACHEOBJIDS adds its bit and keeps the object kind.
  EXPECT_EQ(c->flags & (TYP_SCH_OBJECT | 0x80000), TYP_SCH_OBJECT | 0x80000);
  EXPECT_EQ(sch("site")->flags & 0x80000, 0u);
  const typ_sch_frec* fn = fld("contact", "first_name");
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn->array_size, 30);
  EXPECT_EQ(fn->db_type, 7);
  EXPECT_EQ(fn->flags & (TYP_FLD_MANDATORY | TYP_FLD_PREDEFINED), TYP_FLD_PREDEFINED);
  EXPECT_STREQ(fn->def, "x");
  EXPECT_STREQ(fn->comment, "given");
  EXPECT_STREQ(fn->old_name, "fname");
  const typ_sch_frec* am = fld("contact", "amount");
  ASSERT_NE(am, nullptr);
  EXPECT_EQ(am->dec_precision, 10);
  EXPECT_EQ(am->dec_scale, 2);
  EXPECT_TRUE(am->flags & TYP_FLD_USER);
  EXPECT_EQ(am->flags & 0x2400, 0x2400u);  // currency, change date
  EXPECT_STREQ(am->def, "5");
  // A clause without a data type keeps the previous one.
  const typ_sch_frec* rt = fld("contact", "rate");
  ASSERT_NE(rt, nullptr);
  EXPECT_EQ(rt->data_type, 512);
  EXPECT_STREQ(rt->def, "2.500000");
  // Indexes: the list is the record's user pointer, unique as the extension word.
  void* word = nullptr;
  typ_sch_uptr_get(sch("contact"), &word);
  auto* list = static_cast<utl_ty_col*>(word);
  ASSERT_NE(list, nullptr);
  long n = 0;
  utl_col_num(list, &n);
  ASSERT_EQ(n, 2);
  void* e = nullptr;
  utl_col_ith(list, 0, &e);
  utl_ty_col* members = *static_cast<utl_ty_col**>(e);
  utl_col_num(members, &n);
  ASSERT_EQ(n, 2);
  utl_col_ith(members, 1, &e);
  EXPECT_STREQ(static_cast<const char*>(e), "FIRST_NAME");
  long ext = -1;
  utl_col_get_ext(members, &ext);
  EXPECT_EQ(ext, 1);
  utl_col_ith(list, 1, &e);
  utl_col_get_ext(*static_cast<utl_ty_col**>(e), &ext);
  EXPECT_EQ(ext, 0);
  // The relation: required flag, indexed, paired with its inverse.
  c = sch("contact");
  ASSERT_EQ(c->nrels, 1);
  EXPECT_TRUE(c->rels[0].flags & TYP_REL_REQUIRED);
  EXPECT_STREQ(c->rels[0].comment, "works at");
  EXPECT_EQ(c->info->nrelind, 1);
  // The view: fields from their sources, the join outer on the right.
  typ_sch_srec* v = sch("contact_view");
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->nfields, 2);
  EXPECT_EQ(v->fields[0].gen_id, 3);
  EXPECT_EQ(v->fields[0].flags & 0xd, 9u);
  EXPECT_EQ(v->fields[1].flags & 0xd, 4u);
  // Revisions are remembered, not written.
  long rev = 0;
  char cust[257];
  typ_bld_get_saved_schema_rev(&rev, cust, 1);
  EXPECT_EQ(rev, 42);
  EXPECT_STREQ(cust, "cust 7");
  typ_bld_get_read_sch_rev(&rev);
  EXPECT_EQ(rev, -1);
  EXPECT_TRUE(adp_double::calls_of("dbs_db_change_schema_rev").empty());
}

TEST_F(typ_bld_act, FieldDescriptionFlagsAndWarnings) {
  struct row {
    const char* what;
    std::string attrs;
    unsigned long header;  // header flags; 0: no header
    long server;
    long db_type;
    unsigned long flags;  // bits of 0x180 expected
    const char* warning;
  } rows[] = {
      {"type 10 becomes 8", " DB_DATA_TYPE=10", 0, 0, 8, 0x80, nullptr},
      {"type 10 kept on server 1 with flag 16", " DB_DATA_TYPE=10", 16, 1, 10, 0x80, nullptr},
      {"type 10 to 8 on server 2", " DB_DATA_TYPE=10", 16, 2, 8, 0x80, nullptr},
      {"type 10 kept on SQL Server (517) with flag 16", " DB_DATA_TYPE=10", 16, 517, 10, 0x80, nullptr},
      {"type 10 to 8 on server 516 (no family bit)", " DB_DATA_TYPE=10", 16, 516, 8, 0x80, nullptr},
      {"searchable with header flag 1", " DB_DATA_TYPE=0 SEARCHABLE", 1, 0, 0, 0x100, nullptr},
      {"searchable without it", " DB_DATA_TYPE=0 SEARCHABLE", 16, 0, 0, 0, nullptr},
      {"allow null", " DB_DATA_TYPE=0 ALLOW_NULL", 0, 0, 0, 0x80, nullptr},
      {"array size ignored", " DB_DATA_TYPE=0 ARRAY_SIZE=4", 0, 0, 0, 0,
       "Warning: Ignoring ARRAY_SIZE for the field 'f' of type 'a'\n"},
      {"precision ignored", " DB_DATA_TYPE=0 DEC_SCALE=4", 0, 0, 0, 0,
       "Warning: Ignoring DEC_PRECISION and DEC_SCALE for the field 'f' of type 'a'\n"},
  };
  for (const row& r : rows) {
    SetUp();
    adp_double::set_header(r.header, r.header != 0);
    adp_double::set_server_type(r.server);
    std::string out;
    ASSERT_EQ(compile(bld_obj("a", 10, ",\n f CMN_DATA_TYPE=512" + r.attrs), 0, &out), 0) << r.what << out;
    const typ_sch_frec* f = fld("a", "f");
    ASSERT_NE(f, nullptr) << r.what;
    EXPECT_EQ(f->db_type, r.db_type) << r.what;
    EXPECT_EQ(f->flags & 0x180, r.flags) << r.what;
    if (r.warning) {
      EXPECT_NE(out.find(r.warning), std::string::npos) << r.what << out;
      EXPECT_EQ(f->array_size, -1);
      EXPECT_EQ(f->dec_scale, -1);
    } else {
      EXPECT_EQ(out.find("Warning"), std::string::npos) << r.what << out;
    }
    TearDown();
  }
}

TEST_F(typ_bld_act, FieldChecks) {
  struct row {
    const char* what;
    std::string fields;
    long code;
  } rows[] = {
      {"string without size", ", s CMN_DATA_TYPE=516 DB_DATA_TYPE=7", 0x500015},
      {"two fields with gen 5", ", p" + kLong + " GEN_FIELD_ID=5, q GEN_FIELD_ID=5", 0x50003e},
      {"gen absent twice", ", p" + kLong + ", q OPTIONAL", 0},
      {"duplicate names ignoring case", ", p" + kLong + ", P OPTIONAL", 0x50004f},
      {"array without gen id", ", b CMN_DATA_TYPE=array", 0x500020},
      {"array with gen id", ", b CMN_DATA_TYPE=array GEN_FIELD_ID=40", 0},
  };
  for (const row& r : rows) {
    SetUp();
    long st = compile(bld_obj("a", 10, r.fields));
    if (r.code == 0) {
      EXPECT_EQ(st, 0) << r.what << core_top_alert_text();
    } else {
      EXPECT_EQ(st, 0x50003f) << r.what;
      long n = core_num_alerts();
      EXPECT_GE(n, 2) << r.what;
      long code = 0;
      const char* text = nullptr;
      bool found = false;
      for (long i = 0; i < n; ++i)
        if (cmn_alrt_ith(nullptr, i, &code, &text) == 0 && code == r.code) found = true;
      EXPECT_TRUE(found) << r.what << core_top_alert_text();
      EXPECT_EQ(typ_sch_num_types(), 0) << r.what;  // the failed compile left the former (empty) model
    }
    TearDown();
  }
  // The array field is listed for its table, and written by typ_bld_write_arrays.
  SetUp();
  ASSERT_EQ(compile(bld_obj("a", 10, ", b CMN_DATA_TYPE=array GEN_FIELD_ID=40")), 0);
  ASSERT_NE(typ_bld_array_col, nullptr);
  ASSERT_EQ(typ_bld_write_arrays(nullptr, typ_bld_array_col), 0);
  auto calls = adp_double::calls_of("adp_bar_create");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"10", "40"}));
  adp_double::script("adp_bar_create", {0x600009});
  EXPECT_EQ(typ_bld_write_arrays(nullptr, typ_bld_array_col), 0x600009);
}

TEST_F(typ_bld_act, ExclusiveGroups) {
  const std::string target = bld_obj("t", 11, "", "RELATIONS t2a OTM a INV_REL=a2t, t2b OTM a INV_REL=b2t RELATIONS_END\n");
  // Both relations to t are defined on a, the second without a group
  // unless the row names it.
  auto file = [&](const std::string&, const std::string& fields, const std::string& rels) {
    std::string all = rels.find("b2t") == std::string::npos ? rels + ", b2t MTO t INV_REL=t2b" : rels;
    return bld_obj("a", 10, fields, "RELATIONS " + all + " RELATIONS_END\n") + target;
  };
  const std::string g22(22, 'g'), g23(23, 'g');
  struct row {
    const char* what;
    std::string text;
    long code;
  } rows[] = {
      {"22 characters", file(g22, "", "EXCLUSIVE " + g22 + " a2t MTO t INV_REL=t2a"), 0},
      {"23 characters", file(g23, "", "EXCLUSIVE " + g23 + " a2t MTO t INV_REL=t2a"), 0x500042},
      {"wrong side", file("g", "", "EXCLUSIVE g a2t OTM t INV_REL=t2a"), 0x500043},
      {"same target twice",
       file("g", "", "EXCLUSIVE g a2t MTO t INV_REL=t2a, EXCLUSIVE g b2t MTO t INV_REL=t2b"), 0x500044},
      {"declared set",
       file("g", ", tf" + kLong + ", of" + kLong,
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END"),
       0},
      {"object-id field of the wrong type",
       file("g", ", of CMN_DATA_TYPE=516 DB_DATA_TYPE=7 ARRAY_SIZE=3",
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END"),
       0x500051},
      {"object-id field in another case",
       file("g", ", OF" + kLong,
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END"),
       0x500050},
      {"type field of the wrong type",
       file("g", ", tf CMN_DATA_TYPE=512 DB_DATA_TYPE=3",
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END"),
       0x500052},
      {"group declared twice",
       file("g", "",
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END,"
            "EXCLUSIVE_SET G TYPE_FIELD=x OBJID_FIELD=y b2t MTO t INV_REL=t2b EXCLUSIVE_SET_END"),
       0x500043},
      {"reopened set",
       file("g", "",
            "EXCLUSIVE_SET g TYPE_FIELD=tf OBJID_FIELD=of a2t MTO t INV_REL=t2a EXCLUSIVE_SET_END,"
            "REOPEN_EXCLUSIVE_SET g b2t MTO t INV_REL=t2b EXCLUSIVE_SET_END"),
       0x500044},
  };
  for (const row& r : rows) {
    SetUp();
    std::string out;
    long st = compile(r.text, 0, &out);
    if (r.code == 0) {
      ASSERT_EQ(st, 0) << r.what << out << core_top_alert_text();
      typ_sch_srec* a = sch("a");
      typ_sch_rrec* rel = nullptr;
      typ_sch_get_relation_obj(a, 0, &rel);
      ASSERT_NE(rel, nullptr);
      EXPECT_EQ(rel->exclusive, 1) << r.what;
      const char* mark = nullptr;
      typ_sch_get_exclusive_mark(rel, rel->phys_name, &mark);
      EXPECT_TRUE(std::string(mark) == g22 || std::string(mark) == "g") << r.what << mark;
    } else {
      EXPECT_EQ(st, 0x50003f) << r.what;
      long n = core_num_alerts(), code = 0;
      const char* text = nullptr;
      bool found = false;
      for (long i = 0; i < n; ++i)
        if (cmn_alrt_ith(nullptr, i, &code, &text) == 0 && code == r.code) found = true;
      EXPECT_TRUE(found) << r.what << out << core_top_alert_text();
    }
    TearDown();
  }
  SetUp();
  ASSERT_EQ(compile(file("g", "", "EXCLUSIVE g a2t MTO t INV_REL=t2a")), 0);
  typ_sch_rrec* rel = nullptr;
  typ_sch_get_relation_obj(sch("a"), 0, &rel);
  ASSERT_NE(rel, nullptr);
  EXPECT_STREQ(rel->phys_name, "group2g");
  EXPECT_STREQ(rel->focus_field, "gr_type_g");
  const char* mark = nullptr;
  typ_sch_get_exclusive_mark(nullptr, "group2abc", &mark);
  EXPECT_STREQ(mark, "abc");
  typ_sch_get_exclusive_mark(nullptr, "group2", &mark);
  EXPECT_STREQ(mark, "");
  typ_sch_get_exclusive_mark(nullptr, "abc", &mark);
  EXPECT_STREQ(mark, "");
  EXPECT_STREQ(typ_sch_reltype_name(4), "OTOF");
  EXPECT_STREQ(typ_sch_reltype_name(0), "UNKNOWN TYPE");
}

TEST_F(typ_bld_act, FlexibleAttributeTables) {
  const std::string owner = "OBJECT item 10 ALLOW_FLEX FIELDS objid" + kLong + " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n";
  std::string out;
  EXPECT_EQ(compile(owner, 0, &out), -1);
  EXPECT_NE(out.find("There is no flex_defn object defined"), std::string::npos) << out;
  EXPECT_NE(out.find("Flex tables creation failed!\n"), std::string::npos) << out;
  EXPECT_EQ(core_top_alert_code(), 0x500008);
  EXPECT_EQ(typ_sch_num_types(), 0);

  SetUp();
  ASSERT_EQ(compile(owner + bld_obj("flex_defn", 12), TYP_BLD_TRACE, &out), 0) << out << core_top_alert_text();
  EXPECT_NE(out.find("Processing object 'fa_item'"), std::string::npos) << out;
  typ_sch_srec* t = sch("fa_item");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->type_id, 100010);
  EXPECT_TRUE(t->flags & TYP_SCH_FLEX_TABLE);
  EXPECT_TRUE(sch("item")->flags & TYP_SCH_ALLOW_FLEX);
  ASSERT_EQ(t->nfields, 5);
  const typ_sch_frec* v = fld("fa_item", "attribute_value");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->array_size, 1300);
  EXPECT_TRUE(v->flags & 0x80);
  EXPECT_EQ(fld("fa_item", "dev")->gen_id, 5);
  EXPECT_EQ(t->nrels, 2);
  EXPECT_EQ(sch("item")->nrels, 1);
  EXPECT_EQ(sch("flex_defn")->nrels, 1);
  long tid = -1, spec = -1;
  EXPECT_EQ(typ_sch_rel_name_to_id(-1, "flex_defn", "flex_defn2fa_item", &spec, &tid), 0);
  EXPECT_EQ(tid, 100010);
  void* word = nullptr;
  typ_sch_uptr_get(sch("fa_item"), &word);
  ASSERT_NE(word, nullptr);
}

TEST_F(typ_bld_act, TraceNamesEachDefinition) {
  std::string out;
  ASSERT_EQ(compile(bld_obj("a", 10) + "SUBOBJECT s 12 FIELDS q" + kLong + " FIELDS_END SUBOBJECT_END;\n" +
                        "VIEW v 20 FIELDS id FROM a.objid UNIQUE FIELDS_END VIEW_END;\n",
                    TYP_BLD_TRACE, &out),
            0)
      << out;
  EXPECT_NE(out.find("Processing object 'a'\nProcessing subobject 's'\nProcessing view 'v'\n"), std::string::npos)
      << out;
  // Without the trace nothing is printed; a view may reuse a name with option 32.
  SetUp();
  ASSERT_EQ(compile(bld_obj("a", 10) + "VIEW a 20 FIELDS id FROM a.objid FIELDS_END VIEW_END;\n",
                    TYP_BLD_VIEW_REUSE_NAME, &out),
            0)
      << out << core_top_alert_text();
  EXPECT_EQ(out, "");
  SetUp();
  EXPECT_EQ(compile(bld_obj("a", 10) + "VIEW a 20 FIELDS id FROM a.objid FIELDS_END VIEW_END;\n", 0, &out), 0x50003f);
}

TEST_F(typ_bld_act, FlexTableIdsAreChecked) {
  // 5000 + 100000 lies outside the registered ranges.
  std::string out;
  EXPECT_EQ(compile("OBJECT item 5000 ALLOW_FLEX FIELDS objid" + kLong + " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n" +
                        bld_obj("flex_defn", 12),
                    0, &out),
            0x50003f);
  EXPECT_NE(out.find("105000 Invalid object type, object type out of range.\n"), std::string::npos) << out;
  // A taken id is refused as well.
  SetUp();
  EXPECT_EQ(compile(bld_obj("taken", 100010) + "OBJECT item 10 ALLOW_FLEX FIELDS objid" + kLong +
                        " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n" + bld_obj("flex_defn", 12),
                    0, &out),
            0x50003f);
  long n = 0, code = 0;
  const char* text = nullptr;
  cmn_alrt_num(nullptr, &n);
  bool found = false;
  for (long i = 0; i < n; ++i)
    if (cmn_alrt_ith(nullptr, i, &code, &text) == 0 && code == 0x50004a) found = true;
  EXPECT_TRUE(found) << core_top_alert_text();
}

TEST_F(typ_bld_act, UpgradeModeBuildsANewModelAndKeepsTheOld) {
  ASSERT_EQ(compile(bld_obj("old", 10)), 0);
  ASSERT_NE(sch("old"), nullptr);
  ASSERT_EQ(compile(bld_obj("fresh", 11), TYP_BLD_UPGRADE), 0);
  EXPECT_EQ(sch("old"), nullptr);
  ASSERT_NE(sch("fresh"), nullptr);
  ASSERT_NE(typ_bld_saved_schema, nullptr);
  long n = 0, nr = 0;
  typ_sch_srec* saved = nullptr;
  typ_sch_rrec* rels = nullptr;
  typ_sch_get_saved_schema(typ_bld_saved_schema, &n, &saved, &nr, &rels);
  ASSERT_EQ(n, 1);
  EXPECT_STREQ(saved[0].info->name, "old");
  // Back to the loaded model; a failing upgrade compile leaves it current.
  typ_bld_cleanup(0);
  ASSERT_NE(sch("old"), nullptr);
  std::string out;
  EXPECT_EQ(compile("OBJECT broken", TYP_BLD_UPGRADE, &out), 0x50003f);
  EXPECT_NE(sch("old"), nullptr);
  EXPECT_EQ(sch("broken"), nullptr);
  EXPECT_EQ(typ_bld_array_col, nullptr);
}

TEST_F(typ_bld_act, FlexTypeIdsStayStable) {
  long a = 0, b = 0, again = 0;
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_one", &a), 0);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_two", &b), 0);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_one", &again), 0);
  EXPECT_GT(a, 100000);
  EXPECT_LE(a, 101024);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, again);
}

TEST_F(typ_bld_act, FlexTypeIdsKeepTheSavedModelsAndStopAtTheLimit) {
  // The database's model has the table fa_item (100010).
  ASSERT_EQ(compile("OBJECT item 10 ALLOW_FLEX FIELDS objid" + kLong + " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n" +
                    bld_obj("flex_defn", 12)),
            0)
      << core_top_alert_text();
  ASSERT_EQ(compile(bld_obj("a", 20), TYP_BLD_UPGRADE), 0) << core_top_alert_text();
  long id = 0;
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_item", &id), 0);
  EXPECT_EQ(id, 100010);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_new", &id), 0);
  EXPECT_EQ(id, 100001);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_newer", &id), 0);
  EXPECT_EQ(id, 100002);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_new", &id), 0);
  EXPECT_EQ(id, 100001);
  // Slot 10 is the saved table's: the new names take the other 1023 slots.
  for (int i = 3; i <= 1023; ++i) {
    ASSERT_EQ(typ_bld_get_flex_new_type_id(("fa_t" + std::to_string(i)).c_str(), &id), 0) << i;
    EXPECT_NE(id, 100010);
  }
  EXPECT_EQ(id, 101024);
  long st = 0;
  std::string out = schema_stdout_of([&] { st = typ_bld_get_flex_new_type_id("fa_one_too_many", &id); });
  EXPECT_EQ(st, -1);
  EXPECT_EQ(id, -1);
  EXPECT_NE(out.find("typ_bld_get_flex_new_type_id: maximum flex ids are exceed the the limit 1024 \n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Internal error..:"), std::string::npos) << out;
  // A new compile starts again from its saved model.
  typ_bld_cleanup(0);
  ASSERT_EQ(compile(bld_obj("a", 20), TYP_BLD_UPGRADE), 0);
  ASSERT_EQ(typ_bld_get_flex_new_type_id("fa_other", &id), 0);
  EXPECT_EQ(id, 100001);
  typ_bld_cleanup(0);
}

}  // namespace
