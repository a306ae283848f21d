// The process-wide objects serve static initialisers of other files and
// outlive every static user; threads never inherit an ended thread's locale.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "kc_testloc.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_zstr.h"

using namespace KCLASSIC;

namespace {

// Built before main, destroyed after it: its strings come from the pools
// and its map from blocks, whatever the order of static construction.
struct EarlyUser {
  KZString text;
  KMapStringToString map;
  EarlyUser() : text("static") {
    text += " text";
    map["k"] = text;
  }
  ~EarlyUser() {
    text = "rewritten at exit";
    map.RemoveAll();
  }
};
EarlyUser early;

} // namespace

TEST(StaticObjects, WorkFromStaticInitialisers) {
  EXPECT_STREQ(early.text, "static text");
  KZString v;
  EXPECT_EQ(early.map.Lookup("k", v), 1);
  EXPECT_STREQ(v, "static text");
  EXPECT_EQ(early.text.GetAllocLength(), 64);
}

TEST(StaticObjects, NewThreadsStartOnTheSystemLocale) {
  kctest::startLocales();
  for (int i = 0; i < 20; ++i) {
    std::thread([] {
      EXPECT_EQ(&UtlGetThreadLocale(), UtlGetSystemLocale());
      UtlSetThreadLocale(kctest::kGerman); // left bound when the thread ends
    }).join();
  }
}
