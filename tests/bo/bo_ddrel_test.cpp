// The dictionary relation: types and inverse types, copies, equality, both
// images, the many-to-many table name, the inverse look-ups, and its
// editing with implicit key fields and exclusive sets.
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

KDdRelation sample(long type = 2, KDdTable* table = nullptr) {
  return KDdRelation("phys", "logical", type, 4, 9, 0x20001, "other", "back", "focus", "objref", "note", table,
                     "set");
}

TEST(DdRelation, TypesAndInverseTypes) {
  struct Case {
    long fullPhysical;
    long physical, rel, inverse;
  } cases[] = {{1, 1, 1, 2}, {2, 2, 2, 1}, {3, 3, 3, 4}, {4, 4, 4, 3}, {5, 5, 5, 5},
               {9, 1, 1, 2}, {13, 5, 5, 5}, {7, 7, 7, 0}, {0, 0, 0, 0}, {-3, -3, -3, 0}};
  for (const Case& c : cases) {
    KDdRelation r = sample(c.fullPhysical);
    EXPECT_EQ(r.GetPhysicalRelType(), c.physical) << c.fullPhysical;
    EXPECT_EQ(r.GetRelType(), c.rel) << c.fullPhysical;
    EXPECT_EQ(r.GetInverseRelType(-1), c.inverse) << c.fullPhysical;
  }
  KDdRelation r = sample(1);
  EXPECT_EQ(r.GetInverseRelType(7), 0);
  EXPECT_EQ(r.GetInverseRelType(3), 4);
  EXPECT_EQ(r.GetFullRelType(), 0);

  // A full type above 0 decides the relation type: 13 answers 5.
  KHostMsg msg = written(sample(2));
  KHostMsg edited;
  KZString s;
  long v = 0;
  msg.ReadString(s), edited.WriteString(s);
  msg.ReadString(s), edited.WriteString(s);
  msg.ReadLong(v), edited.WriteLong(v);
  msg.ReadLong(v), edited.WriteLong(13);
  while (msg.ReadPosition() < msg.Bytes().size()) {
    if (msg.Bytes()[msg.ReadPosition()] == 'L')
      msg.ReadLong(v), edited.WriteLong(v);
    else
      msg.ReadString(s), edited.WriteString(s);
  }
  KDdRelation full;
  full.Read(edited);
  EXPECT_EQ(full.GetFullRelType(), 13);
  EXPECT_EQ(full.GetRelType(), 5);
  EXPECT_EQ(full.GetPhysicalRelType(), 2);
}

TEST(DdRelation, CopiesAndEquality) {
  KDdRelation a = sample();
  EXPECT_STREQ(a.GetName(), "logical");
  EXPECT_STREQ(a.GetFieldIdName(), "objref");
  EXPECT_STREQ(a.GetPhysRelName(), "objref");
  KDdRelation named(a, "renamed");
  EXPECT_STREQ(named.GetName(), "renamed");
  EXPECT_EQ(named == a, 0);
  KDdRelation b;
  b = a;
  EXPECT_EQ(b == a, 1);
  // The exclusive set name takes no part in equality; the comment does.
  KDdRelation otherSet("phys", "logical", 2, 4, 9, 0x20001, "other", "back", "focus", "objref", "note", nullptr, "x");
  EXPECT_EQ(otherSet == a, 1);
  KDdRelation otherNote("phys", "logical", 2, 4, 9, 0x20001, "other", "back", "focus", "objref", "Note", nullptr,
                        "set");
  EXPECT_EQ(otherNote == a, 0);
  KDdTable owner;
  KDdRelation forTable(&owner, a);
  EXPECT_EQ(forTable.GetFromTable(), &owner);
  EXPECT_EQ(forTable == a, 0);
}

