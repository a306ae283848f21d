// Generated procedures by exact text through the scripted service: relate
// procedures of each phrase (foreign-key column or exclusive pair, with and
// without the offline feature), their names and save with drop and grant,
// GET procedures of both dialects (a 30-character type name, the "v_"
// companion under header flag 16, Oracle dates as TO_CHAR, no id field, no
// fields), and SQL Server's whole run: nothing marked, a failed relate
// procedure, progress dots and log flushes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_stp.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/osl/osl_file.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using ds_script::cell;

constexpr long kCase = 4301, kSite = 4302, kUser = 4303, kNote = 4304;
constexpr long kLong = 512, kText = 516, kDate = 609;
constexpr long kDbInt = 0, kDbText = 7, kDbDate = 9, kDbLongText = 10;
constexpr long kObjidGen = 3;
constexpr long kMto = 2, kOtm = 1, kMtm = 5;
constexpr long kRoamer = 32, kCompanions = 16;
constexpr unsigned long kRelateMark = 0x2000, kGetMark = 0x4000;

void build_model() {
  typ_sch_srec* c = adp_model_object("case", kCase);
  adp_model_field(c, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(c, "title", kText, kDbText);
  adp_model_field(c, "notes", kText, kDbLongText);
  adp_model_field(c, "opened", kDate, kDbDate);
  typ_sch_srec* s = adp_model_object("site", kSite);
  adp_model_field(s, "objid", kLong, kDbInt, kObjidGen);
  typ_sch_srec* u = adp_model_object("user", kUser);
  adp_model_field(u, "objid", kLong, kDbInt, kObjidGen);
  typ_sch_srec* n = adp_model_object("note", kNote);  // no id field
  adp_model_field(n, "text", kText, kDbText);
  adp_model_relation(kSite, "site2case", kOtm, "case", "case2site");
  adp_model_relation(kCase, "case2site", kMto | TYP_REL_INDEX_MARK, "site", "site2case");
  adp_model_relation(kSite, "site2owned", kOtm, "case", "owner2site", 1, "owner_id", "owner_type");
  adp_model_relation(kCase, "owner2site", kMto | TYP_REL_INDEX_MARK, "site", "site2owned", 1, "owner_id",
                     "owner_type");
  adp_model_relation(kUser, "user2case", kMtm, "case", "case2user");
  adp_model_relation(kCase, "case2user", kMtm, "user", "user2case");
}

typ_sch_rrec* relation(const char* pname) {
  for (long i = 0; i < typ_sch_num_rels; ++i) {
    if (std::string(typ_sch_relations[i].pname) == pname) return &typ_sch_relations[i];
  }
  ADD_FAILURE() << "no relation " << pname;
  return nullptr;
}

class AdpStp : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    model_ = new adp_model;
    build_model();
    model_->finish(kCase);
    con_ = connect("oledb");
    adp_db_set_head_read(1);
    adp_db_set_flags(0);
    ds_script::reset();
  }
  void TearDown() override {
    osl_file_set_stdout(nullptr);
    if (out_ != nullptr) std::fclose(out_);
    adp_stp_set_flush(nullptr);
    adp_db_set_flags(0);
    adp_db_set_head_read(0);
    delete model_;
    adp_test::TearDown();
  }
  // Messages go to a file of the scratch directory, read by printed().
  void capture() {
    out_ = std::fopen("printed.txt", "w");
    osl_file_set_stdout(out_);
  }
  std::string printed() {
    std::fflush(out_);
    return file_text("printed.txt");
  }

  adp_model* model_ = nullptr;
  KAdpConnId* con_ = nullptr;
  FILE* out_ = nullptr;
};

TEST_F(AdpStp, ProcedureNamesKeepTheirFirstCharacters) {
  const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  const std::string thirty = forty.substr(0, 30);
  EXPECT_EQ(adp_stp_relate_proc_name(forty.c_str()), "rl_" + forty.substr(0, 27));
  EXPECT_EQ(adp_stp_relate_proc_name("case2site"), std::string("rl_case2site"));
  EXPECT_EQ(adp_stp_get_proc_name(thirty.c_str()), "csp_get_" + thirty.substr(0, 22));
  EXPECT_EQ(adp_stp_get_proc_name("case"), std::string("csp_get_case"));
}

