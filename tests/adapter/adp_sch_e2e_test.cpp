// A schema compiled by the schema layer and written by typ_sch_write on the
// run's MariaDB server through the Oracle-dialect service: tables, columns
// and indexes in the catalogue and the dictionary rows, with and without the
// offline feature; a fresh open (and one from the cache file) reads the same
// model; the views written again from the dictionary by typ_sch_write_view
// answer through their joins.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_model.h"
#include "adapter/adp_sch_e2e.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"
#include "testdb/testdb_database.h"
#include "testdb/testdb_tmp.h"

namespace {

// An exclusive lock on a file of the run's shared folder, for what the
// tests change on the whole server.
class server_lock {
 public:
  server_lock() {
    const std::string dir = testdb::shared_dir().empty() ? testdb::tmp_dir() : testdb::shared_dir();
    fd_ = ::open((dir + "/server_roles.lock").c_str(), O_RDWR | O_CREAT, 0600);
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~server_lock() {
    if (fd_ >= 0) ::close(fd_);
  }
  server_lock(const server_lock&) = delete;
  server_lock& operator=(const server_lock&) = delete;

 private:
  int fd_ = -1;
};

using texts = std::vector<std::string>;

constexpr long kLongType = 512;
constexpr long kHeaderFlags = 3;  // the CRM fixture's flags and search columns
constexpr long kOffline = 32;

// What the service's catalogue shows of the written tables and views.
const texts kTables = {
    "mtm_account3_tag0|BASE TABLE", "table_account|BASE TABLE", "table_account_array_40|BASE TABLE",
    "table_account_sites|VIEW",     "table_address|BASE TABLE", "table_big_accounts|VIEW",
    "table_locale|BASE TABLE",      "table_note|BASE TABLE",    "table_profile|BASE TABLE",
    "table_site|BASE TABLE",        "table_tag|BASE TABLE"};

// Oracle's column types as the service makes them; without a null clause
// an Oracle column takes nulls. The search column follows its field; the
// foreign-key columns come last.
const texts kColumns = {
    "table_account|objid|double|YES",         "table_account|name|varchar(40)|YES",
    "table_account|S_name|varchar(40)|YES",   "table_account|code|varchar(8)|YES",
    "table_account|notes|longtext|YES",       "table_account|opened|datetime|YES",
    "table_account|modified|datetime|YES",    "table_account|balance|decimal(19,2)|YES",
    "table_account|ratio|double|YES",         "table_account|weight|double|YES",
    "table_account|grade|double|YES",         "table_account|score|double|YES",
    "table_account|memo|longtext|YES",        "table_account|tier|double|YES",
    "table_account|account2site|double|YES",  "table_account_array_40|objid|double|YES",
    "table_account_array_40|seq_num|double|YES", "table_account_array_40|data|varbinary(253)|YES",
    "table_account_sites|acct|varchar(40)|YES", "table_account_sites|S_acct|varchar(40)|YES",
    "table_account_sites|site|varchar(30)|YES", "table_address|seq_num|double|YES",
    "table_address|subobj_to_obj|double|YES", "table_address|parent_type|double|YES",
    "table_address|street|varchar(60)|YES",   "table_big_accounts|id|double|YES",
    "table_big_accounts|name|varchar(40)|YES", "table_note|objid|double|YES",
    "table_note|content|varchar(80)|YES",     "table_note|owner_id|double|YES",
    "table_note|owner_type|double|YES",       "table_profile|objid|double|YES",
    "table_profile|bio|varchar(60)|YES",      "table_profile|profile2account|double|YES",
    "table_site|objid|double|YES",            "table_site|name|varchar(30)|YES",
    "table_tag|objid|double|YES",             "table_tag|label|varchar(20)|YES"};

const texts kIndexes = {
    "table_account|account_acct_name|0|name",         "table_account|account_acct_name|0|code",
    "table_account|account_acct_site|1|account2site", "table_account|account_objindex|0|objid",
    "table_account|S_account_acct_name|0|S_name",     "table_account|S_account_acct_name|0|code",
    "table_account_array_40|itable_account_ar0|0|objid", "table_account_array_40|itable_account_ar0|0|seq_num",
    "table_address|S_address_seq_num|0|subobj_to_obj", "table_address|S_address_seq_num|0|parent_type",
    "table_address|S_address_seq_num|0|seq_num",      "table_note|note_objindex|0|objid",
    "table_profile|profile_objindex|0|objid",         "table_site|site_objindex|0|objid",
    "table_tag|tag_objindex|0|objid"};

// Dictionary rows; an empty text reads as NULL on Oracle.
const texts kNameMap = {
    "70|66|account|Customer accounts|Sales|NULL",
    "71|66|site|<null>|<null>|NULL",
    "72|66|tag|<null>|<null>|NULL",
    "73|66|profile|<null>|<null>|NULL",
    "74|66|note|<null>|<null>|NULL",
    "75|72|address|<null>|<null>|NULL",
    "76|580|account_sites|Accounts with their site|<null>|NULL",
    "77|1049156|big_accounts|<null>|<null>|select objid, name from table_account where balance > 1000"};

const texts kFields = {
    "70|objid|512|0|-1|-1|-1|25|3|0|<null>|<null>",       "70|photos|512|0|0|-1|-1|48|40|0|<null>|<null>",
    "70|name|516|7|40|-1|-1|265|-1|1|<null>|Account name", "70|code|516|6|8|-1|-1|9|-1|2|AB|<null>",
    "70|notes|516|8|-1|-1|-1|137|-1|3|<null>|<null>",      "70|opened|609|9|-1|-1|-1|9|-1|4|<null>|<null>",
    "70|modified|609|9|-1|-1|-1|1033|-1|5|<null>|<null>",  "70|balance|766|11|-1|19|2|8201|-1|6|<null>|<null>",
    "70|ratio|613|4|-1|-1|-1|129|-1|7|<null>|<null>",      "70|weight|514|3|-1|-1|-1|9|-1|8|<null>|<null>",
    "70|grade|513|2|-1|-1|-1|25|-1|9|<null>|<null>",       "70|score|613|5|-1|-1|-1|9|-1|10|<null>|<null>",
    "70|memo|516|8|-1|-1|-1|137|-1|11|<null>|<null>",      "70|tier|513|1|-1|-1|-1|28|-1|12|<null>|<null>",
    "71|objid|512|0|-1|-1|-1|25|3|0|<null>|<null>",        "71|name|516|7|30|-1|-1|9|-1|1|<null>|<null>",
    "72|objid|512|0|-1|-1|-1|25|3|0|<null>|<null>",        "72|label|516|7|20|-1|-1|9|-1|1|<null>|<null>",
    "73|objid|512|0|-1|-1|-1|25|3|0|<null>|<null>",        "73|bio|516|7|60|-1|-1|9|-1|1|<null>|<null>",
    "74|objid|512|0|-1|-1|-1|25|3|0|<null>|<null>",        "74|content|516|7|80|-1|-1|9|-1|1|<null>|<null>",
    "75|seq_num|512|0|-1|-1|-1|25|3|0|<null>|<null>",      "75|subobj_to_obj|512|0|-1|-1|-1|25|-1|1|<null>|<null>",
    "75|parent_type|512|0|-1|-1|-1|25|-1|2|<null>|<null>", "75|street|516|7|60|-1|-1|9|-1|3|<null>|<null>",
    "76|acct|516|7|40|-1|-1|265|-1|0|<null>|<null>",       "76|site|516|7|30|-1|-1|9|-1|1|<null>|<null>",
    "77|id|512|0|-1|-1|-1|25|3|0|<null>|<null>",           "77|name|516|7|40|-1|-1|9|-1|1|<null>|<null>"};

// Each end from its own type: kinds 1/2 (+8 for the indexed end), 3/4 and
// 5; the exclusive set's two columns; required 0x40000, user 0x20000.
const texts kRelations = {
    "70|account2site|10|site|-1|0|site2account|Home site|0|<null>|<null>|<null>|262144",
    "70|account2profile|4|profile|-1|1|profile2account|<null>|0|<null>|<null>|<null>|0",
    "70|account2note|1|note|-1|2|note2account|<null>|1|owner_id|owner_type|owner|0",
    "70|account2tag|5|tag|-1|3|tag2account|<null>|0|<null>|<null>|<null>|131072",
    "71|site2account|1|account|-1|0|account2site|<null>|0|<null>|<null>|<null>|0",
    "71|site2note|1|note|-1|1|note2site|<null>|1|owner_id|owner_type|owner|0",
    "72|tag2account|5|account|-1|0|account2tag|<null>|0|<null>|<null>|<null>|131072",
    "73|profile2account|3|account|-1|0|account2profile|<null>|0|<null>|<null>|<null>|0",
    "74|note2account|2|account|-1|0|account2note|<null>|1|owner_id|owner_type|owner|0",
    "74|note2site|2|site|-1|1|site2note|<null>|1|owner_id|owner_type|owner|0"};

const texts kViewFields = {"76|0|70|1|a|Account name|0", "76|1|71|1|s|<null>|0", "77|0|70|0|<null>|<null>|0"};
const texts kViewJoins = {"76|70|0|s|a|<null>|0|0"};
const texts kIndexRows = {"70|acct_name|1|2|name:code|<null>", "70|acct_site|0|1|account2site|<null>"};

// The dictionary tables, the columns every writer fills, and their rows.
struct dictionary_table {
  const char* name;
  const char* columns;
  const char* order;
  const texts* rows;
};
const dictionary_table kDictionary[] = {
    {"adp_tbl_name_map", "type_id, type_flags, type_name, comments, obj_group, \"sql\"", "1", &kNameMap},
    {"adp_sch_info",
     "type_id, field_name, cmn_type, db_type, array_size, dec_p, dec_s, flags, gen_field_id, spec_field_id, "
     "fld_default, comments",
     "1, 10, 2", &kFields},
    {"adp_sch_rel_info",
     "type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, inv_rel_name, comments, rel_flags, "
     "rel_phy_name, focus_fldname, exclusive_set, flags",
     "1, 6", &kRelations},
    {"adp_view_field_info", "view_type_id, view_spec_field_id, from_obj_type, from_field_id, alias, comments, flags",
     "1, 2", &kViewFields},
    {"adp_view_join_info", "view_type_id, obj_type_id, obj_spec_rel_id, palias, falias, comments, flags, join_flag",
     "1, 2", &kViewJoins},
    {"adp_sch_index", "type_id, index_name, flags, field_count, field_names, comments", "1, 2", &kIndexRows},
};

class AdpSchE2e : public adp_sch_e2e_test {
 protected:
  // Compiles and writes the schema as the schema compiler does: views
  // optimised, the schema written with its relations and indexes, the type
  // cache read again, the binary-array tables made. The model as written
  // is kept in written_.
  KAdpConnId* write_schema(bool offline) {
    KAdpConnId* con = compiled_session(offline);
    if (con == nullptr) return nullptr;
    EXPECT_EQ(typ_sch_optimize_view(), 0);
    EXPECT_EQ(typ_sch_set_view_currency_flag(con, nullptr), 0);
    written_ = model_dump();
    utl_ty_col* ids = nullptr;
    EXPECT_EQ(utl_col_make("test", kLongType, 10, 10, 0, 0, &ids), 0);
    EXPECT_EQ(typ_sch_write(con, 1, ids, 0), 0) << core_top_alert_text();
    written_ids_ = adp_col_longs(ids);
    utl_col_free("test", ids);
    EXPECT_EQ(adp_sch_types_init(con, nullptr), 0);
    EXPECT_EQ(typ_bld_write_arrays(con, typ_bld_array_col), 0) << core_top_alert_text();
    return con;
  }
  // The session is gone and the model with it: a new session opens the
  // database as the store does.
  KAdpConnId* reopen(bool offline) {
    while (KAdpConnId* c = adp_db_list_head()) delete c;
    return store_session(kHeaderFlags | (offline ? kOffline : 0));
  }
  // An empty default text is stored as NULL on Oracle, which the model
  // reads back as no default.
  std::string written_as_stored() const {
    std::string out = written_;
    const std::string empty = "default value = ''";
    for (size_t at = out.find(empty); at != std::string::npos; at = out.find(empty, at))
      out.replace(at, empty.size(), "default value = 'NULL'");
    return out;
  }
  void expect_catalogue_and_dictionary() {
    EXPECT_EQ(written_ids_, (std::vector<long>{70, 71, 72, 73, 74, 75, 76, 77}));
    EXPECT_EQ(rows("select table_name, table_type from information_schema.tables where table_schema = database()"
                   " and (table_name like 'table%' or table_name like 'mtm%') order by 1"),
              kTables);
    EXPECT_EQ(rows("select table_name, column_name, column_type, is_nullable from information_schema.columns"
                   " where table_schema = database() and table_name like 'table%' and table_name <> 'table_locale'"
                   " order by 1, ordinal_position"),
              kColumns);
    EXPECT_EQ(rows("select column_name, column_type, is_nullable from information_schema.columns"
                   " where table_schema = database() and table_name = 'mtm_account3_tag0'"
                   " and column_name like '%2%' order by ordinal_position"),
              (texts{"account2tag|double|NO", "tag2account|double|NO"}));
    EXPECT_EQ(rows("select table_name, index_name, non_unique, column_name from information_schema.statistics"
                   " where table_schema = database() and table_name not like 'adp%' order by 1, 2, seq_in_index"),
              kIndexes);
    for (const dictionary_table& t : kDictionary) {
      EXPECT_EQ(rows(std::string("select ") + t.columns + " from " + t.name + " order by " + t.order), *t.rows)
          << t.name;
    }
    // The views' texts: the join as a condition, the SQL text as given.
    EXPECT_EQ(rows("select table_name from information_schema.views where table_schema = database()"
                   " and view_definition like '%where `table_s`.`objid` = `table_a`.`account2site`'"),
              texts{"table_account_sites"});
    EXPECT_EQ(rows("select table_name from information_schema.views where table_schema = database()"
                   " and view_definition like '%`table_account`.`balance` > 1000'"),
              texts{"table_big_accounts"});
  }

