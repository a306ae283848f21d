// Taking a stored row on the run's MariaDB server through the Oracle-dialect
// service: a text field moved from one value to another only while the row
// still holds the first, alone or inside the caller's transaction, and two
// processes taking the same rows at once, each row won by exactly one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_take.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_time.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"

namespace {

constexpr long kTag = 42;
constexpr long kCreatedFlag = 2;

class AdpObjTakeE2e : public adp_ora_test {
 protected:
  void SetUp() override {
    adp_ora_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(db_.load("crm_objects.sql"));
  }
  // Tags 1..count labelled `label`.
  void tags(long count, const char* label) {
    std::string script;
    for (long n = 1; n <= count; ++n)
      script += "insert into table_tag(objid, label) values(" + std::to_string(n) + ", '" + label + "');\n";
    ASSERT_TRUE(db_.run(script));
  }
  std::string label(long number) {
    return value("select coalesce(label, 'null') from table_tag where objid = " + std::to_string(number));
  }
  static long take(KAdpConnId* cid, long number, const char* field, const char* from, const char* to,
                   long* taken) {
    return adp_obj_take_field(cid, kTag, number, field, from, to, taken);
  }
};

TEST_F(AdpObjTakeE2e, TheFieldMovesOnlyFromTheExpectedValue) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  tags(2, "ready");
  ASSERT_TRUE(db_.run("insert into table_tag(objid, label) values(3, 'other');"));
  struct take_case {
    long number;
    long taken;
    const char* after;
  };
  // In order: a ready row is taken; taken already, it is not taken again;
  // a row holding another value, or gone, is not touched.
  const take_case cases[] = {{1, 1, "taken"}, {1, 0, "taken"}, {3, 0, "other"}, {99, 0, ""}};
  for (const take_case& c : cases) {
    SCOPED_TRACE(c.number);
    long taken = -1;
    ASSERT_EQ(take(cid, c.number, "label", "ready", "taken", &taken), 0);
    EXPECT_EQ(taken, c.taken);
    EXPECT_EQ(label(c.number), c.after);
  }
  EXPECT_EQ(label(2), "ready");
}

TEST_F(AdpObjTakeE2e, BadFieldsAndValuesAreRefusedAndTouchNothing) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  tags(1, "ready");
  struct bad_case {
    const char* field;
    const char* from;
    const char* to;
    long code;  // 0: any failure
  };
  const bad_case cases[] = {{"objid", "1", "2", ADP_BAD_VALUE_TYPE},
                            {"label", "ready", "ready", ADP_BAD_VALUE_TYPE},
                            {"label", nullptr, "taken", ADP_BAD_VALUE_TYPE},
                            {"no_such_field", "ready", "taken", 0}};
  for (const bad_case& c : cases) {
    SCOPED_TRACE(c.field);
    long taken = -1;
    long st = take(cid, 1, c.field, c.from, c.to, &taken);
    if (c.code != 0) {
      EXPECT_EQ(st, c.code);
    } else {
      EXPECT_NE(st, 0);
    }
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(label(1), "ready");
  }
  long taken = 0;
  EXPECT_NE(adp_obj_take_field(cid, 9999, 1, "label", "ready", "taken", &taken), 0) << "no such type";
}

TEST_F(AdpObjTakeE2e, InsideTheCallersTransactionTheTakeGoesWithIt) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  tags(2, "ready");
  long taken = 0;
  ASSERT_EQ(adp_trn_begin(cid), 0);
  ASSERT_EQ(take(cid, 1, "label", "ready", "taken", &taken), 0);
  EXPECT_EQ(taken, 1);
  ASSERT_EQ(adp_trn_rollback(cid), 0);
  EXPECT_EQ(label(1), "ready");
  ASSERT_EQ(adp_trn_begin(cid), 0);
  ASSERT_EQ(take(cid, 2, "label", "ready", "taken", &taken), 0);
  ASSERT_EQ(adp_trn_commit(cid), 0);
  EXPECT_EQ(label(2), "taken");
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

// In a forked child: its own session tries to take tags 1..count in order,
// writing each number it won to `file`; exits 0 when every call succeeded.
class AdpObjTakeE2eProcesses : public AdpObjTakeE2e {
 public:
  [[noreturn]] void child(const std::string& file, long count) {
    KAdpConnId* cid = opened();
    std::ofstream out(file);
    int code = cid != nullptr ? 0 : 2;
    for (long n = 1; n <= count && code == 0; ++n) {
      long taken = 0;
      if (take(cid, n, "label", "ready", "taken", &taken) != 0) code = 3;
      if (taken == 1) out << n << "\n";
    }
    out.close();
    _exit(code);
  }
};

TEST_F(AdpObjTakeE2eProcesses, TwoProcessesTakingTheSameRowsWinEachRowOnce) {
  ASSERT_NE(store_session(kCreatedFlag), nullptr);
  constexpr long kRows = 200;
  tags(kRows, "ready");
  std::vector<std::string> files = {(dir_.path() / "a.txt").string(), (dir_.path() / "b.txt").string()};
  std::vector<pid_t> kids;
  for (const std::string& f : files) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) child(f, kRows);
    kids.push_back(pid);
  }
  for (pid_t pid : kids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::vector<long> won;
  for (const std::string& f : files) {
    std::ifstream in(f);
    for (long n = 0; in >> n;) won.push_back(n);
  }
  std::sort(won.begin(), won.end());
  EXPECT_EQ(std::adjacent_find(won.begin(), won.end()), won.end()) << "a row was taken twice";
  EXPECT_EQ(won.size(), static_cast<size_t>(kRows));
  EXPECT_EQ(value("select count(*) from table_tag where label = 'taken'"), std::to_string(kRows));
}

}  // namespace
