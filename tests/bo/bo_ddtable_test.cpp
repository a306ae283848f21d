// The dictionary table: its collections and who owns what, look-ups,
// relation names, id lists, both images (byte-exact archive words) and
// assignment. The sanitizers watch every record being deleted once.
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

KDdField* field(KDdTable* t, const char* phys, long id, const char* name = "", long flags = 0) {
  return new KDdField(phys, name, t->GetId(), 0, 0, -1, -1, flags, 512, -1, id, "", "", t);
}

KDdRelation* relation(KDdTable* t, const char* name, long id, const char* logical = "") {
  return new KDdRelation(name, logical, 1, id, -1, 0, "other", "back", "", "", "", t, "");
}

TEST(DdTable, FieldsKnownOnlyByNameAreFoundButNotCounted) {
  KDdTable t("account", "", "", 2000, 0);
  KDdField* id = field(&t, "objid", 0);
  t.AddField(id);
  KDdField* second = new KDdField(*id, "Identity");
  t.AddField(second);
  EXPECT_EQ(t.GetFieldCount(), 1);
  EXPECT_EQ(t.FindField(KZString("IDENTITY")), second);
  EXPECT_EQ(t.FindField(KZString("ObjId")), id);
  EXPECT_EQ(t.FindField(0L), id);
  EXPECT_EQ(second->GetTable(), &t);
  // Both travel in the images (their count is the name map's).
  KHostMsg msg = written(t);
  KDdTable back(msg);
  EXPECT_EQ(back.GetFieldCount(), 1);
  EXPECT_NE(back.FindField(KZString("identity")), nullptr);
  KDdTable loaded;
  loadArchive(archiveImage(t), loaded);
  EXPECT_NE(loaded.FindField(KZString("identity")), nullptr);
  EXPECT_EQ(loaded.GetFieldCount(), 1);
}

TEST(DdTable, PositionsOutOfRangeAndEmptyMaxima) {
  KDdTable t("t", "", "", 1, 0);
  EXPECT_EQ(t.MaxFieldId(), -1);
  EXPECT_EQ(t.MaxRelId(), -1);
  EXPECT_EQ(t.GetField(0), nullptr);
  EXPECT_EQ(t.GetIndex(-1), nullptr);
  EXPECT_EQ(t.GetRelation(0), nullptr);
  EXPECT_EQ(t.GetJoin(0), nullptr);
  EXPECT_EQ(t.GetBinaryField(0), nullptr);
  EXPECT_EQ(t.FindKeyField(), nullptr);
  t.AddField(field(&t, "a", 3));
  t.AddBinaryField(field(&t, "blob", 9, "", 0x20));
  t.AddRelation(relation(&t, "r", 6), 0);
  t.AddIndex(new KDdIndex(&t, "ix", 0, 1, "a"));
  EXPECT_EQ(t.GetField(1), nullptr);
  EXPECT_EQ(t.GetIndex(1), nullptr);
  EXPECT_NE(t.GetIndex(0), nullptr);
  EXPECT_EQ(t.MaxFieldId(), 9);
  EXPECT_EQ(t.MaxRelId(), 6);
  t.AddField(field(&t, "ObjId", 4));
  EXPECT_EQ(t.FindKeyField(), t.GetField(1));
}

TEST(DdTable, NamesAreCaseInsensitiveExceptForBinaryFields) {
  KDdTable t("t", "", "", 1, 0);
  t.AddBinaryField(field(&t, "Blob", 1, "", 0x20));
  t.RemoveBinaryField(KZString("blob"));
  EXPECT_EQ(t.GetBinaryFieldCount(), 1);
  t.RemoveBinaryField(KZString("Blob"));
  EXPECT_EQ(t.GetBinaryFieldCount(), 0);

  t.AddField(field(&t, "Name", 2));
  t.RemoveField(KZString("NAME"));
  EXPECT_EQ(t.GetFieldCount(), 0);
  EXPECT_EQ(t.FindField(2L), nullptr);
  t.RemoveField(KZString("nothing"));
}

