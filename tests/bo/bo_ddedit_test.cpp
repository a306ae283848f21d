// Schema editing: the checks with their errors and inserts in user and
// product mode, and what each Create operation builds.
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::catchKErr;
using kctest::expectErr;
using kctest::thrown;

namespace {

class DdEditTest : public DdTest {
 protected:
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);

  kctest::Thrown createField(long db, long size, long prec, long scale, long cmn, const char* name = "f",
                             long genId = -1, long flags = 0) {
    return catchKErr([&] { a->CreateTableField(&dict, name, none, db, size, prec, scale, flags, cmn, genId, none, none); });
  }
};

TEST(DdEditNames, SubNameAt) {
  struct Case {
    const char* list;
    long n;
    const char* want;
  } cases[] = {{"name:site", 0, "name"}, {"name:site", 1, "site"}, {"name:site", 2, ""},
               {"name:site", -1, ""},    {"a::c", 1, ""},          {"a::c", 2, "c"},
               {"", 0, ""},              {"a:", 1, ""}};
  for (const Case& c : cases) EXPECT_STREQ(KDdTable::GetSubNameAt(c.list, c.n), c.want) << c.list << " " << c.n;
}

TEST_F(DdEditTest, FieldTypeCombinations) {
  dict.orbn = 1;
  struct Case {
    long cmn, db, size, prec, scale;
    bool ok;
  } cases[] = {
      {512, 2, 0, -1, -1, true},   {512, 2, 1, -1, -1, false}, {512, 0, -5, -1, -1, true},
      {512, 3, 0, -1, -1, false},  {512, 1, 0, 2, -1, false},  {514, 3, -1, -1, -1, true},
      {514, 3, 0, -1, -1, false},  {516, 7, 0, -1, -1, true},  {516, 7, 255, -1, -1, true},
      {516, 7, -1, -1, -1, false}, {516, 8, -1, -1, -1, true}, {516, 8, 10, -1, -1, false},
      {609, 9, -1, -1, -1, true},  {609, 9, 0, -1, -1, false}, {766, 11, -1, 10, 2, true},
      {766, 11, -1, 10, 0, false}, {766, 11, -1, 0, 2, false}, {766, 11, 5, 10, 2, false},
      {100, 0, 0, -1, -1, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string name = "f" + std::to_string(n++);
    kctest::Thrown t = createField(c.db, c.size, c.prec, c.scale, c.cmn, name.c_str());
    EXPECT_EQ(t.thrown, !c.ok) << c.cmn << "/" << c.db << "/" << c.size << "/" << c.prec << "/" << c.scale;
    if (t.thrown) {
      EXPECT_EQ(t.id, 0x8B001A9);
      EXPECT_EQ(t.method, "KDdTable::CheckFieldArg");
    }
  }
  kctest::Thrown t = createField(2, 1, -1, -1, 512, "g");
  ASSERT_EQ(t.params.size(), 1u);
  EXPECT_EQ(t.params[0], "CmnTyp=512, DbTyp=2, ArraySize=1, DecPrecision=-1, DecScale=-1");
}

TEST_F(DdEditTest, FieldNamesFlagsAndGenericIds) {
  expectErr(*thrown([&] { a->CreateTableField(&dict, "p", none, 0, 0, -1, -1, 1, 512, -1, none, none); }), 0x8B001B0,
            "KDdTable::CheckFieldArg", "User mode, Flags=1, predefined field");
  dict.orbn = 1;
  KDdField* p = static_cast<KDdField*>(a->CreateTableField(&dict, "p", none, 0, 0, -1, -1, 1, 512, -1, "7", none));
  EXPECT_EQ(p->GetFlags(), 0x80001);
  EXPECT_EQ(p->GetId(), 0);
  EXPECT_STREQ(p->GetDefaultValue(), "7");
  EXPECT_EQ(p->GetTableId(), 2000);
  expectErr(*thrown([&] { a->CreateTableField(&dict, "P", none, 0, 0, -1, -1, 0, 512, -1, none, none); }),
            0x8B001A8, "KDdTable::CheckFieldArg", "Name=P");
  // A second name held by another field would replace it: refused.
  expectErr(*thrown([&] { a->CreateTableField(&dict, "q", "p", 0, 0, -1, -1, 0, 512, -1, none, none); }), 0x8B001A8,
            "KDdTable::CreateTableField", "Name=p");

  kctest::Thrown low = createField(0, 0, -1, -1, 512, "g0", -2);
  EXPECT_EQ(low.id, 0x8B001AF);
  EXPECT_EQ(low.params[0], "GenId=-2");
  EXPECT_FALSE(createField(0, 0, -1, -1, 512, "g1", -1).thrown);
  EXPECT_FALSE(createField(0, 0, -1, -1, 512, "g2", -1).thrown);
  EXPECT_FALSE(createField(0, 0, -1, -1, 512, "g3", 5).thrown);
  kctest::Thrown dup = createField(0, 0, -1, -1, 512, "g4", 5);
  EXPECT_EQ(dup.id, 0x8B001BF);
  EXPECT_EQ(dup.params[0], "GenId=5");
  // The field being updated does not clash with itself.
  KDdField* g3 = static_cast<KDdField*>(a->FindField(KZString("g3")));
  long five = 5;
  KZString c("c");
  g3->UpdateTableField(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &five, nullptr, &c);
  EXPECT_STREQ(g3->GetComment(), "c");
  a->SetFlag(0x20);
  EXPECT_FALSE(createField(0, 0, -1, -1, 512, "g5", 5).thrown);

  // Ids follow the largest, binary fields included; binary fields go aside.
  auto* blob = a->CreateTableField(&dict, "blob", none, 8, -1, -1, -1, 0x20, 516, -1, none, none);
  EXPECT_EQ(a->GetBinaryFieldCount(), 1);
  EXPECT_EQ(a->FindField(KZString("blob")), nullptr);
  EXPECT_EQ(blob->GetId(), a->MaxFieldId());
  KDdTable* v = dict.AddView("v", 2001);
  expectErr(*thrown([&] { v->CreateTableField(&dict, "x", none, 0, 0, -1, -1, 0, 512, -1, none, none); }), 0x8B001A7,
            "KDdTable::CreateTableField", nullptr);
}

TEST_F(DdEditTest, ViewFieldsAndAliases) {
  dict.orbn = 1;
  longField(a, "objid");
  KDdField* amount = static_cast<KDdField*>(
      a->CreateTableField(&dict, "amount", none, 7, 20, -1, -1, 0x2000, 516, -1, "0", none));
  longField(b, "objid");
  KDdTable* v = dict.AddView("v", 2001);
  expectErr(*thrown([&] { a->CreateViewField(&dict, "x", none, -1, "b", "objid", "", none); }), 0x8B001AA,
            "KDdTable::CreateViewField", nullptr);
  expectErr(*thrown([&] { v->CreateViewField(&dict, "x", none, -1, "zz", "objid", "", none); }), 0x8B001AC,
            "KDdTable::CreateViewField", "Original Table Name=zz");
  expectErr(*thrown([&] { v->CreateViewField(&dict, "x", none, -1, "a", "zz", "", none); }), 0x8B001AE,
            "KDdTable::CreateViewField", "Original Field Name=zz");
  auto* shown = static_cast<KDdField*>(v->CreateViewField(&dict, "amt", none, 3, "a", "amount", "al", "shown"));
  EXPECT_EQ(shown->GetOrigDBType(), 7);
  EXPECT_EQ(shown->GetDBType(), 12);
  EXPECT_EQ(shown->GetArraySize(), 20);
  EXPECT_EQ(shown->GetFlags(), 0x2000 | 0x80000);
  EXPECT_EQ(shown->GetGenericId(), 3);
  EXPECT_EQ(shown->GetOriginTableId(), 2000);
  EXPECT_EQ(shown->GetOriginFieldId(), amount->GetId());
  EXPECT_STREQ(shown->GetSrcAlias(), "al");
  EXPECT_STREQ(shown->GetComment(), "shown");
  EXPECT_STREQ(shown->GetDefaultValue(), "0");
  EXPECT_EQ(shown->GetTableId(), 2001);
  ASSERT_EQ(a->GetViewArray().GetSize(), 1);
  EXPECT_EQ(long(a->GetViewArray()[0]), 2001);
  expectErr(*thrown([&] { v->CreateViewField(&dict, "AMT", none, -1, "a", "objid", "", none); }), 0x8B001A8,
            "KDdTable::CreateViewField", "Name=AMT");
  // An alias stands for one table throughout the view.
  expectErr(*thrown([&] { v->CreateViewField(&dict, "b_id", none, -1, "b", "objid", "al", none); }), 0x8B001C1,
            "KDdTable::CheckAlias", "Table=b, Alias=al");
  EXPECT_EQ(v->FindField(KZString("b_id")), nullptr);
  EXPECT_NE(v->CreateViewField(&dict, "a_id", none, -1, "a", "objid", "al", none), nullptr);
}

TEST_F(DdEditTest, RelationChecks) {
  struct Case {
    long type, genId, low, high;
    const char *inverseTable, *inverseName;
    long id;
    const char* insert;
  } cases[] = {
      {6, -1, 0, 0x20000, "b", "r_b", 0x8B001B2, "RelType=6"},
      {-1, -1, 0, 0x20000, "b", "r_b", 0x8B001B2, "RelType=-1"},
      {1, -2, 0, 0x20000, "b", "r_b", 0x8B001AF, "GenId=-2"},
      {1, -1, 0, 0, "b", "r_b", 0x8B001B3, "User mode, Flags=0, REL_FLAGS_REQUIRED"},
      {1, -1, 0, 0x60000, "b", "r_b", 0x8B001B3, "User mode, Flags=60000, REL_FLAGS_REQUIRED"},
      {1, -1, 0, 0x20000, "zz", "r_b", 0x8B001AC, "Inverse Table Name=zz"},
      {1, -1, 1, 0x20000, "b", "r_b", 0x8B001B4, "FocusFieldName=, PhysRelName="},
      {1, -1, 0, 0x20000, "a", "R", 0x8B001B1, "Inverse Relation Name=R"},
  };
  for (const Case& c : cases) {
    expectErr(*thrown([&] {
      a->CreateRelation(&dict, "r", none, c.type, c.genId, c.low, c.high, c.inverseTable, c.inverseName, none, none,
                        none, none);
    }),
              c.id, "KDdTable::CheckRelArg", c.insert);
  }
  EXPECT_EQ(a->GetRelationCount(), 0);
  EXPECT_EQ(a->GetFieldCount(), 0);
  relate(a, "r", 1, "b", "r_b");
  expectErr(*thrown([&] { relate(a, "R", 1, "b", "other"); }), 0x8B001B1, "KDdTable::CheckRelArg", "Name=R");
  expectErr(*thrown([&] { relate(a, "s", 1, "b", "R_B"); }), 0x8B001B1, "KDdTable::CheckRelArg",
            "Inverse Relation Name=R_B");
  // Product mode takes any flags.
  dict.orbn = 1;
  EXPECT_NE(a->CreateRelation(&dict, "req", none, 1, -1, 0, 0x40000, "b", "req_b", none, none, none, none), nullptr);
}

TEST_F(DdEditTest, CreateRelationBuildsBothEndsAndTheKeyField) {
  longField(a, "objid");
  KDdRelation* r = relate(a, "owner", 10, "b", "owned", 0, 0x20000);
  EXPECT_EQ(r->GetFullPhysicalRelType(), 10);
  EXPECT_EQ(r->GetPhysicalRelType(), 2);
  EXPECT_EQ(r->GetFlags(), 0x20000 | 0x80000);
  EXPECT_EQ(r->GetId(), 0);
  IDdField* key = a->FindField(KZString("owner"));
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->GetId(), 1);
  EXPECT_EQ(key->GetFlags(), 0x4000);
  EXPECT_STREQ(key->GetDefaultValue(), "-3");
  auto* inverse = static_cast<KDdRelation*>(b->FindRelation(&dict, KZString("owned")));
  ASSERT_NE(inverse, nullptr);
  EXPECT_EQ(inverse->GetFullPhysicalRelType(), 1);
  EXPECT_STREQ(inverse->GetInverseName(), "owner");
  EXPECT_STREQ(inverse->GetInverseTableName(), "a");
  EXPECT_EQ(inverse->GetFlags(), r->GetFlags());
  EXPECT_EQ(b->FindField(KZString("owned")), nullptr);
  EXPECT_EQ(r->GetInverse(&dict, 0), inverse);

  // The inverse side of a one-to-one gets the key field there.
  KDdRelation* otof = relate(a, "partner", 4, "b", "partner_of");
  EXPECT_EQ(a->FindField(KZString("partner")), nullptr);
  IDdField* otherKey = b->FindField(KZString("partner_of"));
  ASSERT_NE(otherKey, nullptr);
  EXPECT_EQ(otherKey->GetFlags(), 0x4000 | 0x10000);
  EXPECT_EQ(otof->GetId(), 1);
  EXPECT_EQ(static_cast<KDdRelation*>(otof->GetInverse(&dict, 0))->GetId(), 1);
  // A key field may not replace a field of that name.
  expectErr(*thrown([&] { relate(a, "objid", 2, "b", "x"); }), 0x8B001A8, "KDdTable::CreateRelation", "Name=objid");
  EXPECT_EQ(b->FindRelation(&dict, KZString("x")), nullptr);
}

