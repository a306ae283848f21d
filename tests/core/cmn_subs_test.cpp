// The subsystem table.
#include <gtest/gtest.h>

#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_subs.h"
#include "core/core_fixture.h"

namespace {

struct row_case {
  const char* name;
  long number, first, range;
};

class CmnSubsGet : public ::testing::TestWithParam<row_case> {
 protected:
  void SetUp() override { core_start_cmn(); }
};

TEST_P(CmnSubsGet, RowByName) {
  const row_case& c = GetParam();
  long number = -99, first = -99, range = -99;
  ASSERT_EQ(cmn_subs_get(c.name, &number, &first, &range), 0);
  EXPECT_EQ(number, c.number);
  EXPECT_EQ(first, c.first);
  EXPECT_EQ(range, c.range);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CmnSubsGet,
    ::testing::Values(row_case{"cmn", 1, 1000, 300}, row_case{"QBO", 139, 43000, 600},
                      row_case{"bil", 155, 51800, 1000}, row_case{"NULL SUBSYSTEM", 0, -1, -1},
                      row_case{"osl", 2, 1300, 100}, row_case{"oab", 14, 3600, 400},
                      row_case{"oau", 15, 20000, 200}, row_case{"ztm", 110, 26500, 200},
                      row_case{"job", 110, 26700, 200}, row_case{"ESA2", 151, 52800, 2000},
                      row_case{"XML", 154, 56400, 200}, row_case{"cus", 127, 31000, 9000},
                      row_case{"vert", 150, 47800, 4000}, row_case{"SAM", 163, 60500, 200}));

TEST(CmnSubs, UnknownNameFailsWithAnAlert) {
  core_start_cmn();
  cmn_alrt_clear(nullptr);
  long number = -5;
  for (const char* name : {"CMN", "nosuch", ""}) {
    EXPECT_EQ(cmn_subs_get(name, &number, nullptr, nullptr), 0x100006) << name;
  }
  EXPECT_EQ(number, -5);
  ASSERT_EQ(core_num_alerts(), 3);
  const char* text = nullptr;
  cmn_alrt_ith(nullptr, 0, nullptr, &text);
  EXPECT_STREQ(text, "Unknown subsystem/application 'CMN' (add to CMNSUBS table).");
  cmn_alrt_clear(nullptr);
}

TEST(CmnSubs, TableHas164RowsWithDistinctNames) {
  const cmn_ty_subs_entry* t = cmn_subs_table();
  for (long i = 0; i < CMN_SUBS_NUM_ROWS; ++i) {
    long number = 0;
    ASSERT_EQ(cmn_subs_get(t[i].name, &number, nullptr, nullptr), 0) << t[i].name;
    EXPECT_EQ(number, t[i].number) << t[i].name;
  }
  EXPECT_STREQ(t[163].name, "SAM");
}

struct id_case {
  long id;
  const char* name;
};

class CmnSubsById : public ::testing::TestWithParam<id_case> {};

TEST_P(CmnSubsById, NameOfTheRangeHoldingTheId) {
  EXPECT_STREQ(cmn_subs_name_by_id(GetParam().id), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Ids, CmnSubsById,
                         ::testing::Values(id_case{51800, "bil"}, id_case{60700, "unknown"},
                                           id_case{-1, "unknown"}, id_case{1000, "cmn"}, id_case{1299, "cmn"},
                                           id_case{1300, "osl"}, id_case{1399, "osl"}, id_case{1400, "dbg"},
                                           id_case{20100, "oau"}, id_case{26550, "ztm"},
                                           id_case{60699, "SAM"}, id_case{999, "unknown"}));

class CmnSubsName : public ::testing::TestWithParam<id_case> {};

TEST_P(CmnSubsName, NameOfANumber) { EXPECT_STREQ(cmn_subs_name(GetParam().id), GetParam().name); }

INSTANTIATE_TEST_SUITE_P(Numbers, CmnSubsName,
                         ::testing::Values(id_case{1, "cmn"}, id_case{0, "NULL SUBSYSTEM"}, id_case{34, "clk"},
                                           id_case{164, "UNKNOWN SUBSYSTEM 164"},
                                           id_case{-1, "UNKNOWN SUBSYSTEM -1"},
                                           // Numbers are looked up by the rows' number field.
                                           id_case{155, "bil"}, id_case{151, "ESA2"}, id_case{154, "XML"},
                                           id_case{110, "pgc"}, id_case{111, "UNKNOWN SUBSYSTEM 111"},
                                           id_case{163, "SAM"}));

}  // namespace
