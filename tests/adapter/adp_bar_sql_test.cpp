// Binary arrays by exact text through the scripted service: the row
// statements of put, new and append on SQL Server (values inline, and bound
// with the bytes themselves), 50 rows to a batch, the own transaction, the
// size and name checks before anything is sent, the reads in chunks with
// and without locks, and Oracle's blocks compared whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "kclassic/kc_bstr.h"
#include "platform/dataservice/ds_script.h"
#include "store/dbs_main.h"

namespace {

using ds_script::cell;

constexpr long kCase = 10;
constexpr long kLongName = 11;  // its array table's name is one over SQL Server's limit of 30
constexpr long kLimitName = 12;  // exactly at the limit
constexpr long kArray = 3;
constexpr long kBindSwitch = 9;
constexpr long kObjidType = 594;
constexpr const char kTable[] = "table_case_array_3";

// Numbers first, first + 1, ...
std::vector<long> run_of(long count, long first = 1) {
  std::vector<long> v;
  for (long i = 0; i < count; ++i) v.push_back(first + i);
  return v;
}

// The stored words of numbers, as upper-case hexadecimal text.
std::string words(const std::vector<long>& numbers, size_t from = 0, size_t count = std::string::npos) {
  std::string s;
  char buf[9];
  for (size_t i = from; i < numbers.size() && i - from < count; ++i) {
    std::snprintf(buf, sizeof buf, "%08lX", static_cast<unsigned long>(static_cast<uint32_t>(numbers[i])));
    s += buf;
  }
  return s;
}

std::string mssql_insert(long id, long row, const std::string& hex) {
  return std::string("insert into ") + kTable + " values ( " + std::to_string(id) + ", " + std::to_string(row) +
         ", 0x" + hex + ")";
}
std::string ora_insert(long id, long row, const std::string& hex) {
  return std::string("insert into ") + kTable + " values ( " + std::to_string(id) + ", " + std::to_string(row) +
         ", HEXTORAW('" + hex + "'))";
}

class AdpBarSql : public adp_test {
 protected:
  void open(const char* driver, bool binding = false) {
    model_ = std::make_unique<adp_model>();
    ASSERT_EQ(adp_sch_type_insert(kCase, 2, "case"), 0);
    ASSERT_EQ(adp_sch_type_insert(kLongName, 2, "abcdefghijklmnopq"), 0);
    ASSERT_EQ(adp_sch_type_insert(kLimitName, 2, "abcdefghijklmnop"), 0);
    con_ = connect(driver);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), binding ? 1 : 0);
    ds_script::reset();
  }
  void SetUp() override {
    adp_test::SetUp();
    super_ = dbs_main_get_super_flag();
    dbs_main_set_super_flag(0);
  }
  void TearDown() override {
    osl_file_set_stdout(nullptr);
    if (out_ != nullptr) std::fclose(out_);
    for (utl_ty_col* s : sets_) adp_bar_free_array(nullptr, s, form_of(s));
    dbs_main_set_super_flag(super_);
    model_.reset();
    adp_test::TearDown();
  }
  static long form_of(utl_ty_col* set) {
    long type = 0;
    utl_col_info(set, &type, nullptr, nullptr, nullptr, nullptr, nullptr);
    return type == ADP_BAR_FLAT_ELEMENT ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED;
  }
  // A set in the options' form with one array per (number, numbers).
  utl_ty_col* set(long options, const std::vector<std::pair<long, std::vector<long>>>& arrays) {
    utl_ty_col* s = nullptr;
    EXPECT_EQ(adp_bar_make_set(options, &s), 0);
    sets_.push_back(s);
    for (const auto& [number, numbers] : arrays) {
      const obj_id id{kCase, number, 0};
      EXPECT_EQ(adp_bar_add_to_array(s, &id, static_cast<long>(numbers.size()), numbers.data(), options), 0);
    }
    return s;
  }
  void capture() {
    out_ = std::fopen("printed.txt", "w");
    osl_file_set_stdout(out_);
  }
  std::string printed() {
    std::fflush(out_);
    return file_text("printed.txt");
  }
  static long alerts() {
    long n = 0;
    cmn_alrt_num(nullptr, &n);
    return n;
  }
  static std::vector<std::string> batches() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls())
      if (c.rfind("StartBatch", 0) == 0 || c.rfind("BeginTransaction", 0) == 0 || c.rfind("EndTransaction", 0) == 0)
        out.push_back(c);
    return out;
  }

  std::unique_ptr<adp_model> model_;
  KAdpConnId* con_ = nullptr;
  FILE* out_ = nullptr;
  std::vector<utl_ty_col*> sets_;
  long super_ = 0;
};

