// Number generation by scheme on the CRM rig with the server's clock set:
// templates, zero fill, the counter, deadlock retries, the cache, remote
// forms and the fuzz of the two formatters.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "client/crm_rig.h"
#include "client/gen/gen_num.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_time.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

class gen_num_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    static bool registered = false;
    if (!registered) {
      registered = true;
      ASSERT_EQ(gen_str_init(), 0);
    }
    clk_time_adjust_reset();
    clk_time_set_adjust_client(0);  // dates from the CRM clock
  }
  void TearDown() override {
    clk_time_adjust_reset();
    oab_db_cfg_inval_cache();
    gen_num_term();
    crm_test::TearDown();
  }
  // Scheme names are unique per test: the cache lives as long as the process.
  static std::string scheme(const std::string& templ, long zero_fill, long width, long next) {
    static long number = 0;
    ++number;
    std::string name = "scheme" + std::to_string(number);
    row(S_SCHEME, number, {{1, name}, {2, templ}, {6, width}, {7, zero_fill}, {8, next}});
    last_ = number;
    return name;
  }
  static std::string counter() { return adp_mem::field_text({S_SCHEME, last_, 0}, 8); }
  static long last_;
};
long gen_num_test::last_ = 0;

// The year and month of the CRM clock now, as "%y%m" gives them.
std::string year_month() {
  clktime now{};
  clk_time_get(&now);
  clk_ty_cmp cmp{};
  clk_time_to_cmp_adj(0, &now, &cmp);
  char text[64];
  std::snprintf(text, sizeof text, "%02ld%02ld", cmp.year % 100, (cmp.month + 1) % 100);
  return text;
}

TEST_F(gen_num_test, DatePartsOfTheExample) {
  char out[32];
  ASSERT_EQ(gen_num_format_date("CS%y%m-00042", 7, 3, 2004, sizeof out, out), 0);
  EXPECT_STREQ(out, "CS0403-00042");
  ASSERT_EQ(gen_num_format_date("%d/%m/%Y %x%%", 7, 3, 2004, sizeof out, out), 0);
  EXPECT_STREQ(out, "07/03/2004 x%");
  ASSERT_EQ(gen_num_format_date("%Y", 7, 3, 2004, 3, out), 0);
  EXPECT_STREQ(out, "20");
}

TEST_F(gen_num_test, TemplatesTakeTheNumberAndTheDate) {
  const std::string cs = "CS" + year_month() + "-00042";
  const struct {
    const char* templ;
    long zero_fill;
    long width;
    const char* expected;
  } rows[] = {
      {"CS%y%m-%i", 1, 5, cs.c_str()},
      {"N-%i", 0, 5, "N-42"},
      {"FIXED", 1, 5, "FIXED"},
      {"%i/%i", 0, 0, "42/42"},
      {"%%i", 0, 0, "42"},  // "%i" first, then "%4" reads "4"
      {"%q%", 0, 0, "q%"},
  };
  for (const auto& r : rows) {
    std::string name = scheme(r.templ, r.zero_fill, r.width, 42);
    char out[64];
    long code = 0;
    const char* why = nullptr;
    ASSERT_EQ(gen_num_gen(name.c_str(), sizeof out, out), 0) << r.templ << (cmn_alrt_top(nullptr, &code, &why), why);
    EXPECT_STREQ(out, r.expected) << r.templ;
    EXPECT_EQ(counter(), "43") << r.templ;
  }
}

TEST_F(gen_num_test, AResultLongerThanItsBufferIsRefusedAndTheNumberSpent) {
  std::string name = scheme("CS%y%m-%i", 1, 5, 42);
  char out[16];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(gen_num_gen(name.c_str(), 12, out), GEN_NUM_TOO_LONG);  // 12 characters and the NUL
  for (char c : out) EXPECT_EQ(c, '#');
  EXPECT_EQ(counter(), "43");
  ASSERT_EQ(gen_num_gen(name.c_str(), 13, out), 0);
  EXPECT_EQ(std::string(out), "CS" + year_month() + "-00043");
}

TEST_F(gen_num_test, AnUnknownSchemeMovesNothing) {
  char out[8] = "keep";
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(gen_num_gen("no such scheme", sizeof out, out), GEN_NO_SCHEME);
  EXPECT_STREQ(out, "keep");
  long code = 0;
  const char* text = nullptr;
  cmn_alrt_top(nullptr, &code, &text);
  EXPECT_EQ(code, GEN_NO_SCHEME);
  EXPECT_NE(std::string(text).find("no such scheme"), std::string::npos) << text;
  EXPECT_EQ(adp_double::uses("adp_obj_incr_field"), 0);
}

TEST_F(gen_num_test, ASchemeIsReadFromTheDatabaseOnce) {
  std::string name = scheme("%i", 0, 0, 1);
  char out[16];
  ASSERT_EQ(gen_num_gen(name.c_str(), sizeof out, out), 0);
  long queries = calls("adp_qry_simple");
  ASSERT_EQ(adm_num_gen(name.c_str(), sizeof out, out), 0);
  EXPECT_STREQ(out, "2");
  EXPECT_EQ(calls("adp_qry_simple"), queries);
}

