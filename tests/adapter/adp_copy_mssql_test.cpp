// SQL Server's copy of a changed table by exact text through the scripted
// service: the INSERT ... SELECT with its isnull items, and the bulk copy
// through a file with a stand-in "bcp" on the path that records its
// arguments (format files, quoted commands, the dry run, a failed unload or
// load keeping the old table, the refused decimal column).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_cat.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"

namespace {

using ds_script::cell;

constexpr unsigned long kNoNullFill = 0x80;
constexpr const char kOldTable[] = "table_old";
constexpr const char kNewTable[] = "table_new";

utl_ty_col* strings(const std::vector<std::string>& texts) {
  utl_ty_col* col = nullptr;
  utl_col_make("test", 516, 8, 8, 0, 0, &col);
  for (const std::string& t : texts) utl_col_push(col, t.c_str(), nullptr);
  return col;
}

// A type's fields: name, column-type code, flags.
struct fields {
  std::vector<typ_sch_frec> recs;
  typ_sch_srec schema{};
  fields(std::initializer_list<std::tuple<const char*, long, unsigned long>> list) {
    for (const auto& [name, code, flags] : list) {
      typ_sch_frec f{};
      f.name = const_cast<char*>(name);
      f.db_type = code;
      f.flags = flags;
      recs.push_back(f);
    }
    schema.nfields = static_cast<long>(recs.size());
    schema.fields = recs.data();
  }
};

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

class AdpCopyMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_dbop_forget_column_caches();
    con_ = connect("oledb");
    ds_script::reset();
  }
  void TearDown() override {
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    if (!old_path_.empty()) setenv("PATH", old_path_.c_str(), 1);
    unsetenv("BCP_FAIL");
    adp_dbop_forget_column_caches();
    adp_test::TearDown();
  }
  utl_ty_col* col(const std::vector<std::string>& texts) {
    cols_.push_back(strings(texts));
    return cols_.back();
  }
  // A stand-in bcp first on the path: it records its arguments one per
  // line, writes the data file on "out", and fails the direction named by
  // BCP_FAIL.
  void fake_bcp() {
    const std::string dir = dir_.path().string();
    {
      std::ofstream s(dir + "/bcp");
      s << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> bcp.args\necho -- >> bcp.args\n"
           "if [ \"$BCP_FAIL\" = \"$2\" ]; then exit 3; fi\n"
           "if [ \"$2\" = out ]; then echo rows > orbdata.out; fi\nexit 0\n";
    }
    ASSERT_EQ(::chmod((dir + "/bcp").c_str(), 0755), 0);
    old_path_ = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + old_path_).c_str(), 1);
  }
  // The answers to the four statements of the temporary default, then the
  // catalogue columns of the two tables, read once each.
  static void push_catalogue() {
    for (int i = 0; i < 4; ++i) ds_script::push_result({{}, {}, 0});
    for (int table = 0; table < 2; ++table) {
      ds_script::push_result({{"name", "prec", "type", "colid", "status"},
                              {{cell::t("objid"), cell::l(10), cell::t("56"), cell::l(1), cell::l(0)},
                               {cell::t("title"), cell::l(80), cell::t("39"), cell::l(table == 0 ? 3 : 2), cell::l(8)},
                               {cell::t("notes"), cell::l(16), cell::t("35"), cell::l(table == 0 ? 2 : 4), cell::l(8)},
                               {cell::t("site2x"), cell::l(10), cell::t("56"), cell::l(table == 0 ? 4 : 3),
                                cell::l(8)}}});
    }
  }
  long bulk(long flags, const char* password = "se'cret") {
    return con_->GetDbOperation()->SceFillFileFromTable(
        const_cast<char*>("crm"), const_cast<char*>("sa"), const_cast<char*>(password), const_cast<char*>("srv1"),
        const_cast<char*>(kOldTable), const_cast<char*>(kNewTable), &type_.schema,
        col({"objid", "title", "notes", "site2x", "'none'"}), col({"objid", "title", "notes", "site2x", "flag"}),
        col({"0", "0", "0", "0", "1"}), log_, flags);
  }
  std::vector<std::string> bcp_args() {
    std::vector<std::string> out;
    std::ifstream in("bcp.args");
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  KAdpConnId* con_ = nullptr;
  std::vector<utl_ty_col*> cols_;
  std::string old_path_;
  FILE* log_ = nullptr;
  fields type_{{"objid", 0, 0}, {"title", 7, 0}, {"notes", 10, 0}, {"site2x", 0, 0}};
};

