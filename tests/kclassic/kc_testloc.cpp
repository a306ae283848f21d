#include "kc_testloc.h"

#include <cstdlib>

#include "mbtext/gc_testloc.h"
#include "mbtext/gc_types.h"

namespace kctest {

void startLocales() {
  static const bool started = [] {
    // The system locale is the user's locale: fixed for the tests.
    setenv("GC_LANG", kEnglish, 1);
    static gctest::DataDir dir;
    gctest::writeLocaleDir(dir);
    return GCInit(dir.path(), nullptr, nullptr, nullptr, 0) == GC_OK;
  }();
  EXPECT_TRUE(started);
  KCLASSIC::UtlSetThreadLocale("");
}

ThreadLocale::ThreadLocale(const char* name) {
  startLocales();
  KCLASSIC::UtlSetThreadLocale(name);
}

ThreadLocale::~ThreadLocale() { KCLASSIC::UtlSetThreadLocale(""); }

std::string bytes(std::initializer_list<int> b) { return gctest::bytes(b); }

} // namespace kctest