TEST_F(DdEditTest, ExclusiveSetRelations) {
  for (const char* f : {"kind", "ref", "kind2"}) longField(a, f);
  relate(a, "to_b", 2, "b", "from_a", 1, 0x20000, "kind", "ref", "S");
  EXPECT_EQ(a->FindField(KZString("to_b")), nullptr);
  EXPECT_TRUE(a->FindField(KZString("kind"))->IsFlagSet(0x20000));
  EXPECT_TRUE(a->FindField(KZString("ref"))->IsFlagSet(0x40000));
  expectErr(*thrown([&] { relate(a, "x", 2, "b", "x_b", 1, 0x20000, "kind", "nofield", "S"); }), 0x8B001B4,
            "KDdTable::CheckRelArg", "FocusFieldName=kind, PhysRelName=nofield");
  // Same set, other fields; other set, same field: both refused.
  expectErr(*thrown([&] { relate(a, "x", 2, "b", "x_b", 1, 0x20000, "kind2", "ref", "S"); }), 0x8B001B5,
            "KDdTable::CheckRelArg", "FocusFieldName=kind2, PhysRelName=ref");
  expectErr(*thrown([&] { relate(a, "x", 2, "b", "x_b", 1, 0x20000, "kind", "ref", "T"); }), 0x8B001B5,
            "KDdTable::CheckRelArg", "FocusFieldName=kind, PhysRelName=ref");
  EXPECT_NE(relate(a, "x", 2, "b", "x_b", 1, 0x20000, "kind", "ref", "S"), nullptr);
  // For one-to-many the key side is the inverse table.
  expectErr(*thrown([&] { relate(a, "y", 1, "b", "y_b", 1, 0x20000, "kind", "ref", "U"); }), 0x8B001B4,
            "KDdTable::CheckRelArg", "FocusFieldName=kind, PhysRelName=ref");
}

