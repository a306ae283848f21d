// CREATE VIEW texts of both dialects by exact text, from views compiled in
// the schema language: the worked example, aliases, each join kind,
// many-to-many and exclusive relations, joins reduced to a foreign-key test,
// line breaks of long lists, search columns, DISTINCT and storage text,
// SQL-defined views and the failures; a view written whole (rows, drop,
// create, grants, synonym).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_script_answers.h"
#include "adapter/adp_view_model.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "core/utl/utl_estr.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_msg.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_stor.h"

namespace {

constexpr unsigned long kSearchableField = 0x100;
constexpr unsigned long kDistinctView = 0x20;
constexpr long kHeaderSearch = 1;

class AdpViewSql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);  // texts of any length in collections
    ASSERT_EQ(model_.compile(kAdpViews), 0) << core_top_alert_text();
    ora_ = connect("oracle");
    mssql_ = connect("oledb");
  }
  void TearDown() override {
    typ_free_physical_storage_params();
    adp_test::TearDown();
  }
  std::string ora(const char* view, long* st = nullptr) { return current(ora_)->sql(ora_, view, st); }
  std::string mssql(const char* view, long* st = nullptr) { return current(mssql_)->sql(mssql_, view, st); }
  // The connection made current (its header decides the search columns).
  adp_view_model* current(KAdpConnId* con) {
    adp_db_set_conn(con);
    return &model_;
  }

  adp_view_model model_;
  KAdpConnId* ora_ = nullptr;
  KAdpConnId* mssql_ = nullptr;
};

TEST_F(AdpViewSql, TheWorkedExample) {
  ASSERT_EQ(model_.compile(kAdpWorkedExample), 0) << core_top_alert_text();
  EXPECT_EQ(ora("V"),
            "create view table_V\n (a, b)\n as select table_T1.x, table_T2.y\n from table_T1, table_T2\n"
            " where table_T1.objid = table_T2.fk\n ");
  EXPECT_EQ(mssql("V"),
            "CREATE VIEW table_V AS SELECT \n table_T1.x AS a \n, table_T2.y AS b \nFROM \n"
            "table_T1  INNER JOIN table_T2  ON table_T1.objid = table_T2.fk \n ");
}

// A view whose sides are all aliased but whose alias block is gone: its
// FROM list holds the link table alone, with no separator after it.
TEST_F(AdpViewSql, AFromListOfLinkTablesAloneEndsWithoutASeparator) {
  const std::string view =
      "VIEW tag_links 60 ALIAS contact c, tag t FIELDS first FROM c.first_name, label FROM t.label FIELDS_END\n"
      " JOINS c.contact2tag = t.tag2contact JOINS_END VIEW_END;\n";
  ASSERT_EQ(model_.compile(view), 0) << core_top_alert_text();
  typ_sch_srec* v = model_.view("tag_links");
  ASSERT_NE(v, nullptr);
  void* block = nullptr;
  ASSERT_EQ(typ_sch_uptr_get(v, &block), 0);
  ASSERT_EQ(typ_sch_uptr_set(v, nullptr), 0);
  const std::string text = ora("tag_links");
  typ_sch_uptr_set(v, block);
  EXPECT_NE(text.find("\n from mtm_contact1_tag0\n where "), std::string::npos) << text;
}

