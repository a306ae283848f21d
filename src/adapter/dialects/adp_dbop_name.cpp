// The refusal of names that would reach DDL or a command unquoted.
#include "adapter/dialects/adp_dbop_name.h"

#include <cctype>
#include <cstring>

#include "adapter/adp_msg.h"
#include "core/cmn/cmn_alrt.h"

namespace {

bool name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || std::strchr("_$#.", c) != nullptr;
}

bool path_char(char c) { return std::strchr("/\\:-", c) != nullptr; }

}  // namespace

long adp_dbop_check_name(const char* name, bool path) {
  bool ok = name != nullptr && *name != '\0';
  for (const char* p = name; ok && *p != '\0'; ++p) ok = name_char(*p) || (path && path_char(*p));
  if (ok) return 0;
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_DB, 1, name != nullptr ? name : "");
  return rc != 0 ? rc : ADP_NO_SUCH_DB;
}
