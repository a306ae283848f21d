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
