// The default choice of a choice field, from its choice table.
#include "bo/bo_choicetbl.h"
#include "bo/bo_dd.h"

namespace KCLASSIC {

IDdChoice* KDdField::GetDefaultChoice(IDdDataDict* dict, long language) {
  if (!dict) return nullptr;
  IDdChoiceTable* table = dict->FindChoiceTable(language, m_strChoiceTableName, 0);
  if (!table) return nullptr;
  return table->GetDefaultChoice(m_strDefaultChoiceListName);
}

} // namespace KCLASSIC
