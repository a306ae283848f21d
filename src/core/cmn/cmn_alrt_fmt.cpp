// The alert layer's names for the message formatter (msg_fmt.h).
#include "core/cmn/cmn_alrt.h"
#include "core/msg/msg_fmt.h"

long cmn_alrt_vreformat_msg(char* out, long size, const char* text, va_list args) {
  return msg_fmt_vformat(out, size, text, args);
}

long cmn_alrt_reformat_msg(char* out, long size, const char* text, ...) {
  va_list args;
  va_start(args, text);
  long rc = msg_fmt_vformat(out, size, text, args);
  va_end(args);
  return rc;
}
