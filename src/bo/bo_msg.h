// KMsg: the message through which dictionary records, bulk requests and
// their answers travel between a client and a metadata server. The host
// supplies the transport; the library only writes and reads longs and
// strings, in one fixed order per record, and never looks at a result.
// A reader gets back exactly what the writer put, in the same order: longs
// bit for bit (32 bits), strings byte for byte. A failing operation throws
// a KErr by pointer.
#pragma once

#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class ORB_API KMsg {
 public:
  virtual ~KMsg() = default;

  virtual void WriteLong(long value) = 0;
  virtual void ReadLong(long& value) = 0;
  virtual void WriteString(const KZString& text) = 0;
  virtual void ReadString(KZString& text) = 0;
};

} // namespace KCLASSIC