TEST(DdTable, AFieldOfAHeldNameReplacesAndDeletesTheEarlierOne) {
  KDdTable t("t", "", "", 1, 0);
  t.AddField(field(&t, "code", 1));
  KDdField* later = field(&t, "CODE", 2);
  t.AddField(later);
  EXPECT_EQ(t.GetFieldCount(), 1);
  EXPECT_EQ(t.GetField(0), later);
  EXPECT_EQ(t.FindField(1L), nullptr);
  EXPECT_EQ(t.FindField(KZString("code")), later);
}

TEST(DdTable, DuplicateRelationNamesAreRefusedInAnyCase) {
  KDdTable t("t", "", "", 1, 0);
  t.AddRelation(relation(&t, "Owner", 1), 0);
  auto dup = std::unique_ptr<KDdRelation>(relation(&t, "OWNER", 2));
  expectErr(*thrown([&] { t.AddRelation(dup.get(), 0); }), 0x8B00197, "KDdTable::AddRelation", "OWNER");
  EXPECT_EQ(t.GetRelationCount(), 1);
  EXPECT_EQ(t.FindRelation(nullptr, 2L), nullptr);
  // A relation known by a second name lives in the name map only when asked.
  KDdRelation* named = relation(&t, "phys", 3, "logical");
  t.AddRelation(named, 1);
  EXPECT_EQ(t.GetRelationCount(), 1);
  EXPECT_EQ(t.FindRelation(nullptr, KZString("Logical")), named);
  EXPECT_EQ(named->GetFromTable(), &t);
  t.AddRelation(relation(&t, "phys2", 4, "logical2"), 0);
  EXPECT_EQ(t.GetRelationCount(), 2);
}

TEST(DdTable, IndexKeysMarkTheirRelations) {
  KDdTable t("t", "", "", 1, 0);
  KDdRelation* r = relation(&t, "Owner", 1);
  KDdRelation* other = relation(&t, "other", 2);
  t.AddRelation(r, 0);
  t.AddRelation(other, 0);
  std::string longName(1500, 'x');
  t.ProcessIndexFields(("name:owner:" + longName).c_str());
  EXPECT_EQ(r->GetFlags(), 0x10000000);
  EXPECT_EQ(other->GetFlags(), 0);
  // A piece is cut at 1023 bytes.
  KDdRelation* cut = relation(&t, std::string(1023, 'y').c_str(), 3);
  t.AddRelation(cut, 0);
  t.ProcessIndexFields(std::string(1100, 'y').c_str());
  EXPECT_EQ(cut->GetFlags(), 0x10000000);
}

TEST(DdTable, ViewArrayKeepsEachIdOnceAndViewsKeepNone) {
  KDdTable t("t", "", "", 1, 0), v("v", "", "", 2, 4);
  t.AddViewArray(5);
  t.AddViewArray(6);
  t.AddViewArray(5);
  v.AddViewArray(5);
  EXPECT_EQ(t.GetViewArray().GetSize(), 2);
  EXPECT_EQ(v.GetViewArray().GetSize(), 0);
  t.RemoveViewId(5);
  ASSERT_EQ(t.GetViewArray().GetSize(), 1);
  EXPECT_EQ(long(t.GetViewArray()[0]), 6);
  t.RemoveViewId(42);
  EXPECT_EQ(t.GetViewArray().GetSize(), 1);
}

