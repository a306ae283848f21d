// The dictionary records as archive objects: written with their class and
// read back through their extraction operators (the currency's class record
// is checked with the currency tests).
#include <gtest/gtest.h>

#include "bo/bo_choicetbl.h"
#include "bo/bo_currency.h"
#include "bo/bo_daylight.h"
#include "bo/bo_locale.h"
#include "bo/bo_timezone.h"
#include "kclassic/kc_testdir.h"

using namespace KCLASSIC;

namespace {

TEST(DictRecords, TravelAsArchiveObjectsAndComeBackEqual) {
  kctest::TempDir dir;
  std::string path = dir.file("records.bin");
  KDdCurrency currency(3, "EUR", "E", "euro", 0, 0.925f, "978", 2, 1);
  KDdDaylight daylight(4, "CET", KOleDateTime(2005, 3, 27, 2, 0, 0), KOleDateTime(2005, 10, 30, 3, 0, 0));
  KDdLocale locale(5, "fr-", "fr", 1036, 7, "fr_FR");
  KDdTimezone timezone(6, "CET", "Central European", 60, 0);
  {
    KFile file(path.c_str(), KFILE_CREATE | KFILE_WRITE | KFILE_BINARY);
    KArchive ar(&file, KArchive::store);
    ar << &currency << &daylight << &locale << &timezone;
    ar.Close();
  }
  KFile file(path.c_str(), KFILE_BINARY);
  KArchive ar(&file, KArchive::load);
  KDdCurrency* c = nullptr;
  KDdDaylight* d = nullptr;
  KDdLocale* l = nullptr;
  KDdTimezone* t = nullptr;
  ar >> c >> d >> l >> t;
  ASSERT_TRUE(c && d && l && t);
  EXPECT_EQ(*c == currency, 1);
  EXPECT_EQ(*d == daylight, 1);
  EXPECT_EQ(*l == locale, 1);
  EXPECT_EQ(*t == timezone, 1);
  delete c;
  delete d;
  delete l;
  delete t;
}

TEST(DictRecords, ClassRecordsHaveSchemaOneAndAFactory) {
  KRuntimeClass* classes[] = {KRUNTIME_CLASS(KDdDaylight),   KRUNTIME_CLASS(KDdLocale),
                              KRUNTIME_CLASS(KDdTimezone),   KRUNTIME_CLASS(KDdChoice),
                              KRUNTIME_CLASS(KDdChoiceList), KRUNTIME_CLASS(KDdChoiceTable)};
  const char* names[] = {"KDdDaylight", "KDdLocale", "KDdTimezone", "KDdChoice", "KDdChoiceList", "KDdChoiceTable"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_STREQ(classes[i]->m_lpszClassName, names[i]);
    EXPECT_EQ(classes[i]->m_wSchema, 1u);
    KObject* made = classes[i]->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), classes[i]);
    delete made;
  }
}

} // namespace
