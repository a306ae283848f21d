// Schema editing: deleting fields, view fields, relations, indexes and
// joins with their cascades. Every record deleted along the way is freed
// once (the sanitizers watch), and nothing keeps a pointer to it.
#include <functional>

#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

class DdDeleteTest : public DdTest {
 protected:
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  KDdTable* c = dict.AddTable("c", 2004);
  KDdTable* v = dict.AddView("v", 2001);

  IDdField* viewField(const char* name, const char* table, const char* field, const char* alias = "") {
    return product([&] { return v->CreateViewField(&dict, name, none, -1, table, field, alias, none); });
  }
  IDdJoin* join(const char* table, const char* rel, const char* primary = "", const char* foreign = "") {
    return product([&] { return v->CreateJoin(&dict, table, rel, primary, foreign, 0, none); });
  }
};

TEST_F(DdDeleteTest, WrongKindOrForeignPointer) {
  KDdField* f = longField(a, "f");
  KDdIndex stray(a, "stray", 0, 1, "f");
  KDdJoin strayJoin(2000, 0, "", "", 0, "", v);
  KDdField strayField("x", "", 2000, 0, 0, -1, -1, 0, 512, -1, 9, "", "", a);
  KDdRelation strayRel("x", "", 1, 9, -1, 0x20000, "b", "y", "", "", "", a, "");
  struct Case {
    std::function<void()> call;
    long id;
    const char *method, *insert;
  } cases[] = {
      {[&] { v->DeleteIndex(&dict, &stray); }, 0x8B001BC, "KDdTable::DeleteIndex", "Apply DeleteIndex to View"},
      {[&] { a->DeleteIndex(&dict, &stray); }, 0x8B001BD, "KDdTable::DeleteIndex", "Invalid index pointer"},
      {[&] { a->DeleteJoin(&dict, &strayJoin, 0); }, 0x8B001BC, "KDdTable::DeleteJoin", "Apply DeleteJoin to Table"},
      {[&] { v->DeleteJoin(&dict, &strayJoin, 0); }, 0x8B001BD, "KDdTable::DeleteJoin", "Invalid join pointer"},
      {[&] { a->DeleteViewField(&dict, f, 0); }, 0x8B001BC, "KDdTable::DeleteViewField",
       "Apply DeleteViewField to Table"},
      {[&] { v->DeleteViewField(&dict, f, 0); }, 0x8B001BD, "KDdTable::DeleteViewField", "Invalid field pointer"},
      {[&] { v->DeleteTableField(&dict, f); }, 0x8B001BC, "KDdTable::DeleteTableField",
       "Apply DeleteTableField to View"},
      {[&] { a->DeleteTableField(&dict, &strayField); }, 0x8B001BD, "KDdTable::DeleteTableField",
       "Invalid field pointer"},
      {[&] { v->DeleteRelation(&dict, &strayRel, 0); }, 0x8B001BC, "KDdTable::DeleteRelation",
       "Apply DeleteRelation to View"},
      {[&] { a->DeleteRelation(&dict, &strayRel, 0); }, 0x8B001BD, "KDdTable::DeleteRelation",
       "Invalid relation pointer"},
  };
  for (const Case& k : cases) expectErr(*thrown(k.call), k.id, k.method, k.insert);
  EXPECT_EQ(a->FindField(KZString("f")), f);
}

