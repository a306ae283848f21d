// The dictionary as schema text: golden texts of tables, exclusive sets,
// indexes and views, the separators between written items, the failures,
// and written files compiled by the schema compiler.
#include <fstream>
#include <sstream>
#include <string>

#include "bld_fixture.h"
#include "bo/bo_dict.h"
#include "bo_compnt_fixture.h"
#include "kclassic/kc_testdir.h"
#include "kclassic/kc_testloc.h"
#include "schema/typ_bld.h"

using namespace KCLASSIC;

namespace {

class SchemaTextTest : public bld_test {
 protected:
  void SetUp() override {
    bld_test::SetUp();
    kctest::startLocales();
    config.m_lDefaultLang = 1033;
    config.m_strCacheDir = dir.path().c_str();
    mgr.SetIdentity(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis");
    mgr.m_lModeType = BO_MODE_PRODUCT;
    mgr.Initialize();
    std::vector<unsigned long> langs(8, 1033);
    dict = std::make_unique<KDdDict>(&mgr);
    dict->InitializeComponents("schema", langs.data());
  }
  void TearDown() override {
    dict.reset();
    mgr.Terminate();
    bld_test::TearDown();
  }

  // The file OutputSchemaFile writes (its result in *result).
  std::string Written(int* result = nullptr) {
    KZString name(dir.file("out.schema").c_str());
    int done = dict->OutputSchemaFile(name);
    if (result) *result = done;
    else EXPECT_EQ(done, 1);
    std::ifstream in(dir.file("out.schema"));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The text of one table's block (without the revision lines).
  std::string Block(KDdTable* table) {
    std::string all = Written();
    std::string name = std::string(table->IsView() ? "VIEW " : "OBJECT ") + static_cast<const char*>(table->GetName());
    size_t at = all.find(name + " ");
    return at == std::string::npos ? "" : all.substr(at, all.find(";\n\n", at) + 3 - at);
  }

  // Runs an editing call; a KErr it throws fails the test with its details.
  template <class F>
  auto Must(F f) -> decltype(f()) {
    try {
      return f();
    } catch (KErr* e) {
      std::string what = std::to_string(e->GetErrorNum()) + " " + static_cast<const char*>(e->GetMethodName());
      for (int i = 0; i < e->GetParamCount(); ++i) what += std::string(" <") + static_cast<const char*>(e->GetParam(i)) + ">";
      delete e;
      ADD_FAILURE() << what;
      return nullptr;
    }
  }

  KDdTable* Table(const char* name, int id, const char* group = "grp", const char* comment = "") {
    return Must([&] { return dd_table_of(dict->CreateTable(name, id, group, comment)); });
  }
  KDdTable* View(const char* name, int id) {
    return Must([&] { return dd_table_of(dict->CreateView(name, id, "vg", "")); });
  }
  IDdField* Field(KDdTable* t, const char* name, long cmn, long genId = -1, long flags = 0x9, long db = 0,
                  long size = 0, const char* def = "", const char* comment = "") {
    return Must([&] { return t->CreateTableField(dict.get(), name, none, db, size, -1, -1, flags, cmn, genId, def, comment); });
  }
  IDdRelation* Relate(KDdTable* t, const char* name, long type, const char* inverseTable, const char* inverseName,
                      long low = 0, long high = 0x20000, const char* focus = "", const char* objid = "",
                      const char* set = "") {
    return Must([&] {
      return t->CreateRelation(dict.get(), name, none, type, -1, low, high, inverseTable, inverseName, focus, objid,
                               set, none);
    });
  }

  const KZString none;
  kctest::TempDir dir;
  KUtlQboConfig config;
  botest::MgrDouble mgr{&config};
  std::unique_ptr<KDdDict> dict;
};

} // namespace

TEST_F(SchemaTextTest, AnEmptyDictionaryWritesTheTwoRevisionLines) {
  EXPECT_EQ(Written(), "SCHEMA_REVISION 1200\n\nLOCAL_SCHEMA_REVISION \"Cust-9.1\"\n\n");
}

TEST_F(SchemaTextTest, TableBlockWithEveryFieldKeyword) {
  KDdTable* t = Table("acct", 100, "Sales", "the \"main\" one");
  t->SetFlag(int(DD_TBL_CACHE_OBJIDS));
  Field(t, "objid", 512, 3);
  Field(t, "name", 516, -1, 0x8 | 0x1 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x80, 7, 30, "say \"hi\"",
        "a \"quoted\" comment");
  Must([&] { return t->CreateTableField(dict.get(), "amount", none, 11, -1, 10, 2, 0x2000, 766, -1, none, none); });
  Field(t, "rate", 514, 12, 0, 3, -1);
  Field(t, "seen", 609, -1, 0x1, 9, -1);
  Must([&] { return t->CreateTableField(dict.get(), "photo", none, 8, -1, -1, -1, 0x20, 516, -1, none, "the picture"); });
  EXPECT_EQ(Block(t),
            "OBJECT acct 100\n"
            " CACHEOBJIDS\n"
            " SUBJECT=\"Sales\"\n"
            " COMMENT=\"the \\\"main\\\" one\"\n"
            "  FIELDS\n"
            "    objid  CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0\n"
            "     MANDATORY PREDEFINED\n"
            "     GEN_FIELD_ID=3"
            "\n,\n"
            "    name  CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7\n"
            "     MANDATORY PREDEFINED SEARCHABLE CHANGE_FIELD CHANGE_DATE DONT_DISTR_TO_CLIENT"
            " DONT_DISTR_TO_SERVER ALLOW_NULL\n"
            "     ARRAY_SIZE=30\n"
            "     DEFAULT=\"say \\\"hi\\\"\"\n"
            "     COMMENT=\"a \\\"quoted\\\" comment\""
            "\n,\n"
            "    amount  CMN_DATA_TYPE=\"decimal\" DB_DATA_TYPE=11\n"
            "     OPTIONAL USER_DEFINED CURRENCY\n"
            "     DEC_PRECISION=10\n"
            "     DEC_SCALE=2"
            "\n,\n"
            "    rate  CMN_DATA_TYPE=\"float\" DB_DATA_TYPE=3\n"
            "     OPTIONAL USER_DEFINED\n"
            "     GEN_FIELD_ID=12"
            "\n,\n"
            "    seen  CMN_DATA_TYPE=\"clk_ty_time\" DB_DATA_TYPE=9\n"
            "     OPTIONAL PREDEFINED"
            ",\n"
            "    photo CMN_DATA_TYPE=\"array\" DB_DATA_TYPE=0\n"
            "     GEN_FIELD_ID=-1\n"
            "     MANDATORY PREDEFINED\n"
            "     COMMENT=\"the picture\""
            "\n  FIELDS_END\n"
            "OBJECT_END;\n\n");
}

TEST_F(SchemaTextTest, SeparatorsStandOnlyBetweenWrittenItems) {
  // Fields added as records: ids with gaps, an unknown type, a relation's
  // implicit key and a first field of id 3.
  KDdTable* t = Table("gaps", 101);
  auto add = [&](const char* name, long cmn, long flags, long id) {
    t->AddField(new KDdField(name, "", 101, 0, 0, -1, -1, flags, cmn, -1, id, "", "", t));
  };
  add("third", 512, 0x9, 3);
  add("odd", 520, 0x9, 4);
  add("owner", 512, DD_FLD_FOREIGN_KEY, 5);
  add("objkey", 512, DD_FLD_FOREIGN_KEY | DD_FLD_OBJID, 6);
  add("last", 512, 0x9, 7);
  std::string block = Block(t);
  EXPECT_NE(block.find("  FIELDS\n    third  CMN_DATA_TYPE"), std::string::npos) << block;
  EXPECT_NE(block.find("MANDATORY PREDEFINED\n,\n    objkey  CMN"), std::string::npos) << block;
  EXPECT_NE(block.find("OPTIONAL USER_DEFINED\n,\n    last  CMN"), std::string::npos) << block;
  EXPECT_EQ(block.find("odd"), std::string::npos);
  EXPECT_EQ(block.find("owner"), std::string::npos);
  EXPECT_EQ(block.find(",\n,"), std::string::npos);
  // A binary field alone: no separator before it.
  KDdTable* b = Table("blobs", 102);
  Must([&] { return b->CreateTableField(dict.get(), "photo", none, 8, -1, -1, -1, 0x20, 516, -1, none, none); });
  EXPECT_NE(Block(b).find("  FIELDS\n    photo CMN_DATA_TYPE=\"array\""), std::string::npos);
}

TEST_F(SchemaTextTest, RelationsAndExclusiveSetsAndIndexes) {
  KDdTable* a = Table("ta", 110);
  KDdTable* b = Table("tb", 111);
  Field(a, "objid", 512, 3);
  Field(b, "objid", 512, 3);
  Field(a, "code", 512);
  Field(a, "obj_type", 512);
  Field(a, "obj_id", 512);
  Relate(b, "many", 1, "ta", "owner_b");              // ta gets owner_b MTO id 0
  Relate(a, "first", 2, "tb", "back1", 1, 0x20000, "obj_type", "obj_id", "set1");
  Relate(a, "plain", 1, "tb", "plain_b", 0, 0x60000);
  Relate(a, "second", 2, "tb", "back2", 1, 0x20000, "obj_type", "obj_id", "set1");
  Relate(a, "third", 2, "tb", "back3", 1, 0x20000, "obj_type", "obj_id", "set1");
  Must([&] { return a->CreateIndex(dict.get(), "ix_code", 1, "code:owner_b"); });
  Must([&] { return a->CreateIndex(dict.get(), "ix_plain", 0, "code"); });
  std::string block = Block(a);
  size_t rels = block.find("  RELATIONS\n");
  ASSERT_NE(rels, std::string::npos) << block;
  EXPECT_EQ(block.substr(rels),
            "  RELATIONS\n"
            "    owner_b MTO tb\n"
            "     USER_DEFINED\n"
            "     INV_REL=many     COMMENT=\"\"\n"
            ",\n"
            "    EXCLUSIVE_SET set1\n"
            "        TYPE_FIELD = obj_type\n"
            "        OBJID_FIELD = obj_id\n"
            "        first MTO tb\n"
            "         USER_DEFINED\n"
            "         INV_REL=back1         COMMENT=\"\"\n"
            ",\n"
            "        second MTO tb\n"
            "         USER_DEFINED\n"
            "         INV_REL=back2         COMMENT=\"\"\n"
            ",\n"
            "        third MTO tb\n"
            "         USER_DEFINED\n"
            "         INV_REL=back3         COMMENT=\"\"\n"
            "    EXCLUSIVE_SET_END\n"
            ",\n"
            "    plain OTM tb\n"
            "     USER_DEFINED\n"
            "     REQUIRED\n"
            "     INV_REL=plain_b     COMMENT=\"\"\n"
            "\n  RELATIONS_END\n"
            "  INDEXES\n"
            "\tix_code\tFIELD=code RELATION=owner_b  UNIQUE,\n"
            "\tix_plain\tFIELD=code \n"
            "  INDEXES_END\n"
            "OBJECT_END;\n\n");
}

TEST_F(SchemaTextTest, ViewBlockWithSortedAliasesAndJoins) {
  KDdTable* a = Table("ta", 110);
  KDdTable* b = Table("tb", 111);
  Field(a, "objid", 512, 3);
  Field(b, "objid", 512, 3);
  Field(a, "code", 512);
  Field(b, "a_very_long_field_name_beyond_thirty_two", 512);
  Relate(b, "many", 1, "ta", "owner_b");
  KDdTable* v = View("vw", 120);
  // Entered out of order: the aliases come out sorted.
  Must([&] { return v->CreateViewField(dict.get(), "a_very_long_view_field_name_of_forty_chars", none, -1, "tb",
                     "a_very_long_field_name_beyond_thirty_two", "Bb", none); });
  Must([&] { return v->CreateViewField(dict.get(), "key", none, 3, "ta", "objid", "za", "the key"); });
  Must([&] { return v->CreateViewField(dict.get(), "code", none, 7, "ta", "code", "", none); });
  Must([&] { return v->CreateJoin(dict.get(), "tb", "many", "za", "Bb", 3, "j \"one\""); });
  EXPECT_EQ(Block(v),
            "VIEW vw 120\n"
            " SUBJECT=\"vg\"\n"
            " COMMENT=\"\"\n"
            "  ALIAS ta za\n"
            "      , tb Bb\n"
            "  FIELDS\n"
            "   a_very_long_view_field_name_of_forty_chars\tFROM\tBb.a_very_long_field_name_beyond_thirty_two\n"
            "     COMMENT=\"\",\n"
            "   key       \tFROM\tza.objid     \tUNIQUE\n"
            "     COMMENT=\"the key\",\n"
            "   code      \tFROM\tta.code      \tGEN_FIELD_ID=7\n"
            "     COMMENT=\"\"\n"
            "  FIELDS_END\n"
            "  JOINS\n"
            "   OUTER za.owner_b =  Bb.many\n"
            "     COMMENT=\"j \\\"one\\\"\"\n"
            "  JOINS_END\n"
            "VIEW_END;\n\n");
}

TEST_F(SchemaTextTest, AViewFieldWithoutItsOriginFailsTheWrite) {
  KDdTable* a = Table("ta", 110);
  Field(a, "objid", 512, 3);
  Field(a, "code", 512);
  KDdTable* v = View("vw", 120);
  Must([&] { return v->CreateViewField(dict.get(), "code", none, -1, "ta", "code", "", none); });
  // A view field whose origin field the table no longer has.
  auto* ghost = new KDdField("ghost", "", 120, 0, 0, -1, -1, 0, 512, -1, 1, "", "", v);
  ghost->SetViewInfo(110, 99, "", "");
  v->AddField(ghost);
  int result = -1;
  std::string text = Written(&result);
  EXPECT_EQ(result, 0);
  // What was written before the failure stays.
  EXPECT_NE(text.find("OBJECT ta 110"), std::string::npos);
  EXPECT_NE(text.find("VIEW vw 120"), std::string::npos);
  EXPECT_EQ(text.find("VIEW_END"), std::string::npos);
  EXPECT_EQ(text.find("ghost"), std::string::npos);
}

TEST_F(SchemaTextTest, AFileThatCannotBeOpenedGivesZero) {
  KZString name(dir.file("missing/dir/out.schema").c_str());
  EXPECT_EQ(dict->OutputSchemaFile(name), 0);
}

TEST_F(SchemaTextTest, WrittenFilesCompile) {
  KDdTable* a = Table("acct", 110, "Sales", "accounts \"all\"");
  KDdTable* b = Table("site", 111, "Sales", "");
  Field(a, "objid", 512, 3);
  Field(b, "objid", 512, 3);
  Field(a, "name", 516, -1, 0x9 | 0x100, 7, 30, "none", "the \"name\"");
  Field(a, "rate", 514, -1, 0, 3, -1);
  Field(a, "obj_type", 512);
  Field(a, "obj_id", 512);
  Relate(b, "accounts", 1, "acct", "site");
  Relate(a, "first", 2, "site", "back1", 1, 0x20000, "obj_type", "obj_id", "set1");
  KDdTable* home = Table("home", 112, "Sales", "");
  Field(home, "objid", 512, 3);
  Relate(a, "second", 2, "home", "back2", 1, 0x20000, "obj_type", "obj_id", "set1");
  Must([&] { return a->CreateIndex(dict.get(), "ix_name", 1, "name:site"); });
  KDdTable* v = View("acct_view", 120);
  Must([&] { return v->CreateViewField(dict.get(), "key", none, 3, "acct", "objid", "ac", none); });
  Must([&] { return v->CreateViewField(dict.get(), "name", none, -1, "acct", "name", "ac", none); });
  Must([&] { return v->CreateViewField(dict.get(), "site_key", none, -1, "site", "objid", "st", none); });
  Must([&] { return v->CreateJoin(dict.get(), "site", "accounts", "ac", "st", 1, none); });
  std::string text = Written();
  std::string printed;
  long status = compile(text, 0, &printed);
  std::string alerts;
  for (const auto& alert : core_alert_texts()) alerts += alert + "\n";
  EXPECT_EQ(status, 0) << printed << alerts << "\n" << text;
  EXPECT_NE(sch("acct"), nullptr);
  EXPECT_NE(sch("acct_view"), nullptr);
}
