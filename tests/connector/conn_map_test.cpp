// The attribute map: parsing application texts into records, and moving
// values between CRM objects and business-object attributes.
#include <cstdlib>
#include <memory>

#include "conn_fixture.h"
#include "client/cpi_utl.h"
#include "connector/conn_map.h"
#include "connector/conn_util.h"

namespace {

using conn_map_test = conn_test;

struct parse_case {
  const char* text;
  const char* table;
  const char* field;
  const char* other_fields;
  const char* first_relation;
  const char* other_relations;
  const char* lookup_attr;
  int type_code;
  int parent_ind;
  const char* rel_to_obj_attr;
  const char* val_from_attr;
  const char* val_from_field;
};

std::string opt(const char* s) { return s ? s : "<null>"; }

TEST_F(conn_map_test, application_texts_of_every_form) {
  const parse_case cases[] = {
      {"contact", "contact", "", nullptr, nullptr, nullptr, nullptr, 3, 0, nullptr, nullptr,
       nullptr},
      {"contact:first_name", "contact", "first_name", nullptr, nullptr, nullptr, nullptr, 3, 0,
       nullptr, nullptr, nullptr},
      {"contact:first_name,last_name,phone", "contact", "first_name", "last_name,phone", nullptr,
       nullptr, nullptr, 3, 0, nullptr, nullptr, nullptr},
      {"site:name:site2contact,site2addr,x:1:2:rel_attr:val_attr:val_field:more", "site", "name",
       nullptr, "site2contact", "site2addr,x", nullptr, 1, 2, "rel_attr", "val_attr",
       "val_field"},
      {"site:name:[LookupAttr]:5", "site", "name", nullptr, nullptr, nullptr, "LookupAttr", 5, 0,
       nullptr, nullptr, nullptr},
      {"site:name:[Lookup", "site", "name", nullptr, nullptr, nullptr, "Lookup", 3, 0, nullptr,
       nullptr, nullptr},
      {"site:id:rel,:", "site", "id", nullptr, "rel", nullptr, nullptr, 3, 0, nullptr, nullptr,
       nullptr},
      {"site:id::::", "site", "id", nullptr, nullptr, nullptr, nullptr, 3, 0, nullptr, nullptr,
       nullptr},
      {"site:id:::::::", "site", "id", nullptr, nullptr, nullptr, nullptr, 3, 0, nullptr, nullptr,
       nullptr},
      {"site:id,:r", "site", "id", nullptr, "r", nullptr, nullptr, 3, 0, nullptr, nullptr,
       nullptr},
      {"Bogus=1;noequals|site:id:r:4", "site", "id", nullptr, "r", nullptr, nullptr, 4, 0, nullptr,
       nullptr, nullptr},
  };
  for (const parse_case& c : cases) {
    SCOPED_TRACE(c.text);
    conn_define("T_Parse", "", {{"A", c.text}, {"Last", "x"}});
    BusinessObject bo("T_Parse");
    Map map(&bo);
    EXPECT_EQ(bo.getContext(), &map);
    EXPECT_STREQ(map.getTable(0), c.table);
    EXPECT_STREQ(map.getField(0), c.field);
    EXPECT_EQ(opt(map.getOtherFields(0)), opt(c.other_fields));
    EXPECT_EQ(opt(map.getFirstRelation(0)), opt(c.first_relation));
    EXPECT_EQ(opt(map.getOtherRelation(0)), opt(c.other_relations));
    EXPECT_EQ(opt(map.getRelationLookupAttr(0)), opt(c.lookup_attr));
    EXPECT_EQ(map.getTypeCode(0), c.type_code);
    EXPECT_EQ(map.getParent_ind(0), c.parent_ind);
    EXPECT_EQ(opt(map.getRel_to_obj_attr(0)), opt(c.rel_to_obj_attr));
    EXPECT_EQ(opt(map.getVal_from_attr(0)), opt(c.val_from_attr));
    EXPECT_EQ(opt(map.getVal_from_field(0)), opt(c.val_from_field));
    EXPECT_STREQ(map.getSchemeId(0), "");
    EXPECT_FALSE(map.getIsGenerateNum(0));
    EXPECT_EQ(map.getDataType(0), -1);
    EXPECT_EQ(map.getRetrieveFrom(0), nullptr);
    EXPECT_TRUE(logs().empty());
  }
}

TEST_F(conn_map_test, pairs_section_sets_scheme_view_data_type_and_lookup) {
  conn_define("T_Pairs", "",
              {{"A", "SchemeName=Site ID;RBC=v_site:site_name;DT=1;PP=site:objid:Name:name|"
                     "site:site_id"},
               {"B", "RBC=v_site;schemename=X|site:id"},
               {"Last", "x"}});
  BusinessObject bo("T_Pairs");
  Map map(&bo);
  EXPECT_STREQ(map.getSchemeId(0), "Site ID");
  EXPECT_TRUE(map.getIsGenerateNum(0));
  EXPECT_STREQ(map.getView(0), "v_site");
  EXPECT_STREQ(map.getViewField(0), "site_name");
  EXPECT_EQ(map.getDataType(0), 1);
  EXPECT_STREQ(map.getRetrieveFrom(0), "site:objid:Name:name");
  EXPECT_STREQ(map.getTable(0), "site");
  EXPECT_STREQ(map.getField(0), "site_id");
  // "RBC" without ':' and a pair name in the wrong case change nothing.
  EXPECT_STREQ(map.getView(1), "");
  EXPECT_STREQ(map.getViewField(1), "");
  EXPECT_STREQ(map.getSchemeId(1), "");
  EXPECT_FALSE(map.getIsGenerateNum(1));
}

struct malformed_case {
  std::string text;
  std::string log;      // expected log line, "" for none
  const char* table;    // what the record keeps
  const char* field;
};

TEST_F(conn_map_test, malformed_texts_are_refused_per_attribute) {
  const std::string name32(32, 'n');
  const malformed_case cases[] = {
      {":field", "5 22054: T_Bad; A", "", ""},
      {"site:", "5 22055: T_Bad; A", "site", ""},
      {"site:,other:rel", "5 22055: T_Bad; A", "site", ""},
      {name32 + ":id", "2 Application text of attribute A of T_Bad exceeds its limits; "
                       "the attribute is not mapped.", "", ""},
      {"site:" + name32, "2 Application text of attribute A of T_Bad exceeds its limits; "
                         "the attribute is not mapped.", "site", ""},
      {"SchemeName=" + name32 + "|site:id", "2 Application text of attribute A of T_Bad exceeds "
                                            "its limits; the attribute is not mapped.", "", ""},
      {"site:id:" + std::string(250, 'r'), "2 Application text of attribute A of T_Bad exceeds "
                                           "its limits; the attribute is not mapped.", "", ""},
  };
  for (const malformed_case& c : cases) {
    SCOPED_TRACE(c.text);
    KlJournal::clear();
    conn_define("T_Bad", "", {{"A", c.text.c_str()}, {"B", "site:ok:r"}});
    BusinessObject bo("T_Bad");
    Map map(&bo);
    EXPECT_EQ(logs(), std::vector<std::string>{c.log});
    EXPECT_STREQ(map.getTable(0), c.table);
    EXPECT_STREQ(map.getField(0), c.field);
    EXPECT_EQ(map.getFirstRelation(0), nullptr);
    EXPECT_STREQ(map.getField(1), "ok");  // the next attribute is still parsed
  }
}

TEST_F(conn_map_test, attributes_without_text_are_traced_except_the_event_id) {
  KlProperties::set("AgentTraceLevel", "2");
  conn_define("T_Empty", "",
              {{"Name", ""}, {"ObjectEventId", ""}, {"Child", "site:id", 0, "T_Child"}});
  BusinessObject bo("T_Empty");
  Map map(&bo);
  const std::vector<std::string> expected = {"2 22106: Name; T_Empty", "2 22106: Child; T_Empty"};
  EXPECT_EQ(traces(), expected);
  EXPECT_STREQ(map.getTable(2), "");  // an object attribute's text is never parsed
  EXPECT_NE(map.record(1), nullptr);
}

TEST_F(conn_map_test, accessors_without_a_record_give_nothing) {
  conn_define("T_Acc", "", {{"A", "site:id:rel1,rel2"}, {"B", "addr:line"}});
  BusinessObject bo("T_Acc");
  Map map(&bo);
  for (int i : {-1, 2, 100}) {
    EXPECT_EQ(map.getTable(i), nullptr);
    EXPECT_EQ(map.getFirstRelation(i), nullptr);
    EXPECT_EQ(map.getParent_ind(i), 0);
    EXPECT_FALSE(map.getIsObject(i));
    EXPECT_EQ(map.getObj(i), nullptr);
    map.setIsEvaluated(i, true);  // ignored
  }
  EXPECT_STREQ(map.getFirstRelation("site"), "rel1");
  EXPECT_STREQ(map.getOtherRelation("site"), "rel2");
  EXPECT_EQ(map.getFirstRelation("none"), nullptr);
  EXPECT_TRUE(map.setFirstRelation("addr", "addr2site"));
  EXPECT_STREQ(map.getFirstRelation(1), "addr2site");
  EXPECT_FALSE(map.setFirstRelation("none", "x"));
  EXPECT_EQ(Map::getIndex("B", &bo), 1);
  EXPECT_EQ(Map::getIndex("b", &bo), -1);
}

TEST_F(conn_map_test, object_marks) {
  conn_define("T_Obj", "", {{"A", "site:id"}, {"B", "addr:id"}});
  BusinessObject bo("T_Obj");
  Map map(&bo);
  map.setObj(0, nullptr);
  EXPECT_FALSE(map.getIsObject(0));
  int handle = 0;
  map.setObj(0, &handle);
  EXPECT_TRUE(map.getIsObject(0));
  EXPECT_EQ(map.getObj(0), &handle);
  map.setObjid(1, cpi_ty_objid{3, 44, 0});
  EXPECT_TRUE(map.getIsObject(1));
  EXPECT_EQ(map.getObjid(1)->id_number, 44);
  map.setIsInMemory(1, true);
  map.setIsGenerateNum(1, true);
  EXPECT_TRUE(map.getIsInMemory(1));
  EXPECT_TRUE(map.getIsGenerateNum(1));
}

TEST_F(conn_map_test, get_value_and_set_field_by_index_or_by_table_and_field) {
  conn_define("T_Val", "", {{"A", "site:id"}, {"B", "site:name"}, {"C", "addr:line"}});
  BusinessObject bo("T_Val");
  Map map(&bo);
  int index = -1;
  EXPECT_EQ(map.set_field("North", "site", "name", nullptr, &index), 0);
  EXPECT_EQ(index, 1);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(1)), "North");
  index = 2;
  map.set_field("Main St", "ignored", "ignored", nullptr, &index);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(2)), "Main St");
  map.set_field(nullptr, "site", "id", nullptr, nullptr);
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue(0)));

  const char* value = nullptr;
  index = -1;
  map.get_value(&value, "site", "name", nullptr, &index);
  EXPECT_STREQ(value, "North");
  EXPECT_EQ(index, 1);
  value = nullptr;
  index = -1;
  map.get_value(&value, "site", "nothing", nullptr, &index);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(index, -1);
}

