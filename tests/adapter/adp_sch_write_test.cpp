// Dictionary rows and table DDL by exact text through the scripted service:
// a type's rows replaced, its table, object-id index and grants when it is
// new, relation rows of each kind, the offline feature's row ids, CREATE
// TABLE texts of both dialects, link tables and foreign-key columns, and the
// catalogue probes.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_model.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_script_answers.h"
#include "adapter/adp_trn.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"

namespace {

using namespace adp_obj_model;
using ds_script::cell;
using texts = std::vector<std::string>;

constexpr long kBindSwitch = 9;
constexpr long kManaged = 5;
constexpr long kRoamer = 32;
constexpr long kUpperColumns = 1;
constexpr long kRefused = 0x8B0014F;

using adp_script_answers::found;
using adp_script_answers::none;

class AdpSchWrite : public adp_test {
 protected:
  void open(const char* driver, long header_flags = 0, long revision = 13) {
    // Text collections copy their elements by the types' methods.
    ASSERT_EQ(cmn_meth_install_all(), 0);
    build();
    dbs_obj_ids_reset();  // no ids kept from an earlier case
    con_ = connect(driver);
    // Values written inline, so the texts show them.
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), 0);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kManaged), 0);
    con_->SetRevisions(revision, revision);
    adp_db_set_head_read(1);
    adp_db_set_site_id(0);
    adp_db_set_flags(header_flags);
    con_->GetHeader()->flags = header_flags;
    ds_script::reset();
  }
  void TearDown() override {
    release();
    dbs_obj_ids_reset();
    adp_db_set_head_read(0);
    adp_sch_close_ddl_file();
    adp_test::TearDown();
  }
  static texts matching(const std::string& prefix) {
    texts out;
    for (const std::string& s : adp_script_sent()) {
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    }
    return out;
  }
  static typ_sch_rrec* relation(const char* pname) {
    for (long i = 0; i < typ_sch_num_rels; ++i) {
      if (typ_sch_relations[i].pname != nullptr && std::string(typ_sch_relations[i].pname) == pname) {
        return &typ_sch_relations[i];
      }
    }
    return nullptr;
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpSchWrite, ANewTypeGetsItsRowsTableIndexAndGrants) {
  open("oledb");
  ds_script::push_result(none());  // not in the dictionary yet
  char existed = 7;
  ASSERT_EQ(adp_sch_write(con_, schema(kTag), 1, &existed), 0);
  EXPECT_EQ(existed, 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{
                "SELECT type_id FROM adp_tbl_name_map where type_id=42",
                "INSERT INTO adp_tbl_name_map (type_id, type_flags, type_name, comments, obj_group, sql)VALUES "
                "(42,66,'tag','','','NULL')",
                "CREATE TABLE table_tag ( objid int NOT NULL  , label varchar(80) NOT NULL  )",
                "grant SELECT, UPDATE, INSERT, DELETE on table_tag to group orb_user",
                "grant ALL on table_tag to group administrator",
                "grant SELECT on table_tag to group reporter",
                "create unique clustered index objindex on table_tag (objid)",
                "insert into adp_sch_info (type_id, field_name, cmn_type, db_type, array_size, flags, gen_field_id, "
                "spec_field_id, fld_default, comments , dec_p, dec_s ) VALUES (42,'objid',512,0,1,16,3,0, NULL, "
                "NULL,-1,-1)",
                "insert into adp_sch_info (type_id, field_name, cmn_type, db_type, array_size, flags, gen_field_id, "
                "spec_field_id, fld_default, comments , dec_p, dec_s ) VALUES (42,'label',516,7,80,0,-1,1, NULL, "
                "NULL,-1,-1)",
                "delete adp_sch_rel_info where type_id=42",
                "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
                "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname, flags, exclusive_set) VALUES "
                // The type stands on the link's foreign side.
                "(42,'tag2ticket',5,'ticket',-1,0,'ticket2tag', '',0, '', '',0, '')",
            }));
  // The caller holds the transaction when it asks for the table.
  EXPECT_EQ(ds_script::count("BeginTransaction"), ds_script::count("EndTransaction"));
}

