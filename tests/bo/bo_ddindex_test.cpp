// Dictionary indexes and joins: key parts, copies, equality, both images,
// the join's relation look-up and both UpdateData operations.
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

TEST(DdIndex, FieldNameAtCountsWithinTheKeyCount) {
  KDdIndex two(nullptr, "ix", 1, 2, "name:site");
  KDdIndex short3(nullptr, "ix", 1, 3, "a");
  struct Case {
    const KDdIndex* index;
    long i;
    const char* want;
  } cases[] = {{&two, 0, "name"}, {&two, 1, "site"}, {&two, 2, ""}, {&two, -1, ""},
               {&short3, 0, "a"}, {&short3, 1, ""}, {&short3, 3, ""}};
  for (const Case& c : cases) EXPECT_STREQ(c.index->GetFieldNameAt(c.i), c.want) << c.i;
}

TEST(DdIndex, CopiesEqualityAndImages) {
  KDdTable owner;
  KDdIndex ix(&owner, "by_name", 3, 2, "name:site");
  KDdIndex copy(ix);
  EXPECT_EQ(copy == ix, 1);
  KDdIndex other(&owner, "BY_NAME", 3, 2, "name:site");
  EXPECT_EQ(other == ix, 0);
  KDdIndex elsewhere(nullptr, "by_name", 3, 2, "name:site");
  EXPECT_EQ(elsewhere == ix, 0);

  KHostMsg msg = written(ix);
  KDdIndex back(msg, &owner);
  EXPECT_EQ(back == ix, 1);
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());

  std::string want = be32(2) + be32(3) + arString("by_name") + arString("name:site");
  EXPECT_EQ(archiveImage(ix), want);
  KDdIndex loaded(&owner);
  loadArchive(want, loaded);
  EXPECT_EQ(loaded == ix, 1);
}

TEST(DdJoin, CopiesEqualityAndImages) {
  KDdTable view, otherView;
  KDdJoin join(12, 4, "p", "f", 0x5, "comment", &view);
  KDdJoin moved(join, &otherView);
  EXPECT_EQ(moved.GetView(), &otherView);
  EXPECT_EQ(moved == join, 0);
  KDdJoin copy;
  copy = join;
  EXPECT_EQ(copy == join, 1);
  KDdJoin noted(12, 4, "p", "f", 0x5, "other comment", &view);
  EXPECT_EQ(noted == join, 0);

  KHostMsg msg = written(join);
  KDdJoin back(&view);
  back.Read(msg);
  EXPECT_EQ(back == join, 1);

  std::string want = be32(12) + be32(4) + arString("p") + arString("f") + be32(5);
  EXPECT_EQ(archiveImage(join), want);
  KDdJoin loaded(0, 0, "", "", 0, "kept", &view);
  loadArchive(want, loaded);
  EXPECT_STREQ(loaded.GetComment(), "kept");
  EXPECT_EQ(loaded.GetTableId(), 12);
  EXPECT_EQ(loaded.GetJoinFlag(), 5);

  KDdJoin fresh;
  EXPECT_EQ(fresh.GetTableId(), -1);
  EXPECT_EQ(fresh.GetRelationId(), -1);
}

class DdJoinTest : public DdTest {};

TEST_F(DdJoinTest, GetRelLooksTableAndRelationUpEveryTime) {
  KDdJoin fresh;
  expectErr(*thrown([&] { fresh.GetRel(&dict); }), 0x8B00193, "KDdJoin::GetRel", "Business Object ID=-1");
  KDdTable* t = dict.AddTable("t", 2000);
  KDdJoin missingRel(2000, 5, "", "", 0, "", nullptr);
  expectErr(*thrown([&] { missingRel.GetRel(&dict); }), 0x8B00195, "KDdJoin::setRels", "Relation ID=5");
  auto* r = new KDdRelation("r", "", 1, 5, -1, 0, "t", "r", "", "", "", t, "");
  t->AddRelation(r, 0);
  EXPECT_EQ(missingRel.GetRel(&dict), r);
  dict.Drop(t);
  EXPECT_EQ(missingRel.FindRel(&dict), nullptr);
}

TEST_F(DdJoinTest, IndexUpdateKeepsTheNewFlagAndChecksKeys) {
  KDdTable* t = dict.AddTable("t", 2000);
  textField(t, "name");
  textField(t, "site");
  auto* ix = static_cast<KDdIndex*>(product([&] { return t->CreateIndex(&dict, "ix", 0, "name"); }));
  EXPECT_EQ(ix->GetFlags(), 2);
  long unique = 1;
  KZString keys("name:site");
  ix->UpdateData(&dict, nullptr, &unique, &keys);
  EXPECT_EQ(ix->GetFlags(), 3);
  EXPECT_EQ(ix->GetKeyCount(), 2);
  EXPECT_STREQ(ix->GetFieldNames(), "name:site");
  KZString bad("name:nothing");
  expectErr(*thrown([&] { ix->UpdateData(&dict, nullptr, nullptr, &bad); }), 0x8B001B6, "KDdTable::CheckIndexArg",
            "FldNames=name:nothing");
  EXPECT_STREQ(ix->GetFieldNames(), "name:site");
}

TEST_F(DdJoinTest, JoinUpdateMovesTheViewArrays) {
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  KDdTable* c = dict.AddTable("c", 2004);
  relate(a, "a_b", 2, "b", "b_a");
  relate(a, "a_c", 2, "c", "c_a");
  KDdTable* v = dict.AddView("v", 2001);
  auto* join = static_cast<KDdJoin*>(product([&] { return v->CreateJoin(&dict, "a", "a_b", "pb", "fa", 0, none); }));
  EXPECT_EQ(join->GetJoinFlag(), 4);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);
  EXPECT_EQ(b->GetViewArray().GetSize(), 1);

  KZString rel("a_c"), primary("pc");
  long outer = 1;
  join->UpdateData(&dict, nullptr, &rel, &primary, nullptr, &outer, nullptr);
  EXPECT_EQ(join->GetJoinFlag(), 5);
  EXPECT_EQ(join->GetRel(&dict), a->FindRelation(&dict, KZString("a_c")));
  EXPECT_STREQ(join->GetPrimaryAlias(), "pc");
  EXPECT_EQ(b->GetViewArray().GetSize(), 0);
  EXPECT_EQ(c->GetViewArray().GetSize(), 1);
  EXPECT_EQ(a->GetViewArray().GetSize(), 1);

  KZString missing("a_x");
  expectErr(*thrown([&] { join->UpdateData(&dict, nullptr, &missing, nullptr, nullptr, nullptr, nullptr); }),
            0x8B001B8, "KDdTable::CheckJoinArg", "Name=a_x");
  EXPECT_STREQ(join->GetPrimaryAlias(), "pc");
}

} // namespace
