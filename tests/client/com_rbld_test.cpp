// The rule builder's names, codes and action records on the CRM rig.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/crm_rig.h"
#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_str.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

class com_rbld_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(com_rbld_init(), 0);
    ASSERT_EQ(com_rbld_init(), 0);  // once is enough; again does nothing
  }
  static dbs_ty_lobj* new_rule_object() {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, S_RULE, &o), 0);
    return o;
  }
  static long alerts() {
    long n = 0;
    cmn_alrt_num(nullptr, &n);
    return n;
  }
};

TEST_F(com_rbld_test, OperatorsByTextAndCode) {
  for (long code = 0; code < COM_NUM_OPERATORS; ++code) {
    long found = -1;
    ASSERT_EQ(com_rbld_opname_to_id(com_rbld_cond_opname(code), &found), 0) << code;
    EXPECT_EQ(found, code);
  }
  EXPECT_STREQ(com_rbld_cond_opname(0), "is equal to");
  EXPECT_STREQ(com_rbld_cond_opname(14), "Unknown Rule Condition Operator");
  EXPECT_STREQ(com_rbld_cond_opname(-1), "Unknown Rule Condition Operator");
  cmn_alrt_clear(nullptr);
  long found = 0;
  EXPECT_EQ(com_rbld_opname_to_id("IS EQUAL TO", &found), COM_NO_OPERATOR);  // exact text only
  long code = 0;
  const char* text = nullptr;
  cmn_alrt_top(nullptr, &code, &text);
  EXPECT_EQ(code, COM_NO_OPERATOR);
  EXPECT_NE(std::string(text).find("IS EQUAL TO"), std::string::npos) << text;
  EXPECT_TRUE(com_rbld_is_list_op(12));
  EXPECT_TRUE(com_rbld_is_list_op(13));
  EXPECT_FALSE(com_rbld_is_list_op(11));
}

// A database text source that knows only the first operator's text.
long first_operator_from_db(long, long first_id, long last_id, long* count, const char** texts) {
  const long id = COM_FIRST_ID + (COM_FIRST_OPERATOR & 0xffff);
  *count = last_id - first_id + 1;
  if (id >= first_id && id <= last_id) texts[id - first_id] = "equals";
  return 0;
}

TEST_F(com_rbld_test, AStopForgetsTheNamesSoTheNextStartReadsTheTextsInForce) {
  const long con_word = 1;
  EXPECT_STREQ(com_rbld_cond_opname(0), "is equal to");
  ASSERT_EQ(loc_str_install_qry_string_cb(first_operator_from_db, &con_word), 0);
  EXPECT_STREQ(com_rbld_cond_opname(0), "is equal to");  // read once while started
  EXPECT_EQ(com_rbld_term(), 0);
  ASSERT_EQ(com_rbld_init(), 0);
  EXPECT_STREQ(com_rbld_cond_opname(0), "equals");
  long found = -1;
  EXPECT_EQ(com_rbld_opname_to_id("equals", &found), 0);
  EXPECT_EQ(found, 0);
  ASSERT_EQ(loc_str_install_qry_string_cb(nullptr, nullptr), 0);
  EXPECT_EQ(com_rbld_term(), 0);
  EXPECT_EQ(com_rbld_term(), 0);  // stopping twice is harmless
  ASSERT_EQ(com_rbld_init(), 0);
  EXPECT_STREQ(com_rbld_cond_opname(0), "is equal to");
  // The time-unit conversion is there again after the new start.
  char out[32];
  long minutes = 0;
  ASSERT_EQ(cmn_typ_convert(COM_TIME_TYPE, COM_TIME_TYPE, &minutes, CMN_TYP_CHAR_P, out, sizeof out, nullptr), 0);
  EXPECT_STREQ(out, "Minutes");
}

TEST_F(com_rbld_test, TimeUnitsBothWays) {
  const struct {
    long value;
    const char* text;
  } rows[] = {{0, "Minutes"}, {2, "Days"}, {50, "Built-in unit 50"}, {149, "Built-in unit 149"},
              {150, "User-defined unit 150"}, {7, "7"}};
  for (const auto& r : rows) {
    char out[64];
    long value = r.value;
    ASSERT_EQ(com_rbld_convert_time_type(0, COM_TIME_TYPE, &value, CMN_TYP_CHAR_P, out, sizeof out, nullptr), 0);
    EXPECT_STREQ(out, r.text);
    if (r.value == 7) continue;
    long back = -1;
    ASSERT_EQ(com_rbld_convert_time_type(0, CMN_TYP_CHAR_P, const_cast<char*>(r.text), COM_TIME_TYPE, &back, 0,
                                         nullptr),
              0);
    EXPECT_EQ(back, r.value);
  }
  char small[4];
  long value = 150;
  ASSERT_EQ(com_rbld_convert_time_type(0, COM_TIME_TYPE, &value, CMN_TYP_CHAR_P, small, sizeof small, nullptr), 0);
  EXPECT_STREQ(small, "Use");  // cut to the buffer
  long back = 0;
  cmn_alrt_clear(nullptr);
  EXPECT_NE(com_rbld_convert_time_type(0, CMN_TYP_CHAR_P, const_cast<char*>("Fortnights"), COM_TIME_TYPE, &back, 0,
                                       nullptr),
            0);
}

