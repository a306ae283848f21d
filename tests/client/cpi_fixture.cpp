#include "client/cpi_fixture.h"

#include "adpdouble/adp_double_store.h"
#include "client/oab/oab_main.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/loc/loc_reg.h"

void cpi_test::SetUp() {
  static bool registered = false;
  client_test::SetUp();
  if (!registered) {
    ASSERT_EQ(cpi_str_init(), 0);
    registered = true;
  }
  oab_db_con_id = con();
  ASSERT_EQ(loc_reg_init(), 0);
}

void cpi_test::TearDown() {
  oab_db_con_id = nullptr;
  loc_reg_term();
  client_test::TearDown();
}

void cpi_test::define_dictionary() {
  client_test::define_dictionary();
  // A type's fields stand together, in position order.
  auto& fields = adp_store::st().fields;
  auto after = fields.begin();
  while (after != fields.end() && after->type_id != ACCOUNT) ++after;
  while (after != fields.end() && after->type_id == ACCOUNT) ++after;
  fields.insert(after, {{"ratio", 514, 4, 0, -1, -1, 0x1, -1, F_RATIO, ACCOUNT, ""},
                        {"weight", 613, 5, 0, -1, -1, 0x1, -1, F_WEIGHT, ACCOUNT, ""}});
}

long cpi_test::conid() { return cpi_con_value(con()); }

long cpi_test::state() {
  long s = 0;
  EXPECT_EQ(cpi_state_create(conid(), 0, &s), 0);
  return s;
}

namespace {

// The newest alert of the current stack; false when it is empty.
bool newest(long* code, std::string* text) {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  if (n == 0) return false;
  const char* t = nullptr;
  cmn_alrt_ith(nullptr, n - 1, code, &t);
  *text = t ? t : "";
  return true;
}

}  // namespace

long cpi_test::top_code() {
  long code = 0;
  std::string text;
  return newest(&code, &text) ? code : 0;
}

std::string cpi_test::top_text() {
  long code = 0;
  std::string text;
  newest(&code, &text);
  return text;
}

std::string cpi_test::alert_texts() { return core_alert_texts_joined("|"); }

std::string cpi_test::written(const std::function<void(FILE*)>& write) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buffer, &size);
  write(f);
  std::fclose(f);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}