TEST_F(AdpBarSql, PutAndNewCutArraysIntoRowsOnSqlServer) {
  open("oledb");
  const std::vector<long> n64 = run_of(64), n63 = run_of(63, 100), n127 = run_of(127, -3);
  const std::string del = std::string("delete from ") + kTable + " where objid in (";
  const struct {
    const char* what;
    std::vector<std::pair<long, std::vector<long>>> arrays;
    std::vector<std::string> rows;
  } cases[] = {
      {"64 numbers: row 1 full, the last row one", {{7, n64}},
       {mssql_insert(7, 1, words(n64, 0, 63)), mssql_insert(7, 32767, "00000040")}},
      {"63 numbers: the last row only", {{7, n63}}, {mssql_insert(7, 32767, words(n63))}},
      {"no number: no row", {{7, {}}}, {}},
      {"objects in set order",
       {{8, n127}, {7, {}}, {9, {-1}}},
       {mssql_insert(8, 1, words(n127, 0, 63)), mssql_insert(8, 2, words(n127, 63, 63)),
        mssql_insert(8, 32767, words(n127, 126)), mssql_insert(9, 32767, "FFFFFFFF")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
      std::string ids;
      for (const auto& a : c.arrays) ids += (ids.empty() ? "" : ",") + std::to_string(a.first);
      ds_script::reset();
      ASSERT_EQ(adp_bar_put(con_, kCase, kArray, options, set(options, c.arrays)), 0);
      std::vector<std::string> expected{del + ids + ") \n"};
      expected.insert(expected.end(), c.rows.begin(), c.rows.end());
      EXPECT_EQ(adp_script_sent(), expected);
      ds_script::reset();
      ASSERT_EQ(adp_bar_new(con_, kCase, kArray, options, set(options, c.arrays)), 0);
      EXPECT_EQ(adp_script_sent(), c.rows);
    }
  }
}

TEST_F(AdpBarSql, SixtyRowsGoAsTwoBatchesTheDeleteInTheFirst) {
  open("oledb");
  const std::vector<long> numbers = run_of(59 * 63 + 1);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{7, numbers}})), 0);
  const std::vector<std::string> sent = adp_script_sent();
  ASSERT_EQ(sent.size(), 61u);
  EXPECT_EQ(sent[0], "delete from table_case_array_3 where objid in (7) \n");
  EXPECT_EQ(sent[50], mssql_insert(7, 50, words(numbers, 49 * 63, 63)));
  EXPECT_EQ(sent[51], mssql_insert(7, 51, words(numbers, 50 * 63, 63)));
  EXPECT_EQ(sent[60], mssql_insert(7, 32767, words(numbers, 59 * 63)));
  // Each batch runs in one transaction: the first with the delete and 50
  // inserts, the second with the last ten.
  EXPECT_EQ(batches(), (std::vector<std::string>{"BeginTransaction", "StartBatch 52", "EndTransaction 1 1",
                                                 "BeginTransaction", "StartBatch 11", "EndTransaction 1 1"}));
}

TEST_F(AdpBarSql, OptionThirtyTwoWrapsEveryBatchInOneTransaction) {
  open("oledb");
  const std::vector<long> numbers = run_of(59 * 63 + 1);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, ADP_BAR_OPT_OWN_TRANSACTION, set(0, {{7, numbers}})), 0);
  EXPECT_EQ(batches(), (std::vector<std::string>{"BeginTransaction", "StartBatch 52", "StartBatch 11",
                                                 "EndTransaction 1 1"}));
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