TEST_F(AdpSchWrite, WritingATypeAgainReplacesItsRows) {
  open("oledb");
  ds_script::push_result(found());
  char existed = 0;
  ASSERT_EQ(adp_sch_write(con_, schema(kTag), 0, &existed), 0);
  EXPECT_EQ(existed, 1);
  const texts sent = adp_script_sent();
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(texts(sent.begin() + 1, sent.begin() + 3),
            (texts{"DELETE FROM adp_sch_info where type_id = 42", "DELETE FROM adp_tbl_name_map where type_id = 42"}));
  EXPECT_TRUE(matching("CREATE TABLE").empty());
  EXPECT_TRUE(matching("create unique").empty());
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);  // this call's own transaction
}

TEST_F(AdpSchWrite, StoredFlagsSqlTextAndBadKinds) {
  open("oledb");
  typ_sch_srec* tag = schema(kTag);
  const unsigned long saved = tag->flags;
  tag->flags = TYP_SCH_OBJECT | 0x1000 | 0x10;  // neither kept
  ds_script::push_result(found());
  ASSERT_EQ(adp_sch_write(con_, tag, 0, nullptr), 0);
  ASSERT_EQ(matching("INSERT INTO adp_tbl_name_map").size(), 1u);
  EXPECT_NE(matching("INSERT INTO adp_tbl_name_map")[0].find("(42,2,'tag',"), std::string::npos);

  ds_script::reset();
  tag->flags = TYP_SCH_CONSTRUCT;
  ds_script::push_result(found());
  EXPECT_EQ(adp_sch_write(con_, tag, 0, nullptr), ADP_BAD_SCHEMA);
  EXPECT_EQ(core_top_alert_code(), ADP_BAD_SCHEMA);
  EXPECT_EQ(ds_script::count("EndTransaction 0"), 1);  // rolled back
  tag->flags = saved;
}

TEST_F(AdpSchWrite, RelationRowsOfEachKindAndSide) {
  open("oledb");
  ASSERT_EQ(adp_sch_write_rels(con_, schema(kNote)), 0);
  ASSERT_EQ(adp_sch_write_rels(con_, schema(kTicket)), 0);
  const std::string head =
      "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
      "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname, flags, exclusive_set) VALUES (";
  EXPECT_EQ(matching("INSERT INTO adp_sch_rel_info"),
            (texts{
                // The foreign side of a many-to-one relation, its index mark stored as the kind plus 8.
                head + "41,'note2ticket',10,'ticket',-1,0,'ticket2note', '',0, '', '',0, '')",
                head + "41,'note_owner2ticket',10,'ticket',-1,1,'ticket2note_owner', '',1,'owner_id','owner_type',0,'')",
                head + "40,'ticket2note',1,'note',-1,0,'note2ticket', '',0, '', '',0, '')",
                head + "40,'ticket2note_owner',1,'note',-1,1,'note_owner2ticket', '',1,'owner_id','owner_type',0,'')",
                head + "40,'ticket2tag',5,'tag',-1,2,'tag2ticket', '',0, '', '',0, '')",
            }));
}

TEST_F(AdpSchWrite, RelationRowsBelowRevisionElevenLeaveTheirNewerColumnsOut) {
  const struct {
    long revision;
    const char* text;
  } rows[] = {
      {9,
       "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
       "inv_rel_name, comments) VALUES (42,'tag2ticket',5,'ticket',-1,0,'ticket2tag', '')"},
      {10,
       "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
       "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname) VALUES (42,'tag2ticket',5,'ticket',-1,0,"
       "'ticket2tag', '',0, '', '')"},
      {12,
       "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
       "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname, flags) VALUES (42,'tag2ticket',5,'ticket',-1,"
       "0,'ticket2tag', '',0, '', '',0)"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.revision);
    open("oledb", 0, r.revision);
    ASSERT_EQ(adp_sch_write_rels(con_, schema(kTag)), 0);
    EXPECT_EQ(matching("INSERT INTO adp_sch_rel_info"), texts{r.text});
  }
}