TEST_F(DdDeleteTest, TableFieldTakesIndexesSetRelationsAndViewFieldsWithIt) {
  KDdField* code = textField(a, "Code");
  longField(a, "objid");
  longField(a, "kind");
  longField(a, "site");
  product([&] { return a->CreateIndex(&dict, "by_code", 0, "site:CODE"); });
  product([&] { return a->CreateIndex(&dict, "by_site", 0, "site"); });
  relate(a, "set_rel", 2, "b", "set_inv", 1, 0x20000, "kind", "Code", "S");
  relate(a, "plain", 2, "b", "plain_inv");
  viewField("code_shown", "a", "Code");
  viewField("a_id", "a", "objid");

  a->DeleteTableField(&dict, code);
  EXPECT_EQ(a->FindField(KZString("code")), nullptr);
  ASSERT_EQ(a->GetIndexCount(), 1);
  EXPECT_STREQ(a->GetIndex(0)->GetName(), "by_site");
  EXPECT_EQ(a->FindRelation(&dict, KZString("set_rel")), nullptr);
  EXPECT_EQ(b->FindRelation(&dict, KZString("set_inv")), nullptr);
  EXPECT_NE(a->FindRelation(&dict, KZString("plain")), nullptr);
  EXPECT_EQ(v->FindField(KZString("code_shown")), nullptr);
  EXPECT_NE(v->FindField(KZString("a_id")), nullptr);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);

  // A binary field is found among the binary fields.
  IDdField* blob = product([&] { return a->CreateTableField(&dict, "blob", none, 8, -1, -1, -1, 0x20, 516, -1, none, none); });
  a->DeleteTableField(&dict, blob);
  EXPECT_EQ(a->GetBinaryFieldCount(), 0);

  // In user mode predefined fields stay.
  KDdField* pre = longField(a, "pre", -1, 1);
  expectErr(*thrown([&] { a->DeleteTableField(&dict, pre); }), 0x8B001B0, "KDdTable::DeleteTableField",
            "Flags=524289, Can not delete prefined field in user mode ");
  product([&] {
    a->DeleteTableField(&dict, pre);
    return 0;
  });
  EXPECT_EQ(a->FindField(KZString("pre")), nullptr);
}

TEST_F(DdDeleteTest, RelationWithCascadeKeyFieldsIndexesAndJoins) {
  KDdRelation* owner = relate(a, "owner", 2, "b", "owned");
  relate(a, "other", 2, "c", "other_of");
  product([&] { return a->CreateIndex(&dict, "ix", 0, "OWNER"); });
  join("a", "owner", "pb", "fa");
  join("c", "other_of", "pa", "fc");
  ASSERT_EQ(v->GetJoinCount(), 2);
  ASSERT_NE(a->FindField(KZString("owner")), nullptr);

  expectErr(*thrown([&] {
    auto* loaded = new KDdRelation("fixed", "", 1, 50, -1, 0x40000 | 0x20000, "b", "x", "", "", "", a, "");
    a->AddRelation(loaded, 0);
    a->DeleteRelation(&dict, loaded, 1);
  }),
            0x8B001B3, "KDdTable::DeleteRelation", "User mode, Flags=60000, REL_FLAGS_REQUIRED");

  a->DeleteRelation(&dict, owner, 1);
  EXPECT_EQ(a->FindRelation(&dict, KZString("owner")), nullptr);
  EXPECT_EQ(b->FindRelation(&dict, KZString("owned")), nullptr);
  EXPECT_EQ(a->FindField(KZString("owner")), nullptr);
  EXPECT_EQ(a->GetIndexCount(), 0);
  ASSERT_EQ(v->GetJoinCount(), 1);
  EXPECT_STREQ(v->GetJoin(0)->GetForeignAlias(), "fc");
  // The view no longer uses b; a and c it still does.
  EXPECT_EQ(b->GetViewArray().GetSize(), 0);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);
  EXPECT_EQ(c->GetViewArray().GetSize(), 1);
}

TEST_F(DdDeleteTest, RelationWithoutCascadeLeavesTheInverseWithoutADanglingLink) {
  KDdRelation* owner = relate(a, "owner", 1, "b", "owned");
  auto* inverse = static_cast<KDdRelation*>(owner->GetInverse(&dict, 0));
  ASSERT_EQ(inverse->GetInverse(&dict, 0), owner);
  a->DeleteRelation(&dict, owner, 0);
  EXPECT_EQ(b->FindRelation(&dict, KZString("owned")), inverse);
  EXPECT_EQ(inverse->GetInverse(&dict, 0), nullptr);
  // The key field of the inverse side stays with it.
  EXPECT_NE(b->FindField(KZString("owned")), nullptr);
}

