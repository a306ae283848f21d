// Message lists: registration, look-up order (cache, database source,
// compiled-in texts), argument descriptors and formatting.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/cmn/cmn_str.h"
#include "core/cmn/cmn_subs.h"
#include "core/core_fixture.h"
#include "core/dbg/dbg_str.h"
#include "core/loc/loc_str.h"
#include "core/bil/bil_str.h"
#include "core/bug/bug_str.h"
#include "core/cas/cas_str.h"
#include "core/prb/prb_str.h"
#include "core/vert/vert_str.h"

namespace {

// A database source that counts its calls and serves "db <id>", except for
// ids listed as missing, which it leaves null.
struct fake_db {
  int calls = 0;
  long last_con = 0;
  long missing = -1;
  long odd_id = -1;  // served odd_text instead of "db <id>"
  std::string odd_text;
  std::string store[2300];
};
fake_db* g_db = nullptr;

long fake_source(long con, long first, long last, long* count, const char** texts) {
  ++g_db->calls;
  g_db->last_con = con;
  for (long id = first; id <= last; ++id) {
    if (id == g_db->missing) continue;
    g_db->store[id - first] = id == g_db->odd_id ? g_db->odd_text : "db " + std::to_string(id);
    texts[id - first] = g_db->store[id - first].c_str();
  }
  *count = last - first + 1;
  return 0;
}

long failing_source(long, long, long, long*, const char**) { return 5; }

// cmn_subs_get, counted.
int g_subs_calls = 0;
long counting_subs(const char* name, long* number, long* first, long* range) {
  ++g_subs_calls;
  return cmn_subs_get(name, number, first, range);
}

class LocStr : public ::testing::Test {
 protected:
  void SetUp() override {
    core_restart_cmn();
    cmn_alrt_clear(nullptr);
    loc_str_install_qry_string_cb(nullptr, nullptr);
    loc_str_assert_static_strings(0);
    ASSERT_TRUE(messages_.start());
  }
  void TearDown() override {
    loc_str_install_qry_string_cb(nullptr, nullptr);
    messages_.stop();
    g_db = nullptr;
  }
  std::string printed() { return messages_.text(); }
  std::string text(long number, long index) {
    const char* t = nullptr;
    if (loc_str_get_str(number, index, &t, nullptr, nullptr) != 0) return "<failed>";
    return t != nullptr ? t : "<null>";
  }
  core_msg_capture messages_;
};

TEST_F(LocStr, CompiledTextIsFoundAndNotKept) {
  EXPECT_EQ(text(1, 24),
            "An unexpected problem occurred.  Please report circumstances to OrbisanCRM Customer Support.");
  const loc_ty_slist* slot = loc_str_slot(1);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->texts, nullptr);
  EXPECT_EQ(slot->count, 218);
  EXPECT_STREQ(slot->name, "cmn");
  EXPECT_EQ(slot->first_id, 1000);
  EXPECT_EQ(slot->last_id, 1217);
}

TEST_F(LocStr, DatabaseSourceLoadsTheListOnceAndTakesOverFromCompiledTexts) {
  fake_db db;
  g_db = &db;
  long con = 77;
  ASSERT_EQ(loc_str_install_qry_string_cb(fake_source, &con), 0);
  EXPECT_EQ(text(1, 24), "db 1024");
  EXPECT_EQ(db.calls, 1);
  EXPECT_EQ(db.last_con, 77);
  EXPECT_EQ(text(1, 3), "db 1003");
  EXPECT_EQ(text(1, 217), "db 1217");
  EXPECT_EQ(db.calls, 1);
  ASSERT_NE(loc_str_slot(1)->texts, nullptr);
  // The cache answers even after the source is gone.
  loc_str_install_qry_string_cb(nullptr, nullptr);
  EXPECT_EQ(text(1, 5), "db 1005");
  EXPECT_EQ(db.calls, 1);
}

