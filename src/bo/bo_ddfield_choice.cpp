// The default choice of a choice field, from its choice table.
#include "bo/bo_dd.h"

#if __has_include("bo/bo_choicetbl.h")
#include "bo/bo_choicetbl.h"
#define BO_DD_HAVE_CHOICE_TABLE 1
#endif

namespace KCLASSIC {

IDdChoice* KDdField::GetDefaultChoice(IDdDataDict* dict, long language) {
#ifdef BO_DD_HAVE_CHOICE_TABLE
  if (!dict) return nullptr;
  IDdChoiceTable* table = dict->FindChoiceTable(language, m_strChoiceTableName, 0);
  if (!table) return nullptr;
  return table->GetDefaultChoice(m_strDefaultChoiceListName);
#else
  (void)dict;
  (void)language;
  throw new KErr(KERR_NOT_SUPPORTED, "KDdField::GetDefaultChoice");
#endif
}

} // namespace KCLASSIC