TEST_F(AdpStp, RelateProceduresOfEachPhrase) {
  const struct {
    const char* relation;
    long flags;
    const char* text;
  } cases[] = {
      {"site2case", 0,
       "create procedure rl_site2case( @site1 int, @case2 int) as  update table_case set case2site = @site1 where "
       "objid=@case2"},
      {"site2owned", 0,
       "create proc rl_site2owned @site1 int, @case2 int as update table_case set owner_id = @site1, owner_type = "
       "4302 where objid=@case2"},
      {"site2case", kRoamer,
       "create proc rl_site2case @site1 int, @case2 int as \n \t declare @tx_detail  varchar(200) \n \t declare "
       "@rstr varchar(12) \n \t declare @rlen varchar(2) \n \t select @rstr = ltrim(rtrim(convert(varchar(10), "
       "@site1))) \n \t select @rlen = ltrim(rtrim(convert(varchar(2), datalength(@rstr)))) \n \t select "
       "@tx_detail = '1 case2site ' + @rlen + ' ' + @rstr \n \t  insert into de_updates (row_id, row_ver, "
       "prev_row_ver, table_name, tx_detail) \n \t   select objid, dev+1, dev, 'table_case', @tx_detail from "
       "table_case \n \t   where objid = @case2 \n \t  if @@error != 0 \n \t  begin \n \t   insert into de_updates "
       "(row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t\tselect objid, dev+1, dev, 'table_case', "
       "@tx_detail from table_case \n \t\twhere objid = @case2 \n \t\treturn \n \t  end \n \t  update table_case "
       "set dev = dev + 1, case2site = @site1 where objid=@case2 \n"},
      {"site2owned", kRoamer,
       "create proc rl_site2owned @site1 int, @case2 int as \n \t declare @tx_detail  varchar(200) \n \t declare "
       "@rstr varchar(12) \n \t declare @rlen varchar(2) \n \t select @rstr = ltrim(rtrim(convert(varchar(10), "
       "@site1))) \n \t select @rlen = ltrim(rtrim(convert(varchar(2), datalength(@rstr)))) \n \t select "
       "@tx_detail = '2 owner_id ' + @rlen + ' owner_type 4 ' + @rstr + '4302' \n \t  insert into de_updates "
       "(row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t   select objid, dev+1, dev, 'table_case', "
       "@tx_detail from table_case \n \t   where objid = @case2 \n \t  if @@error != 0 \n \t  begin \n \t   insert "
       "into de_updates (row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t\tselect objid, dev+1, dev, "
       "'table_case', @tx_detail from table_case \n \t\twhere objid = @case2 \n \t\treturn \n \t  end \n \t  update "
       "table_case set dev = dev + 1, owner_id = @site1, owner_type = 4302 where objid=@case2 \n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.relation) + (c.flags != 0 ? " offline" : ""));
    adp_db_set_flags(c.flags);
    char* name = nullptr;
    char* text = nullptr;
    ASSERT_EQ(typ_rel_create_a_proc(con_, relation(c.relation), &name, &text), 0);
    EXPECT_EQ(std::string(name), "rl_" + std::string(c.relation));
    EXPECT_EQ(std::string(text), c.text);
  }
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpStp, NoRelateProcedureForAManyToManyRelationOrATextTooLong) {
  char keep[] = "keep";
  char* name = keep;
  char* text = keep;
  ASSERT_EQ(typ_rel_create_a_proc(con_, relation("user2case"), &name, &text), 0);
  EXPECT_EQ(name, keep);
  EXPECT_EQ(text, keep);
  // A table name that makes the text 4,096 characters or more is refused.
  const std::string table(ADP_STP_TEXT_SIZE, 't');
  EXPECT_EQ(adp_stp_construct_rel_proc(con_, "site2case", "site", "table_site", 0, "case2site", "case",
                                       table.c_str(), 0, kMto, 0, nullptr, nullptr, kSite, &name, &text),
            ADP_SQL_TOO_LONG);
  EXPECT_EQ(name, keep);
  EXPECT_EQ(text, keep);
}

TEST_F(AdpStp, SavingDropsAnExistingProcedureFirstAndGrantsItsUse) {
  const char* exists_query = "select name from sysobjects where name='rl_x'";
  ds_script::push_result({{"id"}, {{cell::l(99)}}});
  ASSERT_EQ(adp_stp_save_proc_to_db(con_, "rl_x", "create proc rl_x as select 1"), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{exists_query, "drop proc rl_x",
                                                         "create proc rl_x as select 1",
                                                         "grant EXEC on rl_x to PUBLIC"}));
  ds_script::reset();
  ASSERT_EQ(adp_stp_save_proc_to_db(con_, "rl_x", "create proc rl_x as select '%d'"), 0);  // no format
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{exists_query, "create proc rl_x as select '%d'",
                                                         "grant EXEC on rl_x to PUBLIC"}));
  // A failed create is returned with its message, and nothing is granted.
  ds_script::reset();
  capture();
  ds_script::fail({"ExecStatement", 1, 2714, "exists", ""});
  EXPECT_NE(adp_stp_save_proc_to_db(con_, "rl_x", "create proc rl_x as select 1"), 0);
  EXPECT_EQ(adp_script_sent().size(), 2u);
  EXPECT_EQ(printed(), "Cannot save stored procedure 'rl_x'\n");
}

