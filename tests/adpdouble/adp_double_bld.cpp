// The adapter calls of the schema compiler, answering through the double.
#include "adpdouble/adp_double_bld.h"

#include <string>

#include "adapter/adp_db.h"
#include "adpdouble/adp_double.h"

namespace {
unsigned long g_flags = 0;
bool g_present = false;
long g_server_type = 0;
unsigned long g_header_word = 0;  // the address handed out for the header
}  // namespace

namespace adp_double {
void set_header(unsigned long flags, bool present) {
  g_flags = flags;
  g_present = present;
}
void set_server_type(long type) { g_server_type = type; }
void bld_reset() {
  g_flags = 0;
  g_present = false;
  g_server_type = 0;
}
}  // namespace adp_double

using adp_double::record;

void* adp_db_get_head_addr() {
  record("adp_db_get_head_addr", {});
  return g_present ? &g_header_word : nullptr;
}

long adp_db_is_header_flags_set(void* header, unsigned long bits, char* yes) {
  long st = record("adp_db_is_header_flags_set", {std::to_string(bits)});
  *yes = header == &g_header_word && (g_flags & bits) == bits ? 1 : 0;
  return st;
}

long adp_main_server_type() {
  record("adp_main_server_type", {});
  return g_server_type;
}

long adp_bar_create(KAdpConnId*, long type_id, long gen_id) {
  return record("adp_bar_create", {std::to_string(type_id), std::to_string(gen_id)});
}