// A view written as a whole: its dictionary rows, then the view made again
// (dropped when the server has it), granted, and on Oracle given a public
// synonym, whose failure is forgotten.
TEST_F(AdpViewSql, AViewWrittenWholeIsDroppedMadeGrantedAndNamed) {
  ASSERT_EQ(model_.compile(kAdpWorkedExample), 0) << core_top_alert_text();
  typ_sch_srec* v = model_.view("V");
  ASSERT_NE(v, nullptr);
  const std::string create = ora("V");
  ds_script::reset();
  adp_db_set_conn(ora_);
  const ds_script::result row = adp_script_answers::found();
  const ds_script::result done{};
  // Rows: two fields, two origins, one join; then the view is there, and so
  // are the three groups.
  for (int i = 0; i < 5; ++i) ds_script::push_result(done);
  for (const auto& r : {row, done, done, row, row, row, done, done, done}) ds_script::push_result(r);
  ds_script::fail({"FetchNextSet", 11, 0x8B0014F, "refused", "synonym"});  // the synonym
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(adp_sch_write_view(ora_, v, 1), 0) << core_top_alert_text();
  std::vector<std::string> sent = adp_script_sent();
  ASSERT_EQ(sent.size(), 15u);
  EXPECT_EQ(sent[0].rfind("insert into adp_sch_info ", 0), 0u) << sent[0];
  EXPECT_EQ(sent[2].rfind("INSERT INTO adp_view_field_info ", 0), 0u) << sent[2];
  EXPECT_EQ(sent[4].rfind("INSERT INTO adp_view_join_info ", 0), 0u) << sent[4];
  sent.erase(sent.begin(), sent.begin() + 5);
  EXPECT_EQ(sent, (std::vector<std::string>{
                      "select object_name from all_objects where object_name = UPPER('table_V')",
                      "DROP VIEW table_V",
                      create,
                      "select role from dba_roles where role = upper('orbisan_user')",
                      "select role from dba_roles where role = upper('orbisan_administrator')",
                      "select role from dba_roles where role = upper('orbisan_reporter')",
                      "grant SELECT, UPDATE, INSERT, DELETE on table_V to  orbisan_user",
                      "grant ALL on table_V to  orbisan_administrator",
                      "grant SELECT on table_V to  orbisan_reporter",
                      "create public synonym table_V for table_V",
                  }));
  // The synonym was refused (the server log has it) and that is forgotten.
  EXPECT_NE(file_text("server.log").find("synonym"), std::string::npos);
  EXPECT_TRUE(core_alert_codes().empty());
}

