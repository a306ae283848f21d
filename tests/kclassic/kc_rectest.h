// Helpers of the record tests: a data-dictionary table double and a short
// description of a record's columns.
#pragma once

#include <string>

#include "bo/bo_dd.h"
#include "kclassic/kc_rec.h"

namespace kctest {

// A dictionary table filled with fields made on the heap (it owns them).
class TableDouble : public KCLASSIC::KDdTable {
 public:
  // A new field of that column name, entered through AddField.
  KCLASSIC::KDdField* AddNamedField(const char* name);
};

// "cellType/letter/name" of every column, joined by ";", e.g.
// "0a04/A/Id;1000/H/Name".
std::string columnsOf(const KCLASSIC::KUtlRecord& rec);

} // namespace kctest