TEST_F(DdDeleteTest, JoinWithCascadeDropsFieldsOfTablesNoLongerJoined) {
  longField(a, "objid");
  longField(b, "objid");
  longField(c, "objid");
  relate(a, "a_b", 2, "b", "b_a");
  relate(a, "a_c", 2, "c", "c_a");
  IDdJoin* ab = join("a", "a_b", "pb", "fa");
  join("a", "a_c", "pc", "fa");
  viewField("a_id", "a", "objid", "fa");
  viewField("b_id", "b", "objid", "pb");
  viewField("c_id", "c", "objid", "pc");
  v->DeleteJoin(&dict, ab, 1);
  EXPECT_EQ(v->GetJoinCount(), 1);
  EXPECT_EQ(v->FindField(KZString("b_id")), nullptr);
  EXPECT_NE(v->FindField(KZString("a_id")), nullptr);
  EXPECT_NE(v->FindField(KZString("c_id")), nullptr);
  EXPECT_EQ(b->GetViewArray().GetSize(), 0);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);
}

TEST_F(DdDeleteTest, ViewFieldWithCascadeDropsJoinsNoFieldUses) {
  longField(a, "objid");
  longField(b, "objid");
  longField(c, "objid");
  relate(a, "a_b", 2, "b", "b_a");
  relate(b, "b_c", 2, "c", "c_b");
  join("a", "a_b", "pb", "fa");
  join("b", "b_c", "pc", "fb");
  IDdField* aId = viewField("a_id", "a", "objid", "fa");
  IDdField* cId = viewField("c_id", "c", "objid", "pc");
  // Without cascade the joins stay.
  v->DeleteViewField(&dict, cId, 0);
  EXPECT_EQ(v->GetJoinCount(), 2);
  EXPECT_EQ(c->GetViewArray().GetSize(), 1); // the join still uses c
  // With cascade the join over b and c (no field shows either) goes.
  v->DeleteViewField(&dict, aId, 1);
  EXPECT_EQ(v->GetFieldCount(), 0);
  EXPECT_EQ(v->GetJoinCount(), 0);
  EXPECT_EQ(a->GetViewArray().GetSize(), 0);
  EXPECT_EQ(b->GetViewArray().GetSize(), 0);
  EXPECT_EQ(c->GetViewArray().GetSize(), 0);
}

TEST_F(DdDeleteTest, AJoinWhoseRelationIsGoneCanStillBeDeleted) {
  relate(a, "a_b", 2, "b", "b_a");
  IDdJoin* ab = join("a", "a_b");
  dict.Drop(a);
  v->DeleteJoin(&dict, ab, 1);
  EXPECT_EQ(v->GetJoinCount(), 0);
}

TEST_F(DdDeleteTest, BuildingEditingAndDestroyingLeavesNothing) {
  // A longer session of edits; the sanitizers report any record freed twice
  // or left behind.
  for (const char* f : {"objid", "kind", "ref", "name"}) longField(a, f);
  longField(b, "objid");
  relate(a, "set1", 2, "b", "set1_b", 1, 0x20000, "kind", "ref", "S");
  relate(a, "set2", 2, "c", "set2_c", 1, 0x20000, "kind", "ref", "S");
  relate(a, "owner", 2, "b", "owned");
  product([&] { return a->CreateIndex(&dict, "ix", 0, "name:owner"); });
  join("a", "owner", "pb", "fa");
  viewField("a_id", "a", "objid", "fa");
  viewField("b_id", "b", "objid", "pb");
  KDdTable copy;
  copy = *a;
  a->DeleteTableField(&dict, a->FindField(KZString("ref")));
  EXPECT_EQ(a->FindRelation(&dict, KZString("set1")), nullptr);
  EXPECT_EQ(c->FindRelation(&dict, KZString("set2_c")), nullptr);
  long mto = 1;
  static_cast<KDdRelation*>(a->FindRelation(&dict, KZString("owner")))
      ->UpdateData(&dict, nullptr, nullptr, &mto, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(a->FindField(KZString("owner")), nullptr);
  EXPECT_NE(b->FindField(KZString("owned")), nullptr);
  KHostMsg msg = written(*a);
  KDdTable again(msg);
  copy = again;
  EXPECT_EQ(copy.GetFieldCount(), a->GetFieldCount());
  dict.Drop(v);
  dict.Drop(a);
}

} // namespace
