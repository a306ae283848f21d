// Block allocation: KPlex, a chain of raw heap blocks freed all at once, and
// KFixedAlloc, a locked fixed-size allocator carved out of such blocks.
#pragma once

#include <cstddef>

#include "kclassic/kc_sect.h"
#include "orb_api.h"

namespace KCLASSIC {

// One block: the link to the next block and a reserved word (which keeps the
// elements aligned), then the elements.
struct ORB_API KPlex {
  KPlex* pNext;
  void* reserved;

  void* data() { return this + 1; }

  // Allocates a block of n elements of size bytes in front of head.
  static KPlex* Create(KPlex*& head, unsigned n, unsigned size);
  // Frees this block and every block after it.
  void FreeDataChain();
};

class ORB_API KFixedAlloc {
 public:
  KFixedAlloc(unsigned elementSize, unsigned perBlock);
  ~KFixedAlloc();
  KFixedAlloc(const KFixedAlloc&) = delete;
  KFixedAlloc& operator=(const KFixedAlloc&) = delete;

  unsigned GetAllocSize() const { return m_nAllocSize; }
  void* Alloc();
  void Free(void* p);
  void FreeAll();

 private:
  struct Node {
    Node* pNext;
  };
  unsigned m_nAllocSize;
  unsigned m_nBlockSize;
  KPlex* m_pBlocks = nullptr;
  Node* m_pNodeFree = nullptr;
  KUtlCrSect m_protect;
};

} // namespace KCLASSIC
