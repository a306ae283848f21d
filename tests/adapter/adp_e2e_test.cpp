// The store and the adapter end to end on the run's MariaDB server through
// the Oracle-dialect service: login, open reading the CRM fixture's
// dictionary (with and without descriptions, views by their first
// definition) and the schema cache file written and read back, the header
// written with its change row, comments, locales, the credentials check,
// and the dictionary faults with their alerts and log lines.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_dump.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"
#include "testdb/testdb_database.h"

namespace {

constexpr long kDbRev = 15;

class AdpEndToEnd : public adp_ora_test {
 protected:
  // The session opened on "crm" with its header read and the revisions given.
  KAdpConnId* opened(long db_rev = kDbRev) {
    KAdpConnId* cid = session();
    if (cid == nullptr) return nullptr;
    EXPECT_EQ(typ_sch_alloc(), 0);
    EXPECT_EQ(adp_db_open(cid, "crm"), 0);
    EXPECT_EQ(adp_db_get_header(cid, cid->GetHeader()), 0);
    EXPECT_EQ(adp_db_assert_revs(cid, db_rev, 61), 0);
    return cid;
  }
  // What the dictionary read writes into a cache-file stream.
  static std::string read_to_stream(KAdpConnId* cid, long* status) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    *status = adp_sch_types_init(cid, f);
    if (*status == 0) *status = adp_sch_read_all(cid, f);
    std::fclose(f);
    std::string out(buf, len);
    std::free(buf);
    return out;
  }
  static typ_sch_srec* schema(long type_id) {
    typ_sch_srec* s = nullptr;
    typ_sch_find_handle(type_id, nullptr, &s);
    return s;
  }
};

// The relation and field lines of the cache file do not depend on the
// description flag, which the store-login case sets for the process.
TEST_F(AdpEndToEnd, DictionaryReadAtEachRevision) {
  const struct {
    long rev;
    const char* rel_line;  // the cache-file line of case2site
  } rows[] = {
      {10, "(case2site,2,site,0,0,site2case,0,,,10)"},
      {11, "(case2site,2,site,0,0,site2case,0,,,0,10)"},
      {13, "(case2site,2,site,0,0,site2case,0,case2site,,0,10,)"},
  };
  for (const auto& r : rows) {
    KAdpConnId* cid = opened(r.rev);
    ASSERT_NE(cid, nullptr);
    ASSERT_EQ(adp_sch_alloc(), 0);
    long st = -1;
    std::string stream = read_to_stream(cid, &st);
    ASSERT_EQ(st, 0) << r.rev << "\n" << stream;
    EXPECT_NE(stream.find(r.rel_line), std::string::npos) << r.rev << "\n" << stream;
    EXPECT_NE(stream.find("(10,2,case)\n"), std::string::npos) << stream;
    EXPECT_NE(stream.find("(status,516,7,20,-1,-1,0,-1,2,10,open)\n"), std::string::npos) << stream;
    const std::string amount = r.rev >= 11 ? "(amount,766,11,1,19,2,0,-1,3,10)\n" : "(amount,766,11,1,-1,-1,0,-1,3,10)\n";
    EXPECT_NE(stream.find(amount), std::string::npos) << r.rev << "\n" << stream;
    // Types, fields and relations are in the model and the cache.
    typ_sch_srec* c = schema(10);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->nfields, 5);
    EXPECT_EQ(c->nrels, 1);
    EXPECT_NE(schema(13)->flags & TYP_SCH_OBJECT, 0u);  // flags 6: an object type
    EXPECT_NE(schema(20)->flags & TYP_SCH_SUBOBJ, 0u);
    EXPECT_NE(schema(30)->flags & TYP_SCH_VIEW, 0u);
    const char* table = nullptr;
    ASSERT_EQ(adp_sch_tbl_find(12, &table), 0);
    EXPECT_STREQ(table, "table_contact");
    ASSERT_EQ(adp_sch_map_names(cid), 0);
    EXPECT_STREQ(static_cast<const char*>(cid->GetNameMapper().GetLog("table_case", KAdpNameMapper::convert_type{})),
                 "case");
    delete cid;
  }
}