TEST_F(AdpSchWrite, ARelationEntryWithoutASideIsRefused) {
  open("oledb");
  typ_sch_srec* tag = schema(kTag);
  const char saved = tag->rels[0].side;
  tag->rels[0].side = 'x';
  EXPECT_EQ(adp_sch_write_rels(con_, tag), ADP_REL_BAD_SIDE);
  EXPECT_NE(core_top_alert_text().find("Rel_def of rels 0 of object type tag"), std::string::npos);
  EXPECT_EQ(ds_script::count("EndTransaction 0"), 1);
  tag->rels[0].side = saved;
}

TEST_F(AdpSchWrite, WithTheOfflineFeatureEveryRowCarriesANewIdAndVersionOne) {
  open("oledb", kRoamer);
  ds_script::push_result(found());
  ds_script::push_ids({501, 502, 503, 504});
  ASSERT_EQ(adp_sch_write(con_, schema(kTag), 0, nullptr), 0);
  // Each row ends with its own new id and version 1.
  const std::regex tail(",([0-9]+), ?1\\)$");
  std::set<std::string> ids;
  texts rows = matching("INSERT INTO adp_tbl_name_map");
  for (const char* prefix : {"insert into adp_sch_info", "INSERT INTO adp_sch_rel_info"}) {
    for (const std::string& t : matching(prefix)) rows.push_back(t);
  }
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].rfind("INSERT INTO adp_tbl_name_map (type_id, type_flags, type_name, comments, obj_group, sql, "
                          "objid, dev) VALUES (42,66,'tag','','','NULL',",
                          0),
            0u)
      << rows[0];
  EXPECT_NE(rows[1].find(", objid, dev ) VALUES (42,'objid',512,0,1,16,3,0, NULL, NULL,-1,-1,"), std::string::npos)
      << rows[1];
  EXPECT_NE(rows[3].find("flags, objid, dev, exclusive_set) VALUES"), std::string::npos) << rows[3];
  const std::regex rel_tail(",([0-9]+), 1, ''\\)$");
  for (size_t i = 0; i < rows.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_search(rows[i], m, i == 3 ? rel_tail : tail)) << rows[i];
    EXPECT_NE(m[1].str(), "0") << rows[i];
    ids.insert(m[1].str());
  }
  EXPECT_EQ(ids.size(), 4u);
  // Every id is asked for the dictionary rows' own type.
  for (const std::string& c : ds_script::calls()) {
    if (c.rfind("ObjidRequest ", 0) == 0) {
      EXPECT_EQ(c.substr(13, 10), "100000001 ") << c;
    }
  }
}