TEST_F(conn_map_test, write_obj_new_converts_by_type_code) {
  std::string long_text(12000, 'L');
  conn_define("T_Write", "",
              {{"Id", "ord:objid::1"},
               {"Qty", "ord:qty::1"},
               {"Price", "ord:price::2"},
               {"Amount", "ord:amount::5"},
               {"Note", "ord:note::4"},
               {"Name", "ord:name"},
               {"Unset", "ord:unset"},
               {"Other", "cust:name"},
               {"Table", "ord"}});
  BusinessObject bo("T_Write");
  const char* values[][2] = {{"Id", "9"},         {"Qty", "12"},    {"Price", "2.5"},
                             {"Amount", "1e3"},   {"Name", "Bolt"}, {"Other", "Acme"},
                             {"Table", "t"}};
  for (auto& v : values) bo.setAttrValue(v[0], const_cast<char*>(v[1]), BOAttrType::STRING);
  bo.setAttrValue("Note", long_text.data(), BOAttrType::STRING);
  Map map(&bo);
  cpi_double_obj* o = cpi_double::make("ord");
  o->set("qty", "0", 'l');
  o->set("price", "0", 'f');
  o->set("amount", "0", 'd');
  EXPECT_EQ(map.write_obj_new(o, "ord", nullptr), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_obj_set_field"), 5);
  EXPECT_EQ(o->get("qty"), "12");
  EXPECT_EQ(o->get("price"), "2.5");
  EXPECT_EQ(o->get("amount"), "1000");
  EXPECT_EQ(o->get("note"), long_text);
  EXPECT_EQ(o->get("name"), "Bolt");
  EXPECT_EQ(o->fields.count("objid"), 0u);
  EXPECT_EQ(o->fields.count("unset"), 0u);
}

TEST_F(conn_map_test, write_obj_new_stops_at_the_first_failure) {
  conn_define("T_WriteFail", "", {{"A", "ord:a"}, {"B", "ord:b"}, {"C", "x"}});
  BusinessObject bo("T_WriteFail");
  bo.setAttrValue(0, const_cast<char*>("1"), BOAttrType::STRING);
  bo.setAttrValue(1, const_cast<char*>("2"), BOAttrType::STRING);
  Map map(&bo);
  cpi_double::fail("cpi_obj_set_field", 0x2c00018);
  testing::internal::CaptureStdout();
  EXPECT_EQ(map.write_obj_new(cpi_double::make("ord"), "ord", nullptr), 0x2c00018);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Injected failure"), std::string::npos);
  EXPECT_EQ(logs(), std::vector<std::string>{"5 22035: a; 46137368"});
  EXPECT_EQ(cpi_double::count_of("cpi_obj_set_field"), 1);
  EXPECT_TRUE(cpi_double::alerts().empty());
}

TEST_F(conn_map_test, load_field_writes_text_by_type_code) {
  KlProperties::set("FloatPrecision", "3");
  KlProperties::set("PollFrequency", "no");
  globals->init(nullptr);
  conn_define("T_Load", "", {{"A", "x"}});
  BusinessObject bo("T_Load");
  Map map(&bo);
  cpi_double_obj* o = cpi_double::make("ord");
  o->set("n", "42", 'l');
  o->set("f", "3.14159", 'f');
  o->set("twelve", "12", 'f');
  o->set("d", "2.718281828459045", 'd');
  o->set("t", "text");
  std::string v = "stale";
  EXPECT_EQ(map.load_field(o, "", 1, v), 0);
  EXPECT_EQ(v, "");
  map.load_field(o, "n", 1, v);
  EXPECT_EQ(v, "42");
  map.load_field(o, "f", 2, v);
  EXPECT_EQ(v, "3.14");
  char expected[64];
  std::string twelve = gcvt(12.0, 3, expected);
  if (twelve.back() == '.') twelve += "0";
  map.load_field(o, "twelve", 2, v);
  EXPECT_EQ(v, twelve);
  map.load_field(o, "d", 5, v);
  EXPECT_EQ(v, "2.71828182845905");
  map.load_field(o, "t", 3, v);
  EXPECT_EQ(v, "text");
  testing::internal::CaptureStdout();
  EXPECT_NE(map.load_field(o, "missing", 3, v), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(cpi_double::alerts().empty());
}

TEST_F(conn_map_test, load_field_reads_a_field_wider_than_its_type_code) {
  globals->init(nullptr);
  conn_define("T_Wide", "", {{"A", "x"}});
  BusinessObject bo("T_Wide");
  Map map(&bo);
  cpi_double_obj* o = cpi_double::make("ord");
  o->set("n", "42", 'l');
  o->set("d", "2.5", 'd');
  o->set("t", "text");
  // Eight bytes written where the code names a four-byte float: read
  // whole, then taken as the code's type.
  const struct {
    const char* field;
    int code;
  } cases[] = {{"n", 2}, {"d", 2}, {"t", 2}, {"t", 1}, {"d", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    std::string v;
    EXPECT_EQ(map.load_field(o, c.field, c.code, v), 0);
    EXPECT_FALSE(v.empty());
  }
}

TEST_F(conn_map_test, load_record_sets_attributes_with_the_date_rule) {
  conn_define("T_Rec", "",
              {{"Start", "RBC=v:vs|case:start_date"},
               {"End", "case:end_date"},
               {"Title", "case:title"},
               {"Viewed", "RBC=v_case:v_title|case:other"},
               {"Last", "case:never"}});
  BusinessObject bo("T_Rec");
  Map map(&bo);
  cpi_double_obj* o = cpi_double::make("case");
  o->set("start_date", "?/?/? ?:?:?");
  o->set("end_date", "*/*/* *:*:*");
  o->set("title", "Broken");
  o->set("other", "o");
  o->set("never", "n");
  o->set("v_title", "from view");
  EXPECT_EQ(map.load_record(o, "case", nullptr, false), 0);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(0)), "01/01/1753 00:00:00");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(1)), "12/31/4712 00:00:00");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(2)), "Broken");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(4)), "n");
  EXPECT_EQ(map.load_record(o, "v_case", nullptr, true), 0);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(3)), "from view");
}