TEST_F(LocStr, NullEntryFromTheSourceAsksAgainAndFormatsEmpty) {
  fake_db db;
  db.missing = 1009;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  EXPECT_EQ(text(1, 9), "");
  EXPECT_EQ(db.calls, 1);
  EXPECT_EQ(text(1, 9), "");
  EXPECT_EQ(db.calls, 2);
  EXPECT_EQ(text(1, 10), "db 1010");
  EXPECT_EQ(db.calls, 2);
  // An alert whose text is missing is stored with an empty text.
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100009, 1, 3L), 0);
  const char* t = nullptr;
  cmn_alrt_ith(nullptr, 0, nullptr, &t);
  EXPECT_STREQ(t, "");
}

// A database that cannot give a list (one without message texts, say) does
// not leave every alert without its text: the compiled-in text serves that
// look-up, is not kept, and the source is asked again next time. A list
// without compiled-in texts still fails.
TEST_F(LocStr, FailingSourceLeavesTheLookUpToTheCompiledTexts) {
  long con = 1;
  loc_str_install_qry_string_cb(failing_source, &con);
  EXPECT_EQ(text(1, 0), "Invalid data type %ld.");
  EXPECT_EQ(text(1, 24),
            "An unexpected problem occurred.  Please report circumstances to OrbisanCRM Customer Support.");
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100000, 1, 7L), 0);
  const char* t = nullptr;
  cmn_alrt_ith(nullptr, 0, nullptr, &t);
  EXPECT_STREQ(t, "Invalid data type 7.");
  ASSERT_EQ(cas_str_init(), 0);
  EXPECT_EQ(text(21, 0), "<failed>");
  // A callback without a connection-id word is not used.
  loc_str_install_qry_string_cb(failing_source, nullptr);
  EXPECT_EQ(text(1, 0), "Invalid data type %ld.");
  // Nothing was kept: a source that answers takes over.
  fake_db db;
  g_db = &db;
  loc_str_install_qry_string_cb(fake_source, &con);
  EXPECT_EQ(text(1, 2), "db 1002");
  EXPECT_EQ(db.calls, 1);
}

TEST_F(LocStr, InvalidNumbersAndIndexes) {
  EXPECT_EQ(text(0, 0), "<failed>");
  EXPECT_EQ(text(165, 0), "<failed>");
  EXPECT_EQ(text(1, 218), "<failed>");
  EXPECT_EQ(text(1, -1), "<failed>");
  EXPECT_EQ(text(8, 0), "<failed>");  // rem: no list registered
  EXPECT_EQ(printed(),
            "loc_str_get_str: Invalid string list id 0\n"
            "loc_str_get_str: Invalid string list id 165\n"
            "loc_str_get_str: Invalid string index 218 in subsystem 'cmn'\n"
            "loc_str_get_str: Invalid string index -1 in subsystem 'cmn'\n"
            "loc_str_get_str: String list not installed for subsystem #8\n");
}

TEST_F(LocStr, RegistrationRejectsBadNumbers) {
  EXPECT_EQ(loc_str_init_list("x", 0, 1, 2, 0, nullptr), -1);
  EXPECT_EQ(loc_str_init_list("x", 165, 1, 2, 0, nullptr), -1);
  EXPECT_EQ(loc_str_init_list("x", 164, 60700, 60701, 0, nullptr), 0);
  EXPECT_EQ(printed(),
            "loc_str_init_list: Bad id code 0 given during initialization\n"
            "loc_str_init_list: Bad id code 165 given during initialization\n");
}

TEST_F(LocStr, LongNamesAreCutAt64) {
  std::string name(100, 'n');
  ASSERT_EQ(loc_str_init_list(name.c_str(), 160, 59100, 59101, 0, nullptr), 0);
  EXPECT_EQ(std::string(loc_str_slot(160)->name), std::string(64, 'n'));
}

