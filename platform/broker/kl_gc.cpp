// The memory manager's hooks: counted, not acted on.
#include "kl_gc.h"

namespace {
long kl_gc_collections = 0;
int kl_gc_fix = -1;
}  // namespace

extern "C" {
void gcCollect(void) { ++kl_gc_collections; }
void gcFixPrematureFrees(int enable) { kl_gc_fix = enable; }
long gcStandInCollections(void) { return kl_gc_collections; }
int gcStandInFixPrematureFrees(void) { return kl_gc_fix; }
void gcStandInReset(void) {
  kl_gc_collections = 0;
  kl_gc_fix = -1;
}
}
