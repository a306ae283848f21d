// Query operators, format records, the printf parser and the type names.
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_fmt.h"
#include "core/cmn/cmn_opr.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn_main_fixture.h"
#include "core/core_fixture.h"

namespace {

class CmnOpr : public core_runtime_test {
 protected:
  void TearDown() override { cmn_opr_set_mode(0); }

  // The operators of a type in the current mode: values and names.
  void operators(long type, std::vector<long>* values, std::vector<std::string>* names) {
    utl_ty_col* v = nullptr;
    utl_ty_col* n = nullptr;
    ASSERT_EQ(utl_col_make("test", CMN_TYP_LONG, 4, 4, 0, 0, &v), 0);
    ASSERT_EQ(utl_col_make("test", CMN_TYP_CHAR_P, 4, 4, 0, 0, &n), 0);
    ASSERT_EQ(cmn_opr_get_operators(type, v, n), 0);
    long count = 0;
    utl_col_num(v, &count);
    for (long i = 0; i < count; ++i) {
      void* e = nullptr;
      utl_col_ith(v, i, &e);
      values->push_back(*static_cast<long*>(e));
      utl_col_ith(n, i, &e);
      names->push_back(static_cast<char*>(e));
    }
    utl_col_free("test", v);
    utl_col_free("test", n);
  }
};

TEST_F(CmnOpr, OperatorsOfATypeInBothModes) {
  const struct {
    long restricted;
    long type;
    std::vector<long> values;
  } rows[] = {
      {0, 516, {6, 7, 8, 9, 4, 5, 11, 12, 13, 15, 16}},
      {1, 516, {6, 9, 4, 5, 11, 15}},
      {0, 512, {0, 1, 2, 3, 4, 5, 9, 15, 25}},
      {1, 512, {0, 1, 2, 3, 4, 5, 9, 10, 14, 15}},
      {0, 609, {0, 1, 2, 10, 14, 19, 20, 21, 22}},
      {1, 609, {0, 2, 10, 14, 19, 20, 21, 22}},
      {0, 670, {17, 18}},
      {1, 597, {23, 24}},
      {0, 613, {}},
  };
  for (const auto& r : rows) {
    cmn_opr_set_mode(r.restricted);
    std::vector<long> values;
    std::vector<std::string> names;
    operators(r.type, &values, &names);
    EXPECT_EQ(values, r.values) << r.type << " mode " << r.restricted;
    for (size_t i = 0; i < values.size() && i < names.size(); ++i) {
      const char* english = cmn_opr_sql_table()[values[i]].english;
      if (values[i] == 23) english = "is not null";  // the localised texts of 23 and 24
      if (values[i] == 24) english = "is null";
      EXPECT_EQ(names[i], english) << values[i];
    }
  }
  // Operator 25 has no localised name: its English name serves, no alert.
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(CmnOpr, OperatorCollectionsMustStartEmpty) {
  utl_ty_col* v = nullptr;
  utl_ty_col* n = nullptr;
  ASSERT_EQ(utl_col_make("test", CMN_TYP_LONG, 4, 4, 0, 0, &v), 0);
  ASSERT_EQ(utl_col_make("test", CMN_TYP_CHAR_P, 4, 4, 0, 0, &n), 0);
  long one = 1;
  utl_col_insert(v, &one, nullptr);
  EXPECT_EQ(cmn_opr_get_operators(512, v, n), CMN_OPR_NOT_EMPTY);
  EXPECT_EQ(core_top_alert_text(), "The collection 'opr_val_col' passed in is not empty.");
  utl_col_reset(v);
  utl_col_insert(n, "x", nullptr);
  EXPECT_EQ(cmn_opr_get_operators(512, v, n), CMN_OPR_NOT_EMPTY);
  EXPECT_EQ(core_top_alert_text(), "The collection 'opr_usr_str_col' passed in is not empty.");
  utl_col_free("test", v);
  utl_col_free("test", n);
}

TEST_F(CmnOpr, SqlTextsAndNames) {
  const char* sql = nullptr;
  ASSERT_EQ(cmn_opr_sql_str_byval(16, &sql), 0);
  EXPECT_STREQ(sql, "sounds like");
  ASSERT_EQ(cmn_opr_sql_str_byval(14, &sql), 0);
  EXPECT_STREQ(sql, "NOT BETWEEN");
  EXPECT_EQ(cmn_opr_sql_str_byval(26, &sql), CMN_OPR_BAD_VALUE);
  EXPECT_EQ(sql, nullptr);
  EXPECT_EQ(core_top_alert_text(), "The operator value '26' passed in is not valid.");
  EXPECT_EQ(cmn_opr_sql_str_byval(-1, &sql), CMN_OPR_BAD_VALUE);

  const struct {
    const char* name;
    long value;
  } rows[] = {{"exists", 17},   {"does not exist", 18}, {"is null", 24},     {"is not null", 23},
              {"between", 10},  {"subqry not in", 25},  {"Between", -1},     {"nothing", -1},
              {"sounds like", 16}};
  for (auto r : rows) {
    long value = 99;
    EXPECT_EQ(cmn_opr_value_from_str(r.name, &value), 0);
    EXPECT_EQ(value, r.value) << r.name;
  }
  const char* loc = "x";
  EXPECT_EQ(cmn_opr_loc_str_from_englstr("GREATER THAN", &loc), 0);
  EXPECT_STREQ(loc, "greater than");
  EXPECT_EQ(cmn_opr_loc_str_from_englstr("subqry not in", &loc), 0);
  EXPECT_EQ(loc, nullptr);
  EXPECT_EQ(cmn_opr_loc_str_from_englstr(nullptr, &loc), 0);
  EXPECT_EQ(loc, nullptr);
  EXPECT_EQ(core_num_alerts(), 2);  // the two refused values above and nothing more
}

TEST_F(CmnOpr, OperatorChecksUseTheFullSetWhateverTheMode) {
  cmn_opr_set_mode(1);
  const struct {
    long type;
    const char* name;
    long allowed;
  } rows[] = {{512, "between", 0}, {512, "subqry not in", 1}, {516, "contains", 1},
              {609, "today", 1},   {670, "exists", 1},        {597, "exists", 0}};
  for (auto r : rows) {
    long allowed = 5;
    EXPECT_EQ(cmn_opr_str_opr_chk(r.type, r.name, &allowed), 0);
    EXPECT_EQ(allowed, r.allowed) << r.type << " " << r.name;
  }
}

TEST_F(CmnOpr, ValueChecks) {
  const struct {
    long type;
    const char* text;
    long rc;
  } rows[] = {{609, "  ", CMN_OPR_NO_CONV}, {670, "", 0}, {670, "   ", 0}, {516, "  ", 0}, {512, "42", 0},
              {514, "1.5", 0}, {766, "12.25", 0}, {766, "12,x", 0x100064}};
  for (auto r : rows) {
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(cmn_opr_check_value(r.type, r.text), r.rc) << r.type << " '" << r.text << "'";
    if (r.rc == CMN_OPR_NO_CONV) {
      EXPECT_EQ(core_num_alerts(), 0);
    }
  }
  std::string long_text(200, 'a');  // a text result longer than the area is allocated and freed
  EXPECT_EQ(cmn_opr_check_value(516, long_text.c_str()), 0);
}

TEST_F(CmnOpr, PrintfParsingOfTheUsualCase) {
  const char* fmt = "a %-08.3lf b %s c %%";
  long count = 0;
  cmn_ty_fmt_spec* specs = nullptr;
  ASSERT_EQ(cmn_fmt_parse_printf(fmt, nullptr, &count, &specs), 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(specs[0].conv, 'f');
  EXPECT_EQ(specs[0].flags, CMN_FMT_LEFT | CMN_FMT_LONG);
  EXPECT_EQ(specs[0].width, 8);
  EXPECT_EQ(specs[0].precision, 3);
  EXPECT_EQ(specs[0].type, CMN_TYP_DOUBLE);
  EXPECT_EQ(specs[0].start, fmt + 2);
  EXPECT_EQ(specs[0].conv_at, fmt + 9);
  EXPECT_EQ(specs[1].conv, 's');
  EXPECT_EQ(specs[1].type, CMN_TYP_CHAR_P);
  EXPECT_EQ(specs[1].width, -1);
  EXPECT_EQ(specs[1].precision, -1);
  std::string dump = core_written_to([&](FILE* s) { cmn_fmt_dump_printf(s, count, specs); });
  EXPECT_EQ(dump, "#1) '%-8.3lf' (a double)\n#2) '%s' (a char pointer)\n");
  EXPECT_EQ(core_written_to([&](FILE* s) { cmn_fmt_dump_printf(s, 0, specs); }), "");
}

TEST_F(CmnOpr, PrintfConversionTypes) {
  const struct {
    const char* fmt;
    long type;
    long flags;
  } rows[] = {{"%d", 513, 0},  {"%ld", 512, 16}, {"%x", 513, 0},  {"%lp", 512, 16}, {"%e", 514, 0},
              {"%lg", 613, 16}, {"%c", 515, 0},  {"%q", -1, 0},   {"%+ #5d", 513, 14}, {"%.d", 513, 0}};
  for (auto r : rows) {
    long count = 0;
    cmn_ty_fmt_spec* specs = nullptr;
    ASSERT_EQ(cmn_fmt_parse_printf(r.fmt, nullptr, &count, &specs), 0);
    ASSERT_EQ(count, 1) << r.fmt;
    EXPECT_EQ(specs[0].type, r.type) << r.fmt;
    EXPECT_EQ(specs[0].flags, r.flags) << r.fmt;
  }
  long count = 7;
  cmn_ty_fmt_spec* specs = nullptr;
  EXPECT_EQ(cmn_fmt_parse_printf("end %", nullptr, &count, &specs), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(cmn_fmt_parse_printf("%%%%", nullptr, &count, &specs), 0);
  EXPECT_EQ(count, 0);
}

TEST_F(CmnOpr, APrintfFormatWithMoreThanFiftySpecsIsRefused) {
  std::string fifty, more;
  for (int i = 0; i < 50; ++i) fifty += "%d ";
  more = fifty + "%s";
  long count = 0;
  cmn_ty_fmt_spec* specs = nullptr;
  ASSERT_EQ(cmn_fmt_parse_printf(fifty.c_str(), nullptr, &count, &specs), 0);
  EXPECT_EQ(count, 50);
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  EXPECT_EQ(cmn_fmt_parse_printf(more.c_str(), nullptr, &count, &specs), 1);
  EXPECT_EQ(count, 0);
  EXPECT_NE(msgs.text().find("more than 50 conversions"), std::string::npos);
}

TEST_F(CmnOpr, FormatRecordsPrint) {
  cmn_ty_format_arg args[2] = {{1, 512, 0}, {2, 516, 3}};
  char text[] = "done";
  cmn_ty_format f{2, args, text};
  cmn_ty_print_proc print = nullptr;
  cmn_typ_info(CMN_FMT_TYPE, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print);
  ASSERT_NE(print, nullptr);
  std::string out = core_written_to([&](FILE* s) { EXPECT_EQ(print(s, 1, &f, CMN_FMT_TYPE, 0), 0); });
  EXPECT_EQ(out,
            " FORMAT struct: has 2 args\n"
            "  substituted string: 'done'\n"
            "    Field num: 1, type: 512, sub_num: 0\n"
            "    Field num: 2, type: 516, sub_num: 3\n");
}

TEST_F(CmnOpr, TypeNamesByNameAndNumber) {
  const cmn_ty_fmt_type_row* rows = cmn_fmt_types();
  EXPECT_STREQ(rows[0].name, "CASE");
  EXPECT_EQ(rows[5441].number, 512);
  EXPECT_EQ(rows[5739].number, 810);
  const struct {
    const char* name;
    long number;
  } named[] = {{"CASE", 0}, {"WIPBIN", 5}, {"PAYMENT_MEANS", 5440}, {"LONG", 512}, {"CHAR_P", 516},
               {"ALERT", 527}, {"PARAM_TYPE", 810}};
  for (auto n : named) {
    long number = -1;
    EXPECT_EQ(cmn_fmt_name_to_num(n.name, &number), 0) << n.name;
    EXPECT_EQ(number, n.number) << n.name;
    const char* name = nullptr;
    EXPECT_EQ(cmn_fmt_num_to_name(n.number, &name), 0);
    EXPECT_STREQ(name, n.name);
    EXPECT_STREQ(cmn_fmt_name(n.number), n.name);
  }
  long number = -1;
  EXPECT_EQ(cmn_fmt_name_to_num("no such type", &number), 1);
  cmn_ty_dyn_field f{};
  cmn_dyn_define_field("x", 0, 8, CMN_TYP_LONG, &f);
  long id = -1;
  ASSERT_EQ(cmn_dyn_define_type("fmt runtime", 8, nullptr, 1, &f, &id), 0);
  EXPECT_EQ(cmn_fmt_name_to_num("FMT RUNTIME", &number), 0);
  EXPECT_EQ(number, id);
  const char* name = nullptr;
  EXPECT_EQ(cmn_fmt_num_to_name(id, &name), 0);
  EXPECT_STREQ(name, "fmt runtime");
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  EXPECT_EQ(cmn_fmt_num_to_name(6000, &name), 1);
  EXPECT_EQ(msgs.text(), "cmn_fmt_num_to_name: Invalid type id 6000\n");
  EXPECT_STREQ(cmn_fmt_name(-4), "Invalid type id -4");
}

}  // namespace