TEST_F(AdpViewSql, EachJoinKindInBothDialects) {
  struct row {
    const char* view;
    const char* oracle;
    const char* mssql;
  };
  const row rows[] = {
      {"contact_site",
       "create view table_contact_site\n (first, site)\n as select table_c.first_name, table_s.name\n"
       " from table_contact table_c, table_site table_s\n where table_s.objid = table_c.contact2site\n ",
       "CREATE VIEW table_contact_site AS SELECT \n table_c.first_name AS first \n, table_s.name AS site \nFROM \n"
       "table_site table_s INNER JOIN table_contact table_c ON table_s.objid = table_c.contact2site \n "},
      {"contact_any_site",
       "create view table_contact_any_site\n (first, site)\n as select table_contact.first_name, table_site.name\n"
       " from table_contact, table_site\n where table_site.objid (+) = table_contact.contact2site\n ",
       "CREATE VIEW table_contact_any_site AS SELECT \n table_contact.first_name AS first \n"
       ", table_site.name AS site \nFROM \n"
       "table_site  RIGHT OUTER JOIN table_contact  ON table_site.objid = table_contact.contact2site \n "},
      {"site_any_contact",
       "create view table_site_any_contact\n (site, first)\n as select table_site.name, table_contact.first_name\n"
       " from table_site, table_contact\n where table_site.objid = table_contact.contact2site (+)\n ",
       "CREATE VIEW table_site_any_contact AS SELECT \n table_site.name AS site \n"
       ", table_contact.first_name AS first \nFROM \n"
       "table_site  LEFT OUTER JOIN table_contact  ON table_site.objid = table_contact.contact2site \n "},
      {"contact_tags",
       "create view table_contact_tags\n (first, label)\n as select table_contact.first_name, table_tag.label\n"
       " from mtm_contact1_tag0, table_contact, table_tag\n"
       " where table_contact.objid = mtm_contact1_tag0.contact2tag\n"
       " AND mtm_contact1_tag0.tag2contact = table_tag.objid \n ",
       "CREATE VIEW table_contact_tags AS SELECT \n table_contact.first_name AS first \n"
       ", table_tag.label AS label \nFROM \n"
       "table_contact  INNER JOIN mtm_contact1_tag0  ON table_contact.objid = mtm_contact1_tag0.contact2tag \n"
       " INNER JOIN table_tag  ON mtm_contact1_tag0.tag2contact = table_tag.objid \n "},
      {"site_notes",  // exclusive, the foreign side optional: its type test is marked too
       "create view table_site_notes\n (site, memo)\n as select table_site.name, table_note.memo\n"
       " from table_site, table_note\n where table_site.objid = table_note.group2g (+)\n"
       " AND table_note.gr_type_g (+) = 11\n ",
       "CREATE VIEW table_site_notes AS SELECT \n table_site.name AS site \n, table_note.memo AS memo \nFROM \n"
       "table_site  LEFT OUTER JOIN table_note  ON table_site.objid = table_note.group2g "
       " AND table_note.gr_type_g = 11 \n "},
      {"contact_notes",
       "create view table_contact_notes\n (first, memo)\n as select table_c.first_name, table_n.memo\n"
       " from table_contact table_c, table_note table_n\n where table_c.objid = table_n.group2g \n"
       " AND table_n.gr_type_g = 10\n ",
       "CREATE VIEW table_contact_notes AS SELECT \n table_c.first_name AS first \n, table_n.memo AS memo \n"
       "FROM \ntable_contact table_c INNER JOIN table_note table_n ON table_c.objid = table_n.group2g "
       " AND table_n.gr_type_g = 10 \n "},
      {"note_contacts",
       "create view table_note_contacts\n (memo, first)\n as select table_note.memo, table_contact.first_name\n"
       " from table_note, table_contact\n where table_contact.objid (+) = table_note.group2g\n"
       " AND table_note.gr_type_g = 10\n ",
       "CREATE VIEW table_note_contacts AS SELECT \n table_note.memo AS memo \n"
       ", table_contact.first_name AS first \nFROM \n"
       "table_contact  RIGHT OUTER JOIN table_note  ON table_contact.objid = table_note.group2g "
       " AND table_note.gr_type_g = 10 \n "},
      {"site_contact_note",
       "create view table_site_contact_note\n (site, first, memo)\n as select table_s.name, table_c.first_name,\n"
       " table_n.memo\n from table_site table_s, table_contact table_c, table_note table_n\n"
       " where table_s.objid = table_c.contact2site\n AND table_c.objid = table_n.group2g (+)\n"
       " AND table_n.gr_type_g (+) = 10\n ",
       "CREATE VIEW table_site_contact_note AS SELECT \n table_s.name AS site \n, table_c.first_name AS first \n"
       ", table_n.memo AS memo \nFROM \n"
       "table_site table_s INNER JOIN table_contact table_c ON table_s.objid = table_c.contact2site \n"
       " LEFT OUTER JOIN table_note table_n ON table_c.objid = table_n.group2g  AND table_n.gr_type_g = 10 \n "},
      {"wide",  // line breaks in the column, select and FROM lists
       "create view table_wide\n (f1, f2, f3, f4, f5,\n  f6, f7)\n"
       " as select table_contact.first_name, table_contact.last_name,\n table_site.name, table_tag.label,\n"
       " table_note.memo, table_contact.objid,\n table_site.objid\n"
       " from mtm_contact1_tag0, table_contact, table_site, table_tag,\n  table_note\n"
       " where table_site.objid = table_contact.contact2site\n"
       " AND table_contact.objid = mtm_contact1_tag0.contact2tag\n"
       " AND mtm_contact1_tag0.tag2contact = table_tag.objid \n"
       " AND table_contact.objid = table_note.group2g \n AND table_note.gr_type_g = 10\n ",
       "CREATE VIEW table_wide AS SELECT \n table_contact.first_name AS f1 \n, table_contact.last_name AS f2 \n"
       ", table_site.name AS f3 \n, table_tag.label AS f4 \n, table_note.memo AS f5 \n"
       ", table_contact.objid AS f6 \n, table_site.objid AS f7 \nFROM \n"
       "table_site  INNER JOIN table_contact  ON table_site.objid = table_contact.contact2site \n"
       " INNER JOIN mtm_contact1_tag0  ON table_contact.objid = mtm_contact1_tag0.contact2tag \n"
       " INNER JOIN table_tag  ON mtm_contact1_tag0.tag2contact = table_tag.objid \n"
       " INNER JOIN table_note  ON table_contact.objid = table_note.group2g  AND table_note.gr_type_g = 10 \n "},
      {"contacts",  // no joins
       "create view table_contacts\n (first, last)\n as select table_contact.first_name, table_contact.last_name\n"
       " from table_contact",
       "CREATE VIEW table_contacts AS SELECT \n table_contact.first_name AS first \n"
       ", table_contact.last_name AS last \nFROM \n table_contact "},
  };
  for (const row& r : rows) {
    EXPECT_EQ(ora(r.view), r.oracle) << r.view;
    EXPECT_EQ(mssql(r.view), r.mssql) << r.view;
  }
}

