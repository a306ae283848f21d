// Helpers of the record tests: a data-dictionary table double and a short
// description of a record's columns.
#pragma once

#include <string>

#include "bo/bo_dd.h"
#include "kclassic/kc_rec.h"

namespace kctest {

// A dictionary table that knows the fields it is given.
class TableDouble : public KCLASSIC::KDdTable {
 public:
  void AddField(const char* name, KCLASSIC::KDdField* field);
};

// "cellType/letter/name" of every column, joined by ";", e.g.
// "0a04/A/Id;1000/H/Name".
std::string columnsOf(const KCLASSIC::KUtlRecord& rec);

} // namespace kctest