TEST_F(AdpStp, TheLogOpensForWritingAndClosesOnce) {
  EXPECT_EQ(adp_stp_close_logfile(), 0);  // never opened
  ASSERT_EQ(adp_stp_open_logfile(), 0);
  ASSERT_NE(adp_stp_log_file(), nullptr);
  std::fputs("line\n", adp_stp_log_file());
  EXPECT_EQ(adp_stp_close_logfile(), 0);
  EXPECT_EQ(adp_stp_log_file(), nullptr);
  EXPECT_EQ(file_text(adp_stp_log_name()), "line\n");
  EXPECT_EQ(adp_stp_close_logfile(), 0);
}

// --- GET procedures ---------------------------------------------------------

struct get_result {
  long status;
  std::string name, text;
  char no_id;
};

get_result construct(KAdpConnId* con, const char* type, long id_index, long id_type, std::vector<const char*> fields,
                     FILE* log = nullptr) {
  std::vector<char*> names;
  for (const char* f : fields) names.push_back(const_cast<char*>(f));
  char* name = nullptr;
  char* text = nullptr;
  char no_id = 7;
  get_result r;
  r.status = adp_stp_construct_get(con, const_cast<char*>(type), const_cast<char*>("table_case"), id_index, id_type,
                                   static_cast<long>(names.size()), names.data(), log, &name, &text, &no_id);
  r.name = name != nullptr ? name : "(null)";
  r.text = text != nullptr ? text : "(null)";
  r.no_id = no_id;
  return r;
}

TEST_F(AdpStp, SqlServerGetProcedures) {
  const std::vector<const char*> fields = {"objid", "title", "notes", "opened"};
  get_result r = construct(con_, "case", 0, 0, fields);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.name, "csp_get_case");
  EXPECT_EQ(r.text,
            "create procedure csp_get_case (@oid int) as \n select objid, title, notes, opened\n from table_case "
            "where objid = @oid");
  EXPECT_EQ(r.no_id, 0);
  // Header flag 16: a long text is followed by its companion column.
  adp_db_set_flags(kCompanions);
  r = construct(con_, "case", 0, 0, fields);
  EXPECT_EQ(r.text,
            "create procedure csp_get_case (@oid int) as \n select objid, title, notes, v_notes, opened\n from "
            "table_case where objid = @oid");
  // An id field that is not an int: no procedure, the warning in the log.
  FILE* log = std::fopen("warn.log", "w");
  r = construct(con_, "case", 0, kDbText, fields, log);
  std::fclose(log);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.no_id, 1);
  EXPECT_EQ(r.name, "(null)");
  EXPECT_EQ(file_text("warn.log"), "WARNING: type 'case' doesn't have ID field (this is ok...)\n");
  // No field at all: nothing to build.
  EXPECT_EQ(construct(con_, "case", 0, 0, {}).status, 1);
}