TEST(DdRelation, MessageAndArchiveForms) {
  KDdRelation r = sample(3);
  KHostMsg msg = written(r);
  KZString s;
  long v = 0;
  msg.ReadString(s);
  EXPECT_STREQ(s, "phys");
  msg.ReadString(s);
  EXPECT_STREQ(s, "logical");
  for (long want : {3L, 0L}) {
    msg.ReadLong(v);
    EXPECT_EQ(v, want);
  }
  msg.ReadString(s);
  EXPECT_STREQ(s, "");
  for (long want : {4L, 9L, 0x20001L}) {
    msg.ReadLong(v);
    EXPECT_EQ(v, want);
  }
  for (const char* want : {"other", "back", "focus", "objref", "set", "note", "", ""}) {
    msg.ReadString(s);
    EXPECT_STREQ(s, want);
  }
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());
  msg.Rewind();
  KDdRelation back;
  back.Read(msg);
  EXPECT_EQ(back == r, 1);
  EXPECT_STREQ(back.GetExclusiveSetName(), "set");

  std::string want = arString("phys") + arString("logical") + be32(3) + be32(0) + arString("") + be32(4) + be32(9) +
                     be32(0x20001) + arString("other") + arString("back") + arString("focus") + arString("objref") +
                     arString("set") + arString("") + arString("");
  EXPECT_EQ(archiveImage(r), want);
  KDdRelation loaded("", "", 0, 0, 0, 0, "", "", "", "", "kept", nullptr, "");
  loadArchive(want, loaded);
  EXPECT_STREQ(loaded.GetComment(), "kept");
  EXPECT_STREQ(loaded.GetExclusiveSetName(), "set");
  EXPECT_EQ(loaded.GetFullPhysicalRelType(), 3);
}

class DdRelationTest : public DdTest {};

TEST_F(DdRelationTest, ValueConstructorMarksTheSetFields) {
  struct Case {
    long type, flags;
    bool marks;
  } cases[] = {{3, 0, true}, {2, 1, true}, {2, 0, false}, {1, 1, false}, {4, 1, false}};
  for (const Case& c : cases) {
    KDdTable t("t", "", "", 2000, 0);
    auto* focus = new KDdField("focus", "", 2000, 0, 0, -1, -1, 0, 512, -1, 0, "", "", &t);
    auto* ref = new KDdField("objref", "", 2000, 0, 0, -1, -1, 0, 512, -1, 1, "", "", &t);
    t.AddField(focus);
    t.AddField(ref);
    KDdRelation r("r", "", c.type, 1, -1, c.flags, "x", "y", "focus", "objref", "", &t, "");
    EXPECT_EQ(focus->GetFlags(), c.marks ? 0x20000 : 0) << c.type << "/" << c.flags;
    EXPECT_EQ(ref->GetFlags(), c.marks ? 0x40000 | 0x4000 : 0) << c.type << "/" << c.flags;
  }
}

TEST_F(DdRelationTest, ManyToManyTableNameOrdersByTableThenRelationId) {
  KDdTable* a = dict.AddTable("a", 30);
  KDdTable* b = dict.AddTable("b", 12);
  a->AddRelation(new KDdRelation("r4", "", 5, 4, -1, 0, "b", "r9", "", "", "", a, ""), 0);
  b->AddRelation(new KDdRelation("r9", "", 5, 9, -1, 0, "a", "r4", "", "", "", b, ""), 0);
  auto* r4 = static_cast<KDdRelation*>(a->FindRelation(&dict, KZString("r4")));
  auto* r9 = static_cast<KDdRelation*>(b->FindRelation(&dict, KZString("r9")));
  EXPECT_STREQ(r4->GetMTMTableName(&dict), "mtm_b9_a4");
  EXPECT_STREQ(r9->GetMTMTableName(&dict), "mtm_b9_a4");
  EXPECT_EQ(r4->GetInverse(&dict, 0), r9);
  EXPECT_EQ(r4->GetInverseTable(&dict, 0), b);

  // Equal table ids: the smaller relation id first.
  KDdTable* s = dict.AddTable("s", 40);
  s->AddRelation(new KDdRelation("x7", "", 5, 7, -1, 0, "s", "x2", "", "", "", s, ""), 0);
  s->AddRelation(new KDdRelation("x2", "", 5, 2, -1, 0, "s", "x7", "", "", "", s, ""), 0);
  EXPECT_STREQ(static_cast<KDdRelation*>(s->GetRelation(0))->GetMTMTableName(&dict), "mtm_s2_s7");

  // Not many-to-many, or no inverse: empty.
  KDdRelation otm("o", "", 1, 1, -1, 0, "b", "r9", "", "", "", a, "");
  EXPECT_STREQ(otm.GetMTMTableName(&dict), "");
  KDdRelation lonely("l", "", 5, 1, -1, 0, "nowhere", "x", "", "", "", a, "");
  EXPECT_STREQ(lonely.GetMTMTableName(&dict), "");
  EXPECT_EQ(lonely.GetInverse(&dict, 0), nullptr);
}