TEST_F(LocStr, ArgumentDescriptors) {
  static const char* const texts[5] = {"zero", "one %s", "two", "three", "four"};
  static const signed char args[4] = {0, 1, 1, 0};
  ASSERT_EQ(cmn_list_install_res_table(59100, 5, texts), 0);
  ASSERT_EQ(loc_str_init_list("BLI", 160, 59100, 59104, 2, args), 0);
  struct {
    long index, nargs, cls;
  } cases[] = {{0, 0, 1}, {1, 1, 0}, {2, -1, 2}, {4, -1, 2}};
  for (const auto& c : cases) {
    const char* t = nullptr;
    long n = 9, k = 9;
    ASSERT_EQ(loc_str_get_str(160, c.index, &t, &n, &k), 0) << c.index;
    EXPECT_EQ(n, c.nargs) << c.index;
    EXPECT_EQ(k, c.cls) << c.index;
  }
  ASSERT_EQ(loc_str_init_list("BLI", 160, 59100, 59104, 5, nullptr), 0);
  long n = 9, k = 9;
  ASSERT_EQ(loc_str_get_str(160, 1, nullptr, &n, &k), 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(k, 1);
}

TEST_F(LocStr, FormatAndFormatByMessageId) {
  char buf[64];
  ASSERT_EQ(loc_str_format_str(1, 3, sizeof buf, buf, 12L, "me"), 0);
  EXPECT_STREQ(buf, "Not enough memory to allocate 12 bytes (in 'me').");
  char small[8];
  ASSERT_EQ(loc_str_format_str(1, 3, sizeof small, small, 12L, "me"), 0);
  EXPECT_STREQ(small, "Not eno");
  ASSERT_EQ(loc_str_format_str_byresid(1025, sizeof buf, buf, 642L), 0);
  EXPECT_STREQ(buf, "Invalid class 642.");
  EXPECT_EQ(loc_str_format_str_byresid(60700, sizeof buf, buf), -1);
  EXPECT_EQ(loc_str_format_str(8, 0, sizeof buf, buf), -1);
  EXPECT_NE(printed().find("String ID not defined in orbisan system.\n"), std::string::npos);
}

// Texts from the database are formats only when they fit the argument
// descriptor of their message: reading more arguments than callers pass, or
// one argument as two types, would read past the caller's arguments. Such a
// text is not used; the compiled-in text stands in.
struct db_text_case {
  const char* text;
  bool used;
};

class LocStrDbText : public LocStr, public ::testing::WithParamInterface<db_text_case> {};

TEST_P(LocStrDbText, CheckedAgainstTheDescriptor) {
  // cmn message 3 takes two arguments: a long and a string.
  fake_db db;
  db.odd_id = 1003;
  db.odd_text = GetParam().text;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  long n = 0;
  const char* t = nullptr;
  ASSERT_EQ(loc_str_get_str(1, 3, &t, &n, nullptr), 0);
  EXPECT_EQ(n, 2);
  char buf[128];
  ASSERT_EQ(loc_str_format_str(1, 3, sizeof buf, buf, 12L, "me"), 0);
  ASSERT_EQ(cmn_alrt_push(nullptr, "t", 0x100003, 2, 12L, "me"), 0);
  if (GetParam().used) {
    EXPECT_STREQ(t, GetParam().text);
    EXPECT_EQ(printed().find("does not fit"), std::string::npos);
  } else {
    EXPECT_STREQ(t, "Not enough memory to allocate %ld bytes (in '%s').");
    EXPECT_STREQ(buf, "Not enough memory to allocate 12 bytes (in 'me').");
    EXPECT_EQ(core_top_alert_text(), "Not enough memory to allocate 12 bytes (in 'me').");
    EXPECT_NE(printed().find("loc_str_get_str: message 3 of subsystem 'cmn' does not fit its arguments; not used\n"),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LocStrDbText,
    ::testing::Values(db_text_case{"No memory: %ld bytes for '%s'.", true},
                      db_text_case{"'%s:2' could not get %ld:1 bytes.", true},
                      db_text_case{"Out of memory.", true},
                      db_text_case{"%ld bytes, '%s', then %s and %s", false},
                      db_text_case{"%ld bytes in %s, at %p", false},
                      db_text_case{"%s:1 and %ld:1", false},
                      db_text_case{"%ld:2 bytes in '%s:1'", false},
                      db_text_case{"%d bytes", false},
                      db_text_case{"%s %s", false}));

// Where the library's own text does not say how an argument is read (its
// text of the message is a stand-in), the descriptor's count decides.
TEST_F(LocStr, DescriptorCountDecidesWhereTheOwnTextIsAStandIn) {
  // A list of two messages taking two arguments each, whose own texts are a
  // stand-in without conversions and a real text.
  static const char* const own[2] = {"message 59100 (no text available)", "%ld items of '%s'"};
  static const signed char args[4] = {2, 0, 2, 0};
  ASSERT_EQ(cmn_list_install_res_table(59100, 2, own), 0);
  ASSERT_EQ(loc_str_init_list("BLI", 160, 59100, 59101, 2, args), 0);
  fake_db db;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  const struct {
    long index;
    const char* db_text;
    const char* expected;
  } cases[] = {
      {0, "%ld and %s", "5 and x"},                                      // the count allows it
      {0, "%ld, %s and %s", "message 59100 (no text available)"},      // one more than counted
      {1, "'%s:2' has %ld:1 items", "'x' has 5 items"},                // same types, reordered
      {1, "%s and %s", "5 items of 'x'"},                               // a long read as a string
  };
  for (const auto& c : cases) {
    db.odd_id = 59100 + c.index;
    db.odd_text = c.db_text;
    ASSERT_EQ(loc_str_init_list("BLI", 160, 59100, 59101, 2, args), 0);  // empties the cache
    char buf[64];
    ASSERT_EQ(loc_str_format_str(160, c.index, sizeof buf, buf, 5L, "x"), 0) << c.db_text;
    EXPECT_STREQ(buf, c.expected) << c.db_text;
  }
}

// A message beyond the descriptors, or of a list whose argument counts are
// not known, is taken as it comes.
TEST_F(LocStr, TextsWithoutADescriptorAreTakenAsTheyCome) {
  ASSERT_EQ(cas_str_init(), 0);
  fake_db db;
  db.odd_id = 5001;
  db.odd_text = "%s %s %s";
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  long n = 0;
  const char* t = nullptr;
  ASSERT_EQ(loc_str_get_str(21, 1, &t, &n, nullptr), 0);
  EXPECT_EQ(n, -1);
  EXPECT_STREQ(t, "%s %s %s");
}

// The message lists reach the subsystem table only through the procedure
// installed with the slots: a message id is found through the list that holds
// it.
TEST_F(LocStr, FormatByMessageIdThroughTheInstalledLookUp) {
  ASSERT_EQ(loc_str_install_subs(CMN_SUBS_NUM_ROWS, counting_subs), 0);
  ASSERT_EQ(cmn_str_init(), 0);
  char buf[64];
  g_subs_calls = 0;
  ASSERT_EQ(loc_str_format_str_byresid(1025, sizeof buf, buf, 642L), 0);
  EXPECT_STREQ(buf, "Invalid class 642.");
  EXPECT_EQ(g_subs_calls, 1);
  // An id of no registered list is not defined.
  EXPECT_EQ(loc_str_format_str_byresid(1300, sizeof buf, buf), -1);
  EXPECT_EQ(loc_str_format_str_byresid(999, sizeof buf, buf), -1);
  EXPECT_NE(printed().find("String ID not defined in orbisan system.\n"), std::string::npos);
}

TEST_F(LocStr, SubsystemByNameWithoutRegardToCase) {
  long found = 9, first = 0, last = 0, count = 0;
  const char** texts = nullptr;
  ASSERT_EQ(loc_str_get_subs("CMN", &found, &first, &last, &count, &texts), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(first, 1000);
  EXPECT_EQ(last, 1217);
  ASSERT_EQ(loc_str_get_subs("nosuch", &found, &first, &last, &count, &texts), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(loc_str_get_subs_proc(), &cmn_subs_get);
}

TEST_F(LocStr, ResetOnlyWithStaticStrings) {
  fake_db db;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  EXPECT_EQ(text(1, 1), "db 1001");
  EXPECT_EQ(loc_str_reset_subs(), -1);
  EXPECT_EQ(printed(), "loc_str_reset_subs: refused to prevent probable memory leak.\n");
  loc_str_assert_static_strings(1);
  EXPECT_EQ(loc_str_reset_subs(), 0);
  EXPECT_EQ(loc_str_slot(1)->texts[1], nullptr);
  EXPECT_EQ(text(1, 1), "db 1001");
  EXPECT_EQ(db.calls, 2);
}

TEST_F(LocStr, ReinstallEmptiesEverySlot) {
  ASSERT_EQ(dbg_str_init(), 0);
  ASSERT_NE(loc_str_slot(3)->first_id, -1);
  ASSERT_EQ(loc_str_install_subs(CMN_SUBS_NUM_ROWS, cmn_subs_get), 0);
  EXPECT_EQ(loc_str_slot(3)->first_id, -1);
  EXPECT_EQ(loc_str_slot(1)->first_id, -1);
  // A table asked for more slots grows.
  ASSERT_EQ(loc_str_install_subs(200, cmn_subs_get), 0);
  EXPECT_EQ(loc_str_init_list("big", 200, 1, 2, 0, nullptr), 0);
  EXPECT_NE(loc_str_slot(200), nullptr);
  ASSERT_EQ(loc_str_install_subs(CMN_SUBS_NUM_ROWS, cmn_subs_get), 0);
  EXPECT_EQ(loc_str_slot(200), nullptr);
}

TEST_F(LocStr, DumpOfTheSlotTable) {
  ASSERT_EQ(loc_str_install_subs(2, cmn_subs_get), 0);
  ASSERT_EQ(cmn_str_init(), 0);
  fake_db db;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  ASSERT_EQ(loc_str_init_list("osl", 2, 1300, 1301, 0, nullptr), 0);
  EXPECT_EQ(text(2, 0), "db 1300");
  std::string out = core_written_to([](FILE* s) { EXPECT_EQ(loc_str_dump(s, 1, "T"), 0); });
  EXPECT_EQ(out,
            " String Lists 'T' table has 2 entries:\n"
            "  SLIST #1) 'cmn' first resid=1000, last=1217\n"
            "   NULL string list collection\n"
            "  SLIST #2) 'osl' first resid=1300, last=1301\n"
            "    #1) 'db 1300'\n"
            "    #2) 'db 1301'\n");
}

TEST_F(LocStr, ModuleListsWithAndWithoutCompiledTexts) {
  ASSERT_EQ(dbg_str_init(), 0);
  ASSERT_EQ(cas_str_init(), 0);
  ASSERT_EQ(bug_str_init(), 0);
  ASSERT_EQ(prb_str_init(), 0);
  ASSERT_EQ(bil_str_init(), 0);
  ASSERT_EQ(vert_str_init(), 0);
  EXPECT_STREQ(cmn_alrt_get(0x300001), "Invalid debug topic '%ld'.\n");
  EXPECT_STREQ(cmn_alrt_get(0x30000A), "Top of PRC stack '%s' doesn't match TC mark routine '%s'.\n");
  EXPECT_STREQ(cmn_alrt_get(0x1300001), "prb message 4601 (no text available)");
  long n = 0, k = 0;
  ASSERT_EQ(cmn_alrt_get_msg_info(0x1300000, nullptr, &n, &k), 0);
  EXPECT_EQ(k, 1);
  // Database-only lists have no text before a session exists...
  EXPECT_STREQ(cmn_alrt_get(0x1500000), "CANT FIND message (but valid code)");
  EXPECT_STREQ(cmn_alrt_get(0x9B00000), "CANT FIND message (but valid code)");
  // ...and read from the database source once it is there.
  fake_db db;
  g_db = &db;
  long con = 1;
  loc_str_install_qry_string_cb(fake_source, &con);
  EXPECT_STREQ(cmn_alrt_get(0x9B00002), "db 51802");
  EXPECT_STREQ(cmn_alrt_get(0x96008BF), "db 50039");
  ASSERT_EQ(cmn_alrt_get_msg_info(0x9600001, nullptr, &n, &k), 0);
  EXPECT_EQ(k, 1);
  EXPECT_STREQ(cmn_alrt_subs_name(0x9B00000), "bil");
}

}  // namespace