TEST_F(AdpEndToEnd, StoreLogsInOpensFromTheDictionaryAndFromTheCacheFileAndLogsOut) {
  // The store's login reaches the service's default database; the session
  // then moves to the test's own database, which holds the CRM fixture.
  KAdpConnId* cid = nullptr;
  ASSERT_EQ(dbs_db_login(db_.socket().c_str(), "root", "", "e2e", 0, &cid, nullptr, 0), 0);
  ASSERT_NE(cid, nullptr);
  EXPECT_EQ(adp_db_get_conn(), cid);
  const std::string use = "use " + db_.name();
  ASSERT_EQ(cid->ExecDmlStmt(nullptr, use.c_str(), nullptr), 0);
  // Open from the dictionary (the application's schema revision is the
  // header's): the cache file is written.
  ASSERT_EQ(dbs_db_assert_schema_rev(nullptr, 61), 0);
  ASSERT_EQ(dbs_db_open(cid, "crm", 1), 0);
  const std::string from_db = model_dump();
  // Without descriptions: none are read and views get no joins (the flag,
  // once set below, stays set for the process).
  ASSERT_EQ(adp_sch_get_comment_flag(), 0);
  ASSERT_NE(schema(10), nullptr);
  EXPECT_STREQ(schema(10)->description != nullptr ? schema(10)->description : "", "");
  EXPECT_EQ(schema(30)->nrels, 0);
  EXPECT_NE(from_db.find("case"), std::string::npos);
  char file[1024];
  ASSERT_EQ(dbs_db_cache_name("crm", 61, file, sizeof file), 0);
  std::ifstream cache(file);
  ASSERT_TRUE(cache.good()) << file;
  std::string text((std::istreambuf_iterator<char>(cache)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.rfind("ORBISAN_SCHEMA: 15 61\n", 0), 0u) << text;
  EXPECT_NE(text.find("(11,2,site)\n"), std::string::npos);
  // Open again: the model comes from the file, the same by dump.
  ASSERT_EQ(dbs_db_close(cid), 0);
  ASSERT_EQ(dbs_db_open(cid, "crm", 1), 0);
  EXPECT_EQ(model_dump(), from_db);
  // With descriptions: the views by their first definition.
  adp_sch_set_comment_flag();
  ASSERT_EQ(dbs_db_close(cid), 0);
  ASSERT_EQ(dbs_db_open(cid, "crm", 0), 0);
  typ_sch_srec* c = schema(10);
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->description, "A customer's case");
  EXPECT_STREQ(c->info->subject, "Support");
  EXPECT_STREQ(c->fields[1].comment, "Title of the case");
  typ_sch_srec* v = schema(30);
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->nrels, 1);  // the redefinition's join is skipped
  ASSERT_NE(v->rels[0].join, nullptr);
  EXPECT_STREQ(v->rels[0].join->palias, "c");
  ASSERT_NE(v->fields[1].uptr, nullptr);
  EXPECT_STREQ(static_cast<typ_sch_vinfo*>(v->fields[1].uptr)->alias, "c");
  typ_sch_srec* only_redefined = schema(31);
  ASSERT_NE(only_redefined, nullptr);
  ASSERT_NE(only_redefined->fields[1].uptr, nullptr);
  EXPECT_STREQ(static_cast<typ_sch_vinfo*>(only_redefined->fields[1].uptr)->alias, "st");
  typ_sch_srec* sql_view = schema(32);
  ASSERT_NE(sql_view, nullptr);
  ASSERT_NE(sql_view->info->sql, nullptr);
  EXPECT_STREQ(sql_view->info->sql, "select objid, title from table_case where status = 'open'");
  // The credentials check: right and wrong, the session stays current.
  KAdpConnId* check = nullptr;
  EXPECT_EQ(adp_db_bby_login(db_.socket().c_str(), "root", "", "e2e", 0, &check), 0);
  EXPECT_NE(adp_db_bby_login(db_.socket().c_str(), "root", "not the password", "e2e", 0, &check), 0);
  EXPECT_EQ(check, nullptr);
  EXPECT_EQ(adp_db_get_conn(), cid);
  EXPECT_EQ(adp_db_list_head(), cid);
  EXPECT_EQ(cid->GetNext(), nullptr);
  ASSERT_EQ(dbs_db_logout(cid), 0);
  EXPECT_EQ(adp_db_list_head(), nullptr);
}

TEST_F(AdpEndToEnd, OfflineHeaderWriteLeavesAChangeRow) {
  KAdpConnId* cid = opened();
  ASSERT_NE(cid, nullptr);
  adp_db_dhead* h = cid->GetHeader();
  EXPECT_STREQ(h->db_name, "crm");
  EXPECT_EQ(h->db_rev, kDbRev);
  h->flags |= DBS_HDR_ROAMER;
  h->schema_rev = 62;
  ASSERT_EQ(adp_db_put_header(cid, h), 0);
  testdb::rows changes = db_.query("select table_name, tx_detail from de_updates");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0][0], "adp_db_header");
  EXPECT_EQ(changes[0][1].rfind("16 create_date 19", 0), 0u) << changes[0][1];
  EXPECT_NE(changes[0][1].find(" schema_rev 2 "), std::string::npos) << changes[0][1];
  testdb::rows head = db_.query("select dev, schema_rev, flags from adp_db_header");
  ASSERT_EQ(head.size(), 1u);
  EXPECT_EQ(head[0], (std::vector<std::string>{"2", "62", "34"}));
  // Read back: the same values.
  adp_db_dhead again{};
  ASSERT_EQ(adp_db_get_header(cid, &again), 0);
  EXPECT_EQ(again.schema_rev, 62);
  EXPECT_EQ(again.create_date.day, h->create_date.day);
  EXPECT_EQ(again.create_date.ticks, h->create_date.ticks);
}