TEST_F(AdpStp, ATypeNameOfThirtyCharactersKeepsTwentyTwoInTheName) {
  const char* long_name = "abcdefghijklmnopqrstuvwxyz0123";
  delete model_;
  model_ = new adp_model;
  typ_sch_srec* t = adp_model_object(long_name, 4399);
  adp_model_field(t, "objid", kLong, kDbInt, kObjidGen);
  model_->finish(4399);
  get_result r = construct(con_, long_name, 0, 0, {"objid"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.name, "csp_get_abcdefghijklmnopqrstuv");
  EXPECT_EQ(r.text.rfind("create procedure csp_get_abcdefghijklmnopqrstuv (@oid int)", 0), 0u);
}

TEST_F(AdpStp, OracleGetProceduresReturnDatesAsText) {
  KAdpConnId* ora = connect("oracle");
  get_result r = construct(ora, "case", 0, 0, {"objid", "title", "opened"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.name, "csp_get_case");
  EXPECT_EQ(r.text,
            "create procedure csp_get_case (oid number,sp_objid out number,\n"
            "sp_title out varchar2,\n"
            "sp_opened out varchar2) as\nbegin\nselect objid,\n"
            "title,\n"
            "TO_CHAR(opened, 'MM/DD/YYYY HH24:MI:SS') into sp_objid,\n"
            "sp_title,\n"
            "sp_opened\n from table_case where objid = oid;\nend;");
  // A date that is not the last field, and a last field that is no date.
  r = construct(ora, "case", 0, 0, {"objid", "opened", "notes", "title"});
  EXPECT_NE(r.text.find("sp_opened out varchar2,\nsp_notes out clob,\nsp_title out varchar2) as"), std::string::npos)
      << r.text;
  EXPECT_NE(r.text.find("TO_CHAR(opened, 'MM/DD/YYYY HH24:MI:SS'),\nnotes,\ntitle into "), std::string::npos)
      << r.text;
  // No field: 1 and no text.
  r = construct(ora, "case", 0, 0, {});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "(null)");
  EXPECT_TRUE(adp_script_sent().empty());
}

// --- the whole run ------------------------------------------------------------

const char* const kNewProcQuery = "select name from sysobjects where type = 'P' and name = 'csp_new_objectid'";

TEST_F(AdpStp, WithNothingMarkedOnlyTheMissingObjectIdProcedureIsMade) {
  capture();
  ASSERT_EQ(adp_stp_create_procs(con_, "crm", 0), 0);
  const std::vector<std::string> sent = adp_script_sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], kNewProcQuery);
  for (const std::string& s : sent) {
    EXPECT_EQ(s.find("rl_"), std::string::npos) << s;
    EXPECT_EQ(s.find("csp_get_"), std::string::npos) << s;
  }
  long made = 0;
  for (const std::string& s : sent) made += s.rfind("CREATE proc csp_new_objectid", 0) == 0 ? 1 : 0;
  EXPECT_EQ(made, 1);
  EXPECT_EQ(printed(),
            "Creating RELATE stored procedures\nCreated 0 RELATE stored procedures (0 failed)\n"
            "Creating object id generation stored procedure.Creating GET stored procedures\n"
            "Created 0 GET stored procedures (0 failed)\n");
  EXPECT_EQ(file_text("stproc.log"),
            "Created 0 RELATE stored procedures (0 failed)\nCreated 0 GET stored procedures (0 failed)\n");
  EXPECT_EQ(adp_stp_log_file(), nullptr);  // closed at the end
  // When it exists it is left alone.
  ds_script::reset();
  ds_script::push_result({{"name"}, {{cell::t("csp_new_objectid")}}});
  ASSERT_EQ(adp_stp_create_procs(con_, "crm", 0), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{kNewProcQuery});
}

