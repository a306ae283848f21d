#include "bo_ddtest.h"

#include <fstream>
#include <sstream>

using namespace KCLASSIC;

namespace botest {

IDdTable* TableDict::FindTable(long id, int flags) {
  if (!(flags & 1)) ++fetchingLookups;
  for (auto& t : m_tables)
    if (t->GetId() == id) return t.get();
  return nullptr;
}

IDdTable* TableDict::FindTable(const KZString& name, int flags) {
  if (!(flags & 1)) ++fetchingLookups;
  for (auto& t : m_tables)
    if (t->GetName().CompareNoCase(name) == 0) return t.get();
  return nullptr;
}

KDdTable* TableDict::Add(KDdTable* table) {
  m_tables.emplace_back(table);
  return table;
}

KDdTable* TableDict::AddTable(const char* name, int id, int flags) {
  return Add(new KDdTable(name, "", "", id, flags | 0x10000));
}

void TableDict::Drop(KDdTable* table) {
  for (auto it = m_tables.begin(); it != m_tables.end(); ++it) {
    if (it->get() == table) {
      m_tables.erase(it);
      return;
    }
  }
}

std::string archiveImage(KObject& object) {
  kctest::TempDir dir;
  std::string path = dir.file("image.bin");
  {
    KFile file(path.c_str(), KFILE_CREATE | KFILE_WRITE | KFILE_BINARY);
    KArchive ar(&file, KArchive::store);
    object.Serialize(ar);
    ar.Close();
  }
  return dir.read("image.bin");
}

void loadArchive(const std::string& bytes, KObject& object) {
  kctest::TempDir dir;
  dir.write("image.bin", bytes);
  std::string path = dir.file("image.bin");
  KFile file(path.c_str(), KFILE_BINARY);
  KArchive ar(&file, KArchive::load);
  object.Serialize(ar);
}

std::string be32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char((v >> (24 - 8 * i)) & 0xFF);
  return s;
}

std::string arString(const std::string& s) { return std::string(1, char(s.size())) + s; }

KDdField* DdTest::longField(KDdTable* t, const char* name, long genId, long flags) {
  return product([&] {
    return static_cast<KDdField*>(t->CreateTableField(&dict, name, none, 0, 0, -1, -1, flags, 512, genId, none, none));
  });
}

KDdField* DdTest::textField(KDdTable* t, const char* name, long genId) {
  return product([&] {
    return static_cast<KDdField*>(t->CreateTableField(&dict, name, none, 7, 30, -1, -1, 0, 516, genId, none, none));
  });
}

KDdRelation* DdTest::relate(KDdTable* t, const char* name, long type, const char* inverseTable,
                            const char* inverseName, long lowFlags, long highFlags, const char* focus,
                            const char* physRel, const char* set) {
  return product([&] {
    return static_cast<KDdRelation*>(t->CreateRelation(&dict, name, none, type, -1, lowFlags, highFlags,
                                                       inverseTable, inverseName, focus, physRel, set, none));
  });
}

} // namespace botest