TEST_F(gen_num_test, DeadlocksAreRetriedTenTimesOutsideATransactionOnly) {
  std::string name = scheme("%i", 0, 0, 42);
  char out[16] = "keep";
  adp_double::fail_from("adp_obj_incr_field", 1, GEN_DEADLOCK);
  long st = 0;
  std::string text = messages([&] { st = gen_num_gen(name.c_str(), sizeof out, out); });
  EXPECT_EQ(st, GEN_DEADLOCK);
  EXPECT_STREQ(out, "keep");
  EXPECT_EQ(adp_double::uses("adp_obj_incr_field"), 11);
  std::string expected;
  for (long i = 0; i <= 10; ++i) {
    expected += "gen_num_gen: deadlock generating new number\n";
    if (i < 10) expected += "TRYING number generation again (" + std::to_string(i) + ")\n";
  }
  EXPECT_EQ(text, expected);
  // Inside an application transaction: no retry.
  adp_double::fail_from("adp_obj_incr_field", 1, GEN_DEADLOCK);
  adp_store::st().trn_level = 1;
  text = messages([&] { st = gen_num_gen(name.c_str(), sizeof out, out); });
  adp_store::st().trn_level = 0;
  EXPECT_EQ(st, GEN_DEADLOCK);
  EXPECT_EQ(text, "gen_num_gen: deadlock generating new number\n");
  // Three deadlocks, then the number.
  adp_double::fail_from("adp_obj_incr_field", 1, GEN_DEADLOCK);
  adp_double::fail_from("adp_obj_incr_field", 4, 0);
  ASSERT_EQ(gen_num_gen(name.c_str(), sizeof out, out), 0);
  EXPECT_STREQ(out, "42");
}

TEST_F(gen_num_test, RemoteNodesNameThemselvesWithoutTouchingTheCachedTemplate) {
  std::string marked = scheme("<MARKER123CS-%i", 0, 0, 5);
  std::string cut = scheme("CS-%i:rest", 0, 0, 7);
  adp_store::st().is_remote = 1;
  adp_store::st().remote_id = "N7";
  char out[32];
  ASSERT_EQ(gen_num_gen(marked.c_str(), sizeof out, out), 0);
  EXPECT_STREQ(out, "N7:CS-5");
  ASSERT_EQ(gen_num_gen(cut.c_str(), sizeof out, out), 0);
  EXPECT_STREQ(out, "CS-7:N7");
  adp_store::st().is_remote = 0;
  ASSERT_EQ(gen_num_gen(cut.c_str(), sizeof out, out), 0);
  EXPECT_STREQ(out, "CS-8:rest");  // the cached template is whole
}

TEST_F(gen_num_test, TheSubcaseSchemesTemplateTellsItsFormat) {
  // The "cas" list's message 5047 names the subcase scheme.
  static const char* texts[48];
  static signed char args[96];
  for (const char*& t : texts) t = "";
  texts[47] = "subcase scheme";
  ASSERT_EQ(cmn_list_install_res_table(5000, 48, texts), 0);
  ASSERT_EQ(loc_str_init_list("cas", 21, 5000, 5047, 48, args), 0);
  unsigned char flag = 9;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(gen_num_get_subcase_format(&flag), GEN_NO_SCHEME);
  EXPECT_EQ(flag, 1);
  row(S_SCHEME, 900, {{1, std::string("subcase scheme")}, {2, std::string("<MARKER123%i")}});
  ASSERT_EQ(gen_num_get_subcase_format(&flag), 0);
  EXPECT_EQ(flag, 0);
}

TEST_F(gen_num_test, SeededFuzzOfTheFormattersWritesNothingPastTheSize) {
  std::mt19937 rng(20260311);
  const std::string alphabet = "%imdyYq-: 0123456789abc";
  for (int round = 0; round < 3000; ++round) {
    std::string templ;
    long length = static_cast<long>(rng() % 40);
    for (long i = 0; i < length; ++i) templ += alphabet[rng() % alphabet.size()];
    long size = static_cast<long>(rng() % 48);
    std::vector<char> buf(static_cast<size_t>(size) + 16, '#');
    long number = static_cast<long>(rng() % 100000) - 50000;
    long st = gen_num_substitute(templ.c_str(), number, rng() % 2, static_cast<long>(rng() % 12), size, buf.data());
    for (size_t i = static_cast<size_t>(size); i < buf.size(); ++i) ASSERT_EQ(buf[i], '#') << templ << " " << size;
    if (st == 0) {
      ASSERT_LT(std::strlen(buf.data()), static_cast<size_t>(size)) << templ;
    } else {
      ASSERT_EQ(st, GEN_NUM_TOO_LONG);
      for (size_t i = 0; i < static_cast<size_t>(size); ++i) ASSERT_EQ(buf[i], '#');  // untouched
    }
    std::fill(buf.begin(), buf.end(), '#');
    ASSERT_EQ(gen_num_format_date(templ.c_str(), 7, 3, 2004, size, buf.data()), 0);
    for (size_t i = static_cast<size_t>(size); i < buf.size(); ++i) ASSERT_EQ(buf[i], '#') << templ << " " << size;
    if (size > 0) {
      ASSERT_LT(std::strlen(buf.data()), static_cast<size_t>(size));
    }
  }
  cmn_alrt_clear(nullptr);
}

}  // namespace

namespace {

// The list also carries the names the application services' coded fields
// read from it: the condition codes and the "Upgrade" activity.
TEST_F(gen_num_test, TheListCarriesTheNamesOtherModulesRead) {
  constexpr long kBase = 0x1D00000;
  const struct {
    long index;
    const char* text;
  } rows[] = {{163, "New"},        {164, "Open"},    {165, "Closed"},
              {166, "Dispatched"}, {167, "Rejected"}, {168, "Forwarded"},
              {169, "No Link"},    {170, "Temporarily Opened"}, {171, "Returned"},
              {247, "Upgrade"}};
  for (const auto& r : rows) {
    const char* text = nullptr;
    ASSERT_EQ(cmn_alrt_get_msg(kBase + r.index, &text), 0) << r.index;
    EXPECT_STREQ(text, r.text) << r.index;
  }
}

}  // namespace