TEST_F(com_rbld_test, DeliveryTypes) {
  EXPECT_EQ(com_rbld_decode_delivery("fax"), 5);
  EXPECT_EQ(com_rbld_decode_delivery("FORWARD TO MY SUPERVISOR"), 7);
  EXPECT_EQ(com_rbld_decode_delivery("carrier pigeon"), 0);
  EXPECT_STREQ(com_rbld_delivery_name(3), "Text Pager");
  EXPECT_STREQ(com_rbld_delivery_name(9), "Unknown Delivery Type");
  EXPECT_STREQ(com_rbld_default_notif(), "Email");
  EXPECT_TRUE(com_rbld_is_valid_notif("tone pager"));
  EXPECT_FALSE(com_rbld_is_valid_notif(""));
  EXPECT_FALSE(com_rbld_is_valid_notif("carrier pigeon"));
}

TEST_F(com_rbld_test, ConditionValueTypes) {
  cmn_alrt_clear(nullptr);
  const struct {
    const char* text;
    long op;
    long expected;
  } rows[] = {{"12", 0, 1}, {"1.5", 0, 2}, {"abc", 0, 0}, {"", 0, 0}, {"12", 12, 0}, {"1.5", 13, 0}};
  for (const auto& r : rows) EXPECT_EQ(com_rbld_convert_to_types(r.text, r.op), r.expected) << r.text << " " << r.op;
  EXPECT_EQ(alerts(), 0);  // failed conversions leave no alert behind
}

TEST_F(com_rbld_test, EventsOfActivityCodes) {
  const long rows[][2] = {{100, 0}, {300, 1}, {4800, 2}, {7300, 4}, {2000, 8}, {20300, 47}, {999, -1},
                          {(5L << 16) | 100, 5}};
  for (const auto& r : rows) EXPECT_EQ(com_rbld_actcode_to_event(r[0]), r[1]) << r[0];
}

TEST_F(com_rbld_test, MessageActionsRoundTrip) {
  com_ty_action a;
  a.kind = 2;
  a.arg2 = "notify";
  a.code = 5;
  a.flag_group = 0x28;
  a.f2 = 7;
  a.f9 = 9;
  a.f10 = 10;
  a.to = "ann [Sales Team]  bob";
  a.cc = "carl";
  a.message = "Case opened";
  a.text = std::string(100, 'x');
  a.repeat = 3;
  a.period = 100;
  a.options = 1;
  dbs_ty_lobj* o = new_rule_object();
  ASSERT_EQ(com_rbld_fill_action(o, a), 0);
  long flags = 0;
  dbs_fld_get(o, 3, &flags, nullptr);
  EXPECT_EQ(flags, 1552 + 1);
  com_ty_action back;
  ASSERT_EQ(com_rbld_decompose_action(o, &back), 0);
  EXPECT_EQ(back.kind, 2);
  EXPECT_EQ(back.arg2, "notify");
  EXPECT_EQ(back.code, 5);
  EXPECT_EQ(back.flag_group, 0x28);
  EXPECT_EQ(back.f2, 7);
  EXPECT_EQ(back.message, "TO:ann [Sales Team] bob \nCC:carl \nCase opened");
  EXPECT_EQ(back.text, std::string(80, 'x'));
  EXPECT_EQ(back.repeat, 3);
  EXPECT_EQ(back.period, 99);  // period / n, read back times n
  EXPECT_EQ(back.options, 1);
  dbs_obj_free_local("test", o);
  // Another kind keeps its text; without repeats the period is 0.
  com_ty_action b;
  b.kind = 3;
  b.message = "TO: not parsed";
  b.period = 50;
  o = new_rule_object();
  ASSERT_EQ(com_rbld_fill_action(o, b), 0);
  ASSERT_EQ(com_rbld_decompose_action(o, &back), 0);
  EXPECT_EQ(back.message, "TO: not parsed");
  EXPECT_EQ(back.period, 0);
  EXPECT_EQ(back.options, 0);
  dbs_fld_get(o, 3, &flags, nullptr);
  EXPECT_EQ(flags, 528);
  dbs_obj_free_local("test", o);
}

