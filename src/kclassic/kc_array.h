// Growable arrays: the KArray template and its four classes KPtrArray,
// KUIntArray, KDWordArray (32-bit values) and KStringArray. Elements live in
// one heap block and are moved as raw memory; indexes are not checked.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>

#include "kclassic/kc_elem.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

template <class TYPE, class ARG_TYPE>
class KArray : public KObject {
 public:
  KArray() = default;
  KArray(const KArray&) = delete;
  KArray& operator=(const KArray&) = delete;
  ~KArray() override { SetSize(0); }

  int GetSize() const { return m_nSize; }
  int GetUpperBound() const { return m_nSize - 1; }
  int GetAllocSize() const { return m_nMaxSize; }
  int GetGrowBy() const { return m_nGrowBy; }
  TYPE* GetData() { return m_pData; }
  const TYPE* GetData() const { return m_pData; }
  TYPE GetAt(int i) const { return m_pData[i]; }
  TYPE& ElementAt(int i) { return m_pData[i]; }
  TYPE& operator[](int i) { return m_pData[i]; }
  const TYPE& operator[](int i) const { return m_pData[i]; }
  void SetAt(int i, ARG_TYPE value) { m_pData[i] = value; }
  void RemoveAll() { SetSize(0); }

  void SetSize(int n, int growBy = -1);
  int Append(const KArray& other);
  void Copy(const KArray& other);
  void FreeExtra();
  void SetAtGrow(int index, ARG_TYPE value);
  int Add(ARG_TYPE value) {
    int i = m_nSize;
    SetAtGrow(i, value);
    return i;
  }
  void InsertAt(int index, ARG_TYPE value, int count = 1);
  void InsertAt(int index, KArray* other);
  void RemoveAt(int index, int count = 1);

 protected:
  TYPE* m_pData = nullptr;
  int m_nSize = 0;
  int m_nMaxSize = 0;
  int m_nGrowBy = 0;

  static size_t Bytes(int n) { return n > 0 ? sizeof(TYPE) * size_t(n) : 0; }
  static TYPE* Allocate(int n) { return static_cast<TYPE*>(::operator new(sizeof(TYPE) * size_t(n > 0 ? n : 1))); }
  static void Deallocate(TYPE* p) { ::operator delete(static_cast<void*>(p)); }
  // Opens count slots at index (new elements constructed in them).
  void OpenSlots(int index, int count);
};

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::SetSize(int n, int growBy) {
  if (growBy != -1) m_nGrowBy = growBy;
  if (n <= 0) {
    if (m_pData) {
      KDestructElements(m_pData, m_nSize);
      Deallocate(m_pData);
    }
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
  } else if (!m_pData) {
    m_pData = Allocate(n);
    KConstructElements(m_pData, n);
    m_nSize = m_nMaxSize = n;
  } else if (n > m_nMaxSize) {
    int step = m_nGrowBy;
    if (step == 0) step = (m_nSize / 8 == 0) ? 4 : 1024;
    int cap = m_nMaxSize + step > n ? m_nMaxSize + step : n;
    TYPE* block = Allocate(cap);
    std::memcpy(static_cast<void*>(block), static_cast<const void*>(m_pData), Bytes(m_nSize));
    KConstructElements(block + m_nSize, n - m_nSize);
    Deallocate(m_pData);
    m_pData = block;
    m_nSize = n;
    m_nMaxSize = cap;
  } else {
    if (n > m_nSize) KConstructElements(m_pData + m_nSize, n - m_nSize);
    else if (n < m_nSize) KDestructElements(m_pData + n, m_nSize - n);
    m_nSize = n;
  }
}

template <class TYPE, class ARG_TYPE>
int KArray<TYPE, ARG_TYPE>::Append(const KArray& other) {
  int old = m_nSize;
  int n = other.m_nSize;
  if (&other == this) {
    // Appending an array to itself: the source block may move while growing.
    SetSize(old + n);
    KCopyElements(m_pData + old, m_pData, n);
    return old;
  }
  SetSize(old + n);
  KCopyElements(m_pData + old, other.m_pData, n);
  return old;
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::Copy(const KArray& other) {
  if (&other == this) return;
  SetSize(other.m_nSize);
  KCopyElements(m_pData, other.m_pData, other.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::FreeExtra() {
  if (m_nSize == m_nMaxSize) return;
  TYPE* block = nullptr;
  if (m_nSize > 0) {
    block = Allocate(m_nSize);
    std::memcpy(static_cast<void*>(block), static_cast<const void*>(m_pData), Bytes(m_nSize));
  }
  Deallocate(m_pData);
  m_pData = block;
  m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::SetAtGrow(int index, ARG_TYPE value) {
  if (index >= m_nSize) {
    // The value may refer to an element of this array, which growing moves.
    TYPE copy(value);
    SetSize(index + 1);
    m_pData[index] = copy;
    return;
  }
  m_pData[index] = value;
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::OpenSlots(int index, int count) {
  if (index < m_nSize) {
    int old = m_nSize;
    SetSize(m_nSize + count);
    // The constructed tail elements are overwritten by the move: drop them first.
    KDestructElements(m_pData + old, count);
    std::memmove(static_cast<void*>(m_pData + index + count), static_cast<const void*>(m_pData + index),
                 Bytes(old - index));
    KConstructElements(m_pData + index, count);
  } else {
    SetSize(index + count);
  }
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::InsertAt(int index, ARG_TYPE value, int count) {
  if (count <= 0) return;
  TYPE copy(value);
  OpenSlots(index, count);
  for (int i = 0; i < count; ++i) m_pData[index + i] = copy;
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::InsertAt(int index, KArray* other) {
  if (!other || other->m_nSize == 0) return;
  if (other == this) {
    KArray tmp;
    tmp.Copy(*this);
    InsertAt(index, &tmp);
    return;
  }
  OpenSlots(index, other->m_nSize);
  for (int i = 0; i < other->m_nSize; ++i) m_pData[index + i] = other->m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void KArray<TYPE, ARG_TYPE>::RemoveAt(int index, int count) {
  if (count <= 0) return;
  KDestructElements(m_pData + index, count);
  int after = m_nSize - (index + count);
  if (after > 0)
    std::memmove(static_cast<void*>(m_pData + index), static_cast<const void*>(m_pData + index + count),
                 Bytes(after));
  m_nSize -= count;
}

class ORB_API KPtrArray : public KArray<void*, void*> {
  KDECLARE_DYNAMIC(KPtrArray)
};

class ORB_API KUIntArray : public KArray<unsigned, unsigned> {
  KDECLARE_DYNAMIC(KUIntArray)
};

class ORB_API KDWordArray : public KArray<uint32_t, uint32_t> {
  KDECLARE_DYNCREATE(KDWordArray)
 public:
  void Serialize(KArchive& ar) override;
};

class ORB_API KStringArray : public KArray<KZString, const KZString&> {
  KDECLARE_DYNCREATE(KStringArray)
 public:
  void Serialize(KArchive& ar) override;
  using KArray::Add;
  using KArray::InsertAt;
  using KArray::SetAtGrow;
  void SetAtGrow(int index, const char* value) { KArray::SetAtGrow(index, KZString(value)); }
  int Add(const char* value) { return KArray::Add(KZString(value)); }
  void InsertAt(int index, const char* value, int count = 1) { KArray::InsertAt(index, KZString(value), count); }
  void InsertEmpty(int index, int count) { OpenSlots(index, count); }
};

} // namespace KCLASSIC