TEST_F(AdpBarSql, AFailingRowEndsThePutRolledBack) {
  open("oledb");
  const std::vector<long> numbers = run_of(59 * 63 + 1);
  ds_script::fail({"FetchNextSet", 3, 0x8B0014F, "refused", "row 2"});
  EXPECT_NE(adp_bar_put(con_, kCase, kArray, ADP_BAR_OPT_OWN_TRANSACTION, set(0, {{7, numbers}})), 0);
  // The failing batch is rolled back; the second is never started.
  EXPECT_EQ(batches(), (std::vector<std::string>{"BeginTransaction", "StartBatch 52", "EndTransaction 0 1"}));
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

TEST_F(AdpBarSql, ATooLargeArrayStopsThePutBeforeAnythingIsSent) {
  open("oledb");
  capture();
  std::vector<long> huge(ADP_BAR_MAX_NUMBERS + 1, 5);
  for (long options : {ADP_BAR_OPT_OWN_TRANSACTION, 0L}) {
    ds_script::reset();
    EXPECT_EQ(adp_bar_put(con_, kCase, kArray, options, set(0, {{7, run_of(3)}, {8, huge}})), ADP_BAR_TOO_LARGE);
    EXPECT_EQ(adp_bar_new(con_, kCase, kArray, options, set(0, {{7, run_of(3)}, {8, huge}})), ADP_BAR_TOO_LARGE);
    EXPECT_TRUE(ds_script::calls().empty());
  }
  std::string message;
  for (int i = 0; i < 4; ++i) message += "table_case_array_3: Binary array is too large (> 2064258 bytes)\n";
  EXPECT_EQ(printed(), message);
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

// A number that does not fit the 32-bit word is refused before anything is
// sent (it used to be cut to its low 32 bits). The set is filled by hand, as
// a caller building its own collection would; the boundaries still pass.
TEST_F(AdpBarSql, ANumberOutsideThirtyTwoBitsStopsEveryWriteBeforeAnythingIsSent) {
  open("oledb");
  capture();
  const long wide[] = {2147483648L, -2147483649L, 0x100000000L, -0x7FFFFFFFFFFFFFFFL - 1};
  std::string message;
  for (long bad : wide) {
    for (long options : {0L, ADP_BAR_OPT_FLAT, ADP_BAR_OPT_OWN_TRANSACTION}) {
      SCOPED_TRACE(std::to_string(bad) + " options " + std::to_string(options));
      utl_ty_col* s = set(options, {{7, run_of(3)}, {8, run_of(70)}});
      obj_id id{};
      long count = 0;
      const long* numbers = nullptr;
      ASSERT_EQ(adp_bar_array_at(s, form_of(s), 1, &id, &count, &numbers), 0);
      const_cast<long*>(numbers)[65] = bad;
      ds_script::reset();
      EXPECT_EQ(adp_bar_put(con_, kCase, kArray, options, s), ADP_BAR_OUT_OF_RANGE);
      EXPECT_EQ(adp_bar_new(con_, kCase, kArray, options, s), ADP_BAR_OUT_OF_RANGE);
      EXPECT_EQ(adp_bar_append(con_, kCase, kArray, options, 5, s), ADP_BAR_OUT_OF_RANGE);
      EXPECT_TRUE(ds_script::calls().empty());
      for (int i = 0; i < 3; ++i) {
        message += "table_case_array_3: Binary array number " + std::to_string(bad) + " does not fit in 32 bits\n";
      }
    }
  }
  EXPECT_EQ(printed(), message);
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);

  ds_script::reset();
  const std::vector<long> edges{2147483647L, -2147483647L - 1};
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{7, edges}})), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"delete from table_case_array_3 where objid in (7) \n",
                                      mssql_insert(7, 32767, "7FFFFFFF80000000")}));
}