TEST_F(AdpSchWrite, CreateTableTextsOfBothDialects) {
  const struct {
    const char* driver;
    long flags;
    const char* text;
  } rows[] = {
      {"oledb", 0,
       "create table table_ticket\n (\n  objid int NOT NULL , dev int NOT NULL , title varchar(80) NOT NULL ,\n  "
       "notes text NOT NULL , opened datetime NOT NULL , amount decimal(19, 2) NOT NULL ,\n  ratio float NOT NULL , "
       "count int NOT NULL , mod_stamp datetime NOT NULL )\n"},
      // The search column follows its field on the same line.
      {"oracle", kUpperColumns,
       "create table table_ticket\n (\n  objid number, dev number, title varchar2(80), S_title varchar2(80) ,\n  "
       "notes clob, opened date, amount number(19, 2),\n  ratio number, count number, mod_stamp date)\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    open(r.driver, r.flags);
    utl_ty_estr* text = nullptr;
    ASSERT_EQ(adp_sch_table_def(con_, schema(kTicket), nullptr, nullptr, 0, &text), 0);
    EXPECT_EQ(std::string(utl_estr_get(text)), r.text);
    utl_estr_free("test", text);
    EXPECT_EQ(adp_script_sent(), texts{});
  }
}

TEST_F(AdpSchWrite, NullRulesOfTheCreateTableText) {
  open("oracle");
  typ_sch_srec* t = schema(kTicket);
  t->fields[kNotes].flags |= 0x80;
  t->fields[kCount].flags |= 0x80;
  utl_ty_estr* text = nullptr;
  ASSERT_EQ(adp_sch_table_def(con_, t, "other", nullptr, 0, &text), 0);
  const std::string oracle = utl_estr_get(text);
  utl_estr_free("test", text);
  EXPECT_EQ(oracle.rfind("create table other\n (", 0), 0u) << oracle;
  EXPECT_NE(oracle.find("notes clob  DEFAULT EMPTY_CLOB()"), std::string::npos) << oracle;
  EXPECT_NE(oracle.find("count number null"), std::string::npos) << oracle;
  open("oledb");
  t = schema(kTicket);
  t->fields[kTitle].flags |= 0x04;
  ASSERT_EQ(adp_sch_table_def(con_, t, nullptr, nullptr, 0, &text), 0);
  const std::string mssql = utl_estr_get(text);
  utl_estr_free("test", text);
  EXPECT_NE(mssql.find("title varchar(80) NULL "), std::string::npos) << mssql;
}

TEST_F(AdpSchWrite, LinkTablesAndForeignKeyColumns) {
  const struct {
    const char* driver;
    const char* relation;
    std::vector<ds_script::result> answers;
    texts sent;
  } rows[] = {
      {"oledb", "ticket2tag", {none()},
       {"select name from sysobjects where name='mtm_ticket2_tag0'",
        "CREATE TABLE mtm_ticket2_tag0 (ticket2tag int NOT NULL, tag2ticket int NOT NULL)",
        "grant SELECT, UPDATE, INSERT, DELETE on mtm_ticket2_tag0 to group orb_user",
        "grant ALL on mtm_ticket2_tag0 to group administrator", "grant SELECT on mtm_ticket2_tag0 to group reporter",
        "CREATE UNIQUE INDEX imtm_ticket2_tag0 ON mtm_ticket2_tag0 ( ticket2tag , tag2ticket)"}},
      {"oracle", "ticket2tag", {none()},
       {"select table_name from user_tables where table_name= UPPER('mtm_ticket2_tag0')",
        "CREATE TABLE mtm_ticket2_tag0 (ticket2tag number NOT NULL, tag2ticket number NOT NULL)",
        "create public synonym mtm_ticket2_tag0 for mtm_ticket2_tag0"}},
      {"oledb", "ticket2tag", {found()}, {"select name from sysobjects where name='mtm_ticket2_tag0'"}},
      {"oledb", "ticket2note", {none()},
       {"select colid from sysobjects, syscolumns \t\t\t\t\t\twhere sysobjects.name='table_note' \t\t\t\t\t\tand "
        "sysobjects.id=syscolumns.id \t\t\t\t\t\tand syscolumns.name='note2ticket'",
        "ALTER TABLE table_note ADD note2ticket int null"}},
      {"oracle", "ticket2note_owner", {none()},
       {"select column_name from user_tab_columns \t\t\t\t\t\t\t\twhere table_name = upper('table_note') "
        "\t\t\t\t\t\t\t\tand column_name = upper('owner_id')",
        "ALTER TABLE table_note ADD (owner_id number null, owner_type number null)"}},
      {"oledb", "ticket2note_owner", {none()},
       {"select colid from sysobjects, syscolumns \t\t\t\t\t\twhere sysobjects.name='table_note' \t\t\t\t\t\tand "
        "sysobjects.id=syscolumns.id \t\t\t\t\t\tand syscolumns.name='owner_id'",
        "ALTER TABLE table_note ADD owner_id int null, owner_type int null"}},
      {"oracle", "ticket2note", {found()},
       {"select column_name from user_tab_columns \t\t\t\t\t\t\t\twhere table_name = upper('table_note') "
        "\t\t\t\t\t\t\t\tand column_name = upper('note2ticket')"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.driver) + " " + r.relation);
    open(r.driver);
    for (const auto& a : r.answers) ds_script::push_result(a);
    typ_sch_rrec* rel = relation(r.relation);
    ASSERT_NE(rel, nullptr);
    ASSERT_EQ(adp_sch_rel_create(con_, rel), 0);
    EXPECT_EQ(adp_script_sent(), r.sent);
  }
}

TEST_F(AdpSchWrite, TheLinkTableTextWithAndWithoutRowVersions) {
  open("oracle");
  typ_sch_rrec* rel = relation("ticket2tag");
  ASSERT_NE(rel, nullptr);
  EXPECT_STREQ(adp_sch_mtm_table_def(rel, 1),
               "CREATE TABLE mtm_ticket2_tag0 (objid number NULL, dev number NULL, ticket2tag number NOT NULL, "
               "tag2ticket number NOT NULL)");
  open("oledb");
  rel = relation("ticket2tag");
  EXPECT_STREQ(adp_sch_mtm_table_def(rel, 0),
               "CREATE TABLE mtm_ticket2_tag0 (ticket2tag int NOT NULL, tag2ticket int NOT NULL)");
  EXPECT_STREQ(adp_sch_mtm_table_def(rel, 1),
               "CREATE TABLE mtm_ticket2_tag0 (objid int NULL, dev int NULL, ticket2tag int NOT NULL, tag2ticket int "
               "NOT NULL)");
}

TEST_F(AdpSchWrite, OracleDdlFileReceivesTheKeyColumnEvenWhenItExists) {
  open("oracle");
  ASSERT_EQ(adp_sch_open_ddl_file(), 0);
  ASSERT_NE(adp_sch_ddl, nullptr);
  ds_script::push_result(found());
  ASSERT_EQ(adp_sch_rel_create(con_, relation("ticket2note_owner")), 0);
  ds_script::push_result(found());
  ASSERT_EQ(adp_sch_rel_create(con_, relation("ticket2note")), 0);
  ASSERT_EQ(adp_sch_close_ddl_file(), 0);
  EXPECT_EQ(adp_sch_ddl, nullptr);
  EXPECT_EQ(file_text("sql.ddl"),
            "alter table table_note add owner_id number NULL, owner_type number NULL\n\n"
            "alter table table_note add note2ticket number NULL\n\n");
  EXPECT_EQ(matching("ALTER"), texts{});
}

TEST_F(AdpSchWrite, ObjidIndexesAndAddedColumns) {
  open("oledb");
  ASSERT_EQ(adp_sch_create_objid_index(con_, schema(kTicket), nullptr, 0), 0);
  ASSERT_EQ(adp_sch_field_create(con_, "ticket", "closed", 9, 0, 0, 0), 0);
  ASSERT_EQ(adp_sch_create_cluster_index(con_, "ticket", "objid, dev", 0, 0, 0), 0);
  EXPECT_EQ(adp_script_sent(), (texts{"create unique clustered index objindex ON table_ticket (objid)",
                                      "alter table table_ticket add closed datetime NULL",
                                      "create unique clustered index ticket_objindexx on table_ticket (objid, dev)"}));
  // Only written: the statement goes to the script, not to the server.
  ds_script::reset();
  FILE* script = std::fopen("script.sql", "w");
  ASSERT_EQ(adp_sch_create_objid_index(con_, schema(kTicket), script, 1), 0);
  std::fclose(script);
  EXPECT_EQ(adp_script_sent(), texts{});
  EXPECT_EQ(file_text("script.sql"), "create unique clustered index objindex ON table_ticket (objid)\n");
  // Names that could carry SQL are refused.
  EXPECT_EQ(adp_sch_field_create(con_, "ticket", "x int; drop table y", 9, 0, 0, 0), ADP_NO_SUCH_DB);
}

TEST_F(AdpSchWrite, BinaryArrayTablesOfAType) {
  const struct {
    const char* driver;
    const char* type;
    const char* query;
  } rows[] = {
      {"oledb", "my_case",
       "select name from sysobjects where type = 'U' and name like 'table\\_my\\_case\\_array\\_%' escape '\\'"},
      {"oracle", "o'x",
       "select name from user_tables \t\t   where upper(table_name) like upper('table\\_o''x\\_array\\_%') escape "
       "'\\'"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    open(r.driver);
    ds_script::push_result({{"name"}, {{cell::t("TABLE_MY_CASE_ARRAY_1")}, {cell::t("TABLE_MY_CASE_ARRAY_2")}}});
    utl_ty_col* tables = nullptr;
    ASSERT_EQ(adp_sch_get_barray_tables(con_, r.type, &tables), 0);
    EXPECT_EQ(adp_script_sent(), texts{r.query});
    long n = 0;
    utl_col_num(tables, &n);
    ASSERT_EQ(n, 2);
    void* second = nullptr;
    utl_col_ith(tables, 1, &second);
    EXPECT_STREQ(static_cast<const char*>(second), "TABLE_MY_CASE_ARRAY_2");
    utl_col_free("test", tables);
  }
}

TEST_F(AdpSchWrite, RenamingATypeRewritesItsRows) {
  open("oledb", kRoamer);
  ds_script::push_ids({1, 2, 3});
  typ_sch_srec* tag = schema(kTag);
  ASSERT_EQ(adp_sch_update(con_, tag), 0);
  const texts sent = adp_script_sent();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(texts(sent.begin(), sent.begin() + 3),
            (texts{"insert into de_updates \t       (row_id, row_ver, prev_row_ver, table_name, tx_detail) \t       "
                   "select objid, dev+1, dev, 'adp_tbl_name_map', \t       '1 type_name 3 tag' from "
                   "adp_tbl_name_map \t       where type_id = 42",
                   "update adp_tbl_name_map set type_name='tag' where type_id=42",
                   "DELETE FROM adp_sch_info WHERE type_id=42"}));
  EXPECT_EQ(matching("insert into adp_sch_info").size(), 2u);
  EXPECT_EQ(matching("INSERT INTO adp_sch_rel_info").size(), 1u);
}

}  // namespace

// A view over tickets made by hand: a field from the ticket's title, one
// from its notes relation, one without origin, and two joins; optimised
// views keep their earlier definition (one field, one join) beside.
class AdpSchWriteView : public AdpSchWrite {
 protected:
  void make_view(bool with_earlier) {
    ticket_ = schema(kTicket);
    ticket_->fields[kTitle].comment = const_cast<char*>("Title text");
    long index = -1;
    for (long i = 0; i < typ_sch_num_schs; ++i) {
      if (typ_sch_schemas[i].type_id == kTicket) index = i;
    }
    long rel_index = relation("ticket2note") - typ_sch_relations;
    origins_[0] = {kTicket, index, kTitle, 0, const_cast<char*>("t"), 0, nullptr, nullptr};
    origins_[1] = {kTicket, index, -1, rel_index + TYP_VINFO_REL, const_cast<char*>("t"), 0, nullptr, nullptr};
    const char* names[] = {"title", "note_id", "computed"};
    for (long i = 0; i < 3; ++i) {
      fields_[i] = typ_sch_frec{};
      fields_[i].name = const_cast<char*>(names[i]);
      fields_[i].comment = const_cast<char*>("");
      fields_[i].spec_id = i;
      fields_[i].uptr = i < 2 ? &origins_[i] : nullptr;
    }
    fields_[1].comment = const_cast<char*>("own");  // not written for a relation's field
    joins_[0] = {const_cast<char*>("t"), const_cast<char*>("n"), const_cast<char*>("t.objid = n.note2ticket")};
    joins_[1] = {const_cast<char*>("t"), const_cast<char*>("g"), const_cast<char*>("")};
    entries_[0] = typ_sch_rel_inst{};
    entries_[0].rel = relation("ticket2note");
    entries_[0].join = &joins_[0];
    entries_[0].join_kind = 1;
    entries_[1] = typ_sch_rel_inst{};
    entries_[1].rel = relation("ticket2tag");
    entries_[1].join = &joins_[1];
    entries_[1].flags = 0x10000000;  // an eliminated join
    std::snprintf(info_.name, sizeof info_.name, "%s", "tv");
    view_ = typ_sch_srec{};
    view_.flags = TYP_SCH_VIEW;
    view_.type_id = 70;
    view_.nfields = 3;
    view_.fields = fields_;
    view_.nrels = 2;
    view_.rels = entries_;
    view_.info = &info_;
    if (!with_earlier) return;
    earlier_ = view_;
    earlier_.nfields = 1;
    earlier_.nrels = 1;
    block_ = typ_sch_alias_blk{nullptr, nullptr, &earlier_};
    info_.uptr = &block_;
    view_.flags |= TYP_SCH_VIEW_OPT;
  }

  typ_sch_srec* ticket_ = nullptr;
  typ_sch_vinfo origins_[2]{};
  typ_sch_frec fields_[3]{};
  typ_sch_join_blk joins_[2]{};
  typ_sch_rel_inst entries_[2]{};
  typ_sch_iblk info_{};
  typ_sch_srec view_{};
  typ_sch_srec earlier_{};
  typ_sch_alias_blk block_{};
};

TEST_F(AdpSchWriteView, FieldOriginsAndJoinsOfAView) {
  open("oledb");
  make_view(false);
  ASSERT_EQ(adp_sch_write_view_fields(con_, &view_), 0);
  ASSERT_EQ(adp_sch_write_view_joins(con_, &view_), 0);
  const std::string spec = std::to_string(relation("ticket2note")->fspec + TYP_VINFO_REL);
  const std::string tag_spec = std::to_string(relation("ticket2tag")->fspec + TYP_VINFO_REL);
  EXPECT_EQ(adp_script_sent(),
            (texts{
                "INSERT INTO adp_view_field_info (view_type_id, view_spec_field_id,from_obj_type, from_field_id, "
                "alias, flags, comments )VALUES (70,0,40,2,'t',0,'Title text')",
                "INSERT INTO adp_view_field_info (view_type_id, view_spec_field_id,from_obj_type, from_field_id, "
                "alias, flags, comments )VALUES (70,1,40," + spec + ",'t',0,'')",
                "INSERT INTO adp_view_join_info (view_type_id, obj_type_id, obj_spec_rel_id, palias, falias, "
                "comments, flags, join_flag) VALUES (70,41,0,'t','n','t.objid = n.note2ticket',0,1)",
                "INSERT INTO adp_view_join_info (view_type_id, obj_type_id, obj_spec_rel_id, palias, falias, "
                "comments, flags, join_flag) VALUES (70,42," + tag_spec + ",'t','g','',0,0)",
            }));
}

TEST_F(AdpSchWriteView, AnOptimisedViewWritesItsEarlierDefinitionFirst) {
  open("oledb", 0, 9);  // before join_flag
  make_view(true);
  ASSERT_EQ(adp_sch_write_view_fields(con_, &view_), 0);
  ASSERT_EQ(adp_sch_write_view_joins(con_, &view_), 0);
  const texts fields = matching("INSERT INTO adp_view_field_info");
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_NE(fields[0].find("VALUES (70,0,40,2,'t',0,"), std::string::npos) << fields[0];
  EXPECT_NE(fields[1].find("VALUES (70,0,40,2,'t',1,"), std::string::npos) << fields[1];
  const texts joins = matching("INSERT INTO adp_view_join_info");
  ASSERT_EQ(joins.size(), 3u);
  EXPECT_EQ(joins[0],
            "INSERT INTO adp_view_join_info (view_type_id, obj_type_id, obj_spec_rel_id, palias, falias, comments, "
            "flags) VALUES (70,41,0,'t','n','t.objid = n.note2ticket',0)");
  EXPECT_NE(joins[1].find(",1)"), std::string::npos) << joins[1];
  // Each set in a transaction of its own.
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 4);
}
