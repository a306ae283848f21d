// KStringList's class record and its exact-text search; the class layers'
// by-name map.
#include "kclassic/kc_list.h"
#include "kclassic/kc_mapnc.h"

namespace KCLASSIC {

KObject* KStringList::CreateObject() { return new KStringList(10); }
KIMPLEMENT_RUNTIMECLASS(KStringList, KObject, 0, &KStringList::CreateObject)

KPOSITION KStringList::Find(const char* text, KPOSITION startAfter) const {
  for (CNode* n = startAfter ? Node(startAfter)->pNext : m_pNodeHead; n; n = n->pNext)
    if (n->data.Compare(text) == 0) return Pos(n);
  return nullptr;
}

KUtlMapStrNoCase2Ob::~KUtlMapStrNoCase2Ob() = default;

} // namespace KCLASSIC