TEST_F(DdRelationTest, UpdateDataAddsAndRemovesTheImplicitKeyField) {
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  KDdRelation* r = relate(a, "owner", 1, "b", "owned");
  EXPECT_EQ(a->FindField(KZString("owner")), nullptr);
  ASSERT_NE(b->FindField(KZString("owned")), nullptr);

  long mto = 2;
  product([&] {
    r->UpdateData(&dict, nullptr, nullptr, &mto, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return 0;
  });
  IDdField* key = a->FindField(KZString("owner"));
  ASSERT_NE(key, nullptr);
  EXPECT_STREQ(key->GetDefaultValue(), "-3");
  EXPECT_EQ(key->GetFlags(), 0x4000);
  EXPECT_EQ(key->GetDBType(), 0);
  EXPECT_EQ(key->GetId(), a->MaxFieldId());
  // The inverse became one-to-many and lost its key field.
  auto* inverse = static_cast<KDdRelation*>(b->FindRelation(&dict, KZString("owned")));
  EXPECT_EQ(inverse->GetFullPhysicalRelType(), 1);
  EXPECT_EQ(b->FindField(KZString("owned")), nullptr);

  // Back to 1: the key field goes, but never a field marked 0x40000.
  long otm = 1;
  static_cast<KDdField*>(key)->AddFlags(0x40000);
  product([&] {
    r->UpdateData(&dict, nullptr, nullptr, &otm, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return 0;
  });
  EXPECT_EQ(a->FindField(KZString("owner")), key);
}

TEST_F(DdRelationTest, RequiredOneToOneKeyField) {
  KDdTable* a = dict.AddTable("a", 2000);
  dict.AddTable("b", 2002);
  relate(a, "spouse", 3, "b", "spouse_of", 0, 0x40000);
  IDdField* key = a->FindField(KZString("spouse"));
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->GetFlags(), 0x4000 | 0x8000 | 0x10000);
  EXPECT_STREQ(key->GetDefaultValue(), "-2");
}

TEST_F(DdRelationTest, UpdateDataChecksPermanenceBeforeAnyChange) {
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  auto* loaded = new KDdRelation("link", "", 1, 0, -1, 0x20000, "b", "back", "", "", "", a, "");
  a->AddRelation(loaded, 0);
  b->AddRelation(new KDdRelation("back", "", 2, 0, -1, 0x20000, "a", "link", "", "", "", b, ""), 0);
  KZString same("link"), other("link2"), text("t");
  long type = 2;
  struct Case {
    KZString* name;
    long* type;
    KZString *focus, *phys, *set;
    const char* insert;
  } cases[] = {{&other, nullptr, nullptr, nullptr, nullptr, "Relation Name"},
               {nullptr, &type, nullptr, nullptr, nullptr, "Relation Type"},
               {&same, nullptr, &text, nullptr, nullptr, "Relation FocusFieldName"},
               {nullptr, nullptr, nullptr, &text, nullptr, "Relation PhysRelName"},
               {nullptr, nullptr, nullptr, nullptr, &text, "Relation ExclusiveSetName"}};
  for (const Case& c : cases) {
    expectErr(*thrown([&] {
      loaded->UpdateData(&dict, c.name, nullptr, c.type, nullptr, nullptr, nullptr, c.focus, c.phys, c.set, nullptr);
    }),
              0x8B001BE, "KDdRelation::UpdateData", c.insert);
  }
  EXPECT_STREQ(loaded->GetName(), "link");
  EXPECT_EQ(loaded->GetFullPhysicalRelType(), 1);
  // What may change does, and reaches the inverse.
  long genId = 8;
  KZString comment("c");
  loaded->UpdateData(&dict, &same, nullptr, nullptr, &genId, nullptr, nullptr, nullptr, nullptr, nullptr, &comment);
  EXPECT_EQ(loaded->GetGenericId(), 8);
  EXPECT_STREQ(loaded->GetComment(), "c");
  EXPECT_EQ(static_cast<KDdRelation*>(loaded->GetInverse(&dict, 0))->GetGenericId(), 8);
  // In user mode the flags must stay user-defined and not required.
  long required = 0x40000 | 0x20000;
  expectErr(*thrown([&] {
    loaded->UpdateData(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, &required, nullptr, nullptr, nullptr,
                       nullptr);
  }),
            0x8B001B3, "KDdTable::CheckRelArg", "User mode, Flags=60000, REL_FLAGS_REQUIRED");
}

TEST_F(DdRelationTest, RenameReKeysAndRenamesIndexKeys) {
  KDdTable* a = dict.AddTable("a", 2000);
  dict.AddTable("b", 2002);
  KDdRelation* r = relate(a, "owner", 2, "b", "owned");
  relate(a, "taken", 1, "b", "taken_by");
  product([&] { return a->CreateIndex(&dict, "ix", 0, "owner"); });
  KZString newName("holder"), taken("TAKEN");
  expectErr(*thrown([&] {
    r->UpdateData(&dict, &taken, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }),
            0x8B001B1, "KDdRelation::UpdateData", "Name=TAKEN");
  product([&] {
    r->UpdateData(&dict, &newName, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return 0;
  });
  EXPECT_EQ(a->FindRelation(&dict, KZString("HOLDER")), r);
  EXPECT_EQ(a->FindRelation(&dict, KZString("owner")), nullptr);
  EXPECT_STREQ(a->GetIndex(0)->GetFieldNames(), "holder");
  auto* inverse = static_cast<KDdRelation*>(r->GetInverse(&dict, 0));
  EXPECT_STREQ(inverse->GetInverseName(), "holder");
}

TEST_F(DdRelationTest, ExclusiveSetChangesReachTheOtherMembers) {
  KDdTable* a = dict.AddTable("a", 2000);
  dict.AddTable("b", 2002);
  dict.AddTable("c", 2004);
  for (const char* f : {"kind", "ref", "kind2", "ref2"}) longField(a, f);
  KDdRelation* first = relate(a, "to_b", 2, "b", "from_a1", 1, 0x20000, "kind", "ref", "S");
  KDdRelation* second = relate(a, "to_c", 2, "c", "from_a2", 1, 0x20000, "kind", "ref", "S");
  // Set fields are not key fields of the relation.
  EXPECT_EQ(a->FindField(KZString("to_b")), nullptr);

  KZString kind2("kind2");
  product([&] {
    first->UpdateData(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &kind2, nullptr, nullptr, nullptr);
    return 0;
  });
  EXPECT_STREQ(second->GetFocusFieldName(), "kind2");
  EXPECT_STREQ(static_cast<KDdRelation*>(second->GetInverse(&dict, 0))->GetFocusFieldName(), "kind2");
  EXPECT_STREQ(static_cast<KDdRelation*>(first->GetInverse(&dict, 0))->GetFocusFieldName(), "kind2");

  // Changing all three leaves the set: the other member keeps its fields.
  KZString ref2("ref2"), kind("kind"), set2("T");
  product([&] {
    first->UpdateData(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &kind, &ref2, &set2, nullptr);
    return 0;
  });
  EXPECT_STREQ(first->GetExclusiveSetName(), "T");
  EXPECT_STREQ(second->GetFocusFieldName(), "kind2");
  EXPECT_STREQ(second->GetPhysRelName(), "ref");
  EXPECT_STREQ(second->GetExclusiveSetName(), "S");
}

TEST_F(DdRelationTest, UpdateWithoutInverseChangesThatRelationAlone) {
  KDdTable* a = dict.AddTable("a", 2000);
  dict.AddTable("b", 2002);
  auto* r = new KDdRelation("solo", "", 1, 0, -1, 0x20000 | 0x80000, "b", "missing", "", "", "", a, "");
  a->AddRelation(r, 0);
  long mto = 2;
  r->UpdateData(&dict, nullptr, nullptr, &mto, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(r->GetFullPhysicalRelType(), 2);
  EXPECT_NE(a->FindField(KZString("solo")), nullptr);
}

} // namespace
