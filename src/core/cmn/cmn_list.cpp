// Registry of the message texts compiled into the library, by first id.
#include "core/cmn/cmn_list.h"

namespace {

struct res_table {
  long first_id;
  long count;
  const char* const* texts;
};

constexpr int kMaxTables = 64;
res_table cmn_list_tables[kMaxTables];
int cmn_list_num_tables = 0;

}  // namespace

long cmn_list_install_res_table(long first_id, long count, const char* const* texts) {
  if (texts == nullptr || count < 0) return 1;
  for (int i = 0; i < cmn_list_num_tables; ++i) {
    if (cmn_list_tables[i].first_id == first_id) {
      cmn_list_tables[i] = {first_id, count, texts};
      return 0;
    }
  }
  if (cmn_list_num_tables == kMaxTables) return 1;
  cmn_list_tables[cmn_list_num_tables++] = {first_id, count, texts};
  return 0;
}

long cmn_list_res_str(long first_id, long last_id, long* count, const char* const** texts) {
  for (int i = 0; i < cmn_list_num_tables; ++i) {
    const res_table& t = cmn_list_tables[i];
    if (t.first_id != first_id) continue;
    long n = last_id - first_id + 1;
    // Never more entries than the table holds.
    if (n > t.count) n = t.count;
    if (n < 0) n = 0;
    if (count != nullptr) *count = n;
    if (texts != nullptr) *texts = t.texts;
    return 0;
  }
  return 1;
}
