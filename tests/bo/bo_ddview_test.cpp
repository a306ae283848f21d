// View relations: the name helpers, building on the first bracketed
// look-up (once, from a view or from its source table), what is built for
// object-id fields and repeated relations, images without them, and a
// failed build that takes back what it added and runs again later.
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

TEST(DdViewNames, IsViewRelationStripAndField) {
  struct Case {
    const char* name;
    int isView;
    const char* stripped;
    const char* field;
  } cases[] = {
      {"", 0, "", ""},
      {"plain", 0, "plain", ""},
      {"in[si.de]name", 0, "in[si.de]name", ""},
      {"[v.f]rel", 1, "rel", "f"},
      {"  [v.f]rel", 0, "rel", ""},
      {"rel[v.f]", 1, "rel", "f"},
      {"[v.f]", 1, "", "f"},
      {"[nodot]x", 1, "x", ""},
      {"[v.f.g]x", 1, "x", "f.g"},
  };
  for (const Case& c : cases) {
    KZString out;
    EXPECT_EQ(KDdTable::IsViewRelation(c.name), c.isView) << c.name;
    EXPECT_STREQ(KDdTable::StripViewInfo(c.name, out), c.stripped) << c.name;
    EXPECT_STREQ(out, c.stripped);
    EXPECT_STREQ(KDdTable::GetViewField(c.name, out), c.field) << c.name;
  }
}

class DdViewTest : public DdTest {
 protected:
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  KDdTable* v = dict.AddView("v", 2001);

  void SetUp() override {
    DdTest::SetUp();
    longField(a, "Objid");
    longField(a, "name");
    longField(b, "objid");
    relate(a, "children", 1, "b", "parent");
    relate(a, "mates", 5, "b", "mates_of");
    relate(a, "boss", 2, "b", "staff");
    product([&] { return v->CreateViewField(&dict, "a1", none, -1, "a", "objid", "", none); });
    product([&] { return v->CreateViewField(&dict, "nm", none, -1, "a", "name", "", none); });
    product([&] { return v->CreateViewField(&dict, "a2", none, -1, "a", "OBJID", "", none); });
  }
  KDdRelation* rel(KDdTable* t, const char* name) {
    return static_cast<KDdRelation*>(t->FindRelation(&dict, KZString(name)));
  }
};

TEST_F(DdViewTest, PlainLookUpsBuildNothing) {
  EXPECT_EQ(v->FindRelation(&dict, KZString("children")), nullptr);
  EXPECT_EQ(v->FindRelation(&dict, 1001L), nullptr);
  EXPECT_EQ(v->IsViewRelationsBuilt(), 0);
  EXPECT_EQ(v->GetRelationCount(), 0);
}

TEST_F(DdViewTest, TwoObjectIdFieldsGetTwoPairsAndTheirRepeats) {
  EXPECT_EQ(v->FindRelation(&dict, KZString("[no.such]")), nullptr);
  EXPECT_EQ(v->IsViewRelationsBuilt(), 1);
  // Per object-id field: the pair, then repeats of the one-to-many and the
  // many-to-many relation (not of the many-to-one).
  EXPECT_EQ(v->GetRelationCount(), 6);
  KDdRelation* toSource = rel(v, "[v.a1]a1");
  ASSERT_NE(toSource, nullptr);
  EXPECT_EQ(toSource->GetId(), 1001);
  EXPECT_EQ(toSource->GetFullPhysicalRelType(), 3);
  EXPECT_STREQ(toSource->GetInverseTableName(), "a");
  EXPECT_STREQ(toSource->GetInverseName(), "[v.a1]");
  EXPECT_STREQ(toSource->GetComment(), "Relation on a View");
  KDdRelation* fromSource = rel(a, "[v.a1]");
  ASSERT_NE(fromSource, nullptr);
  EXPECT_EQ(fromSource->GetFullPhysicalRelType(), 4);
  EXPECT_EQ(fromSource->GetId(), 1001);
  EXPECT_STREQ(fromSource->GetInverseTableName(), "v");
  EXPECT_EQ(toSource->GetInverse(&dict, 0), fromSource);

  KDdRelation* repeat = rel(v, "[v.a1]children");
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->GetId(), 1002);
  EXPECT_STREQ(repeat->GetPhysicalName(), "[v.a1]children");
  EXPECT_STREQ(repeat->GetInverseName(), "parent[v.a1]");
  EXPECT_STREQ(repeat->GetInverseTableName(), "b");
  KDdRelation* counterpart = rel(b, "parent[v.a1]");
  ASSERT_NE(counterpart, nullptr);
  EXPECT_EQ(counterpart->GetId(), 1002);
  EXPECT_STREQ(counterpart->GetInverseTableName(), "v");
  EXPECT_EQ(rel(v, "[v.a1]boss"), nullptr);

  // The second field: its own names and the next ids.
  EXPECT_EQ(rel(v, "[v.a2]a2")->GetId(), 1004);
  EXPECT_EQ(rel(v, "[v.a2]children")->GetId(), 1005);
  EXPECT_NE(rel(a, "[v.a2]"), nullptr);
  EXPECT_NE(rel(b, "mates_of[v.a2]"), nullptr);

  // A many-to-many repeat answers the table of the relation it repeats.
  KDdRelation* mates = rel(a, "mates");
  EXPECT_STRNE(mates->GetMTMTableName(&dict), "");
  EXPECT_STREQ(rel(v, "[v.a1]mates")->GetMTMTableName(&dict), mates->GetMTMTableName(&dict));

  // Built once.
  rel(v, "[again]");
  EXPECT_EQ(v->GetRelationCount(), 6);
}

TEST_F(DdViewTest, ASourceTableBuildsItsDependentViews) {
  a->GetDependentViewIds().Add(2001);
  EXPECT_NE(rel(a, "[v.a1]"), nullptr);
  EXPECT_EQ(a->IsViewRelationsBuilt(), 1);
  EXPECT_EQ(v->IsViewRelationsBuilt(), 1);
  // No image carries view relations.
  KHostMsg msg = written(*a);
  KDdTable back(msg);
  EXPECT_EQ(back.GetRelationCount(), 3);
  EXPECT_EQ(back.IsViewRelationsBuilt(), 0);
  KDdTable loaded;
  loadArchive(archiveImage(*b), loaded);
  EXPECT_EQ(loaded.GetRelationCount(), 3);
  EXPECT_EQ(b->GetRelationCount(), 7);
}

TEST_F(DdViewTest, AFailedBuildTakesBackWhatItAddedAndRunsAgain) {
  // A relation already named like the second source-to-view relation.
  a->AddRelation(new KDdRelation("[v.a2]", "", 1, 77, -1, 0, "b", "x", "", "", "", a, ""), 0);
  expectErr(*thrown([&] { rel(v, "[v.a1]a1"); }), 0x8B00197, "KDdTable::AddRelation", "[v.a2]");
  EXPECT_EQ(v->IsViewRelationsBuilt(), 0);
  EXPECT_EQ(v->GetRelationCount(), 0);
  EXPECT_EQ(a->GetRelationCount(), 4);
  EXPECT_EQ(rel(a, "[v.a1]"), nullptr);
  EXPECT_EQ(b->GetRelationCount(), 3);
  a->DestroyRelation(&dict, rel(a, "[v.a2]"));
  EXPECT_NE(rel(v, "[v.a1]a1"), nullptr);
  EXPECT_EQ(v->IsViewRelationsBuilt(), 1);
  EXPECT_EQ(v->GetRelationCount(), 6);
}

} // namespace
