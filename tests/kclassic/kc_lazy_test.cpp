// The locale registry starts the multibyte library itself on first use.
// This program's only test: nothing has started the library before it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_zstr.h"
#include "mbtext/gc_testloc.h"
#include "mbtext/gc_types_int.h"

using namespace KCLASSIC;

TEST(LocaleStart, FirstLocaleStartsTheLibraryFromItsDataDirectory) {
  ASSERT_FALSE(gcIsStarted());
  EXPECT_FALSE(KGetLocaleManager().IsInitialized());
  // A locale object made directly needs a started library.
  try {
    KUtlLocale direct("German");
    ADD_FAILURE() << "made without a started library";
  } catch (KErr* e) {
    EXPECT_EQ(e->GetErrorNum(), 0x8B000C9);
    EXPECT_STREQ(e->GetMethodName(), "KUtlLocale::CreateFromCRTLocale");
    EXPECT_STREQ(e->GetParam(0), "German");
    delete e;
  }
  gctest::DataDir dir;
  gctest::writeLocaleDir(dir);
  setenv("GC_LOCALEDIR", dir.path(), 1); // where GCInit looks without a path
  setenv("GC_LANG", "German_Germany.Latin1", 1);
  // The first text operation binds this thread to the system locale, which
  // is the user's locale read from the started library's data.
  KZString s;
  s.Format("%.1f", 2.5);
  EXPECT_STREQ(s, "2,5");
  EXPECT_TRUE(gcIsStarted());
  EXPECT_TRUE(KGetLocaleManager().IsInitialized());
  KZString dec;
  UtlGetSystemLocale()->GetSDecimal(dec);
  EXPECT_STREQ(dec, ",");
  unsetenv("GC_LOCALEDIR");
}