TEST_F(AdpCopyMssql, TheInsertSelectFillsNullsOfNumbersAndTexts) {
  fields type{{"objid", 0, 0}, {"title", 7, 0}, {"site", 0, kNoNullFill}, {"notes", 8, 0}, {"code", 6, 0},
              {"n", 2, 0}};
  // A flagged field is not rewritten, a constant keeps its comma, and the
  // last item is compared without the list's line end.
  KAdpDbOperation* op = con_->GetDbOperation();
  long highest = 2500;
  ASSERT_EQ(op->SceFillTableFromTable(const_cast<char*>(kOldTable), const_cast<char*>(kNewTable),
                                      col({"objid", "title", "site", "notes", "'x,y'", "code", "n"}),
                                      col({"objid", "title", "site", "notes", "fresh", "code", "n"}), &highest,
                                      nullptr, 0, &type.schema),
            0);
  const std::string want =
      "INSERT INTO table_new (objid, title, site, notes, fresh, code, n)\n SELECT  isnull(objid,0),  "
      "isnull(title,''), site, notes, 'x,y',  isnull(code,''),  isnull(n,0)\n FROM table_old\n WHERE objid <= 2500";
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{want});

  // A dry run writes the statement (no highest id: no WHERE) and sends nothing.
  ds_script::reset();
  log_ = std::fopen("copy.log", "w");
  ASSERT_NE(log_, nullptr);
  ASSERT_EQ(op->SceFillTableFromTable(const_cast<char*>(kOldTable), const_cast<char*>(kNewTable), col({"objid"}),
                                      col({"objid"}), nullptr, log_, 1, &type.schema),
            0);
  std::fclose(log_);
  EXPECT_EQ(file_text("copy.log"), "INSERT INTO table_new (objid)\n SELECT  isnull(objid,0)\n FROM table_old\n");
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpCopyMssql, FindsFieldsAndRelationsByTheirOwnName) {
  typ_sch_rrec rel{};
  rel.pname = const_cast<char*>("site2case");
  rel.fname = const_cast<char*>("case2site");
  typ_sch_rel_inst entries[2] = {};
  entries[0].rel = &rel;
  entries[0].side = 'f';
  entries[1].rel = &rel;
  entries[1].side = 'p';
  fields type{{"objid", 0, 0}, {"title", 7, 0}};
  type.schema.nrels = 1;
  type.schema.rels = entries;
  const struct {
    const char* name;
    char found;
    long id;
  } cases[] = {{"title", 1, 7}, {"case2site", 1, 0}, {"site2case", 0, -1}, {"Title", 0, -1}};
  for (const auto& c : cases) {
    char found = 9;
    long id = 9;
    ASSERT_EQ(adp_sce_find_field_or_rel(&type.schema, c.name, &found, &id), 0);
    EXPECT_EQ(found, c.found) << c.name;
    EXPECT_EQ(id, c.id) << c.name;
  }
  type.schema.rels = entries + 1;  // the primary side
  char found = 0;
  long id = 0;
  ASSERT_EQ(adp_sce_find_field_or_rel(&type.schema, "site2case", &found, &id), 0);
  EXPECT_EQ(found, 1);
}

TEST_F(AdpCopyMssql, ARealRunUnloadsLoadsThenDropsTheOldTableAndCleansUp) {
  fake_bcp();
  push_catalogue();
  ASSERT_EQ(bulk(0), 0);
  EXPECT_FALSE(exists("O_table_old.fmt"));
  EXPECT_FALSE(exists("I_table_new.fmt"));
  EXPECT_FALSE(exists("orbdata.out"));
  EXPECT_EQ(bcp_args(), (std::vector<std::string>{"crm..table_old", "out", "orbdata.out", "-U", "sa", "-P",
                                                  "se'cret", "-S", "srv1", "-f", "O_table_old.fmt", "--",
                                                  "crm..table_new", "in", "orbdata.out", "-U", "sa", "-P", "se'cret",
                                                  "-S", "srv1", "-f", "I_table_new.fmt", "--"}));
  const std::vector<std::string> sent = adp_script_sent();
  const std::vector<std::string> defaults{
      "sp_unbindefault \"table_new.flag\"", "drop default default1", "create default default1 as 'none'",
      "sp_bindefault default1, \"table_new.flag\""};
  ASSERT_GE(sent.size(), 9u);
  EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 4), defaults);
  EXPECT_EQ(std::vector<std::string>(sent.end() - 3, sent.end()),
            (std::vector<std::string>{"sp_unbindefault \"table_new.flag\"", "drop default default1",
                                      "DROP TABLE table_old\n"}));
}

