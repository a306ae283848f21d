// Helpers of the business-object utility tests: a data dictionary double
// that knows strings by id (and counts look-ups), and a fixture that starts
// the locales.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "bo/bo_dd.h"
#include "kclassic/kc_testerr.h"
#include "kclassic/kc_testloc.h"

namespace botest {

// Strings by message id; every other look-up finds nothing.
class DictDouble : public KCLASSIC::IDdDataDict {
 public:
  std::map<long, std::string> strings;
  int lookups = 0;
  long lastLanguage = -1;

  KCLASSIC::KZString* FindString(long language, long id, int flags) override;
  KCLASSIC::KZString* FindString(long, const KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdTable* FindTable(long, int) override { return nullptr; }
  KCLASSIC::IDdTable* FindTable(const KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdCurrency* FindCurrency(long, int) override { return nullptr; }
  KCLASSIC::IDdCurrency* FindCurrency(const KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdTimezone* FindTimezone(const KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdDaylight* FindDaylight(const KCLASSIC::KZString&, long, int) override { return nullptr; }
  KCLASSIC::IDdBusObj* FindBusObj(long, int) override { return nullptr; }
  KCLASSIC::IDdBusObj* FindBusObj(const KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdChoiceTable* FindChoiceTable(long, KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdChoiceList* FindUserChoiceList(long, KCLASSIC::KZString&, int) override { return nullptr; }
  KCLASSIC::IDdBusObj* GetGenericBusObj(const KCLASSIC::KZString&) override { return nullptr; }
  int GetTableCount() override { return 0; }
  KCLASSIC::IDdTable* GetTable(int, int) override { return nullptr; }
  int GetCurrencyCount() override { return 0; }
  int GetLocaleCount() override { return 0; }
  KCLASSIC::IDdCurrency* GetCurrency(int, int) override { return nullptr; }
  int GetTimezoneCount() override { return 0; }
  KCLASSIC::IDdTimezone* GetTimezone(int, int) override { return nullptr; }
  KCLASSIC::IDdLocale* GetLocale(int, int) override { return nullptr; }
  long GetDefaultLang() override { return 1033; }
  long GetDBSchemaVer() const override { return 0; }
  KCLASSIC::KZString GetCustDbVer() const override { return KCLASSIC::KZString(); }
  long GetModeType() const override { return 0; }
  int IsOrbnMode() const override { return 0; }
  int OutputSchemaFile(KCLASSIC::KZString&) override { return 0; }
  KCLASSIC::IDdTable* CreateTable(const KCLASSIC::KZString&, const int, const KCLASSIC::KZString&,
                                  const KCLASSIC::KZString&) override {
    return nullptr;
  }
  KCLASSIC::IDdTable* CreateView(const KCLASSIC::KZString&, const int, const KCLASSIC::KZString&,
                                 const KCLASSIC::KZString&) override {
    return nullptr;
  }
  void DeleteTable(KCLASSIC::IDdTable*) override {}
  void DeleteView(KCLASSIC::IDdTable*) override {}
  void LoadTables() override {}

 private:
  KCLASSIC::KZString m_found;
};

class BoTest : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

} // namespace botest