  std::string written_;
  std::vector<long> written_ids_;
};

TEST_F(AdpSchE2e, WrittenWithoutTheOfflineFeature) {
  ASSERT_NE(write_schema(false), nullptr);
  expect_catalogue_and_dictionary();
  // No object-id columns on the link table.
  EXPECT_EQ(value("select count(*) from information_schema.columns where table_schema = database()"
                  " and table_name = 'mtm_account3_tag0'"),
            "2");
}

TEST_F(AdpSchE2e, WrittenWithTheOfflineFeatureEveryRowHasANewIdAndVersionOne) {
  ASSERT_NE(write_schema(true), nullptr);
  expect_catalogue_and_dictionary();
  std::vector<std::string> ids;
  for (const dictionary_table& t : kDictionary) {
    EXPECT_EQ(rows(std::string("select count(*), count(objid), min(dev), max(dev) from ") + t.name),
              texts{std::to_string(t.rows->size()) + "|" + std::to_string(t.rows->size()) + "|1|1"})
        << t.name;
    for (const std::string& id : rows(std::string("select objid from ") + t.name)) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an id given twice";
  EXPECT_EQ(rows("select column_name, is_nullable from information_schema.columns where table_schema = database()"
                 " and table_name = 'mtm_account3_tag0' order by ordinal_position"),
            (texts{"objid|YES", "dev|YES", "account2tag|NO", "tag2account|NO"}));
}

TEST_F(AdpSchE2e, AFreshOpenReadsTheWrittenModelAndSoDoesTheCacheFile) {
  ASSERT_NE(write_schema(false), nullptr);
  KAdpConnId* con = reopen(false);
  ASSERT_NE(con, nullptr);
  const std::string read = model_dump();
  EXPECT_EQ(read, written_as_stored());
  EXPECT_NE(read.find("Schema SCHEMA #7 'account_sites'"), std::string::npos) << read;
  ASSERT_EQ(dbs_db_close(con), 0);
  ASSERT_EQ(dbs_db_open(con, "crm", 1), 0);
  EXPECT_EQ(model_dump(), read);
}

TEST_F(AdpSchE2e, ViewsWrittenAgainFromTheDictionaryAnswerThroughTheirJoin) {
  ASSERT_NE(write_schema(true), nullptr);
  KAdpConnId* con = reopen(true);
  ASSERT_NE(con, nullptr);
  ASSERT_TRUE(db_.run("insert into table_site(objid, name) values(1, 'North');"
                      " insert into table_site(objid, name) values(2, 'South');"
                      " insert into table_account(objid, name, account2site, balance) values(10, 'Acme', 2, 5000);"
                      " insert into table_account(objid, name, account2site, balance) values(11, 'Brick', 1, 10);"));
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(typ_sch_write_view(con), 0) << core_top_alert_text();
  // The view rows again, each with a new id.
  EXPECT_EQ(rows("select view_type_id, view_spec_field_id, from_obj_type, from_field_id, alias, comments, flags"
                 " from adp_view_field_info order by 1, 2"),
            kViewFields);
  EXPECT_EQ(rows("select view_type_id, obj_type_id, obj_spec_rel_id, palias, falias, comments, flags, join_flag"
                 " from adp_view_join_info"),
            kViewJoins);
  EXPECT_EQ(rows("select type_id, type_flags, type_name from adp_tbl_name_map where type_id > 75 order by 1"),
            (texts{"76|580|account_sites", "77|1049156|big_accounts"}));
  EXPECT_EQ(value("select count(*) - count(distinct objid) from adp_view_field_info"), "0");
  EXPECT_EQ(rows("select acct, site from table_account_sites order by 1"), (texts{"Acme|South", "Brick|North"}));
  EXPECT_EQ(rows("select id, name from table_big_accounts"), texts{"10|Acme"});
}

// The existence test asks about the connected database only: a view of the
// same name elsewhere on the server is not this database's (it made the
// view writer drop a view it did not have, and fail).
TEST_F(AdpSchE2e, AViewOfAnotherDatabaseIsNotThisOnes) {
  testdb::database other;
  ASSERT_TRUE(other.create());
  ASSERT_TRUE(other.run("create view table_shadow as select 1 as one from dual;"));
  KAdpConnId* con = reopen(false);
  ASSERT_NE(con, nullptr);
  char exists = 1;
  ASSERT_EQ(adp_sch_does_view_exist(con, "table_shadow", &exists), 0);
  EXPECT_EQ(exists, 0);
  ASSERT_TRUE(db_.run("create view table_shadow as select 1 as one from dual;"));
  ASSERT_EQ(adp_sch_does_view_exist(con, "table_shadow", &exists), 0);
  EXPECT_EQ(exists, 1);
}

TEST_F(AdpSchE2e, ThreeGroupsAreMadeAndGrantedEveryTableAndView) {
  ASSERT_NE(write_schema(false), nullptr);
  KAdpConnId* con = reopen(false);
  ASSERT_NE(con, nullptr);
  adp_usr_group_exist_forget();
  {
    // The groups are the server's: one test at a time makes them.
    server_lock lock;
    ASSERT_EQ(adp_usr_groups_create(con, 0), 0) << core_top_alert_text();
  }
  EXPECT_EQ(rows("select role from dba_roles where role like 'ORBISAN%' order by 1"),
            (texts{"ORBISAN_ADMINISTRATOR", "ORBISAN_REPORTER", "ORBISAN_USER"}));
  // Whoever made a group may hand it on.
  EXPECT_EQ(rows("select Role, Admin_option from mysql.roles_mapping where User = 'root' and Host = 'localhost'"
                 " and Role like 'orbisan%' order by 1"),
            (texts{"orbisan_administrator|Y", "orbisan_reporter|Y", "orbisan_user|Y"}));
  // Every table and view of the database, the written ones among them.
  const texts objects = {"adp_db_comments",    "adp_db_header",          "adp_sch_index",
                         "adp_sch_info",       "adp_sch_rel_info",       "adp_tbl_name_map",
                         "adp_tbl_oid",        "adp_tbl_oid_unused",     "adp_view_field_info",
                         "adp_view_join_info", "de_updates",             "mtm_account3_tag0",
                         "table_account",      "table_account_array_40", "table_account_sites",
                         "table_address",      "table_big_accounts",     "table_locale",
                         "table_note",         "table_profile",          "table_site",
                         "table_tag"};
  texts user, reporter;
  for (const std::string& o : objects) {
    user.push_back(o + "|Select,Insert,Update,Delete");
    reporter.push_back(o + (o == "adp_db_header" ? "|Select,Update" : "|Select"));
  }
  const std::string privileges = "select Table_name, Table_priv from mysql.tables_priv where Db = database() and User = ";
  EXPECT_EQ(rows(privileges + "'orbisan_user' order by 1"), user);
  EXPECT_EQ(rows(privileges + "'orbisan_reporter' order by 1"), reporter);
  // ALL: every table privilege of the server, not the right to grant.
  EXPECT_EQ(rows("select table_name from information_schema.table_privileges where table_schema = database()"
                 " and grantee = '''orbisan_administrator''@''''' group by table_name"
                 " having sum(privilege_type in ('SELECT', 'INSERT', 'UPDATE', 'DELETE', 'ALTER', 'DROP', 'INDEX'))"
                 " = 7 and sum(privilege_type = 'GRANT') = 0 order by 1"),
            objects);
}

}  // namespace
