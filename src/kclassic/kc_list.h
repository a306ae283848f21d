// Doubly linked lists: the KList template and KStringList. Nodes come from
// KPlex blocks and are recycled through a free list; the list releases its
// blocks when its last node goes. Positions are node pointers.
#pragma once

#include "kclassic/kc_elem.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_plex.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

template <class TYPE, class ARG_TYPE>
class KList : public KObject {
 public:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

  explicit KList(int blockSize = 10) : m_nBlockSize(blockSize > 0 ? blockSize : 10) {}
  KList(const KList&) = delete;
  KList& operator=(const KList&) = delete;
  ~KList() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  int IsEmpty() const { return m_nCount == 0; }
  // True while node blocks are held (owners that watch memory).
  bool HasBlocks() const { return m_pBlocks != nullptr; }

  KPOSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
  KPOSITION GetTailPosition() const { return Pos(m_pNodeTail); }
  TYPE& GetHead() { return m_pNodeHead->data; }
  TYPE& GetTail() { return m_pNodeTail->data; }
  // The element at pos; pos moves to the next (previous) node, null past the end.
  TYPE& GetNext(KPOSITION& pos) const {
    CNode* n = Node(pos);
    pos = Pos(n->pNext);
    return n->data;
  }
  TYPE& GetPrev(KPOSITION& pos) const {
    CNode* n = Node(pos);
    pos = Pos(n->pPrev);
    return n->data;
  }
  TYPE& GetAt(KPOSITION pos) const { return Node(pos)->data; }
  void SetAt(KPOSITION pos, ARG_TYPE value) { Node(pos)->data = value; }

  KPOSITION AddHead(ARG_TYPE value) { return InsertBefore(nullptr, value); }
  KPOSITION AddTail(ARG_TYPE value) { return InsertAfter(nullptr, value); }
  // Copies of other's elements in front of this list, in other's order.
  void AddHead(KList* other) {
    CNode* n = other->m_pNodeTail;
    for (int i = other->m_nCount; i > 0; --i, n = n->pPrev) AddHead(n->data);
  }
  // Copies of other's elements appended in order.
  void AddTail(KList* other) {
    CNode* n = other->m_pNodeHead;
    for (int i = other->m_nCount; i > 0; --i, n = n->pNext) AddTail(n->data);
  }
  TYPE RemoveHead() {
    CNode* n = m_pNodeHead;
    TYPE value(n->data);
    RemoveAt(Pos(n));
    return value;
  }
  TYPE RemoveTail() {
    CNode* n = m_pNodeTail;
    TYPE value(n->data);
    RemoveAt(Pos(n));
    return value;
  }
  // A null position inserts at the head (before) or the tail (after).
  KPOSITION InsertBefore(KPOSITION pos, ARG_TYPE value);
  KPOSITION InsertAfter(KPOSITION pos, ARG_TYPE value);
  void RemoveAt(KPOSITION pos);
  void RemoveAll();
  // The i-th node from the head; null out of range.
  KPOSITION FindIndex(int i) const {
    if (i < 0 || i >= m_nCount) return nullptr;
    CNode* n = m_pNodeHead;
    while (i-- > 0) n = n->pNext;
    return Pos(n);
  }
  // The first node after startAfter (from the head when null) holding value.
  KPOSITION Find(ARG_TYPE value, KPOSITION startAfter = nullptr) const {
    for (CNode* n = startAfter ? Node(startAfter)->pNext : m_pNodeHead; n; n = n->pNext)
      if (KCompareElements(&n->data, &value)) return Pos(n);
    return nullptr;
  }

 protected:
  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  int m_nCount = 0;
  CNode* m_pNodeFree = nullptr;
  KPlex* m_pBlocks = nullptr;
  int m_nBlockSize;

  static KPOSITION Pos(CNode* n) { return reinterpret_cast<KPOSITION>(n); }
  static CNode* Node(KPOSITION p) { return reinterpret_cast<CNode*>(p); }
  CNode* NewNode(CNode* prev, CNode* next, ARG_TYPE value);
  void FreeNode(CNode* n);
};

