// Pre-processing lookups: attributes filled from the first CRM object that
// matches up to three conditions built from other attributes.
#include "conn_fixture.h"
#include "connector/conn_map.h"

namespace {

class conn_preproc_test : public conn_test {
 protected:
  void SetUp() override {
    conn_test::SetUp();
    connect();
    h = handler();
    h->state = 55;
  }
  // A business object of type T_PP whose attribute "Target" carries `pp`, with
  // Name, Code and Region set (unless `unset` names one).
  std::unique_ptr<BusinessObject> make_bo(const std::string& pp, const char* unset = nullptr) {
    std::string text = pp.empty() ? "cust:target" : "PP=" + pp + "|cust:target";
    texts_.push_back(text);
    conn_define("T_PP", "",
                {{"Name", "cust:name"},
                 {"Code", "cust:code"},
                 {"Region", "cust:region"},
                 {"Target", texts_.back().c_str()}});
    auto bo = std::make_unique<BusinessObject>("T_PP");
    const char* values[][2] = {{"Name", "North"}, {"Code", "C7"}, {"Region", "EU"},
                               {"Target", "before"}};
    for (auto& v : values)
      if (!unset || std::string(unset) != v[0])
        bo->setAttrValue(v[0], const_cast<char*>(v[1]), BOAttrType::STRING);
    return bo;
  }
  // Runs the lookups; the map is deleted afterwards.
  int run(BusinessObject& bo) {
    Map* map = nullptr;
    int status = h->PrivatePreProcessBusObj(bo, &map);
    EXPECT_NE(map, nullptr);
    EXPECT_EQ(bo.getContext(), map);
    delete map;
    bo.setContext(nullptr);
    return status;
  }
  static std::string value(BusinessObject& bo, const char* name) {
    return static_cast<const char*>(bo.getAttrValue(name));
  }
  cpi_double_obj* site(const char* id) {
    cpi_double_obj* o = cpi_double::make("site");
    o->set("site_id", id);
    return o;
  }

  GenBOHandler* h = nullptr;
  std::vector<std::string> texts_;
};

struct lookup_case {
  const char* pp;
  const char* conditions;  // as the double records them
};

TEST_F(conn_preproc_test, lookups_of_four_to_eight_parts) {
  const lookup_case cases[] = {
      {"site:site_id:Name:name", "name=North"},
      {"site:site_id:Name:name:Code:code", "name=North code=C7"},
      {"site:site_id:Name:name:Code:code:Region:region", "name=North code=C7 region=EU"},
      {"site:site_id:Name:name:Code:code:Region:region:extra", "name=North code=C7 region=EU"},
      {"site:site_id:Name:name:Code", "name=North"},
      {"site:site_id:Name:name:Code:code:Region", "name=North code=C7"},
      {"site:site_id:Name:name:::Region:region", "name=North region=EU"},
  };
  for (const lookup_case& c : cases) {
    SCOPED_TRACE(c.pp);
    cpi_double::reset();
    auto bo = make_bo(c.pp);
    cpi_double::answer("site", {site("S-1"), site("S-2")});
    EXPECT_EQ(run(*bo), 0);
    EXPECT_EQ(cpi_double::calls_of("cpi_qry_traverse_map"),
              std::vector<std::string>{"cpi_qry_traverse_map(7,55,1;site kind=4 flag=1 " +
                                       std::string(c.conditions) + ")"});
    EXPECT_EQ(value(*bo, "Target"), "S-1");
    EXPECT_EQ(cpi_double::open_results(), 0);
    ASSERT_NE(h->travMap, nullptr);
    EXPECT_TRUE(h->travMapOwnsConds);
  }
  h->freeTravMap();
  EXPECT_EQ(h->travMap, nullptr);
}

TEST_F(conn_preproc_test, each_lookup_is_traced) {
  globals->traceLevel = 5;
  auto bo = make_bo("site:site_id:Name:name:Code:code");
  cpi_double::answer("site", {site("S-1")});
  run(*bo);
  const std::vector<std::string> expected = {
      "5 22110: Starting; Target; T_PP",
      "5 22112: site_id; site",
      "5 22113: 1; 2; name; Name; North",
      "5 22113: 2; 2; code; Code; C7",
      "5 22114: S-1",
      "5 22110: Finished; Target; T_PP",
  };
  EXPECT_EQ(traces(), expected);
}

TEST_F(conn_preproc_test, incomplete_texts_and_missing_values_leave_the_attribute_alone) {
  globals->traceLevel = 5;
  struct { const char* pp; const char* unset; const char* trace; } cases[] = {
      {"site:site_id", nullptr, "5 22106: Target; T_PP"},
      {"site:site_id:Name", nullptr, "5 22106: Target; T_PP"},
      {"site::Name:name", nullptr, "5 22106: Target; T_PP"},
      {"site:site_id:Name:name", "Name", "5 22105: Name; T_PP"},
      {"site:site_id:Name:name:Code:code", "Code", "5 22105: Code; T_PP"},
      {"site:site_id:Name:name:Nope:code", nullptr, "5 22105: Nope; T_PP"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.pp);
    KlJournal::clear();
    cpi_double::reset();
    auto bo = make_bo(c.pp, c.unset);
    EXPECT_EQ(run(*bo), 0);
    EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), 0);
    EXPECT_EQ(value(*bo, "Target"), "before");
    std::vector<std::string> t = traces();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1], c.trace);
  }
}