TEST_F(AdpEndToEnd, CommentsAreNumberedAndReadBack) {
  KAdpConnId* cid = opened();
  ASSERT_NE(cid, nullptr);
  ASSERT_EQ(adp_db_add_comment(cid, "Converted %s from %ld to %ld", reinterpret_cast<long>("crm"), 14, 15, 0, 0), 0);
  ASSERT_EQ(adp_db_add_comment(cid, "It's done", 0, 0, 0, 0, 0), 0);
  testdb::rows rows = db_.query("select seq_num, comments from adp_db_comments order by seq_num");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "Converted crm from 14 to 15"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"2", "It's done"}));
  char* log = nullptr;
  ASSERT_EQ(adp_db_get_hdr_comment(cid, &log), 0);
  ASSERT_NE(log, nullptr);
  const std::string text = log;
  utl_mem_free(nullptr, log);
  EXPECT_NE(text.find(" Converted crm from 14 to 15\n \n"), std::string::npos) << text;
  EXPECT_NE(text.find(" It's done\n \n"), std::string::npos) << text;
}

TEST_F(AdpEndToEnd, ThirtyTwoOfThirtyThreeLocales) {
  for (long i = 3; i < 33; ++i)
    ASSERT_TRUE(db_.run("insert into table_locale values(" + std::to_string(2000 + i) + ", 'C');"));
  KAdpConnId* cid = session();
  ASSERT_NE(cid, nullptr);
  ASSERT_EQ(adp_db_read_locale_data(cid), 0);
  long n = 0;
  while (n < KAdpConnId::kMaxLocales && cid->GetLocaleNames()[n] != nullptr) ++n;
  EXPECT_EQ(n, 32);
  const char* name = nullptr;
  ASSERT_EQ(adp_db_get_globalc_locale_name(1036, &name), 0);
  EXPECT_STREQ(name, "fr_FR.UTF-8");
}

TEST_F(AdpEndToEnd, DictionaryFaultsWithTheirAlertsAndLogLines) {
  // A field row at a position its spec id does not name: one server-log line.
  ASSERT_TRUE(db_.run("update adp_sch_info set spec_field_id = 3 where type_id = 12 and field_name = 'last_name';"));
  KAdpConnId* cid = opened();
  ASSERT_NE(cid, nullptr);
  ASSERT_EQ(adp_sch_alloc(), 0);
  long st = -1;
  read_to_stream(cid, &st);
  EXPECT_EQ(st, 0);
  EXPECT_NE(file_text("server.log").find("Found Orbisan field 'last_name' of object 'contact' defined after a custom "
                                         "field."),
            std::string::npos)
      << file_text("server.log");
  // A relation at another position than its spec id stops the read.
  ASSERT_TRUE(db_.run("update adp_sch_rel_info set spec_rel_id = 5 where rel_name = 'employee2contact';"));
  cmn_alrt_clear(nullptr);
  read_to_stream(cid, &st);
  EXPECT_EQ(st, ADP_REL_MISPLACED);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_REL_MISPLACED}));
  // Type flags 16 fail as soon as the type's first field is read.
  ASSERT_TRUE(db_.run("update adp_sch_rel_info set spec_rel_id = 0 where rel_name = 'employee2contact';"));
  ASSERT_TRUE(db_.run("update adp_tbl_name_map set type_flags = 16 where type_id = 13;"));
  cmn_alrt_clear(nullptr);
  read_to_stream(cid, &st);
  EXPECT_EQ(st, ADP_BAD_SCHEMA_FLAGS);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_SCHEMA_FLAGS}));
  // An empty name map: an empty cache, then the first field row fails.
  ASSERT_TRUE(db_.run("delete from adp_tbl_name_map;"));
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(adp_sch_types_init(cid, nullptr), 0);
  EXPECT_EQ(adp_sch_num_types, 0);
  EXPECT_EQ(adp_sch_read_all(cid, nullptr), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_VALUE_TYPE}));
}

}  // namespace
