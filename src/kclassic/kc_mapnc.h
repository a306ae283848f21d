// The by-name map of the dictionary components: a string-to-pointer map
// whose keys the callers lower-case before use.
#pragma once

#include "kclassic/kc_map.h"
#include "orb_api.h"

namespace KCLASSIC {

class ORB_API KUtlMapStrNoCase2Ob : public KMapStringToPtr {
 public:
  explicit KUtlMapStrNoCase2Ob(int blockSize = 10) : KMapStringToPtr(blockSize) {}
  ~KUtlMapStrNoCase2Ob() override;
};

} // namespace KCLASSIC