// A table with one field, one relation and two dependent view ids.
std::string smallImage() {
  std::string field = arString("objid") + arString("") + be32(7) + be32(0) + be32(0) + be32(uint32_t(-1)) +
                      be32(uint32_t(-1)) + be32(uint32_t(-1)) + be32(0) + be32(512) + be32(uint32_t(-1)) + be32(0) +
                      arString("") + be32(uint32_t(-1)) + be32(uint32_t(-1)) + arString("") + be32(0) + arString("") +
                      arString("") + arString("");
  std::string rel = arString("owner") + arString("") + be32(2) + be32(0) + arString("") + be32(1) +
                    be32(uint32_t(-1)) + be32(0x20000) + arString("other") + arString("owned") + arString("") +
                    arString("") + arString("") + arString("") + arString("");
  return arString("acct") + be32(7) + arString("note") + be32(0x80042) + be32(1) + field + be32(1) + rel + be32(0) +
         be32(0) + be32(2) + be32(30) + be32(31);
}

TEST(DdTable, ArchiveImageIsExactAndOldImagesLoad) {
  KDdTable t("acct", "note", "Sales", 7, 0x80042);
  t.AddField(new KDdField("objid", "", 7, 0, -1, -1, -1, 0, 512, -1, 0, "", "", &t));
  t.AddRelation(new KDdRelation("owner", "", 2, 1, -1, 0x20000, "other", "owned", "", "", "", &t, ""), 0);
  t.GetDependentViewIds().Add(30);
  t.GetDependentViewIds().Add(31);
  EXPECT_EQ(archiveImage(t), smallImage());

  KDdTable loaded;
  loadArchive(smallImage(), loaded);
  EXPECT_EQ(loaded.GetId(), 7);
  EXPECT_STREQ(loaded.GetName(), "acct");
  EXPECT_STREQ(loaded.GetObjGroup(), "");
  EXPECT_EQ(loaded.GetFieldCount(), 1);
  EXPECT_EQ(loaded.GetRelationCount(), 1);
  EXPECT_EQ(loaded.GetJoinCount(), 0);
  EXPECT_EQ(loaded.GetIndexCount(), 0);
  EXPECT_EQ(loaded.GetBinaryFieldCount(), 0);
  EXPECT_EQ(loaded.GetViewArray().GetSize(), 0);
  ASSERT_EQ(loaded.GetDependentViewIds().GetSize(), 2);
  EXPECT_EQ(loaded.GetDependentViewIds()[1], 31u);
  EXPECT_EQ(static_cast<KDdField*>(loaded.GetField(0))->GetOwner(), &loaded);
  EXPECT_EQ(loaded.GetRelation(0)->GetFromTable(), &loaded);
}

// A table with joins, indexes and binary fields (and a view relation that
// no image carries).
void fill(KDdTable& t) {
  t.AddField(new KDdField("objid", "", 7, 0, -1, -1, -1, 0, 512, -1, 0, "", "c1", &t));
  t.AddField(new KDdField("name", "", 7, 7, 30, -1, -1, 0x108, 516, 4, 1, "x", "c2", &t));
  t.AddBinaryField(new KDdField("photo", "", 7, 10, -1, -1, -1, 0x20, 516, -1, 2, "", "", &t));
  t.AddRelation(new KDdRelation("owner", "", 2, 1, -1, 0x20000, "other", "owned", "", "", "", &t, ""), 0);
  t.AddRelation(new KDdRelation("[v.f]owner", "", 2, 1001, -1, 0, "other", "x", "", "", "", &t, ""), 0);
  t.AddIndex(new KDdIndex(&t, "ix", 1, 1, "name"));
  t.DefineJoin(new KDdJoin(7, 1, "p", "f", 1, "jc", &t));
  t.GetDependentViewIds().Add(30);
  t.AddViewArray(40);
}

