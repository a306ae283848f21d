// The client as a host drives it: the program links liborbisan.so alone (no
// static part of the client) and reaches it only through its exported
// calls; the client logs in to a CRM database of the test's own on the run's MariaDB server through
// the Oracle-dialect service, and what it wrote checked with plain SQL.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_rel.h"
#include "client/cpi_sess.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "core/cmn/cmn_dec.h"
#include "testdb/testdb_database.h"

namespace {

constexpr char kLogin[] = "orbisan";
constexpr char kPassword[] = "orbisan-demo";
constexpr char kDatabase[] = "crm";
constexpr long kDuplicateKey = 0x70002c;
constexpr long kSessionExists = 0x2c00005;
constexpr long kNoSession = 0x2c0000a;
constexpr char kNoText[] = "Cannot get message for code";
constexpr long kRelate = 1;
constexpr char kAscending = 1;
// Delete flags: bit 0 deletes the row at once, bit 1 keeps the handle (with
// bit 0) or leaves the delete to the commit (without it).
constexpr long kDeleteNow = 0;
constexpr long kDeleteForce = 1;
constexpr long kDeleteAtCommit = 2;
constexpr long kDeleteForceKeep = 3;

// Seconds since the epoch of a "MM/DD/YYYY HH:MI:SS" text; -1 when it is none.
long long seconds_of(const std::string& text) {
  std::tm t{};
  if (strptime(text.c_str(), "%m/%d/%Y %H:%M:%S", &t) == nullptr) return -1;
  return static_cast<long long>(timegm(&t));
}

class ClientOnMariaDb : public ::testing::Test {
 protected:
  void SetUp() override {
    // The service by its path, so that the adapter's load by the plain
    // library name finds it loaded; it takes the class library from the
    // client's exports.
    static void* service = dlopen(ORB_DATASVC_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(service, nullptr) << dlerror();
    ASSERT_FALSE(db_.socket().empty()) << db_.problem();
    ASSERT_TRUE(db_.create());
    ASSERT_TRUE(db_.load("crm_fixture.sql"));
    ASSERT_TRUE(db_.load(std::string(ORBISAN_SOURCE_DIR) + "/tools/demo/demo_crm.sql"));
    ASSERT_TRUE(db_.load("crm_objects.sql"));
    ASSERT_TRUE(db_.load("crm_client.sql"));
    // The application user is also a database account, as the CRM has it.
    ASSERT_TRUE(db_.run(std::string("create user if not exists '") + kLogin + "'@'localhost' identified by '" +
                        kPassword + "'\n/\ngrant all on `" + db_.name() + "`.* to '" + kLogin + "'@'localhost'"));
    setenv("db_driver", "oracle", 1);
    setenv("ORB_MARIADB_DATABASE", db_.name().c_str(), 1);
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/cpi_host.XXXXXX";
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    ASSERT_NE(mkdtemp(name.data()), nullptr) << templ;
    cache_ = name.data();
  }

  void TearDown() override {
    if (con_ != 0) {
      EXPECT_EQ(cpi_sess_logout(con_), 0) << alerts();
    }
    con_ = 0;
    if (!cache_.empty()) std::filesystem::remove_all(cache_);
  }

  long login(const char* password = kPassword) {
    return cpi_sess_login_with_options(db_.socket().c_str(), kDatabase, kLogin, password, 0, &con_, cache_.c_str());
  }

  // The alert stack as the client prints it; the stack is left empty.
  std::string alerts() {
    std::FILE* f = std::tmpfile();
    if (f == nullptr) return "(no temporary file)";
    cpi_alert_print(f, 0);
    std::rewind(f);
    std::string text;
    char buf[512];
    while (size_t n = std::fread(buf, 1, sizeof buf, f)) text.append(buf, n);
    std::fclose(f);
    cpi_alert_clear();
    return text;
  }

  long new_state() {
    long state = 0;
    EXPECT_EQ(cpi_state_create(con_, 0, &state), 0) << alerts();
    return state;
  }

  void* create(long state, const char* type) {
    void* o = nullptr;
    EXPECT_EQ(cpi_obj_create(state, type, 0, &o), 0) << alerts();
    return o;
  }

  void set_text(void* o, const char* field, const char* text) {
    EXPECT_EQ(cpi_obj_set_field(o, field, text, 0), 0) << field << ": " << alerts();
  }

  // A decimal from its text ("42.75": four digits, two after the point).
  void set_decimal(void* o, const char* field, const char* text) {
    cmn_ty_decimal d{};
    std::snprintf(d.text, sizeof d.text, "%s", text);
    const char* point = std::strchr(text, '.');
    d.scale = point != nullptr ? static_cast<long>(std::strlen(point + 1)) : 0;
    d.precision = static_cast<long>(std::strlen(text)) - (point != nullptr ? 1 : 0);
    EXPECT_EQ(cpi_obj_set_field(o, field, &d, 0), 0) << field << ": " << alerts();
  }

  // A new ticket in the state with its title, opening date and amount.
  void* ticket(long state, const char* title, const char* opened, const char* amount) {
    void* t = create(state, "ticket");
    if (t == nullptr) return nullptr;
    set_text(t, "title", title);
    set_text(t, "opened", opened);
    set_decimal(t, "amount", amount);
    return t;
  }

  // A new ticket with a note (foreign key) and a tag (link table) related
  // to it in the state.
  struct ticket_set {
    void* ticket = nullptr;
    void* note = nullptr;
    void* tag = nullptr;
    bool made() const { return ticket != nullptr && note != nullptr && tag != nullptr; }
  };
  ticket_set related(long state, const char* title, const char* amount, const char* note, const char* label) {
    ticket_set r{ticket(state, title, "05/06/2004 10:11:12", amount), create(state, "note"), create(state, "tag")};
    if (!r.made()) return r;
    set_text(r.note, "text", note);
    set_text(r.tag, "label", label);
    EXPECT_EQ(cpi_rel_objs(state, r.note, r.ticket, "note2ticket", kRelate), 0) << alerts();
    EXPECT_EQ(cpi_rel_objs(state, r.ticket, r.tag, "ticket2tag", kRelate), 0) << alerts();
    return r;
  }

  // The object of the type with that id, read into the state by a one-level
  // traversal; *result keeps it until the caller frees the result.
  void* fetch(long state, const char* type, long id, cpi_ty_qry_result** result) {
    const std::string number = std::to_string(id);
    cpi_ty_fcond by_id{CPI_OP_EQUAL, "objid", number.c_str()};
    cpi_ty_trav_map map;
    cpi_qry_trav_map_init(1, &map);
    map.type_name = type;
    map.cond_count = 1;
    map.conds = &by_id;
    *result = nullptr;
    EXPECT_EQ(cpi_qry_traverse_map(con_, state, nullptr, 1, &map, 0, result), 0) << alerts();
    long n = 0;
    void** objects = nullptr;
    if (*result == nullptr || cpi_qry_get_result(*result, 0, 0, &n, &objects) != 0 || n != 1) return nullptr;
    return objects[0];
  }

  long id_of(void* o) {
    cpi_ty_objid id{};
    long saved = 0;
    EXPECT_EQ(cpi_obj_id(o, &id, &saved, nullptr, nullptr), 0) << alerts();
    return id.id_number;
  }

  std::string text_of(void* o, const char* field) {
    const char* text = nullptr;
    EXPECT_EQ(cpi_obj_get_field(o, field, 0, &text, nullptr), 0) << field << ": " << alerts();
    return text != nullptr ? text : "<null>";
  }

  std::string sql(const std::string& query) {
    testdb::rows r = db_.query(query);
    std::string all;
    for (const auto& row : r) {
      for (size_t i = 0; i < row.size(); ++i) all += (i > 0 ? "," : "") + row[i];
      all += ";";
    }
    return all;
  }

  // The titles of level 0 and the note texts of level 1 of a traversal.
  struct levels {
    std::string tickets;
    std::string notes;
  };
  levels traverse(long state, const std::vector<cpi_ty_fcond>& ticket_conds,
                  const std::vector<cpi_ty_fcond>& note_conds) {
    cpi_ty_trav_map maps[2];
    cpi_qry_trav_map_init(2, maps);
    cpi_ty_forder by_title{"title", kAscending};
    cpi_ty_forder by_text{"text", kAscending};
    maps[0].type_name = "ticket";
    maps[0].cond_count = static_cast<int32_t>(ticket_conds.size());
    maps[0].conds = const_cast<cpi_ty_fcond*>(ticket_conds.data());
    maps[0].order_count = 1;
    maps[0].orders = &by_title;
    maps[1].kind = 0;
    maps[1].parent = 0;
    maps[1].rel_name = "ticket2note";
    maps[1].cond_count = static_cast<int32_t>(note_conds.size());
    maps[1].conds = const_cast<cpi_ty_fcond*>(note_conds.data());
    maps[1].order_count = 1;
    maps[1].orders = &by_text;
    cpi_ty_qry_result* r = nullptr;
    levels out;
    long st = cpi_qry_traverse_map(con_, state, nullptr, 2, maps, 0, &r);
    EXPECT_EQ(st, 0) << alerts();
    if (st != 0 || r == nullptr) return out;
    out.tickets = texts(r, 0, "title");
    out.notes = texts(r, 1, "text");
    EXPECT_EQ(cpi_qry_free_results(r), 0);
    return out;
  }

  std::string texts(cpi_ty_qry_result* r, long level, const char* field) {
    long n = 0;
    void** objects = nullptr;
    EXPECT_EQ(cpi_qry_get_result(r, level, 0, &n, &objects), 0) << alerts();
    std::string all;
    for (long i = 0; i < n; ++i) all += text_of(objects[i], field) + ";";
    return all;
  }

  testdb::database db_;
  std::string cache_;
  long con_ = 0;
};

TEST_F(ClientOnMariaDb, AWrongPasswordIsRefusedAndLeavesNoSession) {
  EXPECT_NE(login("not-the-password"), 0);
  EXPECT_EQ(con_, 0);
  const std::string refused = alerts();
  EXPECT_NE(refused, "");
  EXPECT_EQ(refused.find(kNoText), std::string::npos) << refused;
  ASSERT_EQ(login(), 0) << alerts();
  EXPECT_NE(con_, 0);
  long second = 0;
  EXPECT_EQ(cpi_sess_login(db_.socket().c_str(), kDatabase, kLogin, kPassword, 0, &second), kSessionExists);
  cpi_alert_clear();
}

TEST_F(ClientOnMariaDb, ALoginLeavesNoAlertBehind) {
  ASSERT_EQ(login(), 0) << alerts();
  EXPECT_EQ(alerts(), "  (0 entries):\n");
}

TEST_F(ClientOnMariaDb, CreateAndRelateInAStateAndCommit) {
  ASSERT_EQ(login(), 0) << alerts();
  const std::string ids_before = sql("select type_id, obj_num from adp_tbl_oid where type_id in (40, 41, 42) "
                                     "order by type_id");
  ASSERT_EQ(ids_before, "40,3;41,3;42,1;");
  long state = new_state();
  const ticket_set made = related(state, "Monitor dead", "42.75", "fan noise", "urgent");
  ASSERT_TRUE(made.made());
  EXPECT_EQ(sql("select count(*) from table_ticket"), "3;");  // nothing before the commit
  ASSERT_EQ(cpi_state_commit(state), 0) << alerts();
  const long ticket_id = id_of(made.ticket), note_id = id_of(made.note), tag_id = id_of(made.tag);
  EXPECT_EQ(ticket_id, 4);
  EXPECT_EQ(note_id, 4);
  EXPECT_EQ(tag_id, 2);
  EXPECT_EQ(sql("select title, date_format(opened, '%m/%d/%Y %H:%i:%s'), amount from table_ticket where objid = " +
                std::to_string(ticket_id)),
            "Monitor dead,05/06/2004 10:11:12,42.75;");
  EXPECT_EQ(sql("select text, note2ticket from table_note where objid = " + std::to_string(note_id)),
            "fan noise," + std::to_string(ticket_id) + ";");
  EXPECT_EQ(sql("select label from table_tag where objid = " + std::to_string(tag_id)), "urgent;");
  EXPECT_EQ(sql("select ticket2tag, tag2ticket from mtm_ticket2_tag0 order by ticket2tag"),
            "1,1;" + std::to_string(ticket_id) + "," + std::to_string(tag_id) + ";");
  // Each id is the next of its type's counter; the counters have moved past
  // them (the client reserves ids in blocks).
  const testdb::rows counters =
      db_.query("select obj_num from adp_tbl_oid where type_id in (40, 41, 42) order by type_id");
  ASSERT_EQ(counters.size(), 3u);
  EXPECT_GE(std::stol(counters[0][0]), ticket_id);
  EXPECT_GE(std::stol(counters[1][0]), note_id);
  EXPECT_GE(std::stol(counters[2][0]), tag_id);
  EXPECT_EQ(cpi_state_rollback(state), 0);
}

// One traversal case: the tickets' conditions, the notes' conditions, the
// titles found at level 0 and the notes found under them at level 1.
struct traversal_case {
  const char* name;
  std::vector<cpi_ty_fcond> tickets;
  std::vector<cpi_ty_fcond> notes;
  const char* titles;
  const char* texts;
};

const std::vector<traversal_case>& traversal_cases() {
  static const std::vector<traversal_case> cases = {
      {"equals", {{CPI_OP_EQUAL, "title", "Printer jams"}}, {}, "Printer jams;", "paper path;toner low;"},
      {"starts with", {{CPI_OP_STARTS_WITH, "title", "Printer"}}, {},
       "Printer jams;Printer offline;", "paper path;toner low;cable loose;"},
      {"is in", {{CPI_OP_IN, "count", "(1, 3)"}}, {}, "Printer jams;Screen flickers;", "paper path;toner low;"},
      {"date", {{CPI_OP_LESS, "opened", "03/15/2004 00:00:00"}}, {}, "Printer jams;Screen flickers;",
       "paper path;toner low;"},
      {"decimal", {{CPI_OP_GREATER, "amount", "120.49"}}, {}, "Printer jams;Screen flickers;",
       "paper path;toner low;"},
      {"decimal below", {{CPI_OP_LESS, "amount", "120.50"}}, {}, "Printer offline;", "cable loose;"},
      {"notes equal", {{CPI_OP_STARTS_WITH, "title", "Printer"}}, {{CPI_OP_EQUAL, "text", "cable loose"}},
       "Printer jams;Printer offline;", "cable loose;"},
      {"all at once",
       {{CPI_OP_STARTS_WITH, "title", "Pr"},
        {CPI_OP_IN, "title", "'Printer jams', 'Printer offline'"},
        {CPI_OP_LESS, "opened", "03/15/2004 00:00:00"},
        {CPI_OP_GREATER_EQUAL, "amount", "120.5"}},
       {{CPI_OP_EQUAL, "text", "toner low"}}, "Printer jams;", "toner low;"},
  };
  return cases;
}

TEST_F(ClientOnMariaDb, TwoLevelTraversals) {
  ASSERT_EQ(login(), 0) << alerts();
  long state = new_state();
  for (const traversal_case& k : traversal_cases()) {
    SCOPED_TRACE(k.name);
    levels got = traverse(state, k.tickets, k.notes);
    EXPECT_EQ(got.tickets, k.titles);
    EXPECT_EQ(got.notes, k.texts);
  }
  EXPECT_EQ(cpi_state_rollback(state), 0);
}

TEST_F(ClientOnMariaDb, UpdateWritesTheChangedFields) {
  ASSERT_EQ(login(), 0) << alerts();
  long state = new_state();
  cpi_ty_qry_result* found = nullptr;
  void* t = fetch(state, "ticket", 2, &found);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(text_of(t, "title"), "Printer offline");
  set_decimal(t, "amount", "99.99");
  set_text(t, "opened", "12/31/2004 23:59:58");
  EXPECT_EQ(cpi_obj_update(state, t, 0), 0) << alerts();
  ASSERT_EQ(cpi_state_commit(state), 0) << alerts();
  EXPECT_EQ(sql("select title, date_format(opened, '%m/%d/%Y %H:%i:%s'), amount from table_ticket where objid = 2"),
            "Printer offline,12/31/2004 23:59:58,99.99;");
  EXPECT_EQ(sql("select count(*) from table_ticket where amount = 99.99"), "1;");
  EXPECT_EQ(cpi_qry_free_results(found), 0);
  EXPECT_EQ(cpi_state_rollback(state), 0);
}

TEST_F(ClientOnMariaDb, DeleteByEachFlag) {
  ASSERT_EQ(login(), 0) << alerts();
  struct delete_case {
    long flags;
    const char* label;
    bool gone_before_commit;
    bool handle_kept;
  };
  const delete_case cases[] = {{kDeleteNow, "now", true, false},
                               {kDeleteForce, "forced", true, false},
                               {kDeleteAtCommit, "at commit", false, true},
                               {kDeleteForceKeep, "forced, kept", true, true}};
  long made = new_state();
  std::vector<void*> tags;
  for (const delete_case& k : cases) {
    void* g = create(made, "tag");
    ASSERT_NE(g, nullptr);
    set_text(g, "label", k.label);
    tags.push_back(g);
  }
  ASSERT_EQ(cpi_state_commit(made), 0) << alerts();
  std::vector<long> ids;
  for (void* g : tags) ids.push_back(id_of(g));
  EXPECT_EQ(cpi_state_rollback(made), 0);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const delete_case& k = cases[i];
    SCOPED_TRACE(k.label);
    const std::string row = "select count(*) from table_tag where objid = " + std::to_string(ids[i]);
    long state = new_state();
    cpi_ty_qry_result* found = nullptr;
    void* g = fetch(state, "tag", ids[i], &found);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(cpi_obj_delete(state, g, k.flags), 0) << alerts();
    EXPECT_EQ(sql(row), k.gone_before_commit ? "0;" : "1;");
    if (k.handle_kept) {
      EXPECT_EQ(text_of(g, "label"), k.label);
    }
    ASSERT_EQ(cpi_state_commit(state), 0) << alerts();
    EXPECT_EQ(sql(row), "0;");
    EXPECT_EQ(cpi_qry_free_results(found), 0);
    EXPECT_EQ(cpi_state_rollback(state), 0);
  }
  EXPECT_EQ(sql("select label from table_tag order by objid"), "hardware;");
}

TEST_F(ClientOnMariaDb, ASchemeGivesItsNextNumberAndMovesItsCounterByOne) {
  ASSERT_EQ(login(), 0) << alerts();
  ASSERT_EQ(sql("select next_value from table_num_scheme where name = 'Site ID'"), "3;");
  char number[32] = "";
  ASSERT_EQ(cpi_utl_num_gen("Site ID", sizeof number, number), 0) << alerts();
  EXPECT_STREQ(number, "S-0003");
  EXPECT_EQ(sql("select next_value from table_num_scheme where name = 'Site ID'"), "4;");
  ASSERT_EQ(cpi_utl_num_gen("Site ID", sizeof number, number), 0) << alerts();
  EXPECT_STREQ(number, "S-0004");
  EXPECT_EQ(sql("select next_value from table_num_scheme where name = 'Site ID'"), "5;");
}

TEST_F(ClientOnMariaDb, ADuplicateKeyFailsTheCommitWritesNothingAndTheStateGoesOn) {
  ASSERT_EQ(login(), 0) << alerts();
  const char* everything = "select (select count(*) from table_ticket), (select count(*) from table_note), "
                           "(select count(*) from table_tag), (select count(*) from mtm_ticket2_tag0)";
  const std::string before = sql(everything);
  ASSERT_EQ(before, "3,3,1,1;");
  long state = new_state();
  const ticket_set made = related(state, "Printer jams", "1.00", "same again", "dup");
  ASSERT_TRUE(made.made());
  EXPECT_EQ(cpi_state_commit(state), kDuplicateKey);
  const std::string refused = alerts();
  EXPECT_EQ(refused.find(kNoText), std::string::npos) << refused;
  // Both alerts carry their texts: the store's, naming type and field, and
  // the adapter's with the server's reason.
  EXPECT_NE(refused.find("A 'ticket' with the same 'title' already exists in the database. (0x70002c)"),
            std::string::npos) << refused;
  EXPECT_NE(refused.find("unique constraint"), std::string::npos) << refused;
  EXPECT_NE(refused.find("IDX_TICKET_TITLE) violated (0x600036)"), std::string::npos) << refused;
  EXPECT_EQ(sql(everything), before);
  // The same state commits once the title is unique.
  set_text(made.ticket, "title", "Printer jams again");
  ASSERT_EQ(cpi_state_commit(state), 0) << alerts();
  EXPECT_EQ(sql(everything), "4,4,2,2;");
  EXPECT_EQ(sql("select n.text from table_note n join table_ticket t on n.note2ticket = t.objid "
                "where t.title = 'Printer jams again'"),
            "same again;");
  EXPECT_EQ(cpi_state_rollback(state), 0);
}

TEST_F(ClientOnMariaDb, TheCurrentTimeIsTheServers) {
  ASSERT_EQ(login(), 0) << alerts();
  char text[CPI_TIME_TEXT_SIZE] = "";
  const long long before = seconds_of(sql("select date_format(sysdate(), '%m/%d/%Y %H:%i:%s')").substr(0, 19));
  ASSERT_EQ(cpi_utl_current_time(text), 0) << alerts();
  const long long after = seconds_of(sql("select date_format(sysdate(), '%m/%d/%Y %H:%i:%s')").substr(0, 19));
  const long long now = seconds_of(text);
  ASSERT_GE(before, 0);
  ASSERT_GE(now, 0) << text;
  EXPECT_GE(now, before - 1) << text;
  EXPECT_LE(now, after + 1) << text;
}

TEST_F(ClientOnMariaDb, LogoutThenLoginAgainServesTheSameTraversal) {
  const traversal_case& all = traversal_cases().back();
  levels first;
  for (int session = 0; session < 2; ++session) {
    SCOPED_TRACE(session);
    ASSERT_EQ(login(), 0) << alerts();
    long state = new_state();
    levels got = traverse(state, all.tickets, all.notes);
    EXPECT_EQ(got.tickets, all.titles);
    EXPECT_EQ(got.notes, all.texts);
    EXPECT_EQ(cpi_state_rollback(state), 0);
    const char* text = nullptr;
    EXPECT_EQ(cpi_utl_get_msg(kDuplicateKey, 0, &text), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text).find(kNoText), std::string::npos) << text;
    EXPECT_EQ(cpi_sess_logout(con_), 0) << alerts();
    con_ = 0;
  }
}

}  // namespace

namespace {

std::string message(long code) {
  const char* text = nullptr;
  if (cpi_utl_get_msg(code, 0, &text) != 0 || text == nullptr) return "<none>";
  return text;
}

// With the message texts in the database, the client's texts come from it
// while a session is open, and from the library's own tables after logout.
TEST_F(ClientOnMariaDb, TextsComeFromTheDatabaseWhileLoggedIn) {
  ASSERT_TRUE(db_.load("crm_texts.sql"));
  const std::string own =
      "A login session must be established using 'cpi_sess_login' before using session option routines.\n";
  for (int session = 0; session < 2; ++session) {
    SCOPED_TRACE(session);
    ASSERT_EQ(login(), 0) << alerts();
    EXPECT_EQ(message(kNoSession), "Database text 10610");
    EXPECT_EQ(message(kSessionExists), "Database text 10605");
    EXPECT_EQ(cpi_sess_logout(con_), 0) << alerts();
    con_ = 0;
    EXPECT_EQ(message(kNoSession), own);
  }
}

}  // namespace
