// Accessors, dumps, saving and switching models, options and forwarders.
#include <string>

#include "adpdouble/adp_double.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_acc.h"
#include "schema/typ_dump.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

using typ_access = schema_test;

TEST_F(typ_access, AccessorsByIndexAndRecord) {
  object("a", 7);
  typ_sch_srec* v = nullptr;
  typ_sch_define_struct("v", 8, nullptr, "a view", nullptr, &v);
  EXPECT_EQ(typ_sch_num_types(), 2);
  EXPECT_STREQ(typ_sch_get_name(1), "v");
  EXPECT_STREQ(typ_sch_get_name(-1), "unknown type");
  EXPECT_STREQ(typ_sch_get_name(2), "unknown type");
  EXPECT_STREQ(typ_sch_get_description(1), "a view");
  EXPECT_STREQ(typ_sch_get_description(5), "unknown type");
  EXPECT_EQ(typ_sch_get_type(0), 7);
  EXPECT_EQ(typ_sch_get_type(2), -1);
  EXPECT_TRUE(typ_sch_is_a_view(1));
  EXPECT_FALSE(typ_sch_is_a_view(0));
  EXPECT_TRUE(typ_sch_is_a_object(0));
  EXPECT_TRUE(typ_sch_is_flag_set(0, 0x1 | 0x800));
  EXPECT_STREQ(typ_sch_get_nameP(nullptr), "unknown type");
  EXPECT_EQ(typ_sch_get_typeP(nullptr), -1);
  EXPECT_FALSE(typ_sch_is_flag_setP(nullptr, ~0UL));
  EXPECT_TRUE(typ_sch_is_a_viewP(sch("v")));
  typ_sch_set_skip_timestamp(1);
  EXPECT_EQ(typ_sch_get_skip_timestamp(), 1);
  typ_sch_set_skip_timestamp(0);
}

TEST_F(typ_access, OptionsAndForwarders) {
  struct row {
    unsigned long options;
    char unicode, cmdline, lob;
  };
  const row rows[] = {{0, 0, 0, 0}, {0x400000, 0, 1, 0}, {0x400100, 1, 1, 0}, {0x100, 0, 0, 0}, {0x1000000, 0, 0, 1}};
  for (const row& r : rows) {
    typ_sch_set_bld_options(r.options);
    char u = 9, c = 9, l = 9;
    typ_sch_is_unicode_upgrade(&u);
    typ_sch_is_unicode_cmdline_flag(&c);
    typ_sch_is_lob_upgrade(&l);
    EXPECT_EQ(u, r.unicode) << r.options;
    EXPECT_EQ(c, r.cmdline) << r.options;
    EXPECT_EQ(l, r.lob) << r.options;
  }
  typ_sch_set_bld_options(0);
  adp_double::set_type_name(3, "NUMBER(10)");
  adp_double::set_table(7, "table_a");
  EXPECT_STREQ(typ_sch_type_to_string(3), "NUMBER(10)");
  EXPECT_STREQ(typ_sch_type_to_string(12), "unknown database datatype");
  const char* table = nullptr;
  EXPECT_EQ(typ_sch_tbl_find(7, &table), 0);
  EXPECT_STREQ(table, "table_a");
  EXPECT_EQ(typ_sch_tbl_find(8, &table), 0x600006);
  EXPECT_EQ(typ_sch_set_comment_flag(), 0);
  adp_double::script("adp_sch_set_join_flag", {5});
  EXPECT_EQ(typ_sch_set_join_flag(), 5);
  EXPECT_EQ(adp_double::calls_of("adp_sch_set_comment_flag").size(), 1u);
}

