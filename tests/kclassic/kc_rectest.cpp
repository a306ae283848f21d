#include "kc_rectest.h"

#include <cstdio>

namespace kctest {

void TableDouble::AddField(const char* name, KCLASSIC::KDdField* field) {
  KCLASSIC::KZString key(name);
  key.MakeLower();
  m_mapFieldsByName.SetAt(key, field);
}

std::string columnsOf(const KCLASSIC::KUtlRecord& rec) {
  std::string out;
  for (long c = 0; c < rec.GetColumns(); ++c) {
    char head[32];
    std::snprintf(head, sizeof head, "%04lx/%c/", rec.GetColCellType(c), rec.GetColLetter(c));
    if (c) out += ";";
    out += head;
    out += rec.GetColName(c);
  }
  return out;
}

} // namespace kctest
