#include "kclassic/kc_plex.h"

#include <new>

namespace KCLASSIC {

KPlex* KPlex::Create(KPlex*& head, unsigned n, unsigned size) {
  auto* p = static_cast<KPlex*>(::operator new(sizeof(KPlex) + size_t(n) * size));
  p->pNext = head;
  p->reserved = nullptr;
  head = p;
  return p;
}

void KPlex::FreeDataChain() {
  KPlex* p = this;
  while (p) {
    KPlex* next = p->pNext;
    ::operator delete(p);
    p = next;
  }
}

// The free list keeps its link in the first word of a free element, so an
// element is at least a pointer wide.
KFixedAlloc::KFixedAlloc(unsigned elementSize, unsigned perBlock)
    : m_nAllocSize(elementSize < sizeof(Node) ? unsigned(sizeof(Node)) : elementSize),
      m_nBlockSize(perBlock == 0 ? 1 : perBlock) {}

KFixedAlloc::~KFixedAlloc() { FreeAll(); }

void* KFixedAlloc::Alloc() {
  KUtlCrSync lock(m_protect);
  if (!m_pNodeFree) {
    KPlex* block = KPlex::Create(m_pBlocks, m_nBlockSize, m_nAllocSize);
    // Pushed from the last to the first, so the first element is handed out first.
    auto* bytes = static_cast<char*>(block->data());
    for (unsigned i = m_nBlockSize; i-- > 0;) {
      auto* node = reinterpret_cast<Node*>(bytes + size_t(i) * m_nAllocSize);
      node->pNext = m_pNodeFree;
      m_pNodeFree = node;
    }
  }
  Node* p = m_pNodeFree;
  m_pNodeFree = p->pNext;
  return p;
}

void KFixedAlloc::Free(void* p) {
  if (!p) return;
  KUtlCrSync lock(m_protect);
  auto* node = static_cast<Node*>(p);
  node->pNext = m_pNodeFree;
  m_pNodeFree = node;
}

void KFixedAlloc::FreeAll() {
  KUtlCrSync lock(m_protect);
  if (m_pBlocks) m_pBlocks->FreeDataChain();
  m_pBlocks = nullptr;
  m_pNodeFree = nullptr;
}

} // namespace KCLASSIC
