// The dialects' virtual operations that one server has no use for: each
// answers with its fixed value and touches nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_msg.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/core_fixture.h"

namespace {

using op_call = std::function<long(KAdpDbOperation&)>;

struct named_call {
  const char* name;
  op_call call;
};

// Arguments whose contents must come back untouched.
struct sentinels {
  char byte_a = 'a', byte_b = 'b', byte_c = 'c';
  char text[8] = "keep";
  char* text_ptr = text;
  long number = 77;
  adp_ty_index_info record{};
  sentinels() { std::strcpy(record.name, "idx_keep"); }
};

// Operations one dialect stubs while the other's own is not built yet.
std::vector<named_call> oracle_only_stubs(sentinels& s) {
  return {
      {"StpCreateProcs", [&s](KAdpDbOperation& op) { return op.StpCreateProcs(s.text, 1); }},
      {"IndBuildTableIndex",
       [&s](KAdpDbOperation& op) {
         return op.IndBuildTableIndex(&s.record, nullptr, nullptr, &s.text_ptr, nullptr, 0);
       }},
      {"IndBuildAdpIndex", [](KAdpDbOperation& op) { return op.IndBuildAdpIndex(nullptr, nullptr, nullptr, 0); }},
      {"IndFillAttr", [&s](KAdpDbOperation& op) { return op.IndFillAttr(nullptr, &s.record); }},
      {"IndFillFillfactor", [&s](KAdpDbOperation& op) { return op.IndFillFillfactor(nullptr, &s.record); }},
      {"IndFillFilegroup", [&s](KAdpDbOperation& op) { return op.IndFillFilegroup(nullptr, &s.record); }},
      {"GetAdpIndInitIndexInfo",
       [&s](KAdpDbOperation& op) {
         op.GetAdpIndInitIndexInfo(&s.record);
         return 0L;
       }},
  };
}
const long kOracleStubAnswers[] = {0, 0, 0, -1, -1, -1, 0};

std::vector<named_call> mssql_only_stubs(sentinels& s) {
  return {
      {"StpGetTableTrigger", [](KAdpDbOperation& op) { return op.StpGetTableTrigger(nullptr, nullptr); }},
      {"LookUpPhysicalStorageParams",
       [&s](KAdpDbOperation& op) { return op.LookUpPhysicalStorageParams(s.text, &s.text_ptr); }},
      {"CreateSynonym", [&s](KAdpDbOperation& op) { return op.CreateSynonym(s.text); }},
  };
}

bool untouched(const sentinels& s) {
  return s.byte_a == 'a' && s.byte_b == 'b' && s.byte_c == 'c' && std::strcmp(s.text, "keep") == 0 &&
         s.text_ptr == s.text && s.number == 77 && std::strcmp(s.record.name, "idx_keep") == 0 &&
         s.record.fields == nullptr && s.record.attributes == 0;
}

class AdpDialectOps : public adp_test {};

TEST_F(AdpDialectOps, StubsGiveTheirFixedAnswerAndTouchNothing) {
  KAdpOraOperation ora(nullptr);
  KAdpMssqlOperation ms(nullptr);
  sentinels s;
  std::vector<named_call> ora_stubs = oracle_only_stubs(s);
  for (size_t i = 0; i < ora_stubs.size(); ++i) {
    EXPECT_EQ(ora_stubs[i].call(ora), kOracleStubAnswers[i]) << ora_stubs[i].name;
    EXPECT_TRUE(untouched(s)) << ora_stubs[i].name;
  }
  for (const named_call& c : mssql_only_stubs(s)) {
    EXPECT_EQ(c.call(ms), 0) << c.name;
    EXPECT_TRUE(untouched(s)) << c.name;
  }
  EXPECT_EQ(ora.ObjGet(3, 4, 0, nullptr, nullptr), 0);
  EXPECT_EQ(ms.ObjGet(3, 4, 0, nullptr, nullptr), 1);
  EXPECT_EQ(ora.StpCreateNewProc(), 0);
  EXPECT_EQ(ora.SchGetSysobj(s.text, s.text, 1, nullptr, &s.byte_a, &s.byte_b, &s.byte_c, nullptr), 0);
  EXPECT_TRUE(untouched(s));
  EXPECT_EQ(core_num_alerts(), 0);
}

}  // namespace
