// The error log "orbisan.err", dumps, the one-level query helper and the
// numbering-scheme table.
#include <regex>

#include "conn_fixture.h"
#include "client/cpi_qry.h"
#include "connector/conn_util.h"

namespace {

using conn_util_test = conn_test;

TEST_F(conn_util_test, statuses_of_one_or_below_are_not_logged) {
  OrbisanUtilityFn u;
  cpi_double::alerts().push_back("left alone");
  for (long status : {0L, 1L, -1L, -9999L}) EXPECT_EQ(u.log_error(status), status);
  EXPECT_FALSE(std::filesystem::exists(dir / "orbisan.err"));
  EXPECT_EQ(cpi_double::alerts().size(), 1u);
  EXPECT_TRUE(logs().empty());
}

TEST_F(conn_util_test, lost_connection_statuses_become_message_20018) {
  OrbisanUtilityFn u;
  cpi_double::alerts().push_back("kept");
  EXPECT_EQ(u.log_error(CONN_ALRT_CONNECTION_LOST), CONN_ALRT_CONNECTION_LOST);
  EXPECT_EQ(u.log_error(CONN_ALRT_SQL_FAILED), CONN_ALRT_SQL_FAILED);
  const std::vector<std::string> expected = {"1 20018: OrbisanConnector",
                                             "1 20018: OrbisanConnector"};
  EXPECT_EQ(logs(), expected);
  EXPECT_FALSE(std::filesystem::exists(dir / "orbisan.err"));
  EXPECT_EQ(cpi_double::alerts().size(), 1u);
}

TEST_F(conn_util_test, each_failure_is_one_entry_with_its_time_and_alerts) {
  OrbisanUtilityFn u;
  cpi_double::alerts() = {"first alert", "second alert"};
  EXPECT_EQ(u.log_error(0x2c00004), 0x2c00004);
  EXPECT_TRUE(cpi_double::alerts().empty());
  cpi_double::alerts() = {"third alert"};
  EXPECT_EQ(u.log_error(0x2c00002), 0x2c00002);
  std::string text = file_text(dir / "orbisan.err");
  // ctime's text (with its newline), ':', the alerts newest first, "\n".
  std::regex entry(
      "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n:"
      "second alert\nfirst alert\n\n"
      "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n:"
      "third alert\n\n");
  EXPECT_TRUE(std::regex_match(text, entry)) << text;
}

TEST_F(conn_util_test, get_error_string_empties_the_buffer_and_clears_alerts) {
  OrbisanUtilityFn u;
  char buffer[8] = "old";
  cpi_double::alerts() = {"an alert"};
  EXPECT_EQ(u.get_error_string(buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_TRUE(cpi_double::alerts().empty());
  EXPECT_NE(file_text(dir / "orbisan.err").find("an alert"), std::string::npos);
}

TEST_F(conn_util_test, an_unwritable_log_still_clears_the_alerts) {
  std::filesystem::create_directory(dir / "orbisan.err");
  OrbisanUtilityFn u;
  cpi_double::alerts() = {"an alert"};
  EXPECT_EQ(u.log_error(0x2c00004), 0x2c00004);
  EXPECT_TRUE(cpi_double::alerts().empty());
}

TEST_F(conn_util_test, dumps_go_to_the_state_dump_file_when_configured) {
  OrbisanUtilityFn u;
  cpi_double_obj* o = cpi_double::make("contact");
  u.cpi_obj_dump(o);
  u.cpi_state_dump(5);
  EXPECT_EQ(cpi_double::count_of("cpi_obj_dump"), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_state_dump"), 0);

  KlProperties::set("StateDumpFileName", "dump.txt");
  KlProperties::set("PollFrequency", "no");
  globals->init(nullptr);
  u.cpi_obj_dump(o);
  u.cpi_state_dump(5);
  std::string text = file_text(dir / "dump.txt");
  EXPECT_NE(text.find("object contact\nstate 5\n"), std::string::npos);
}

TEST_F(conn_util_test, run_query_reads_the_first_hit_by_mode) {
  OrbisanUtilityFn u;
  cpi_double_obj* hit = cpi_double::make("site");
  hit->set("name", "North");
  hit->set("objid", "42", 'l');
  cpi_ty_trav_map map{};
  map.type_name = "site";
  map.kind = CPI_KIND_TYPE;
  cpi_ty_qry_result* result = nullptr;
  void** objects = nullptr;
  long count = 0;

  const char* name_field[] = {"name"};
  const char* value = nullptr;
  void* slots[] = {&value};
  cpi_double::answer("site", {hit});
  EXPECT_EQ(u.run_query(7, 1, &map, &result, &objects, &count, name_field, slots, 1, 3, 0), 0);
  EXPECT_STREQ(value, "North");
  EXPECT_EQ(result, nullptr);

  cpi_ty_objid id{};
  void* id_slot[] = {&id};
  cpi_double::answer("site", {hit});
  EXPECT_EQ(u.run_query(7, 1, &map, &result, &objects, &count, nullptr, id_slot, 0, 2, 1), 0);
  EXPECT_EQ(id.id_number, 42);
  EXPECT_NE(result, nullptr);
  EXPECT_EQ(cpi_double::open_results(), 1);
  cpi_qry_free_results(result);

  EXPECT_EQ(u.run_query(7, 1, &map, &result, &objects, &count, name_field, slots, 1, 3, 0),
            CONN_NOT_FOUND);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

TEST_F(conn_util_test, run_query_failures_log_their_messages) {
  OrbisanUtilityFn u;
  cpi_ty_trav_map map{};
  map.type_name = "site";
  cpi_ty_qry_result* result = nullptr;
  void** objects = nullptr;
  long count = 0;
  cpi_double::fail("cpi_qry_traverse_map", 0x2c00013);
  testing::internal::CaptureStdout();
  EXPECT_EQ(u.run_query(7, 1, &map, &result, &objects, &count, nullptr, nullptr, 0, 3, 0), -1);
  testing::internal::GetCapturedStdout();
  cpi_double::answer("site", {cpi_double::make("site")});
  EXPECT_EQ(u.run_query(7, 1, &map, &result, &objects, &count, nullptr, nullptr, 0, 9, 0), -1);
  const std::vector<std::string> expected = {"2 22023", "2 22049"};
  EXPECT_EQ(logs(), expected);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

TEST(conn_num_gen, site_has_the_site_id_scheme) {
  numGen table;
  EXPECT_EQ(table.isGenerated("site"), 1);
  EXPECT_EQ(table.isGenerated("Site"), 0);
  EXPECT_STREQ(table.getSchemeName("site"), "Site ID");
  EXPECT_EQ(table.getSchemeName("contact"), nullptr);
}

}  // namespace

namespace {

TEST(conn_setup_data, mode_one_fills_the_records_from_the_start_index) {
  OrbisanUtilityFn u;
  long a = 1, b = 2, c = 3;
  conn_ty_param params[3] = {{CONN_PARAM_LONG, 8, nullptr},
                             {CONN_PARAM_LONG, 8, nullptr},
                             {CONN_PARAM_TEXT, 16, nullptr}};
  void* values[3] = {&a, &b, &c};
  long sizes[3] = {8, 8, 16};
  EXPECT_EQ(u.setup_data(params, 3, values, 1, sizes, 1), 0);
  EXPECT_EQ(params[0].value, nullptr);  // before the start index
  EXPECT_EQ(params[1].value, &b);
  EXPECT_EQ(params[2].value, &c);
  // A size word that differs stops at that record.
  conn_ty_param fresh[3] = {{CONN_PARAM_LONG, 8, nullptr},
                            {CONN_PARAM_LONG, 4, nullptr},
                            {CONN_PARAM_LONG, 8, nullptr}};
  EXPECT_EQ(u.setup_data(fresh, 3, values, 0, sizes, 1), -1);
  EXPECT_EQ(fresh[0].value, &a);
  EXPECT_EQ(fresh[1].value, nullptr);
  EXPECT_EQ(fresh[2].value, nullptr);
}

TEST(conn_setup_data, mode_two_copies_each_value_out_by_its_type) {
  OrbisanUtilityFn u;
  long number = 42;
  float ratio = 1.5f;
  char word[] = "pointer";
  char text[] = "a text longer than its slot";
  conn_ty_param params[5] = {{CONN_PARAM_LONG, 8, &number},
                             {CONN_PARAM_FLOAT, 4, &ratio},
                             {CONN_PARAM_POINTER, 8, word},
                             {CONN_PARAM_LONG_POINTER, 8, &number},
                             {CONN_PARAM_TEXT, 7, text}};
  long out_long = 0;
  float out_float = 0;
  char out_text[16] = "untouched-tail";
  void* values[5] = {&out_long, &out_float, nullptr, nullptr, out_text};
  long sizes[5] = {};
  EXPECT_EQ(u.setup_data(params, 5, values, 0, sizes, 2), 0);
  EXPECT_EQ(out_long, 42);
  EXPECT_EQ(out_float, 1.5f);
  EXPECT_EQ(values[2], word);
  EXPECT_EQ(values[3], &number);
  EXPECT_STREQ(out_text, "a text");  // cut to the record's size with its end
  EXPECT_EQ(std::vector<long>(sizes, sizes + 5), (std::vector<long>{8, 4, 8, 8, 7}));
  // Other modes change nothing.
  long untouched[5] = {};
  EXPECT_EQ(u.setup_data(params, 5, values, 0, untouched, 3), 0);
  EXPECT_EQ(std::vector<long>(untouched, untouched + 5), std::vector<long>(5, 0));
}

}  // namespace