TEST_F(typ_access, DumpsByTheirExactTexts) {
  typ_sch_srec* s = object("acct", 512);
  long pos = -1;
  typ_sch_fadd(s, "objid", 512, 0, 3, 0, 1 | 8, 0, -1, -1, 0, 0, nullptr, nullptr, &pos);
  typ_sch_fadd(s, "name", 516, 7, -1, 0, 4, 40, -1, -1, 0, 0, "none", nullptr, &pos);
  typ_sch_add_barray_field(s, "arr", -1, 0, nullptr, nullptr);
  object("other", 513);
  ASSERT_EQ(rel("acct", "others", 1, "other", "acct", 0), 0);
  ASSERT_EQ(rel("other", "acct", 2, "acct", "others"), 0);
  std::string out = schema_written([](FILE* f) { typ_sch_dump(f, "L", 2, sch("acct")); });
  EXPECT_EQ(out,
            "  Schema L 'acct' of type long integer, an OBJECT UNDER CONSTRUCTION\n"
            "   This schema has 2 fields:\n"
            "    Field 'objid', cmn_type='long integer',db_type=0, array=0\n"
            "     0: Field is PREDEFINED and MANDATORY\n"
            "     gen_field_id=3\n"
            "     default value = 'NULL'\n"
            "    Field 'name', cmn_type='char pointer',db_type=7, array=40\n"
            "     1: Field is USER DEFINED and OPTIONAL\n"
            "     gen_field_id=-1\n"
            "     default value = 'none'\n"
            "    Field 'arr', cmn_type='long integer',db_type=0, array=0\n"
            "     0: Field is BINARY ARRAY and OPTIONAL\n"
            "     gen_field_id=-1\n"
            "     default value = 'NULL'\n"
            "   This schema has 1 relations:\n"
            "    Relation 'others', type='OTM', id=0, to_obj='other'\n"
            "      gen_rel_id='0', inv_relation='acct'\n");
  ASSERT_EQ(typ_sch_optimize(), 0);
  out = schema_written([](FILE* f) { typ_sch_dump_all(f, "T", 0); });
  EXPECT_NE(out.find("\n\n*** Schema List T ***\n  Schema SCHEMA #1 'acct' of type long integer, an OBJECT OPTIMIZED\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("  GENERIC-TO-SPECIFIC field map:\n    Generic field 3 maps to spec field 0\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("  GENERIC-TO-SPECIFIC relation map:\n    Generic relation 0 maps to spec relation 0\n"),
            std::string::npos);
  EXPECT_NE(out.find("  Schema SCHEMA #2 'other' of type short integer, an OBJECT OPTIMIZED\n"), std::string::npos);
  EXPECT_NE(out.find("    Relation 'acct', type='MTO', id=0, to_obj='acct'\n      gen_rel_id='-1', inv_relation='others'\n"),
            std::string::npos);
  // One relation map heading only: "other" has no map.
  EXPECT_EQ(out.find("GENERIC-TO-SPECIFIC relation map"), out.rfind("GENERIC-TO-SPECIFIC relation map"));
  // Bad entries and wide indents.
  typ_sch_rel_inst bad{};
  bad.rel_index = 9;
  EXPECT_EQ(schema_written([&](FILE* f) { typ_sch_dump_rel(f, 1, &bad, 581, 0); }), " Invalid relation 9\n");
  bad.rel_index = 0;
  bad.side = 'x';
  EXPECT_EQ(schema_written([&](FILE* f) { typ_sch_dump_rel(f, 0, &bad, 581, 0); }),
            "***Relation type of rel 0 is incorrect\n.");
  out = schema_written([&](FILE* f) { typ_sch_dump_field(f, 70, &sch("acct")->fields[0], 524, 0); });
  EXPECT_EQ(out.substr(0, 76), std::string(70, ' ') + "Field ");
}

TEST_F(typ_access, SaveAndSwitchInEveryMode) {
  object("old", 1);
  typ_sch_saved* saved = nullptr;
  ASSERT_EQ(typ_sch_save_and_reset(&saved), 0);
  EXPECT_EQ(typ_sch_num_schs, 0);
  object("new", 2);
  long ns = 0, nr = 0;
  typ_sch_srec* schemas = nullptr;
  typ_sch_rrec* rels = nullptr;
  ASSERT_EQ(typ_sch_get_saved_schema(saved, &ns, &schemas, &nr, &rels), 0);
  ASSERT_EQ(ns, 1);
  EXPECT_STREQ(schemas[0].info->name, "old");
  // Mode 0: the two models change places.
  ASSERT_EQ(typ_sch_switch_schemas(saved, 0), 0);
  EXPECT_STREQ(typ_sch_get_name(0), "old");
  ASSERT_EQ(typ_sch_get_saved_schema(saved, &ns, &schemas, &nr, &rels), 0);
  EXPECT_STREQ(schemas[0].info->name, "new");
  EXPECT_EQ(adp_double::calls_of("adp_sch_types_sch_reinit").size(), 1u);
  // Mode 1: the current one is given up, the saved one installed.
  ASSERT_EQ(typ_sch_switch_schemas(saved, 1), 0);
  EXPECT_STREQ(typ_sch_get_name(0), "new");
  EXPECT_EQ(typ_sch_num_schs, 1);
  // The installed model takes new work.
  object("more", 3);
  EXPECT_EQ(typ_sch_num_schs, 2);
  // Another mode: installed, block unchanged (it names the current model).
  typ_sch_saved again = *saved;
  ASSERT_EQ(typ_sch_switch_schemas(saved, 2), 0);
  EXPECT_EQ(saved->schemas, again.schemas);
  EXPECT_EQ(typ_sch_switch_schemas(nullptr, 0), -1);
  utl_mem_free("t", saved);
}

}  // namespace
