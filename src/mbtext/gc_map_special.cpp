#include "mbtext/gc_locale.h"
#include "mbtext/gc_map_int.h"

// A language's special case mappings are lists held in its language object.
// The library does not yet read those lists from language objects, so a
// locale behaves as one whose language has no special mappings: every
// character takes its ordinary one-to-one case counterpart. This is the one
// place where the look-up is made.
int gcMapSpecial(const GCLocale* /*locale*/, GCUChar /*first*/, GCUChar /*second*/,
                 GCUChar* /*out1*/, GCUChar* /*out2*/, uint32_t /*list*/) {
  return 0;
}
