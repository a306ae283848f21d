#include "conn_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include "testdb/testdb_tmp.h"

void conn_test::SetUp() {
  cpi_double::reset();
  KlProperties::clear();
  KlJournal::clear();
  gcStandInReset();
  recordCount = 0;
  bAlreadyInChild = 0;
  const std::string made = testdb::tmp_folder("conn_test");
  ASSERT_FALSE(made.empty());
  dir = made;
  old_cwd_ = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  previous_ = JToCPPVeneer::theAppGlobPtr;
  globals = new OrbisanGlobals();
  JToCPPVeneer::theAppGlobPtr = globals;
}

void conn_test::TearDown() {
  delete globals;
  JToCPPVeneer::theAppGlobPtr = previous_;
  std::filesystem::current_path(old_cwd_);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  cpi_double::reset();
  KlProperties::clear();
}

std::vector<std::string> conn_test::logs() const {
  std::vector<std::string> out;
  for (const KlJournalEntry& e : KlJournal::entries())
    if (e.kind == KlJournalEntry::LOG) out.push_back(std::to_string(e.code) + " " + e.text);
  return out;
}

std::vector<std::string> conn_test::traces() const {
  std::vector<std::string> out;
  for (const KlJournalEntry& e : KlJournal::entries())
    if (e.kind == KlJournalEntry::TRACE) out.push_back(std::to_string(e.code) + " " + e.text);
  return out;
}

bool conn_test::journal_has(const std::string& prefix) const {
  for (const KlJournalEntry& e : KlJournal::entries())
    if (e.text.rfind(prefix, 0) == 0) return true;
  return false;
}

std::string conn_test::file_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

BusObjSpec* conn_define(const char* name, const char* app_text,
                        const std::vector<conn_attr_def>& attrs) {
  BusObjSpec* spec = BusObjSpec::define(name, app_text);
  for (const conn_attr_def& a : attrs) {
    int type = a.object_type ? BOAttrType::OBJECT : BOAttrType::STRING;
    spec->addAttribute(BOAttrType(a.name, type, a.app_text, a.flags, a.object_type));
  }
  return spec;
}
