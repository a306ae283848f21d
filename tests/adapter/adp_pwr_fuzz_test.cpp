// Seeded random power queries over the query model on both servers: random
// condition lists (paths with aliases, recursions, link tables, type
// columns and unknown names; every operator and some outside the table;
// values with quotes, separators and number look-alikes), random
// connectors and sort keys. Each build gives a text or an alert, and leaves
// no mark on the model.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_model.h"
#include "core/cmn/cmn_alrt.h"

namespace {

using namespace adp_qry_model;

const char* const kPaths[] = {"title", "status", "amount", "opened", "flags", "objid", "case2site:name",
                              "case2site(2):name", "case2site(3):objid", "case2site:site2contact:last_name",
                              "case2site:parent:parent:name", "case2site:parent:name", "case2note:text",
                              "case2site", "case2note", "case2site:children", "no_such", "case2site:no_such",
                              "nowhere:name", "", "case2site(2):site2contact(4):last_name"};
const char* const kValues[] = {"", "1", "-12.5", "abc", "O'Brien", "1 and 5", "1 AND 9", "x; drop table t",
                               "('a','b')", "(1,2,3)", "03/05/2004 14:07:09", "?", "1e3", "0x10", "12abc",
                               "'", "a -- b", "/* c */", "select objid from table_case", "2", "nan"};
const char* const kSorts[] = {"title", "case2site:name", "case2site(2):name", "tta.opened 1753-01-01",
                              "no_such", "case2site:parent:name", "x; 1753-01-01"};

std::string pattern(std::mt19937& rng, long n) {
  std::string p;
  int open = 0;
  for (long i = 0; i < n; ++i) {
    if (i > 0) p += rng() % 2 ? "AND " : "OR ";
    if (rng() % 4 == 0) {
      p += "(";
      ++open;
    }
    p += "%s ";
    if (open > 0 && rng() % 3 == 0) {
      p += ")";
      --open;
    }
  }
  // Now and then the parentheses do not balance, or a placeholder is missing.
  if (rng() % 8 != 0)
    while (open-- > 0) p += ")";
  if (rng() % 16 == 0 && !p.empty()) p.erase(p.find("%s"), 2);
  return p;
}

class AdpPwrFuzz : public adp_test {};

TEST_F(AdpPwrFuzz, RandomBuildsGiveTextOrAlertAndLeaveNoMarks) {
  build();
  std::mt19937 rng(20261211);
  for (const char* driver : {"oledb", "oracle"}) {
    KAdpConnId* con = connect(driver);
    long built = 0, refused = 0;
    for (int round = 0; round < 600; ++round) {
      const long n = static_cast<long>(rng() % 6);
      std::vector<dbs_ty_pwr_cond> conds;
      for (long i = 0; i < n; ++i) {
        const long op = static_cast<long>(rng() % 28) - 1;
        conds.push_back({kPaths[rng() % std::size(kPaths)], op, kValues[rng() % std::size(kValues)]});
      }
      std::string pat = pattern(rng, n);
      dbs_ty_pwr_list list{kCase, n, conds.data(), 1, n > 0 ? pat.data() : nullptr, n};
      std::vector<const char*> sorts;
      for (long i = static_cast<long>(rng() % 3); i > 0; --i) sorts.push_back(kSorts[rng() % std::size(kSorts)]);
      adp_ty_pwr_sort s{static_cast<long>(sorts.size()), sorts.data(), static_cast<long>(rng() % 2)};
      std::vector<char> sql(ADP_PWR_TEXT_SIZE, '\0');
      cmn_alrt_clear(nullptr);
      const long st = adp_pwr_qry_construct(con, schema(kCase), &list, nullptr, sorts.empty() ? nullptr : &s,
                                            sql.data());
      long alerts = 0;
      cmn_alrt_num(nullptr, &alerts);
      ++(st == 0 ? built : refused);
      if (st == 0) {
        EXPECT_EQ(std::string(sql.data()).rfind("select ", 0), 0u) << driver << " round " << round;
      } else {
        EXPECT_GT(alerts, 0) << driver << " round " << round << " status " << std::hex << st;
      }
      EXPECT_LT(std::string(sql.data()).size(), static_cast<size_t>(ADP_PWR_TEXT_LIMIT));
      ASSERT_TRUE(unmarked()) << driver << " round " << round << ": " << sql.data();
      ASSERT_FALSE(adp_pwr_or_group_is_open()) << driver << " round " << round;
    }
    // The seed reaches both outcomes.
    EXPECT_GT(built, 0) << driver;
    EXPECT_GT(refused, 0) << driver;
  }
}

}  // namespace
