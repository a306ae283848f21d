// Locales of table_locale and the code pages of a connection, through the
// scripted service: the 32-entry list, the look-ups with the default
// fallback, the user code page, and the code page taken from the command
// line on a Unicode database.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_main.h"
#include "core/osl/osl_sys_cfg.h"
#include "kclassic/kc_loc.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

class AdpLocale : public adp_test {
 protected:
  void TearDown() override {
    osl_sys_set_cmd_args(0, nullptr);
    KCLASSIC::UtlSetThreadLocale("");
    adp_test::TearDown();
  }
  // n rows of table_locale: ids 1000 + i, all on the C locale.
  static void locale_rows(long n, const char* first = "C") {
    ds_script::result r;
    r.columns = {"win32_lcid", "crt_locale"};
    for (long i = 0; i < n; ++i) r.rows.push_back({cell::l(1000 + i), cell::t(i == 0 ? first : "C")});
    ds_script::push_result(r);
  }
  static long default_cp() { return KCLASSIC::UtlGetLocaleRef("").GetWin32CodePage(); }
};

TEST_F(AdpLocale, AtMostThirtyTwoLocalesReadOnce) {
  KAdpConnId* c = connect("oracle");
  locale_rows(33);
  ASSERT_EQ(adp_db_read_locale_data(c), 0);
  long n = 0;
  while (n < KAdpConnId::kMaxLocales && c->GetLocaleNames()[n] != nullptr) ++n;
  EXPECT_EQ(n, 32);
  EXPECT_EQ(c->GetLcids()[31], 1031);
  // A second read keeps every listed position.
  ds_script::result again;
  again.columns = {"win32_lcid", "crt_locale"};
  again.rows = {{cell::l(7), cell::t("C")}};
  ds_script::push_result(again);
  ASSERT_EQ(adp_db_read_locale_data(c), 0);
  EXPECT_EQ(c->GetLcids()[0], 1000);
  long* lcids = nullptr;
  char* const* charsets = adp_db_get_lcid_charactersetname_list(&lcids);
  EXPECT_EQ(lcids, c->GetLcids());
  EXPECT_EQ(charsets, c->GetCharsetNames());
  EXPECT_NE(charsets[0], nullptr);
}

TEST_F(AdpLocale, LookUpsFallBackToTheDefaultLocale) {
  KAdpConnId* c = connect("oracle");
  locale_rows(2);
  ASSERT_EQ(adp_db_read_locale_data(c), 0);
  KCLASSIC::KZString def_name, def_charset;
  KCLASSIC::UtlGetLocaleRef("").GetCrtLocaleName(def_name);
  KCLASSIC::UtlGetLocaleRef("").GetCharsetName(def_charset);
  const char* name = nullptr;
  ASSERT_EQ(adp_db_get_globalc_locale_name(1001, &name), 0);
  EXPECT_STREQ(name, "C");
  for (long id : {0L, 4242L}) {
    ASSERT_EQ(adp_db_get_globalc_locale_name(id, &name), 0);
    EXPECT_STREQ(name, static_cast<const char*>(def_name)) << id;
    ASSERT_EQ(adp_db_get_globalc_charset_name(id, &name), 0);
    EXPECT_STREQ(name, static_cast<const char*>(def_charset)) << id;
    long cp = 0;
    ASSERT_EQ(adp_db_get_code_page_from_lcid(id, &cp), 0);
    EXPECT_EQ(cp, default_cp()) << id;
  }
  long lcid = 0;
  ASSERT_EQ(adp_db_get_lcid_from_code_page(KCLASSIC::UtlGetLocaleRef("C").GetWin32CodePage(), &lcid), 0);
  EXPECT_EQ(lcid, 1000);
  ASSERT_EQ(adp_db_get_lcid_from_code_page(0, &lcid), 0);
  EXPECT_EQ(lcid, static_cast<long>(KCLASSIC::UtlGetLocaleRef("").GetWin32Lcid()));
}

TEST_F(AdpLocale, UserCodePages) {
  // An empty table_locale takes any code page as the only one.
  KAdpConnId* c = connect("oracle");
  ds_script::push_result({{"win32_lcid", "crt_locale"}, {}});
  ASSERT_EQ(c->SetUserCodepageId(1252), 0);
  EXPECT_EQ(c->GetConfig().GetUserCodepageId(), 1252);
  EXPECT_EQ(adp_main_user_codepage_id_get(), 1252);
  // With installed locales another code page stays out and is logged.
  KAdpConnId* d = connect("oracle");
  locale_rows(1);
  const long c_cp = KCLASSIC::UtlGetLocaleRef("C").GetWin32CodePage();
  ASSERT_EQ(d->SetUserCodepageId(c_cp), 0);
  EXPECT_EQ(d->GetConfig().GetUserCodepageId(), c_cp);
  ASSERT_EQ(d->SetUserCodepageId(4711), 0);
  EXPECT_EQ(d->GetConfig().GetUserCodepageId(), c_cp);
  EXPECT_NE(file_text("server.log").find("4711 is invalid Codepage Id, Installed Codepage Ids are\n"),
            std::string::npos)
      << file_text("server.log");
  char is_default = 9;
  ASSERT_EQ(adp_main_is_codepage_sys_default(&is_default), 0);
  EXPECT_EQ(is_default, c_cp == default_cp() ? 1 : 0);
}

TEST_F(AdpLocale, CommandLineCodePageOnAUnicodeDatabase) {
  KAdpConnId* c = connect("oracle");
  c->GetHeader()->flags = 0x40;
  c->SetUTF8Flag(1);
  // "-lcid" without a value changes nothing.
  char arg0[] = "prog", arg1[] = "-lcid";
  char* argv[] = {arg0, arg1, nullptr};
  osl_sys_set_cmd_args(2, argv);
  ds_script::push_result({{"win32_lcid", "crt_locale"}, {}});
  const long before = c->GetConfig().GetUserCodepageId();
  ASSERT_EQ(adp_main_set_cmdline_codepage(), 0);
  EXPECT_EQ(c->GetUTF8Flag(), 1);
  EXPECT_EQ(c->GetConfig().GetUserCodepageId(), before);
  // "-unicode": the UTF-8 locale and its code page.
  char arg2[] = "-unicode";
  char* argv2[] = {arg0, arg2, nullptr};
  osl_sys_set_cmd_args(2, argv2);
  c->SetUTF8Flag(0);
  ASSERT_EQ(adp_main_set_cmdline_codepage(), 0);
  EXPECT_EQ(c->GetUTF8Flag(), 1);
  KCLASSIC::KZString thread;
  KCLASSIC::UtlGetThreadLocale().GetCrtLocaleName(thread);
  EXPECT_STREQ(static_cast<const char*>(thread), "language_neutral.UTF-8@Default");
  // Not a Unicode database: nothing happens.
  c->GetHeader()->flags = 0;
  c->SetUTF8Flag(0);
  ASSERT_EQ(adp_main_set_cmdline_codepage(), 0);
  EXPECT_EQ(c->GetUTF8Flag(), 0);
}

}  // namespace