TEST_F(DdEditTest, IndexChecks) {
  dict.orbn = 1;
  longField(a, "name");
  longField(a, "site");
  relate(a, "owner", 2, "b", "owned");
  relate(a, "many", 1, "b", "one");
  struct Case {
    const char* keys;
    bool ok;
    long count;
  } cases[] = {{"name", true, 1}, {"NAME:site", true, 2}, {"name:owner", true, 2}, {"name:site:", false, 0},
               {"", false, 0},    {"many", false, 0},     {"name:zz", false, 0}};
  int n = 0;
  for (const Case& c : cases) {
    std::string name = "ix" + std::to_string(n++);
    kctest::Thrown t = catchKErr([&] {
      auto* ix = static_cast<KDdIndex*>(a->CreateIndex(&dict, name.c_str(), 1, c.keys));
      EXPECT_EQ(ix->GetKeyCount(), c.count);
      EXPECT_EQ(ix->GetFlags(), 3);
    });
    EXPECT_EQ(t.thrown, !c.ok) << c.keys;
    if (t.thrown) {
      EXPECT_EQ(t.id, 0x8B001B6);
      EXPECT_EQ(t.params[0], std::string("FldNames=") + c.keys);
    }
  }
  expectErr(*thrown([&] { a->CreateIndex(&dict, "ix0", 0, "site"); }), 0x8B001BB, "KDdTable::CheckIndexArg",
            "Name=ix0");
  EXPECT_NE(a->CreateIndex(&dict, "IX0", 0, "site"), nullptr);
  KDdTable* v = dict.AddView("v", 2001);
  expectErr(*thrown([&] { v->CreateIndex(&dict, "ix", 0, "x"); }), 0x8B001B7, "KDdTable::CreateIndex", nullptr);
}