TEST(DdTable, ImagesCarryJoinsIndexesAndBinaryFields) {
  KDdTable t("acct", "note", "Sales", 7, 0x42);
  fill(t);
  KDdTable fromArchive;
  loadArchive(archiveImage(t), fromArchive);
  EXPECT_EQ(fromArchive.GetFieldCount(), 2);
  ASSERT_EQ(fromArchive.GetBinaryFieldCount(), 1);
  EXPECT_STREQ(fromArchive.GetBinaryField(0)->GetName(), "photo");
  EXPECT_EQ(fromArchive.FindField(KZString("photo")), nullptr);
  EXPECT_EQ(fromArchive.GetRelationCount(), 1);
  EXPECT_EQ(fromArchive.FindRelation(nullptr, 1001L), nullptr);
  ASSERT_EQ(fromArchive.GetIndexCount(), 1);
  EXPECT_STREQ(fromArchive.GetIndex(0)->GetFieldNames(), "name");
  EXPECT_EQ(fromArchive.GetIndex(0)->GetTable(), &fromArchive);
  ASSERT_EQ(fromArchive.GetJoinCount(), 1);
  EXPECT_EQ(fromArchive.GetJoin(0)->GetView(), &fromArchive);
  EXPECT_STREQ(fromArchive.GetJoin(0)->GetComment(), "");

  KHostMsg msg = written(t);
  KDdTable fromMsg(msg);
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());
  EXPECT_EQ(fromMsg == t, 1);
  EXPECT_EQ(fromMsg.GetFieldCount(), 2);
  EXPECT_STREQ(fromMsg.FindField(KZString("name"))->GetComment(), "c2");
  EXPECT_EQ(fromMsg.GetBinaryFieldCount(), 1);
  EXPECT_EQ(fromMsg.GetRelationCount(), 1);
  EXPECT_EQ(fromMsg.GetIndexCount(), 1);
  ASSERT_EQ(fromMsg.GetJoinCount(), 1);
  EXPECT_STREQ(fromMsg.GetJoin(0)->GetComment(), "jc");
  EXPECT_EQ(fromMsg.GetJoin(0)->GetView(), &fromMsg);
  ASSERT_EQ(fromMsg.GetViewArray().GetSize(), 1);
  EXPECT_EQ(long(fromMsg.GetViewArray()[0]), 40);
  EXPECT_EQ(fromMsg.GetDependentViewIds().GetSize(), 1);
}

TEST(DdTable, ReadAddsToWhatTheTableHolds) {
  KDdTable t("acct", "", "", 7, 0);
  t.AddField(field(&t, "objid", 0));
  KHostMsg msg = written(t);
  KDdTable target("x", "", "", 1, 0);
  target.AddField(field(&target, "extra", 5));
  target.Read(msg);
  EXPECT_EQ(target.GetFieldCount(), 2);
  EXPECT_STREQ(target.GetName(), "acct");
}

TEST(DdTable, AssignmentEmptiesTheTargetThenCopies) {
  KDdTable source("acct", "note", "Sales", 7, 0x42);
  fill(source);
  KDdTable target("old", "", "", 1, 0);
  target.AddField(field(&target, "gone", 0));
  target.AddIndex(new KDdIndex(&target, "old_ix", 0, 1, "gone"));
  target = source;
  EXPECT_EQ(target == source, 1);
  EXPECT_EQ(target.FindField(KZString("gone")), nullptr);
  EXPECT_EQ(target.GetFieldCount(), 2);
  EXPECT_NE(target.GetField(0), source.GetField(0));
  EXPECT_EQ(static_cast<KDdField*>(target.GetField(0))->GetOwner(), &target);
  EXPECT_EQ(target.GetRelationCount(), 2);
  EXPECT_EQ(target.GetRelation(0)->GetFromTable(), &target);
  EXPECT_EQ(target.GetIndexCount(), 0);
  EXPECT_EQ(target.GetBinaryFieldCount(), 0);
  ASSERT_EQ(target.GetJoinCount(), 1);
  EXPECT_EQ(target.GetJoin(0)->GetView(), &target);
  EXPECT_EQ(target.GetViewArray().GetSize(), 1);
  EXPECT_EQ(target.GetDependentViewIds().GetSize(), 1);
  target = target;
  EXPECT_EQ(target.GetFieldCount(), 2);
  // Equality is the identity alone.
  KDdTable bare("acct", "note", "Sales", 7, 0x42);
  EXPECT_EQ(bare == source, 1);
  KDdTable renamed("ACCT", "note", "Sales", 7, 0x42);
  EXPECT_EQ(renamed == source, 0);
}

