// Chained hash maps: the KMap template, its four classes KMapPtrToPtr,
// KMapWordToPtr, KMapStringToPtr and KMapStringToString, and the typed
// pointer maps over them. Associations come from KPlex blocks through a
// free list; the table is allocated on first insertion and the map releases
// everything when its last key is removed. Iteration runs bucket by bucket,
// each chain from its most recent key.
#pragma once

#include <cstdint>

#include "kclassic/kc_elem.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_plex.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

struct __KPOSITION {};
typedef __KPOSITION* KPOSITION;
// The position before the first association.
#define KBEFORE_START_POSITION (reinterpret_cast<KCLASSIC::KPOSITION>(~uintptr_t(0)))

inline constexpr unsigned KMAP_DEFAULT_BUCKETS = 17;

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class KMap : public KObject {
 public:
  struct CAssoc {
    CAssoc* pNext;
    unsigned nHashValue; // the bucket
    KEY key;
    VALUE value;
  };

  explicit KMap(int blockSize = 10) : m_nBlockSize(blockSize > 0 ? blockSize : 10) {}
  KMap(const KMap&) = delete;
  KMap& operator=(const KMap&) = delete;
  ~KMap() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  int IsEmpty() const { return m_nCount == 0; }
  unsigned GetHashTableSize() const { return m_nHashTableSize; }
  // True while a bucket table exists (tests and owners that watch memory).
  bool HasHashTable() const { return m_pHashTable != nullptr; }

  void InitHashTable(unsigned buckets, int allocNow = 1);
  int Lookup(ARG_KEY key, VALUE& value) const;
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
  int RemoveKey(ARG_KEY key);
  void RemoveAll();

  KPOSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : KBEFORE_START_POSITION; }
  void GetNextAssoc(KPOSITION& pos, KEY& key, VALUE& value) const;

 protected:
  CAssoc** m_pHashTable = nullptr;
  unsigned m_nHashTableSize = KMAP_DEFAULT_BUCKETS;
  int m_nCount = 0;
  CAssoc* m_pFreeList = nullptr;
  KPlex* m_pBlocks = nullptr;
  int m_nBlockSize;

  CAssoc* NewAssoc();
  void FreeAssoc(CAssoc* a);
  CAssoc* GetAssocAt(ARG_KEY key, unsigned& bucket) const;
  unsigned BucketOf(ARG_KEY key) const { return KHashKey(key) % m_nHashTableSize; }
};

