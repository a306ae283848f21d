// Helpers of the dictionary table tests: a data dictionary double that owns
// tables and finds them by id or name (counting look-ups that may fetch), in
// user or product mode; byte images of records through the host's message
// and through an archive file; and a fixture that builds small schemas.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bo/bo_dd.h"
#include "bo_fixture.h"
#include "bohost_msg.h"
#include "kclassic/kc_testdir.h"
#include "kclassic/kc_testerr.h"

namespace botest {

class TableDict : public DictDouble {
 public:
  // Product mode when orbn is 1.
  int orbn = 0;
  // Look-ups made without the local-only flag.
  int fetchingLookups = 0;

  KCLASSIC::IDdTable* FindTable(long id, int flags) override;
  KCLASSIC::IDdTable* FindTable(const KCLASSIC::KZString& name, int flags) override;
  int IsOrbnMode() const override { return orbn; }

  // Takes the table over.
  KCLASSIC::KDdTable* Add(KCLASSIC::KDdTable* table);
  KCLASSIC::KDdTable* AddTable(const char* name, int id, int flags = 0x42);
  KCLASSIC::KDdTable* AddView(const char* name, int id) { return AddTable(name, id, 0x244); }
  // Forgets (and deletes) the table.
  void Drop(KCLASSIC::KDdTable* table);

 private:
  std::vector<std::unique_ptr<KCLASSIC::KDdTable>> m_tables;
};

// The bytes Serialize stores for an object.
std::string archiveImage(KCLASSIC::KObject& object);
// Loads an object from archive bytes with its Serialize.
void loadArchive(const std::string& bytes, KCLASSIC::KObject& object);
// Big-endian word and archive string (short length form) for golden images.
std::string be32(uint32_t v);
std::string arString(const std::string& s);

template <class R>
KCLASSIC::KHostMsg written(const R& record) {
  KCLASSIC::KHostMsg msg;
  record.Write(msg);
  return msg;
}

class DdTest : public BoTest {
 protected:
  TableDict dict;
  const KCLASSIC::KZString none;

  // A table field of cmn type 512, DB type 0 (product mode while made).
  KCLASSIC::KDdField* longField(KCLASSIC::KDdTable* t, const char* name, long genId = -1, long flags = 0);
  KCLASSIC::KDdField* textField(KCLASSIC::KDdTable* t, const char* name, long genId = -1);
  // A relation made in product mode (user-defined flags).
  KCLASSIC::KDdRelation* relate(KCLASSIC::KDdTable* t, const char* name, long type, const char* inverseTable,
                                const char* inverseName, long lowFlags = 0, long highFlags = 0x20000,
                                const char* focus = "", const char* physRel = "", const char* set = "");
  // Runs f in product mode.
  template <class F>
  auto product(F f) {
    int old = dict.orbn;
    dict.orbn = 1;
    struct Restore {
      TableDict& d;
      int old;
      ~Restore() { d.orbn = old; }
    } restore{dict, old};
    return f();
  }
};

} // namespace botest
