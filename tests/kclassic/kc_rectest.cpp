#include "kc_rectest.h"

#include <cstdio>

namespace kctest {

KCLASSIC::KDdField* TableDouble::AddNamedField(const char* name) {
  auto* field = new KCLASSIC::KDdField(name, KCLASSIC::KZString(), GetId(), 0, -1, -1, -1, 0, -1, -1,
                                       MaxFieldId() + 1, KCLASSIC::KZString(), KCLASSIC::KZString(), this);
  AddField(field);
  return field;
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