TEST_F(AdpViewSql, JoinsReducedToTheForeignKeyColumn) {
  ASSERT_EQ(model_.compile(std::string(kAdpViews) + kAdpIdViews), 0) << core_top_alert_text();
  ASSERT_EQ(model_.eliminate_joins(), 0);
  struct row {
    const char* view;
    const char* oracle;
    const char* mssql;
  };
  const row rows[] = {
      {"site_id_inner",
       "create view table_site_id_inner\n (first, site_id)\n"
       " as select table_contact.first_name, table_contact.contact2site\n from table_contact\n"
       " where table_contact.contact2site IS NOT NULL\n ",
       "CREATE VIEW table_site_id_inner AS SELECT \n table_contact.first_name AS first \n"
       ", table_contact.contact2site AS site_id \nFROM \n table_contact WHERE(table_contact.contact2site IS NOT NULL)"},
      // The optional primary side adds nothing: no condition, no "AND", no
      // table.
      {"site_id_optional",
       "create view table_site_id_optional\n (first, site_id, label)\n"
       " as select table_contact.first_name, table_contact.contact2site,\n table_tag.label\n"
       " from mtm_contact1_tag0, table_contact, table_tag\n"
       " where table_contact.objid = mtm_contact1_tag0.contact2tag\n"
       " AND mtm_contact1_tag0.tag2contact = table_tag.objid \n ",
       "CREATE VIEW table_site_id_optional AS SELECT \n table_contact.first_name AS first \n"
       ", table_contact.contact2site AS site_id \n, table_tag.label AS label \nFROM \n"
       "table_contact  INNER JOIN mtm_contact1_tag0  ON table_contact.objid = mtm_contact1_tag0.contact2tag \n"
       " INNER JOIN table_tag  ON mtm_contact1_tag0.tag2contact = table_tag.objid \n "},
      {"site_id_kept",
       "create view table_site_id_kept\n (first, site_id)\n"
       " as select table_contact.first_name, table_contact.contact2site\n from table_contact, table_site\n"
       " where table_site.objid = table_contact.contact2site (+)\n ",
       "CREATE VIEW table_site_id_kept AS SELECT \n table_contact.first_name AS first \n"
       ", table_contact.contact2site AS site_id \nFROM \n"
       "table_site  LEFT OUTER JOIN table_contact  ON table_site.objid = table_contact.contact2site \n "},
      {"note_owner",
       "create view table_note_owner\n (memo, contact_id)\n as select table_note.memo, table_note.group2g\n"
       " from table_note\n where table_note.group2g IS NOT NULL\n AND table_note.gr_type_g = 10\n ",
       "CREATE VIEW table_note_owner AS SELECT \n table_note.memo AS memo \n, table_note.group2g AS contact_id \n"
       "FROM \n table_note WHERE(table_note.group2g IS NOT NULL)"},
      {"note_owner_kept",
       "create view table_note_owner_kept\n (memo, site_id)\n as select table_note.memo, table_note.group2g\n"
       " from table_note, table_site\n where table_site.objid = table_note.group2g (+)\n"
       " AND table_note.gr_type_g (+) = 11\n ",
       "CREATE VIEW table_note_owner_kept AS SELECT \n table_note.memo AS memo \n, table_note.group2g AS site_id \n"
       "FROM \ntable_site  LEFT OUTER JOIN table_note  ON table_site.objid = table_note.group2g "
       " AND table_note.gr_type_g = 11 \n "},
  };
  for (const row& r : rows) {
    EXPECT_EQ(ora(r.view), r.oracle) << r.view;
    EXPECT_EQ(mssql(r.view), r.mssql) << r.view;
  }
}

TEST_F(AdpViewSql, SearchColumnsOnlyWithTheHeaderFlag) {
  typ_sch_srec* v = model_.view("contact_any_site");
  v->fields[0].flags |= kSearchableField;
  for (KAdpConnId* con : {ora_, mssql_}) con->GetHeader()->flags &= ~kHeaderSearch;
  EXPECT_EQ(ora("contact_any_site").find("S_"), std::string::npos);
  EXPECT_EQ(mssql("contact_any_site").find("S_"), std::string::npos);
  for (KAdpConnId* con : {ora_, mssql_}) con->GetHeader()->flags |= kHeaderSearch;
  EXPECT_EQ(ora("contact_any_site"),
            "create view table_contact_any_site\n (first, S_first, site)\n"
            " as select table_contact.first_name, table_contact.S_first_name, table_site.name\n"
            " from table_contact, table_site\n where table_site.objid (+) = table_contact.contact2site\n ");
  EXPECT_EQ(mssql("contact_any_site"),
            "CREATE VIEW table_contact_any_site AS SELECT \n table_contact.first_name AS first \n"
            ", table_contact.S_first_name AS S_first \n, table_site.name AS site \nFROM \n"
            "table_site  RIGHT OUTER JOIN table_contact  ON table_site.objid = table_contact.contact2site \n ");
}