// On a map that holds keys the associations are moved into the new buckets
// (dropping the old table would lose them).
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(unsigned buckets, int allocNow) {
  if (buckets == 0) buckets = KMAP_DEFAULT_BUCKETS;
  CAssoc** old = m_pHashTable;
  unsigned oldSize = m_nHashTableSize;
  m_pHashTable = (allocNow || m_nCount > 0) ? new CAssoc*[buckets]() : nullptr;
  m_nHashTableSize = buckets;
  if (old && m_nCount > 0) {
    for (unsigned b = 0; b < oldSize; ++b) {
      for (CAssoc* a = old[b]; a;) {
        CAssoc* next = a->pNext;
        a->nHashValue = KHashKey(a->key) % buckets;
        a->pNext = m_pHashTable[a->nHashValue];
        m_pHashTable[a->nHashValue] = a;
        a = next;
      }
    }
  }
  delete[] old;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  if (m_pHashTable) {
    for (unsigned b = 0; b < m_nHashTableSize; ++b)
      for (CAssoc* a = m_pHashTable[b]; a; a = a->pNext) {
        KDestructElements(&a->key, 1);
        KDestructElements(&a->value, 1);
      }
  }
  delete[] m_pHashTable;
  m_pHashTable = nullptr;
  m_nCount = 0;
  m_pFreeList = nullptr;
  if (m_pBlocks) m_pBlocks->FreeDataChain();
  m_pBlocks = nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc() {
  if (!m_pFreeList) {
    KPlex* block = KPlex::Create(m_pBlocks, unsigned(m_nBlockSize), unsigned(sizeof(CAssoc)));
    auto* a = static_cast<CAssoc*>(block->data());
    for (int i = m_nBlockSize; i-- > 0;) {
      a[i].pNext = m_pFreeList;
      m_pFreeList = &a[i];
    }
  }
  CAssoc* a = m_pFreeList;
  m_pFreeList = a->pNext;
  ++m_nCount;
  KConstructElements(&a->key, 1);
  KConstructElements(&a->value, 1);
  return a;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* a) {
  KDestructElements(&a->key, 1);
  KDestructElements(&a->value, 1);
  a->pNext = m_pFreeList;
  m_pFreeList = a;
  if (--m_nCount == 0) RemoveAll();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(
    ARG_KEY key, unsigned& bucket) const {
  bucket = BucketOf(key);
  if (!m_pHashTable) return nullptr;
  for (CAssoc* a = m_pHashTable[bucket]; a; a = a->pNext)
    if (KCompareElements(&a->key, &key)) return a;
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
int KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& value) const {
  unsigned bucket;
  CAssoc* a = GetAssocAt(key, bucket);
  if (!a) return 0;
  value = a->value;
  return 1;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  unsigned bucket;
  CAssoc* a = GetAssocAt(key, bucket);
  if (a) return a->value;
  if (!m_pHashTable) InitHashTable(m_nHashTableSize, 1);
  a = NewAssoc();
  a->nHashValue = bucket;
  a->key = key;
  a->pNext = m_pHashTable[bucket];
  m_pHashTable[bucket] = a;
  return a->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
int KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  if (!m_pHashTable) return 0;
  CAssoc** link = &m_pHashTable[BucketOf(key)];
  for (CAssoc* a = *link; a; link = &a->pNext, a = a->pNext) {
    if (KCompareElements(&a->key, &key)) {
      *link = a->pNext;
      FreeAssoc(a);
      return 1;
    }
  }
  return 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void KMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(KPOSITION& pos, KEY& key, VALUE& value) const {
  CAssoc* a = reinterpret_cast<CAssoc*>(pos);
  if (pos == KBEFORE_START_POSITION) {
    a = nullptr;
    for (unsigned b = 0; m_pHashTable && b < m_nHashTableSize && !a; ++b) a = m_pHashTable[b];
    if (!a) { // an empty map: nothing to hand out
      pos = nullptr;
      return;
    }
  }
  CAssoc* next = a->pNext;
  for (unsigned b = a->nHashValue + 1; !next && b < m_nHashTableSize; ++b) next = m_pHashTable[b];
  pos = reinterpret_cast<KPOSITION>(next);
  key = a->key;
  value = a->value;
}

// String keys: hashed with KHashKey and compared with KZString::Compare.
inline bool KCompareElements(const KZString* a, const char* const* b) { return a->Compare(*b) == 0; }

class ORB_API KMapPtrToPtr : public KMap<void*, void*, void*, void*> {
  KDECLARE_DYNAMIC(KMapPtrToPtr)
 public:
  typedef void* BASE_ARG_KEY;
  typedef void* BASE_VALUE;
  explicit KMapPtrToPtr(int blockSize = 10) : KMap(blockSize) {}
  void* GetValueAt(void* key) const;
};

class ORB_API KMapWordToPtr : public KMap<uint16_t, uint16_t, void*, void*> {
  KDECLARE_DYNAMIC(KMapWordToPtr)
 public:
  typedef uint16_t BASE_ARG_KEY;
  typedef void* BASE_VALUE;
  explicit KMapWordToPtr(int blockSize = 10) : KMap(blockSize) {}
};

class ORB_API KMapStringToPtr : public KMap<KZString, const char*, void*, void*> {
  KDECLARE_DYNAMIC(KMapStringToPtr)
 public:
  typedef const char* BASE_ARG_KEY;
  typedef void* BASE_VALUE;
  explicit KMapStringToPtr(int blockSize = 10) : KMap(blockSize) {}
  int LookupKey(const char* key, const char*& storedKey) const;
  static unsigned HashKey(const char* key) { return KHashKey(key); }
};

class ORB_API KMapStringToString : public KMap<KZString, const char*, KZString, const char*> {
  KDECLARE_DYNCREATE(KMapStringToString)
 public:
  explicit KMapStringToString(int blockSize = 10) : KMap(blockSize) {}
  void Serialize(KArchive& ar) override;
  int LookupKey(const char* key, const char*& storedKey) const;
  static unsigned HashKey(const char* key) { return KHashKey(key); }
};

// A pointer map over a base map of void* values, typed for VALUE pointers.
template <class BASE, class KEY, class VALUE>
class KTypedPtrMap : public BASE {
 public:
  explicit KTypedPtrMap(int blockSize = 10) : BASE(blockSize) {}

  int Lookup(typename BASE::BASE_ARG_KEY key, VALUE& value) const {
    void* v = nullptr;
    int found = BASE::Lookup(key, v);
    value = static_cast<VALUE>(v);
    return found;
  }
  VALUE& operator[](typename BASE::BASE_ARG_KEY key) { return reinterpret_cast<VALUE&>(BASE::operator[](key)); }
  void SetAt(typename BASE::BASE_ARG_KEY key, VALUE value) { BASE::operator[](key) = value; }
  int RemoveKey(typename BASE::BASE_ARG_KEY key) { return BASE::RemoveKey(key); }
  void GetNextAssoc(KPOSITION& pos, KEY& key, VALUE& value) const {
    void* v = nullptr;
    BASE::GetNextAssoc(pos, key, v);
    value = static_cast<VALUE>(v);
  }
};

// A typed pointer map that owns its values: its destructor deletes every
// value, then empties the map.
template <class BASE, class KEY, class VALUE>
class KAutoDeleteTypedPtrMap : public KTypedPtrMap<BASE, KEY, VALUE> {
 public:
  explicit KAutoDeleteTypedPtrMap(int blockSize = 10) : KTypedPtrMap<BASE, KEY, VALUE>(blockSize) {}
  ~KAutoDeleteTypedPtrMap() override {
    KPOSITION pos = this->GetStartPosition();
    while (pos) {
      KEY key;
      VALUE value;
      this->GetNextAssoc(pos, key, value);
      delete value;
    }
    this->RemoveAll();
  }
};

} // namespace KCLASSIC