TEST_F(conn_preproc_test, every_attribute_is_looked_up_on_its_own) {
  conn_define("T_Multi", "",
              {{"Name", "cust:name"},
               {"Long", "PP=site:site_id:Name:name:Name:name:Name:name|cust:a"},
               {"Short", "PP=site:site_id|cust:b"},
               {"Missing", "PP=site:site_id:Absent:x|cust:c"},
               {"Last", "PP=site:site_id:Name:name|cust:d"}});
  BusinessObject bo("T_Multi");
  bo.setAttrValue("Name", const_cast<char*>("North"), BOAttrType::STRING);
  cpi_double::answer("site", {site("S-long")});
  cpi_double::answer("site", {site("S-last")});
  EXPECT_EQ(run(bo), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), 2);
  EXPECT_EQ(value(bo, "Long"), "S-long");
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue("Short")));
  EXPECT_EQ(value(bo, "Last"), "S-last");
}

TEST_F(conn_preproc_test, nothing_found_keeps_the_value) {
  auto bo = make_bo("site:site_id:Name:name");
  EXPECT_EQ(run(*bo), 0);
  EXPECT_EQ(value(*bo, "Target"), "before");
  EXPECT_EQ(cpi_double::count_of("cpi_obj_get_field"), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

TEST_F(conn_preproc_test, the_data_type_pair_decides_the_conversion) {
  conn_define("T_DT", "",
              {{"Name", "cust:name"}, {"Num", "DT=1;PP=site:num:Name:name|cust:num::5"}});
  BusinessObject bo("T_DT");
  bo.setAttrValue("Name", const_cast<char*>("North"), BOAttrType::STRING);
  cpi_double_obj* o = cpi_double::make("site");
  o->set("num", "42", 'l');
  cpi_double::answer("site", {o});
  EXPECT_EQ(run(bo), 0);
  EXPECT_EQ(value(bo, "Num"), "42");
}

TEST_F(conn_preproc_test, a_failed_query_or_read_fails_the_step) {
  struct { const char* function; } cases[] = {
      {"cpi_qry_traverse_map"}, {"cpi_qry_get_result"}, {"cpi_obj_get_field"}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.function);
    cpi_double::reset();
    conn_define("T_Fail", "",
                {{"Name", "cust:name"},
                 {"A", "PP=site:site_id:Name:name|cust:a"},
                 {"B", "PP=site:site_id:Name:name|cust:b"}});
    BusinessObject bo("T_Fail");
    bo.setAttrValue("Name", const_cast<char*>("North"), BOAttrType::STRING);
    cpi_double::answer("site", {site("S-1")});
    cpi_double::answer("site", {site("S-2")});
    cpi_double::fail(c.function, 0x2c00013);
    testing::internal::CaptureStdout();
    EXPECT_EQ(run(bo), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Injected failure"), std::string::npos);
    EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), 1);
    EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue("B")));
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_preproc_test, a_verb_step_runs_the_lookups_before_its_own_query) {
  auto bo = make_bo("site:site_id:Name:name");
  bo->setVerb("Retrieve");
  cpi_double::answer("site", {site("S-9")});
  cpi_double_obj* stored = cpi_double::make("cust");
  stored->set("name", "North");
  stored->set("code", "C9");
  stored->set("region", "EU");
  stored->set("target", "S-9");
  cpi_double::answer("cust", {stored});
  ReturnStatusDescriptor status;
  EXPECT_EQ(h->doVerbFor(*bo, &status), 1);
  // The lookup's query on site, then the retrieve's on cust, with the
  // looked-up value in place before the retrieve read the row.
  std::vector<std::string> queries = cpi_double::calls_of("cpi_qry_traverse_map");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_NE(queries[0].find(";site kind=4"), std::string::npos);
  EXPECT_NE(queries[1].find(";cust kind=4 flag=1 name=North"), std::string::npos);
  EXPECT_EQ(value(*bo, "Code"), "C9");
  EXPECT_EQ(value(*bo, "Target"), "S-9");
  EXPECT_EQ(cpi_double::count_of("cpi_state_commit"), 0);
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
  EXPECT_EQ(bo->getContext(), nullptr);
  EXPECT_EQ(h->travMap, nullptr);
}

}  // namespace
