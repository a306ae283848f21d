#include "bo/bo_dd.h"

namespace KCLASSIC {

IDdField* KDdTable::FindField(const KZString& name) {
  KZString key(name);
  key.MakeLower();
  KDdField* field = nullptr;
  if (!m_mapFieldsByName.Lookup(key, field)) return nullptr;
  return field;
}

} // namespace KCLASSIC