TEST_F(AdpBarSql, AppendWritesTheNewRowsAndTheLastRow) {
  open("oledb");
  const std::vector<long> n64 = run_of(64), n127 = run_of(127), n2 = run_of(2);
  const auto insert = [](long row, const std::string& hex) {
    return std::string("insert into ") + kTable + " values ( 7 ," + std::to_string(row) + " ,0x" + hex + ") ";
  };
  const auto update = [](const std::string& hex) {
    return std::string("update ") + kTable + " set data = 0x" + hex + " where objid = 7 and seq_num = 32767";
  };
  const struct {
    const char* what;
    std::vector<long> numbers;
    long appended;
    std::vector<std::string> sent;
  } cases[] = {
      {"1 to 63: row 1 inserted, the last row updated", n64, 1, {insert(1, words(n64, 0, 63)), update("00000040")}},
      {"62 to 64: the last row updated full", n127, 1, {insert(2, words(n127, 63, 63)), update("0000007F")}},
      {"all new: the last row inserted", n2, 2, {insert(32767, "0000000100000002")}},
      {"2 to 0 numbers... an empty array loses its rows", {}, 0, {"delete from table_case_array_3 where objid = 7"}},
      {"within the last row", n2, 1, {update("0000000100000002")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
      ds_script::reset();
      ASSERT_EQ(adp_bar_append(con_, kCase, kArray, options, c.appended, set(options, {{7, c.numbers}})), 0);
      EXPECT_EQ(adp_script_sent(), c.sent);
    }
  }
}

TEST_F(AdpBarSql, AppendChecksTheSizeBeforeAnythingIsSent) {
  open("oledb");
  capture();
  std::vector<long> full = run_of(ADP_BAR_MAX_NUMBERS);
  ASSERT_EQ(adp_bar_append(con_, kCase, kArray, 0, 1, set(0, {{7, full}})), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"update table_case_array_3 set data = 0x" + words(full, 32765 * 63) +
                                      " where objid = 7 and seq_num = 32767"}));
  ds_script::reset();
  full.push_back(0);
  EXPECT_EQ(adp_bar_append(con_, kCase, kArray, 0, 1, set(0, {{8, run_of(1)}, {7, full}})), ADP_BAR_TOO_LARGE);
  EXPECT_TRUE(ds_script::calls().empty());
  EXPECT_EQ(printed(), "table_case_array_3: Binary array is too large (> 2064258 bytes)\n");
}

TEST_F(AdpBarSql, ANameOverTheLimitIsRefusedWithoutAnAlert) {
  open("oledb");
  const obj_id id{kLongName, 7, 0};
  for (long type : {kLongName, kLimitName}) {
    SCOPED_TRACE(type);
    const long expected = type == kLongName ? ADP_BAR_NAME_TOO_LONG : 0;
    ds_script::reset();
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(adp_bar_put(con_, type, kArray, 0, set(0, {{7, run_of(2)}})), expected);
    EXPECT_EQ(adp_bar_new(con_, type, kArray, 0, set(0, {{7, run_of(2)}})), expected);
    EXPECT_EQ(adp_bar_append(con_, type, kArray, 0, 1, set(0, {{7, run_of(2)}})), expected);
    EXPECT_EQ(adp_bar_delete(con_, type, kArray, &id), expected);
    EXPECT_EQ(alerts(), 0);
    EXPECT_EQ(ds_script::calls().empty(), expected != 0);
  }
}

TEST_F(AdpBarSql, DeleteCreateAndTheTableName) {
  open("oledb");
  const obj_id id{kCase, 7, 0};
  ASSERT_EQ(adp_bar_delete(con_, kCase, kArray, &id), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{"delete from table_case_array_3 where objid = 7"}));
  ds_script::reset();
  ASSERT_EQ(adp_bar_create(con_, kCase, kArray), 0);
  ASSERT_FALSE(adp_script_sent().empty());
  EXPECT_EQ(adp_script_sent().front(),
            "CREATE TABLE table_case_array_3 (objid int, seq_num smallint, data varbinary(253) )");
  EXPECT_EQ(adp_script_sent().back(), "CREATE UNIQUE INDEX itable_case_array3 ON table_case_array_3 (objid, seq_num) ");
  utl_ty_pool* pool = nullptr;
  ASSERT_EQ(utl_pl_create("adp_bar_sql_test", 512, &pool), 0);
  char* name = nullptr;
  ASSERT_EQ(adp_bar_table_name("case", pool, 12, &name), 0);
  EXPECT_STREQ(name, "table_case_array_12");
  utl_pl_free("adp_bar_sql_test", pool);
  EXPECT_EQ(adp_bar_init(), 0);
  EXPECT_EQ(adp_bar_term(), 0);
}