TEST_F(AdpStp, AFailedRelateProcedureIsCountedAndTheRunGoesOn) {
  capture();
  // The first relate procedure's create fails.
  ds_script::fail({"ExecStatement", 1, 2714, "refused", ""});
  ds_script::push_result({});                                           // rl_site2case exists?
  ds_script::push_result({});                                           // rl_site2owned exists?
  ds_script::push_result({{"name"}, {{cell::t("csp_new_objectid")}}});  // the id procedure exists
  EXPECT_EQ(adp_stp_create_procs(con_, "crm", 1), 1);
  const std::string log = file_text("stproc.log");
  EXPECT_NE(log.find("Created 1 RELATE stored procedures (1 failed)\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Relation stored procedure for 'site2owned':\ncreate proc rl_site2owned"), std::string::npos);
  // GET procedures of case, site and user; the note has no id field and
  // counts as made.
  EXPECT_NE(log.find("Created 4 GET stored procedures (0 failed)\n"), std::string::npos) << log;
  EXPECT_NE(log.find("WARNING: type 'note' doesn't have ID field (this is ok...)\n"), std::string::npos);
  for (const char* type : {"case", "site", "user"}) {
    EXPECT_EQ(ds_script::count(std::string("ExecStatement grant execute on csp_get_") + type + " to PUBLIC"), 1)
        << type;
  }
  EXPECT_EQ(ds_script::count("ExecStatement grant EXEC on rl_site2owned to PUBLIC"), 1);
  EXPECT_EQ(ds_script::count("ExecStatement grant EXEC on rl_site2case"), 0);
  EXPECT_EQ(ds_script::count("ExecStatement create proc rl_user2case"), 0);  // many-to-many
  EXPECT_NE(printed().find("Cannot save stored procedure 'rl_site2case'\n"), std::string::npos);
}

long g_flushes = 0;
long count_flush() {
  ++g_flushes;
  return 0;
}
long failing_flush() { return 0x600036; }

// Types t00..t21: the marked ones at indexes 0, 3, 5 and 20 get GET
// procedures, with a dot at 0, 5 and 20 and a log flush at 0 and 20.
class AdpStpProgress : public AdpStp {
 protected:
  void SetUp() override {
    AdpStp::SetUp();
    delete model_;
    model_ = new adp_model;
    for (long i = 0; i < kTypes; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "t%02ld", i);
      typ_sch_srec* t = adp_model_object(name, 4400 + i);
      adp_model_field(t, "objid", kLong, kDbInt, kObjidGen);
    }
    model_->finish(4400);
    for (long i : {0L, 3L, 5L, 20L}) typ_sch_schemas[i].flags |= kGetMark;
    typ_sch_schemas[1].flags |= kRelateMark;  // no relation: nothing
    g_flushes = 0;
    ds_script::reset();
  }
  static constexpr long kTypes = 22;
};

TEST_F(AdpStpProgress, DotsAndLogFlushesFollowTheIndexesOfProcessedEntries) {
  ASSERT_EQ(std::string(typ_sch_schemas[20].info->name), "t20");
  capture();
  adp_stp_set_flush(count_flush);
  ds_script::push_result({{"name"}, {{cell::t("csp_new_objectid")}}});
  ASSERT_EQ(adp_stp_create_procs(con_, "crm", 0), 0);
  EXPECT_EQ(printed(),
            "Creating RELATE stored procedures\nCreated 0 RELATE stored procedures (0 failed)\n"
            "Creating GET stored procedures...\nCreated 4 GET stored procedures (0 failed)\n");
  EXPECT_EQ(g_flushes, 2);
  for (const char* t : {"t00", "t03", "t05", "t20"}) {
    EXPECT_EQ(ds_script::count(std::string("ExecStatement grant execute on csp_get_") + t + " to PUBLIC"), 1) << t;
  }
  EXPECT_EQ(ds_script::count("ExecStatement grant execute on"), 4);
}

TEST_F(AdpStpProgress, AFailedLogFlushEndsTheRun) {
  capture();
  adp_stp_set_flush(failing_flush);
  ds_script::push_result({{"name"}, {{cell::t("csp_new_objectid")}}});
  EXPECT_EQ(adp_stp_create_procs(con_, "crm", 0), 0x600036);
  EXPECT_NE(printed().find("Cannot drop log for database 'crm'.\n"), std::string::npos);
  EXPECT_EQ(ds_script::count("ExecStatement grant"), 0);
  EXPECT_EQ(adp_stp_log_file(), nullptr);
}

}  // namespace
