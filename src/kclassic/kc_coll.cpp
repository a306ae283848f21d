// Class records of the arrays and maps and their non-template operations.
#include "kclassic/kc_array.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

KObject* KDWordArray::CreateObject() { return new KDWordArray; }
KObject* KStringArray::CreateObject() { return new KStringArray; }
KObject* KMapStringToString::CreateObject() { return new KMapStringToString(10); }

KIMPLEMENT_DYNAMIC(KPtrArray, KObject)
KIMPLEMENT_DYNAMIC(KUIntArray, KObject)
KIMPLEMENT_RUNTIMECLASS(KDWordArray, KObject, 0, &KDWordArray::CreateObject)
KIMPLEMENT_RUNTIMECLASS(KStringArray, KObject, 0, &KStringArray::CreateObject)
KIMPLEMENT_DYNAMIC(KMapPtrToPtr, KObject)
KIMPLEMENT_DYNAMIC(KMapWordToPtr, KObject)
KIMPLEMENT_DYNAMIC(KMapStringToPtr, KObject)
KIMPLEMENT_RUNTIMECLASS(KMapStringToString, KObject, 0, &KMapStringToString::CreateObject)

void* KMapPtrToPtr::GetValueAt(void* key) const {
  unsigned bucket;
  CAssoc* a = GetAssocAt(key, bucket);
  return a ? a->value : nullptr;
}

int KMapStringToPtr::LookupKey(const char* key, const char*& storedKey) const {
  unsigned bucket;
  CAssoc* a = GetAssocAt(key, bucket);
  if (a) storedKey = a->key;
  return a ? 1 : 0;
}

int KMapStringToString::LookupKey(const char* key, const char*& storedKey) const {
  unsigned bucket;
  CAssoc* a = GetAssocAt(key, bucket);
  if (a) storedKey = a->key;
  return a ? 1 : 0;
}

} // namespace KCLASSIC
