#include "bo_compnt_fixture.h"

#include <cstring>

using namespace KCLASSIC;

namespace botest {

MgrDouble::MgrDouble(KUtlQboConfig* config) : KSessionMgr(config) {}

void MgrDouble::FetchMetaData(KDdBulkRequest* request) {
  ++fetches;
  AskedFor a;
  for (int i = 0; i < request->m_arrCurrencyNames.GetSize(); ++i)
    a.currencies.push_back(static_cast<const char*>(request->m_arrCurrencyNames[i]));
  for (int i = 0; i < request->m_arrTimezoneNames.GetSize(); ++i)
    a.timezones.push_back(static_cast<const char*>(request->m_arrTimezoneNames[i]));
  for (int i = 0; i < request->m_arrDaylightKeys.GetSize(); ++i)
    a.daylights.push_back(static_cast<const char*>(request->m_arrDaylightKeys[i]));
  for (int i = 0; i < request->m_arrLocaleNames.GetSize(); ++i)
    a.locales.push_back(static_cast<const char*>(request->m_arrLocaleNames[i]));
  for (int i = 0; i < request->m_arrChoiceTableNames.GetSize(); ++i)
    a.choiceTables.push_back(static_cast<const char*>(request->m_arrChoiceTableNames[i]));
  for (int i = 0; i < request->m_arrUserChoiceListNames.GetSize(); ++i)
    a.userLists.push_back(static_cast<const char*>(request->m_arrUserChoiceListNames[i]));
  a.language = request->GetLanguage();
  for (int i = 0; i < request->m_arrCurrencyIds.GetSize(); ++i)
    a.currencyIds.push_back(long(int32_t(request->m_arrCurrencyIds[i])));
  {
    std::lock_guard<std::mutex> hold(askedLock);
    asked.push_back(a);
  }
  if (loader) loader(request);
}

void MgrDouble::SetIdentity(long n1, long n2, long n3, const char* t1, const char* t2, const char* t3,
                            const char* t4) {
  m_lIdentNum1 = int32_t(n1);
  m_lIdentNum2 = int32_t(n2);
  m_lIdentNum3 = int32_t(n3);
  std::strncpy(m_szIdentText1, t1, BO_IDENT_TEXT_SIZE - 1);
  std::strncpy(m_szIdentText2, t2, BO_IDENT_TEXT_SIZE - 1);
  std::strncpy(m_szIdentText3, t3, BO_IDENT_TEXT_SIZE - 1);
  std::strncpy(m_szIdentText4, t4, BO_IDENT_TEXT_SIZE - 1);
}

CompntTest::CompntTest() {
  config.m_lDefaultLang = 1033;
  config.m_strCacheDir = dir.path().c_str();
  mgr.SetIdentity(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis");
}

std::string CompntTest::CacheFile(const char* compntName) const {
  return dir.file(std::string("prod_") + compntName + ".Cache");
}

int CompntTest::LoadBody(KDdComponent& compnt, const std::string& body) {
  KZString name;
  compnt.GetCacheFileName(name);
  std::string file(static_cast<const char*>(name));
  dir.write(file.substr(dir.path().size() + 1), HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis") + body);
  KZString log;
  return compnt.ReadCacheFile(log);
}

std::string CompntTest::StoredBody(KDdComponent& compnt) {
  KZString log;
  EXPECT_EQ(compnt.WriteCacheFile(log), 1);
  KZString name;
  compnt.GetCacheFileName(name);
  std::string file(static_cast<const char*>(name));
  std::string bytes = dir.read(file.substr(dir.path().size() + 1));
  return bytes.substr(HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis").size());
}

std::string Word(uint32_t w) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char((w >> (24 - 8 * i)) & 0xFF);
  return s;
}

std::string ArString(const std::string& s) { return std::string(1, char(s.size())) + s; }

std::string HeaderBytes(long n1, long n2, long n3, const char* t1, const char* t2, const char* t3, const char* t4,
                        unsigned marker) {
  return Word(marker) + Word(uint32_t(n1)) + Word(uint32_t(n2)) + Word(uint32_t(n3)) + ArString(t1) + ArString(t2) +
         ArString(t3) + ArString(t4);
}

std::string Damage(std::string body, std::mt19937& rng) {
  std::uniform_int_distribution<int> what(0, 3);
  auto pos = [&] { return std::uniform_int_distribution<size_t>(0, body.empty() ? 0 : body.size() - 1)(rng); };
  switch (what(rng)) {
    case 0: // flip bytes
      for (int i = 0; i < 3 && !body.empty(); ++i) body[pos()] = char(rng());
      break;
    case 1: // cut short
      body.resize(pos());
      break;
    case 2: // a large length or count
      if (body.size() > 4) body.replace(pos() % (body.size() - 3), 4, std::string("\xff\xff\x7f\xff", 4));
      break;
    default: // bytes inserted
      body.insert(pos(), std::string(size_t(rng() % 9 + 1), char(rng())));
  }
  return body;
}

} // namespace botest
