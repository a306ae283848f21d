// Oracle object ids on the MariaDB server: each type's block in its
// request's slot, the range checks at site 0, the restart past the top, a
// type without a counter row, the two types whose row is made on first use,
// and two processes reserving blocks of one type at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/core_fixture.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kRoamerFlag = 32;

class AdpIdsOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    op_ = con_->GetDbOperation();
    ASSERT_NE(op_, nullptr);
  }
  void counter(long type, long long value) {
    ASSERT_TRUE(db_.run("delete from adp_tbl_oid where type_id = " + std::to_string(type) + ";\n" +
                        "insert into adp_tbl_oid values(" + std::to_string(type) + ", " + std::to_string(value) +
                        ");"));
  }
  std::string counter_of(long type) {
    return value("select obj_num from adp_tbl_oid where type_id = " + std::to_string(type));
  }
  long batch(std::vector<long> types, std::vector<long> counts, std::vector<long>* last) {
    last->assign(types.size(), -7);
    return op_->ObjNumberBatch(static_cast<long>(types.size()), types.data(), last->data(), counts.data());
  }

  KAdpDbOperation* op_ = nullptr;
};

TEST_F(AdpIdsOra, ThreeTypesInOneCallEachInItsSlot) {
  counter(7, 100);
  counter(3, 300);
  counter(5, 500);
  std::vector<long> last;
  ASSERT_EQ(batch({7, 3, 5}, {10, 20, 30}, &last), 0);
  EXPECT_EQ(last, (std::vector<long>{110, 320, 530}));
  EXPECT_EQ(counter_of(7), "110");
  EXPECT_EQ(counter_of(3), "320");
  EXPECT_EQ(counter_of(5), "530");
  // Two requests of one type: the later one is served first.
  ASSERT_EQ(batch({5, 5}, {1, 2}, &last), 0);
  EXPECT_EQ(last, (std::vector<long>{533, 532}));
  EXPECT_EQ(batch({}, {}, &last), 0);
}

TEST_F(AdpIdsOra, RangeChecksAtSiteZeroAndTheRestartPastTheTop) {
  const struct {
    long site;
    long flags;
    long long start;
    long count;
    long status;
    const char* last;  // the value returned, or the counter left unchanged
  } rows[] = {
      {0, kRoamerFlag, 2147482000LL, 700, ADP_ID_RANGE_USED_UP, "2147482000"},  // 947 left
      {0, kRoamerFlag, 2147482000LL, 600, 0, "2147482600"},                     // 1047 left
      {0, 0, -1500, 600, ADP_ID_RANGE_USED_UP, "-1500"},                        // sum -900
      {0, 0, -1500, 400, 0, "-1100"},
      {4, 0, -1500, 600, 0, "-900"},                            // no check at another site
      {0, 0, 2147482600LL, 100, 0, "-2147483548"},              // restart at the bottom
      {4, 0, 2147483600LL, 100, ADP_ID_RANGE_USED_UP, "2147483600"},  // past 32 bits
  };
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  osl_print_set_msg_mode(1);
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.site) + " " + std::to_string(r.start) + " + " + std::to_string(r.count));
    adp_db_set_site_id(r.site);
    adp_db_set_flags(r.flags);
    counter(11, r.start);
    cmn_alrt_clear(nullptr);
    ASSERT_TRUE(msgs.restart());
    std::vector<long> last;
    EXPECT_EQ(batch({11}, {r.count}, &last), r.status);
    EXPECT_EQ(counter_of(11), r.last);
    if (r.status == 0) {
      EXPECT_EQ(std::to_string(last[0]), r.last);
    } else {
      EXPECT_EQ(core_top_alert_code(), ADP_ID_RANGE_USED_UP);
      EXPECT_EQ(msgs.text(),
                "ERROR: Cannot generate new object ID's for Object type 11 as Objid range is used up.\n");
    }
  }
}