// Bound, the statement texts carry markers and each statement's bind record
// holds the row's bytes themselves.
TEST_F(AdpBarSql, BoundRowsCarryTheirBytes) {
  open("oledb", true);
  const std::vector<long> numbers = run_of(64, 0x01020300);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{7, numbers}})), 0);
  const std::string row = "insert into table_case_array_3 values ( @V0, @V1, @V2)";
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"delete from table_case_array_3 where objid in (7) \n", row, row}));
  KAdpSqlBatch* b = con_->GetSqlBatch(0);
  for (long stmt : {1L, 2L}) {
    SCOPED_TRACE(stmt);
    KCLASSIC::KUtlRecord& vars = *b->GetStmtBindVars().GetRecordPtr(stmt, 0);
    const char* bytes = static_cast<const char*>(KAdpUtlRecord::VoidPtrOf(vars, 2, 1));
    ASSERT_NE(bytes, nullptr);
    const std::string expected = stmt == 1 ? words(numbers, 0, 63) : words(numbers, 63);
    std::string got;
    char buf[3];
    for (unsigned i = 0; i < KCLASSIC::KBinSysStringByteLen(bytes); ++i) {
      std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
      got += buf;
    }
    EXPECT_EQ(got, expected);
  }
}

TEST_F(AdpBarSql, OracleWritesOneBlockEachStatementEndedBySemicolon) {
  open("oracle");
  const std::vector<long> n64 = run_of(64);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{7, n64}, {8, {}}})), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{" BEGIN\ndelete from table_case_array_3 where objid in (7,8) \n;\n" +
                                      ora_insert(7, 1, words(n64, 0, 63)) + ";\n" +
                                      ora_insert(7, 32767, "00000040") + " ; END;\n"}));
  ds_script::reset();
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, 0, set(0, {{9, {5}}})), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{" BEGIN\n" + ora_insert(9, 32767, "00000005") +
                                                         " ; END;\n"}));
  ds_script::reset();
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{8, {}}})), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{" BEGIN\ndelete from table_case_array_3 where objid in (8) \n ; END;\n"}));
  ds_script::reset();
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, 0, set(0, {{8, {}}})), 0);
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpBarSql, OracleBoundMarkersRunOnThroughTheBlock) {
  open("oracle", true);
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, 0, set(0, {{7, run_of(64)}})), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{" BEGIN\ninsert into table_case_array_3 values ( :B0, :B1, :B2);\n"
                                      "insert into table_case_array_3 values ( :B3, :B4, :B5) ; END;\n"}));
}

TEST_F(AdpBarSql, OracleSixtyRowsGoAsTwoBlocks) {
  open("oracle");
  const std::vector<long> numbers = run_of(59 * 63 + 1);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, 0, set(0, {{7, numbers}})), 0);
  const std::vector<std::string> sent = adp_script_sent();
  ASSERT_EQ(sent.size(), 2u);
  std::string first = " BEGIN\ndelete from table_case_array_3 where objid in (7) \n";
  for (long row = 1; row <= 50; ++row) first += ";\n" + ora_insert(7, row, words(numbers, (row - 1) * 63, 63));
  std::string second = " BEGIN\n";
  for (long row = 51; row <= 60; ++row) {
    second += (row == 51 ? "" : ";\n") +
              ora_insert(7, row == 60 ? 32767 : row, words(numbers, (row - 1) * 63, row == 60 ? 1 : 63));
  }
  EXPECT_EQ(sent[0], first + " ; END;\n");
  EXPECT_EQ(sent[1], second + " ; END;\n");
}

// The ids of numbers as an object-id collection.
utl_ty_col* id_list(const std::vector<long>& numbers) {
  utl_ty_col* ids = nullptr;
  EXPECT_EQ(utl_col_make("adp_bar_sql_test", kObjidType, 10, 10, 0, 0, &ids), 0);
  for (long n : numbers) {
    const obj_id id{kCase, n, 0};
    EXPECT_EQ(utl_col_push(ids, &id, nullptr), 0);
  }
  return ids;
}

std::string id_text(long first, long last) {
  std::string s;
  for (long n = first; n <= last; ++n) s += (n == first ? "" : ",") + std::to_string(n);
  return s;
}