TEST(DdTable, RecordsTravelAsArchiveObjects) {
  kctest::TempDir dir;
  std::string path = dir.file("objects.bin");
  KDdTable table("acct", "", "", 7, 0);
  fill(table);
  KDdField f("objid", "", 7, 0, -1, -1, -1, 0, 512, -1, 0, "", "", nullptr);
  KDdRelation r("owner", "", 2, 1, -1, 0, "other", "owned", "", "", "", nullptr, "");
  KDdIndex ix(nullptr, "ix", 1, 1, "name");
  KDdJoin j(7, 1, "p", "f", 1, "", nullptr);
  {
    KFile file(path.c_str(), KFILE_CREATE | KFILE_WRITE | KFILE_BINARY);
    KArchive ar(&file, KArchive::store);
    ar << &table << &f << &r << &ix << &j;
    ar.Close();
  }
  KFile file(path.c_str(), KFILE_BINARY);
  KArchive ar(&file, KArchive::load);
  KDdTable* t2 = nullptr;
  KDdField* f2 = nullptr;
  KDdRelation* r2 = nullptr;
  KDdIndex* ix2 = nullptr;
  KDdJoin* j2 = nullptr;
  ar >> t2 >> f2 >> r2 >> ix2 >> j2;
  std::unique_ptr<KDdTable> own1(t2);
  std::unique_ptr<KDdField> own2(f2);
  std::unique_ptr<KDdRelation> own3(r2);
  std::unique_ptr<KDdIndex> own4(ix2);
  std::unique_ptr<KDdJoin> own5(j2);
  ASSERT_TRUE(t2 && f2 && r2 && ix2 && j2);
  EXPECT_EQ(t2->GetFieldCount(), 2);
  EXPECT_EQ(*f2 == f, 1);
  EXPECT_EQ(*r2 == r, 1);
  EXPECT_EQ(*ix2 == ix, 1);
  EXPECT_EQ(*j2 == j, 1);

  KRuntimeClass* classes[] = {KRUNTIME_CLASS(KDdField), KRUNTIME_CLASS(KDdRelation), KRUNTIME_CLASS(KDdIndex),
                              KRUNTIME_CLASS(KDdJoin), KRUNTIME_CLASS(KDdTable)};
  const char* names[] = {"KDdField", "KDdRelation", "KDdIndex", "KDdJoin", "KDdTable"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(classes[i]->m_lpszClassName, names[i]);
    EXPECT_EQ(classes[i]->m_wSchema, 1u);
    std::unique_ptr<KObject> made(classes[i]->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), classes[i]);
  }
}

class DdTableTest : public DdTest {};

TEST_F(DdTableTest, TableIdInUseThroughFieldsAndJoins) {
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  dict.AddTable("c", 2004);
  longField(a, "objid");
  relate(b, "b_c", 2, "c", "c_b");
  KDdTable* v = dict.AddView("v", 2001);
  product([&] { return v->CreateViewField(&dict, "a_id", none, -1, "a", "objid", "", none); });
  EXPECT_EQ(v->TableIdInUse(&dict, 2000), 1);
  EXPECT_EQ(v->TableIdInUse(&dict, 2002), 0);
  product([&] { return v->CreateJoin(&dict, "b", "b_c", "", "", 0, none); });
  EXPECT_EQ(v->TableIdInUse(&dict, 2002), 1);
  EXPECT_EQ(v->TableIdInUse(&dict, 2004), 1);
  EXPECT_EQ(v->TableIdInUse(&dict, 2006), 0);
}

} // namespace
