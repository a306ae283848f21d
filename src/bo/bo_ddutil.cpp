#include "bo/bo_ddutil.h"

#include <cstdarg>

#include "bo/bo_dd.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

long dd_msg_long(KMsg& msg) {
  long value = 0;
  msg.ReadLong(value);
  return value;
}

long dd_msg_count(KMsg& msg, const char* method) {
  long count = dd_msg_long(msg);
  if (count < 0) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "count");
  return count;
}

std::vector<KZString> dd_split_list(const char* list) {
  std::vector<KZString> parts;
  KZString piece;
  for (const char* p = list ? list : ""; *p;) {
    const char* next = kstrinc(p);
    if (*p == ':' && next == p + 1) {
      parts.push_back(piece);
      piece.Empty();
    } else {
      piece += KZString(p, int(next - p));
    }
    p = next;
  }
  parts.push_back(piece);
  return parts;
}

KZString dd_join_list(const std::vector<KZString>& parts) {
  KZString out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += ":";
    out += parts[i];
  }
  return out;
}

void dd_throw(long code, const char* method, const char* format, ...) {
  if (!format) throw new KErr(code, method);
  KZString insert;
  va_list args;
  va_start(args, format);
  insert.FormatV(format, args);
  va_end(args);
  throw new KErr(code, method, static_cast<const char*>(insert));
}

bool dd_user_mode(IDdDataDict* dict) { return !dict || !dict->IsOrbnMode(); }

} // namespace KCLASSIC
