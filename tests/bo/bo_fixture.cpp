#include "bo_fixture.h"

namespace botest {

KCLASSIC::KZString* DictDouble::FindString(long language, long id, int) {
  ++lookups;
  lastLanguage = language;
  auto it = strings.find(id);
  if (it == strings.end()) return nullptr;
  m_found = it->second.c_str();
  return &m_found;
}

} // namespace botest