template <class TYPE, class ARG_TYPE>
typename KList<TYPE, ARG_TYPE>::CNode* KList<TYPE, ARG_TYPE>::NewNode(CNode* prev, CNode* next, ARG_TYPE value) {
  // The value may live in a node of this list: copy it before relinking.
  TYPE copy(value);
  if (!m_pNodeFree) {
    KPlex* block = KPlex::Create(m_pBlocks, unsigned(m_nBlockSize), unsigned(sizeof(CNode)));
    auto* nodes = static_cast<CNode*>(block->data());
    for (int i = m_nBlockSize; i-- > 0;) {
      nodes[i].pNext = m_pNodeFree;
      m_pNodeFree = &nodes[i];
    }
  }
  CNode* n = m_pNodeFree;
  m_pNodeFree = n->pNext;
  n->pPrev = prev;
  n->pNext = next;
  ++m_nCount;
  KConstructElements(&n->data, 1);
  n->data = copy;
  return n;
}

template <class TYPE, class ARG_TYPE>
void KList<TYPE, ARG_TYPE>::FreeNode(CNode* n) {
  KDestructElements(&n->data, 1);
  n->pNext = m_pNodeFree;
  m_pNodeFree = n;
  if (--m_nCount == 0) RemoveAll();
}

template <class TYPE, class ARG_TYPE>
KPOSITION KList<TYPE, ARG_TYPE>::InsertBefore(KPOSITION pos, ARG_TYPE value) {
  CNode* at = pos ? Node(pos) : m_pNodeHead;
  CNode* n = NewNode(at ? at->pPrev : nullptr, at, value);
  if (n->pPrev) n->pPrev->pNext = n;
  else m_pNodeHead = n;
  if (at) at->pPrev = n;
  else m_pNodeTail = n;
  return Pos(n);
}

template <class TYPE, class ARG_TYPE>
KPOSITION KList<TYPE, ARG_TYPE>::InsertAfter(KPOSITION pos, ARG_TYPE value) {
  CNode* at = pos ? Node(pos) : m_pNodeTail;
  CNode* n = NewNode(at, at ? at->pNext : nullptr, value);
  if (n->pNext) n->pNext->pPrev = n;
  else m_pNodeTail = n;
  if (at) at->pNext = n;
  else m_pNodeHead = n;
  return Pos(n);
}

template <class TYPE, class ARG_TYPE>
void KList<TYPE, ARG_TYPE>::RemoveAt(KPOSITION pos) {
  CNode* n = Node(pos);
  if (n->pPrev) n->pPrev->pNext = n->pNext;
  else m_pNodeHead = n->pNext;
  if (n->pNext) n->pNext->pPrev = n->pPrev;
  else m_pNodeTail = n->pPrev;
  FreeNode(n);
}

template <class TYPE, class ARG_TYPE>
void KList<TYPE, ARG_TYPE>::RemoveAll() {
  for (CNode* n = m_pNodeHead; n; n = n->pNext) KDestructElements(&n->data, 1);
  m_pNodeHead = m_pNodeTail = nullptr;
  m_nCount = 0;
  m_pNodeFree = nullptr;
  if (m_pBlocks) m_pBlocks->FreeDataChain();
  m_pBlocks = nullptr;
}

class ORB_API KStringList : public KList<KZString, const KZString&> {
  KDECLARE_DYNCREATE(KStringList)
 public:
  explicit KStringList(int blockSize = 10) : KList(blockSize) {}

  using KList::AddHead;
  using KList::AddTail;
  using KList::InsertAfter;
  using KList::InsertBefore;
  KPOSITION AddHead(const char* text) { return KList::AddHead(KZString(text)); }
  KPOSITION AddTail(const char* text) { return KList::AddTail(KZString(text)); }
  KPOSITION InsertBefore(KPOSITION pos, const char* text) { return KList::InsertBefore(pos, KZString(text)); }
  KPOSITION InsertAfter(KPOSITION pos, const char* text) { return KList::InsertAfter(pos, KZString(text)); }
  // Exact comparison (KZString::Compare).
  KPOSITION Find(const char* text, KPOSITION startAfter = nullptr) const;

  void Serialize(KArchive& ar) override;
};

} // namespace KCLASSIC