TEST_F(com_rbld_test, RecipientLists) {
  std::vector<std::string> names;
  ASSERT_EQ(com_rbld_parse_user_list("  a [b c]d [unclosed x", &names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "[b c]", "d", "[unclosed x"}));
  ASSERT_EQ(com_rbld_parse_user_list(std::string(300, 'y').c_str(), &names), 0);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].size(), static_cast<size_t>(COM_MAX_RECIPIENT));
  EXPECT_EQ(com_rbld_message_text("", "", "only"), "only");
}

TEST_F(com_rbld_test, RuleStatusTexts) {
  utl_ty_col* rules = nullptr;
  ASSERT_EQ(utl_col_make("test", CMN_TYP_VOID_P, 2, 2, 0, 0, &rules), 0);
  for (long flags : {0x10000L | 0x800L, 0x800L}) {
    dbs_ty_lobj* o = new_rule_object();
    dbs_fld_set(o, 3, &flags);
    utl_col_push(rules, &o, nullptr);
  }
  std::vector<std::string> texts;
  ASSERT_EQ(com_rbld_make_rule_sts_strs(rules, &texts), 0);
  EXPECT_EQ(texts, (std::vector<std::string>{oab_msg_text(0xE0004C), oab_msg_text(0xE0004B)}));
  EXPECT_NE(texts[0], texts[1]);
  dbs_obj_free_local_col(nullptr, rules);
}

}  // namespace

namespace {

TEST(com_rbld_sql, DeleteStatementsOfARulesSave) {
  EXPECT_EQ(com_rbld_cond_delete_sql("table_com_tmplte_cond", 42, false),
            "delete from table_com_tmplte_cond where parentrule2com_tmplte = 42");
  EXPECT_EQ(com_rbld_cond_delete_sql("table_com_tmplte_cond", 42, true),
            "BEGIN delete from table_com_tmplte_cond where parentrule2com_tmplte = 42; END;");
  const struct {
    std::vector<long> kept;
    bool block;
    const char* expected;
  } rows[] = {
      {{}, false, "delete from table_com_tmplte where escal_act2com_tmplte = 42\n"},
      {{7, 9}, false, "delete from table_com_tmplte where escal_act2com_tmplte = 42\n and objid NOT IN (7, 9)\n"},
      {{}, true, "BEGIN delete from table_com_tmplte where escal_act2com_tmplte = 42\n; END;\n"},
      {{7}, true, "BEGIN delete from table_com_tmplte where escal_act2com_tmplte = 42\n and objid NOT IN (7); END; \n"},
  };
  for (const auto& r : rows) {
    std::string sql = com_rbld_action_delete_sql("table_com_tmplte", 42, r.kept, r.block);
    EXPECT_EQ(sql, r.expected);
    EXPECT_EQ(sql.find("COMMIT"), std::string::npos);  // the save's transaction commits
  }
}

}  // namespace

namespace {

TEST_F(com_rbld_test, StartEventsOfEachRuleInTheListsOrder) {
  row(S_RULE, 51, {{1, std::string("A")}, {8, 1L}});
  row(S_RULE, 52, {{1, std::string("B")}, {8, 1L}});
  row(S_RULE, 53, {{1, std::string("C")}, {8, 1L}});
  const struct {
    long cond, rule, kind;
    const char* value;
  } conds[] = {{1, 51, 2, "Case Created"}, {2, 51, 3, "Not an event"}, {3, 51, 2, "Case Closed"},
               {4, 52, 4, "Priority"},     {5, 53, 2, "Dispatched"},   {6, 52, 1, "Ignored"}};
  for (const auto& c : conds) {
    row(S_RULE_COND, c.cond, {{1, c.kind}, {3, std::string(c.value)}});
    fk(S_RULE_COND, c.cond, "parentrule2com_tmplte", c.rule);
  }
  utl_ty_col* rules = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &rules), 0);
  for (long number : {53L, 51L, 52L}) {
    dbs_ty_lobj* o = new_rule_object();
    ASSERT_EQ(dbs_fld_set_local(o, 0, &number, 1), 0);
    ASSERT_EQ(utl_col_push(rules, &o, nullptr), 0);
  }
  std::vector<std::string> texts;
  ASSERT_EQ(com_rbld_make_start_ev_strs(rules, &texts), 0);
  EXPECT_EQ(texts, (std::vector<std::string>{"Dispatched", "Case Created, Case Closed", ""}));
  dbs_obj_free_local_col(nullptr, rules);
}

}  // namespace
