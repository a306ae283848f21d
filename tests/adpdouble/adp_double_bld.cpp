// The adapter calls of the schema compiler, answering through the double.
// The header's address and the server type are the store double's.
#include "adpdouble/adp_double_bld.h"

#include <string>

#include "adapter/adp_db.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_store.h"

namespace {
unsigned long g_flags = 0;
bool g_present = false;
}  // namespace

namespace adp_double {
void set_header(unsigned long flags, bool present) {
  g_flags = flags;
  g_present = present;
}
void set_server_type(long type) { adp_store::st().server_type = type; }
void bld_reset() {
  g_flags = 0;
  g_present = false;
}
}  // namespace adp_double

using adp_double::record;

long adp_db_is_header_flags_set(const adp_db_dhead* header, long bits, char* yes) {
  long st = record("adp_db_is_header_flags_set", {std::to_string(bits)});
  const unsigned long want = static_cast<unsigned long>(bits);
  *yes = header && g_present && (g_flags & want) == want ? 1 : 0;
  return st;
}

long adp_bar_create(KAdpConnId*, long type_id, long gen_id) {
  return record("adp_bar_create", {std::to_string(type_id), std::to_string(gen_id)});
}
