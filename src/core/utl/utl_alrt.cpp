#include "core/utl/utl_alrt.h"

#include <cstdarg>

#include "core/cmn/cmn_alrt.h"

long utl_alrt(long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, "utl", code, 0, args);
  va_end(args);
  return code;
}