TEST_F(AdpCopyMssql, ADryRunWritesBothCommandsWithTheHiddenPasswordAndKeepsTheFormatFiles) {
  fake_bcp();
  push_catalogue();
  log_ = std::fopen("copy.log", "w");
  ASSERT_NE(log_, nullptr);
  ASSERT_EQ(bulk(1), 0);
  std::fclose(log_);
  EXPECT_FALSE(exists("bcp.args"));
  EXPECT_EQ(file_text("copy.log"),
            "OUTPUT OF TABLE WOULD EXECUTE:\n   bcp 'crm..table_old' out 'orbdata.out' -U 'sa' -P **** -S 'srv1' -f "
            "'O_table_old.fmt'\nINPUT TO TABLE WOULD EXECUTE:\n   bcp 'crm..table_new' in 'orbdata.out' -U 'sa' -P "
            "**** -S 'srv1' -f 'I_table_new.fmt' > 'table_old.mes'\nDROP TABLE table_old\n");
  // Every real column has its line (the long text as text); the constant
  // has a temporary default instead.
  EXPECT_EQ(slurp("O_table_old.fmt"),
            "4.0\n4\n1\tSYBINT4\t1\t4\t\"\"\t1\tobjid\n2\tSYBCHAR\t2\t512\t\"\"\t3\ttitle\n"
            "3\tSYBTEXT\t4\t-1\t\"\"\t2\tnotes\n4\tSYBINT4\t1\t4\t\"\"\t4\tsite2x\n");
  EXPECT_EQ(slurp("I_table_new.fmt"),
            "4.0\n4\n1\tSYBINT4\t1\t4\t\"\"\t1\tobjid\n2\tSYBCHAR\t2\t512\t\"\"\t2\ttitle\n"
            "3\tSYBTEXT\t4\t-1\t\"\"\t4\tnotes\n4\tSYBINT4\t1\t4\t\"\"\t3\tsite2x\n");
}

TEST_F(AdpCopyMssql, AFailedUnloadOrLoadKeepsTheOldTableAndRemovesTheDefaults) {
  fake_bcp();
  for (const char* failing : {"out", "in"}) {
    SCOPED_TRACE(failing);
    ds_script::reset();
    adp_dbop_forget_column_caches();
    std::remove("bcp.args");
    setenv("BCP_FAIL", failing, 1);
    push_catalogue();
    EXPECT_EQ(bulk(0), 1);
    const std::vector<std::string> sent = adp_script_sent();
    for (const std::string& s : sent) EXPECT_EQ(s.find("DROP TABLE"), std::string::npos) << s;
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()),
              (std::vector<std::string>{"sp_unbindefault \"table_new.flag\"", "drop default default1"}));
    EXPECT_TRUE(exists("I_table_new.fmt"));
    EXPECT_EQ(exists("orbdata.out"), std::string(failing) == "in");  // the unloaded rows stay
    EXPECT_EQ(bcp_args().size(), std::string(failing) == "out" ? 12u : 24u);
  }
}

TEST_F(AdpCopyMssql, ADecimalColumnOrAnUnknownColumnRefusesTheFilePath) {
  fake_bcp();
  type_.recs.push_back(typ_sch_frec{});
  type_.recs.back().name = const_cast<char*>("amount");
  type_.recs.back().db_type = 11;
  type_.schema.fields = type_.recs.data();
  type_.schema.nfields = static_cast<long>(type_.recs.size());
  EXPECT_EQ(con_->GetDbOperation()->SceFillFileFromTable(
                const_cast<char*>("crm"), const_cast<char*>("sa"), const_cast<char*>("pw"), const_cast<char*>("s"),
                const_cast<char*>(kOldTable), const_cast<char*>(kNewTable), &type_.schema, col({"objid", "amount"}),
                col({"objid", "amount"}), col({"0", "0"}), nullptr, 0),
            1);
  EXPECT_TRUE(adp_script_sent().empty());
  EXPECT_FALSE(exists("O_table_old.fmt"));

  // A column the catalogue does not have.
  for (int i = 0; i < 4; ++i) ds_script::push_result({{}, {}, 0});
  ds_script::push_result({{"name", "prec", "type", "colid", "status"}, {}});
  EXPECT_EQ(bulk(0), 1);
  EXPECT_FALSE(exists("bcp.args"));
}

}  // namespace