TEST_F(AdpViewSql, DistinctAndStorageTextAreOracles) {
  {
    std::ofstream def("storage.def");
    def << "table_contacts ::tablespace views_ts\n";
  }
  ASSERT_EQ(typ_load_physical_storage_params(), 0);
  model_.view("contacts")->flags |= kDistinctView;
  EXPECT_EQ(ora("contacts"),
            "create view table_contacts\n (first, last)\n"
            " as select DISTINCT tablespace views_ts table_contact.first_name, table_contact.last_name\n"
            " from table_contact");
  EXPECT_EQ(mssql("contacts"),
            "CREATE VIEW table_contacts AS SELECT \n table_contact.first_name AS first \n"
            ", table_contact.last_name AS last \nFROM \n table_contact ");
}

TEST_F(AdpViewSql, SqlDefinedViewsBreakTheColumnListAfterEveryFifth) {
  const std::string sql =
      "select objid, first_name, last_name, contact2site, objid + 1, upper(first_name) from table_contact";
  EXPECT_EQ(ora("sqlv"), "create view table_sqlv\n ( a ,b ,c ,d ,e\n,f )\n AS \n" + sql + "\n");
  EXPECT_EQ(mssql("sqlv"), "CREATE VIEW table_sqlv\n(a ,b ,c ,d ,e\n,f )\n AS \n" + sql + "\n");
}

TEST_F(AdpViewSql, SqlServerTextsHaveNoLengthLimit) {
  std::string fields;
  for (int i = 0; i < 200; ++i) fields += (i ? ", c" : "c") + std::to_string(i) + " FROM contact.first_name";
  ASSERT_EQ(model_.compile("VIEW many 60 FIELDS " + fields + " FIELDS_END VIEW_END;\n"), 0) << core_top_alert_text();
  const std::string text = mssql("many");
  EXPECT_GT(text.size(), 5000u);
  const std::string tail = ", table_contact.first_name AS c199 \nFROM \n table_contact ";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(text.compare(0, 56, "CREATE VIEW table_many AS SELECT \n table_contact.first_n"), 0);
}

TEST_F(AdpViewSql, OuterJoinsOverALinkTableFail) {
  struct row {
    KAdpConnId** con;
    const char* text;
  };
  const row rows[] = {
      {&ora_, "Join c.objid = t.objid on view (contact_any_tag) calls for an outer join on a relation with MTM "
              "cardinality.\n"},
      {&mssql_, "Join contact.objid = tag.objid on view (contact_any_tag) calls for an outer join on a relation "
                "with MTM cardinality.\n"},
  };
  for (const row& r : rows) {
    cmn_alrt_clear(nullptr);
    utl_ty_estr* text = nullptr;
    adp_db_set_conn(*r.con);
    EXPECT_EQ((*r.con)->GetDbOperation()->SchViewDefSql(*r.con, model_.view("contact_any_tag"), &text),
              ADP_VIEW_MTM_OUTER);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(core_top_alert_text(), r.text);
  }
}

TEST_F(AdpViewSql, AJoinOverATypeWithoutAnObjectIdFieldFailsNamingIt) {
  typ_sch_srec* site = model_.view("site");
  ASSERT_NE(site, nullptr);
  // Site's object id loses its generic id.
  typ_ty_map* map = site->info->fmap;
  long at = -1;
  for (long i = 0; i < map->count; ++i)
    if (map->entries[i].gen == 3) at = i;
  ASSERT_GE(at, 0);
  map->entries[at].gen = 99;
  for (KAdpConnId* con : {ora_, mssql_}) {
    cmn_alrt_clear(nullptr);
    utl_ty_estr* text = nullptr;
    adp_db_set_conn(con);
    EXPECT_EQ(con->GetDbOperation()->SchViewDefSql(con, model_.view("contact_any_site"), &text), TYP_BAD_GEN_FIELD);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(core_top_alert_text(), "Generic field ID 1000003 of object schema site is invalid.\n");
  }
  map->entries[at].gen = 3;
}

TEST_F(AdpViewSql, AMissingViewOrResultAddressIsRefused) {
  utl_ty_estr* text = nullptr;
  for (KAdpConnId* con : {ora_, mssql_}) {
    EXPECT_EQ(con->GetDbOperation()->SchViewDefSql(con, nullptr, &text), TYP_BAD_HANDLE);
    EXPECT_EQ(con->GetDbOperation()->SchViewDefSql(con, model_.view("contacts"), nullptr), TYP_BAD_HANDLE);
    EXPECT_EQ(text, nullptr);
  }
}

}  // namespace