TEST_F(DdEditTest, JoinChecks) {
  dict.orbn = 1;
  relate(a, "owner", 2, "b", "owned");
  relate(a, "mates", 5, "b", "mates_of");
  KDdTable* v = dict.AddView("v", 2001);
  expectErr(*thrown([&] { a->CreateJoin(&dict, "a", "owner", "", "", 0, none); }), 0x8B001BA,
            "KDdTable::CreateJoin", nullptr);
  struct Case {
    const char *table, *rel, *primary, *foreign;
    long flags, id;
    const char* insert;
  } cases[] = {{"zz", "owner", "", "", 0, 0x8B001AC, "Name=zz"},
               {"a", "zz", "", "", 0, 0x8B001B8, "Name=zz"},
               {"a", "mates", "", "", 2, 0x8B001C0, "RELTYPE=MTM"},
               {"a", "owner", "p", "p", 0, 0x8B001C1, "PrimaryAlias: p, ForeignAlias: p"}};
  for (const Case& c : cases)
    expectErr(*thrown([&] { v->CreateJoin(&dict, c.table, c.rel, c.primary, c.foreign, c.flags, none); }), c.id,
              "KDdTable::CheckJoinArg", c.insert);
  EXPECT_EQ(v->GetJoinCount(), 0);
  auto* join = static_cast<KDdJoin*>(v->CreateJoin(&dict, "a", "mates", "", "", 0, "c"));
  EXPECT_EQ(join->GetJoinFlag(), 4);
  EXPECT_EQ(join->GetTableId(), 2000);
  EXPECT_EQ(join->GetView(), v);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);
  EXPECT_EQ(b->GetViewArray().GetSize(), 1);
  // An alias used for a in a join cannot name b elsewhere.
  v->CreateJoin(&dict, "a", "owner", "pb", "fa", 1, none);
  expectErr(*thrown([&] { v->CreateJoin(&dict, "a", "owner", "fa", "x", 0, none); }), 0x8B001C1,
            "KDdTable::CheckAlias", "Table=b, Alias=fa");
}

} // namespace