TEST_F(AdpIdsOra, TheRangeCheckPairsCountersByTypeAndMovesNothingWhenRefused) {
  // Type 9 has no counter row: the check still pairs 5's counter with 5.
  counter(3, 0);
  counter(5, -1500);
  std::vector<long> last;
  EXPECT_EQ(batch({9, 3, 5}, {1, 1, 600}, &last), ADP_ID_RANGE_USED_UP);
  EXPECT_NE(core_top_alert_text().find("5"), std::string::npos) << core_top_alert_text();
  EXPECT_EQ(counter_of(3), "0");
  EXPECT_EQ(counter_of(5), "-1500");
  // Requests of one type count together: 300 + 300 from -1500 reach -900.
  EXPECT_EQ(batch({5, 5}, {300, 300}, &last), ADP_ID_RANGE_USED_UP);
  EXPECT_EQ(counter_of(5), "-1500");
}

TEST_F(AdpIdsOra, TypeWithoutCounterRowFailsAndServedRequestsKeepTheirIds) {
  counter(3, 40);
  std::vector<long> last;
  EXPECT_EQ(batch({9, 3}, {5, 5}, &last), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(core_top_alert_code(), ADP_BAD_VALUE_TYPE);
  EXPECT_NE(core_top_alert_text().find("9"), std::string::npos) << core_top_alert_text();
  EXPECT_EQ(last, (std::vector<long>{-7, 45}));
  EXPECT_EQ(counter_of(3), "45");
  EXPECT_EQ(counter_of(9), "");
  // The transaction was ended: a later request commits on its own.
  EXPECT_EQ(batch({3}, {1}, &last), 0);
  EXPECT_EQ(counter_of(3), "46");
}

TEST_F(AdpIdsOra, TableExistenceOnTheServer) {
  char exists = 7;
  ASSERT_EQ(adp_sch_does_tbl_exist(con_, "adp_tbl_oid", &exists), 0);
  EXPECT_EQ(exists, 1);
  ASSERT_EQ(adp_sch_does_tbl_exist(con_, "no_such_table", &exists), 0);
  EXPECT_EQ(exists, 0);
}

TEST_F(AdpIdsOra, TheTwoFirstUseTypesGetTheirCounterRow) {
  ASSERT_TRUE(db_.run("delete from adp_tbl_oid where type_id in (100000001, 100000002);"));
  std::vector<long> last;
  ASSERT_EQ(batch({100000002, 100000001}, {4, 6}, &last), 0);
  EXPECT_EQ(last, (std::vector<long>{4, 6}));
  EXPECT_EQ(counter_of(100000001), "6");
  EXPECT_EQ(counter_of(100000002), "4");
}

class AdpIdsOraProcesses : public AdpIdsOra {
 public:
  // In a forked child: its own session, `rounds` blocks of `block` ids of
  // the type, each block's last id written to `file`; exits 0 when all went
  // well, and never returns.
  [[noreturn]] void child(const std::string& file, long type, long rounds, long block) {
    KAdpConnId* cid = opened();
    KAdpDbOperation* op = cid != nullptr ? cid->GetDbOperation() : nullptr;
    std::ofstream out(file);
    int code = op != nullptr ? 0 : 2;
    for (long i = 0; i < rounds && code == 0; ++i) {
      long last = 0, t = type, n = block;
      if (op->ObjNumberBatch(1, &t, &last, &n) != 0) code = 3;
      out << last << "\n";
    }
    out.close();
    _exit(code);
  }
};

TEST_F(AdpIdsOraProcesses, TwoProcessesNeverShareAnIdAndEndAtTheSum) {
  constexpr long kType = 12, kRounds = 40, kBlock = 7;
  counter(kType, 0);
  std::vector<std::string> files = {(dir_.path() / "a.ids").string(), (dir_.path() / "b.ids").string()};
  std::vector<pid_t> kids;
  for (const std::string& f : files) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) child(f, kType, kRounds, kBlock);
    kids.push_back(pid);
  }
  for (pid_t pid : kids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::vector<std::pair<long, long>> blocks;
  for (const std::string& f : files) {
    std::ifstream in(f);
    for (long last = 0; in >> last;) blocks.emplace_back(last - kBlock + 1, last);
  }
  ASSERT_EQ(blocks.size(), static_cast<size_t>(2 * kRounds));
  std::sort(blocks.begin(), blocks.end());
  for (size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(blocks[i].first, static_cast<long>(i) * kBlock + 1) << "block " << i;
  }
  EXPECT_EQ(counter_of(kType), std::to_string(2 * kRounds * kBlock));
}

}  // namespace