TEST_F(conn_map_test, load_record_failure_is_logged_with_the_field) {
  conn_define("T_RecFail", "", {{"Title", "case:title"}, {"Last", "x"}});
  BusinessObject bo("T_RecFail");
  Map map(&bo);
  testing::internal::CaptureStdout();
  long status = map.load_record(cpi_double::make("case"), "case", nullptr, false);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, CPI_ALRT_BASE + 24);
  EXPECT_EQ(logs(), std::vector<std::string>{"5 22043: case; title; 46137368"});
}

TEST_F(conn_map_test, load_data_loads_each_levels_first_hit) {
  conn_define("T_Data", "", {{"Name", "site:name"}, {"Line", "addr:line"}, {"Last", "x"}});
  BusinessObject bo("T_Data");
  Map map(&bo);
  cpi_double_obj* site = cpi_double::make("site");
  site->set("name", "North");
  cpi_double_obj* addr = cpi_double::make("addr");
  addr->set("line", "1 Main St");
  cpi_double::answer_levels("site", {{site}, {addr}});
  cpi_ty_trav_map maps[2] = {};
  maps[0].type_name = "site";
  maps[1].type_name = "addr";
  maps[1].rel_name = "site2addr";
  EXPECT_EQ(map.load_data(7, 101, maps, 2), 0);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(0)), "North");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue(1)), "1 Main St");
  EXPECT_EQ(cpi_double::open_results(), 0);

  EXPECT_EQ(map.load_data(7, 101, maps, 2), CONN_NOT_FOUND);
  EXPECT_EQ(cpi_double::open_results(), 0);
  cpi_double::fail("cpi_qry_traverse_map", 0x2c00013);
  testing::internal::CaptureStdout();
  EXPECT_EQ(map.load_data(7, 101, maps, 2), -1);
  testing::internal::GetCapturedStdout();
}

TEST_F(conn_map_test, load_referenced_object_fills_keys_and_values_from_other_attributes) {
  conn_define("T_Ref", "",
              {{"SiteId", "site:site_id", BOAttrType::KEY},
               {"SetKey", "site:name", BOAttrType::KEY},
               {"Region", "addr:region::3::::site_region"},
               {"Ref", "site:x"},
               {"Borrowed", "addr:zone::3:::Ref:zone"},
               {"Dangling", "addr:zone::3:::Nope:zone"}});
  BusinessObject bo("T_Ref");
  bo.setAttrValue("SetKey", const_cast<char*>("given"), BOAttrType::STRING);
  Map map(&bo);
  cpi_double_obj* site = cpi_double::make("site");
  site->set("site_id", "S-1");
  site->set("name", "fetched");
  site->set("zone", "Z9");
  EXPECT_EQ(map.load_referenced_object(site, "site"), 0);
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue("SiteId")), "S-1");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue("SetKey")), "given");
  EXPECT_STREQ(static_cast<const char*>(bo.getAttrValue("Borrowed")), "Z9");
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue("Region")));
  EXPECT_EQ(logs(), std::vector<std::string>{"5 22044"});
}

}  // namespace