TEST_F(AdpBarSql, ReadsGoInChunksOfTheDialectsNumberWithLocksWhenAsked) {
  const struct {
    const char* driver;
    long chunk;
    const char* head;
    const char* lock_tail;
  } servers[] = {
      {"oledb", 254, "select objid, seq_num, data from table_case_array_3 HOLDLOCK where objid in (", ""},
      {"oracle", 100, "select objid, seq_num, data from table_case_array_3 where objid in (", " for update"},
  };
  const std::string plain = "select objid, seq_num, data from table_case_array_3 where objid in (";
  const std::string order = ") order by objid, seq_num";
  for (const auto& s : servers) {
    SCOPED_TRACE(s.driver);
    open(s.driver);
    utl_ty_col* ids = id_list(run_of(s.chunk + 46));
    utl_ty_col* out = nullptr;
    ASSERT_EQ(adp_bar_get(con_, kCase, kArray, ids, 0, &out, 0), 0);
    sets_.push_back(out);
    EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{plain + id_text(1, s.chunk) + order,
                                                           plain + id_text(s.chunk + 1, s.chunk + 46) + order}));
    ds_script::reset();
    ASSERT_EQ(adp_bar_get(con_, kCase, kArray, ids, 0, &out, ADP_BAR_GET_LOCK), 0);
    EXPECT_EQ(adp_script_sent().front(), s.head + id_text(1, s.chunk) + order + s.lock_tail);
    // The store's super flag 8 reads without locks.
    ds_script::reset();
    dbs_main_set_super_flag(8);
    ASSERT_EQ(adp_bar_get(con_, kCase, kArray, ids, 0, &out, ADP_BAR_GET_LOCK), 0);
    EXPECT_EQ(adp_script_sent().front(), plain + id_text(1, s.chunk) + order);
    dbs_main_set_super_flag(0);
    utl_col_free("adp_bar_sql_test", ids);
    model_.reset();
  }
}

TEST_F(AdpBarSql, RowsBecomeArraysOnlyWithTheirLastRow) {
  open("oledb");
  const std::vector<long> n64 = run_of(64);
  const auto row = [](long id, long seq, const std::string& bytes) {
    return std::vector<cell>{cell::l(id), cell::l(seq), cell::b(bytes)};
  };
  const auto bytes_of = [](const std::vector<long>& numbers, size_t from, size_t count) {
    std::string b;
    for (size_t i = from; i < numbers.size() && i - from < count; ++i)
      for (int k = 3; k >= 0; --k) b += static_cast<char>((static_cast<uint32_t>(numbers[i]) >> (8 * k)) & 0xFF);
    return b;
  };
  utl_ty_col* ids = id_list({7, 8, 9, 10});
  for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
    SCOPED_TRACE(options);
    {
      ds_script::push_result({{"objid", "seq_num", "data"},
                              {row(7, 1, bytes_of(n64, 0, 63)), row(7, 32767, bytes_of(n64, 63, 1)),
                               row(8, 1, bytes_of(n64, 0, 63)), row(9, 32767, bytes_of({-5, 6}, 0, 2))}});
    }
    utl_ty_col* out = nullptr;
    ASSERT_EQ(adp_bar_get(con_, kCase, kArray, ids, options, &out, 0), 0);
    sets_.push_back(out);
    const long form = options ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED;
    long n = 0;
    utl_col_num(out, &n);
    ASSERT_EQ(n, 2);
    obj_id id{};
    long count = 0;
    const long* numbers = nullptr;
    ASSERT_EQ(adp_bar_array_at(out, form, 0, &id, &count, &numbers), 0);
    EXPECT_EQ((std::vector<long>{id.type, id.num}), (std::vector<long>{kCase, 7}));
    EXPECT_EQ(std::vector<long>(numbers, numbers + count), n64);
    ASSERT_EQ(adp_bar_array_at(out, form, 1, &id, &count, &numbers), 0);
    EXPECT_EQ(id.num, 9);
    EXPECT_EQ(std::vector<long>(numbers, numbers + count), (std::vector<long>{-5, 6}));
  }
  EXPECT_NE(file_text("server.log").find("table_case_array_3: the array of object 8 has no last row"),
            std::string::npos)
      << file_text("server.log");
  utl_col_free("adp_bar_sql_test", ids);
}

}  // namespace
