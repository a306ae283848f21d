// The dictionary field: construction, copies, equality, both images, the
// key and object-id tests, the origin of a view field, the choice getters
// and its schema editing.
#include "bo/bo_choicetbl.h"
#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

KDdField sample(KDdTable* table = nullptr) {
  return KDdField("phys", "logical", 7, 7, 40, -1, -1, 0x108, 516, 12, 3, "dflt", "a comment", table);
}

TEST(DdField, ValueConstructorSetsTypesOldNameAndNoOrigin) {
  KDdField currency("amount", "", 1, 7, 20, -1, -1, 0x2000, 516, -1, 4, "", "", nullptr);
  EXPECT_EQ(currency.GetDBType(), 12);
  EXPECT_EQ(currency.GetOrigDBType(), 7);
  EXPECT_STREQ(currency.GetOldName(), "amount");
  EXPECT_STREQ(currency.GetName(), "amount");
  EXPECT_EQ(currency.GetOriginTableId(), -1);
  EXPECT_EQ(currency.GetOriginFieldId(), -1);
  EXPECT_EQ(currency.GetTable(), nullptr);

  KDdField plain = sample();
  EXPECT_EQ(plain.GetDBType(), 7);
  EXPECT_STREQ(plain.GetName(), "logical");
  EXPECT_STREQ(plain.GetPhysicalName(), "phys");
  EXPECT_STREQ(plain.GetDefaultValue(), "dflt");

  KDdField fresh;
  EXPECT_EQ(fresh.GetId(), 0);
  EXPECT_EQ(fresh.GetGenericId(), 0);
  EXPECT_EQ(fresh.GetOriginTableId(), -1);
  EXPECT_EQ(fresh.IsChoice(), 0);
}

TEST(DdField, CopyUnderANewNameKeepsTheOldNameEmpty) {
  KDdField original = sample();
  KDdField copy(original, "alias");
  EXPECT_STREQ(copy.GetName(), "alias");
  EXPECT_STREQ(copy.GetPhysicalName(), "phys");
  EXPECT_STREQ(copy.GetOldName(), "");
  EXPECT_STREQ(copy.GetComment(), "a comment");
}

TEST(DdField, AssignmentKeepsTheOldNameAndEqualityIgnoresIt) {
  KDdField a = sample();
  KDdField b("other", "", 0, 0, 0, -1, -1, 0, 512, -1, 0, "", "", nullptr);
  b = a;
  EXPECT_STREQ(b.GetOldName(), "other");
  EXPECT_EQ(b == a, 1);
  // Each of these differences makes the fields unequal; letter case counts.
  KDdTable owner;
  const std::vector<KDdField> others = {
      KDdField("PHYS", "logical", 7, 7, 40, -1, -1, 0x108, 516, 12, 3, "dflt", "a comment", nullptr),
      KDdField("phys", "logical", 7, 7, 40, -1, -1, 0x108, 516, 12, 3, "dflt", "A comment", nullptr),
      KDdField("phys", "logical", 8, 7, 40, -1, -1, 0x108, 516, 12, 3, "dflt", "a comment", nullptr),
      KDdField("phys", "logical", 7, 7, 41, -1, -1, 0x108, 516, 12, 3, "dflt", "a comment", nullptr),
      KDdField("phys", "logical", 7, 7, 40, -1, -1, 0x108, 516, 13, 3, "dflt", "a comment", nullptr),
      KDdField("phys", "logical", 7, 7, 40, -1, -1, 0x108, 516, 12, 3, "dflt", "a comment", &owner),
  };
  for (const KDdField& other : others) EXPECT_EQ(a == other, 0) << other.GetPhysicalName();
  KDdField viewed = a;
  viewed.SetViewInfo(5, 6, "al", "a comment");
  EXPECT_EQ(viewed == a, 0);
}

TEST(DdField, MessageFormCarriesEveryMemberInOrder) {
  KDdField f = sample();
  f.SetViewInfo(30, 2, "src", "c2");
  KHostMsg msg = written(f);
  KZString s;
  long v = 0;
  const char* strings1[] = {"phys", "logical", "phys"};
  for (const char* want : strings1) {
    msg.ReadString(s);
    EXPECT_STREQ(s, want);
  }
  const long longs[] = {7, 7, 7, 40, -1, -1, 0x108, 516, 12, 3};
  for (long want : longs) {
    msg.ReadLong(v);
    EXPECT_EQ(v, want);
  }
  msg.ReadString(s);
  EXPECT_STREQ(s, "dflt");
  msg.ReadString(s);
  EXPECT_STREQ(s, "c2");
  msg.ReadLong(v);
  EXPECT_EQ(v, 30);
  msg.ReadLong(v);
  EXPECT_EQ(v, 2);
  msg.ReadString(s);
  EXPECT_STREQ(s, "src");
  msg.ReadLong(v);
  EXPECT_EQ(v, 0);
  for (int i = 0; i < 3; ++i) msg.ReadString(s);
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());

  msg.Rewind();
  KDdTable owner;
  KDdField back(msg, &owner);
  EXPECT_EQ(back.GetTable(), &owner);
  KDdField expected = f;
  expected.SetOwner(&owner);
  EXPECT_EQ(back == expected, 1);
  EXPECT_STREQ(back.GetOldName(), "phys");
}

TEST(DdField, ArchiveImageIsExactAndLeavesOldNameAndComment) {
  KDdField f = sample();
  f.SetViewInfo(30, 2, "src", "c2");
  std::string want = arString("phys") + arString("logical") + be32(7) + be32(7) + be32(7) + be32(40) +
                     be32(uint32_t(-1)) + be32(uint32_t(-1)) + be32(0x108) + be32(516) + be32(12) + be32(3) +
                     arString("dflt") + be32(30) + be32(2) + arString("src") + be32(0) + arString("") +
                     arString("") + arString("");
  EXPECT_EQ(archiveImage(f), want);

  KDdField back("keep", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, "", "kept comment", nullptr);
  loadArchive(want, back);
  EXPECT_STREQ(back.GetOldName(), "keep");
  EXPECT_STREQ(back.GetComment(), "kept comment");
  EXPECT_STREQ(back.GetName(), "logical");
  EXPECT_EQ(back.GetOriginTableId(), 30);
  EXPECT_STREQ(back.GetSrcAlias(), "src");
  EXPECT_EQ(back.GetFlags(), 0x108);
}

TEST(DdField, ForeignKeyAndFlagTests) {
  KDdField fk("rel", "", 1, 0, -1, -1, -1, 0x4000 | 0x10000, -1, -1, 1, "-3", "", nullptr);
  int required = -1, otop = -1;
  EXPECT_EQ(fk.IsForeignKey(&required, &otop), 1);
  EXPECT_EQ(required, 0);
  EXPECT_EQ(otop, 1);
  EXPECT_EQ(fk.IsForeignKey(nullptr, nullptr), 1);
  EXPECT_EQ(fk.IsFlagSet(0x8000 | 0x10000), 1);
  EXPECT_EQ(fk.IsFlagSet(0x8000), 0);
  KDdField plain = sample();
  EXPECT_EQ(plain.IsForeignKey(&required, &otop), 0);
  EXPECT_EQ(required, 0);
}

class DdFieldTest : public DdTest {};

TEST_F(DdFieldTest, KeyFieldsOfTablesAndViews) {
  KDdTable* t = dict.AddTable("account", 2000);
  KDdTable* v = dict.AddView("acc_view", 2001);
  struct Case {
    KDdTable* owner;
    const char* name;
    long dbType, genId;
    int key;
  } cases[] = {
      {t, "OBJID", 0, -1, 1}, {t, "objid", 3, -1, 0}, {t, "ObjIdx", 0, -1, 0},
      {v, "objid", 0, -1, 0}, {v, "anything", 0, 3, 1}, {v, "anything", 7, 3, 0},
  };
  for (const Case& c : cases) {
    KDdField f(c.name, "", c.owner->GetId(), c.dbType, -1, -1, -1, 0, 512, c.genId, 1, "", "", c.owner);
    EXPECT_EQ(f.IsKeyField(), c.key) << c.name << " " << c.dbType;
    EXPECT_EQ(f.IsObjidType(), c.key) << c.name;
  }
}

TEST_F(DdFieldTest, OriginFieldIsLookedUpOnceAndCached) {
  KDdTable* t = dict.AddTable("account", 2000);
  KDdTable* v = dict.AddView("acc_view", 2001);
  KDdField* objid = longField(t, "objid");
  KDdField shown("id", "", v->GetId(), 0, -1, -1, -1, 0, 512, -1, 0, "", "", v);
  EXPECT_EQ(shown.GetOriginField(&dict, 0), nullptr); // no origin ids
  shown.SetViewInfo(2000, 77, "a", "");
  EXPECT_EQ(shown.GetOriginField(&dict, 1), nullptr); // no field 77
  shown.SetViewInfo(2000, objid->GetId(), "a", "");
  EXPECT_EQ(shown.IsObjidType(), 0); // nothing cached yet
  int before = dict.fetchingLookups;
  EXPECT_EQ(shown.GetOriginField(&dict, 0), objid);
  EXPECT_EQ(dict.fetchingLookups, before + 1);
  EXPECT_EQ(shown.GetOriginField(&dict, 0), objid);
  EXPECT_EQ(dict.fetchingLookups, before + 1);
  EXPECT_EQ(shown.IsObjidType(), 1);
  // A field naming itself has no origin.
  KDdField self("x", "", 2001, 0, -1, -1, -1, 0, 512, -1, 9, "", "", v);
  self.SetViewInfo(2001, 9, "", "");
  EXPECT_EQ(self.GetOriginField(&dict, 0), nullptr);
  // A missing table gives null.
  self.SetViewInfo(4444, 1, "", "");
  EXPECT_EQ(self.GetOriginField(&dict, 0), nullptr);
}

TEST_F(DdFieldTest, ChoiceGettersRefuseAPlainField) {
  KDdField plain = sample();
  using Getter = KZString& (KDdField::*)();
  struct {
    Getter get;
    const char* method;
  } getters[] = {{&KDdField::GetChoiceTableName, "KDdField::GetChoiceTableName"},
                 {&KDdField::GetChoiceRelName, "KDdField::GetChoiceRelName"},
                 {&KDdField::GetDefaultChoiceListName, "KDdField::GetDefaultChoiceListName"}};
  for (auto& g : getters) expectErr(*thrown([&] { (plain.*g.get)(); }), 0x8B0019F, g.method, "logical");

  // A choice field (as a message brings it) answers its names.
  KHostMsg msg;
  const char* texts[] = {"status", "", "status"};
  for (const char* t : texts) msg.WriteString(t);
  for (long v : {1L, 7L, 7L, 20L, -1L, -1L, 0L, 516L, -1L, 2L}) msg.WriteLong(v);
  msg.WriteString("");
  msg.WriteString("");
  msg.WriteLong(-1);
  msg.WriteLong(-1);
  msg.WriteString("");
  msg.WriteLong(1);
  msg.WriteString("Status Table");
  msg.WriteString("status_rel");
  msg.WriteString("Open");
  KDdField choice(msg, nullptr);
  EXPECT_EQ(choice.IsChoice(), 1);
  EXPECT_STREQ(choice.GetChoiceTableName(), "Status Table");
  EXPECT_STREQ(choice.GetChoiceRelName(), "status_rel");
  EXPECT_STREQ(choice.GetDefaultChoiceListName(), "Open");

  // The default choice comes from the choice table's list of that name.
  struct ChoiceDict : TableDict {
    KDdChoiceTable* table = nullptr;
    long language = 0;
    IDdChoiceTable* FindChoiceTable(long lang, KZString& name, int) override {
      language = lang;
      return name.Compare("Status Table") == 0 ? table : nullptr;
    }
  } choices;
  EXPECT_EQ(choice.GetDefaultChoice(&choices, 1036), nullptr);
  EXPECT_EQ(choices.language, 1036);
  KDdChoiceTable statusTable("Status Table", "");
  KZString open("Open"), reopened("Reopened"), note("");
  statusTable.AddChoice(new KDdChoice(0, 10, open, 1, 0, note, 0));
  statusTable.AddChoice(new KDdChoice(0, 11, reopened, 2, 0, note, 0));
  KZString group("Open"), other("Closed");
  statusTable.AddGroup(other, 0, 1, 0);
  statusTable.AddGroup(group, 0, 2, 1);
  choices.table = &statusTable;
  EXPECT_EQ(choice.GetDefaultChoice(&choices, 1033), static_cast<IDdChoice*>(statusTable.GetChoice(1)));
  EXPECT_EQ(choice.GetDefaultChoice(nullptr, 1033), nullptr);
}

TEST_F(DdFieldTest, UpdateTableFieldKeepsPermanentTypes) {
  KDdTable* t = dict.AddTable("account", 2000);
  KDdField* loaded = new KDdField("amount", "", 2000, 0, 0, -1, -1, 0, 512, -1, 0, "", "", t);
  t->AddField(loaded);
  long sameDb = 0, otherDb = 1, otherCmn = 514;
  expectErr(*thrown([&] {
    loaded->UpdateTableField(&dict, nullptr, nullptr, &sameDb, nullptr, nullptr, nullptr, nullptr, &otherCmn,
                             nullptr, nullptr, nullptr);
  }),
            0x8B001BE, "KDdField::UpdateTableField", "CmnType");
  expectErr(*thrown([&] {
    loaded->UpdateTableField(&dict, nullptr, nullptr, &otherDb, nullptr, nullptr, nullptr, nullptr, &otherCmn,
                             nullptr, nullptr, nullptr);
  }),
            0x8B001BE, "KDdField::UpdateTableField", "DbType");
  // A field made since loading may change both.
  KDdField* fresh = longField(t, "count");
  long db = 3, cmn = 514, size = -1;
  fresh->UpdateTableField(&dict, nullptr, nullptr, &db, &size, nullptr, nullptr, nullptr, &cmn, nullptr, nullptr,
                          nullptr);
  EXPECT_EQ(fresh->GetOrigDBType(), 3);
  EXPECT_EQ(fresh->GetDBType(), 0); // the type in use stays
  EXPECT_EQ(fresh->GetCmnType(), 514);
  EXPECT_TRUE(fresh->IsFlagSet(0x80000));
  // A check failing leaves the field as it was.
  long badSize = 5;
  expectErr(*thrown([&] {
    fresh->UpdateTableField(&dict, nullptr, nullptr, nullptr, &badSize, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
  }),
            0x8B001A9, "KDdTable::CheckFieldArg", "CmnTyp=514, DbTyp=3, ArraySize=5, DecPrecision=-1, DecScale=-1");
  EXPECT_EQ(fresh->GetArraySize(), -1);
  // A view's field is not updated this way.
  KDdTable* v = dict.AddView("v", 2001);
  KDdField* vf = new KDdField("f", "", 2001, 0, 0, -1, -1, 0, 512, -1, 0, "", "", v);
  v->AddField(vf);
  expectErr(*thrown([&] {
    vf->UpdateTableField(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
  }),
            0x8B001BC, "KDdField::UpdateTableField", "Apply UpdateTableField to View");
}

TEST_F(DdFieldTest, UpdateTableFieldRenamesEverywhere) {
  KDdTable* t = dict.AddTable("account", 2000);
  KDdField* f = textField(t, "code");
  longField(t, "site");
  KDdTable* other = dict.AddTable("other", 2002);
  longField(other, "type_f");
  longField(other, "id_f");
  longField(t, "type_f");
  longField(t, "id_f");
  KDdRelation* member = relate(t, "owner", 2, "other", "owned", 1, 0x20000, "type_f", "code", "set1");
  product([&] { return t->CreateIndex(&dict, "ix", 0, "code:site"); });

  KZString newName("ident"), comment("renamed");
  f->UpdateTableField(&dict, &newName, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, &comment);
  EXPECT_EQ(t->FindField(KZString("IDENT")), f);
  EXPECT_EQ(t->FindField(KZString("code")), nullptr);
  EXPECT_STREQ(t->GetIndex(0)->GetFieldNames(), "ident:site");
  EXPECT_STREQ(member->GetPhysRelName(), "ident");
  EXPECT_STREQ(static_cast<KDdRelation*>(member->GetInverse(&dict, 0))->GetPhysRelName(), "ident");
  EXPECT_STREQ(f->GetComment(), "renamed");

  // Without names the column name and the logical name stay.
  KZString logical("Identifier");
  f->UpdateTableField(&dict, nullptr, &logical, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr);
  f->UpdateTableField(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr);
  EXPECT_STREQ(f->GetPhysicalName(), "ident");
  EXPECT_STREQ(f->GetName(), "Identifier");
  EXPECT_EQ(t->FindField(KZString("identifier")), f);
  EXPECT_EQ(t->FindField(KZString("ident")), nullptr);

  // Taking another field's name would lose that field: refused.
  KZString taken("site");
  KZString empty;
  expectErr(*thrown([&] {
    f->UpdateTableField(&dict, &taken, &empty, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr);
  }),
            0x8B001A8, "KDdField::UpdateTableField", "Name=site");
  EXPECT_STREQ(f->GetName(), "Identifier");
}

TEST_F(DdFieldTest, UpdateViewFieldMovesItsOrigin) {
  KDdTable* a = dict.AddTable("a", 2000);
  KDdTable* b = dict.AddTable("b", 2002);
  longField(a, "objid");
  KDdField* bName = textField(b, "name");
  KDdTable* v = dict.AddView("v", 2001);
  auto* vf = static_cast<KDdField*>(product([&] {
    return v->CreateViewField(&dict, "a_id", none, -1, "a", "objid", "x", none);
  }));
  ASSERT_EQ(a->GetViewArray().GetSize(), 1);

  KZString tbl("b"), fld("name"), alias("y");
  KZString badTable("nope"), badField("nope");
  expectErr(*thrown([&] {
    vf->UpdateViewField(&dict, nullptr, nullptr, nullptr, &badTable, nullptr, nullptr, nullptr);
  }),
            0x8B001AC, "KDdField::UpdateViewField", "TableName=nope");
  expectErr(*thrown([&] { vf->UpdateViewField(&dict, nullptr, nullptr, nullptr, &tbl, &badField, nullptr, nullptr); }),
            0x8B001AE, "KDdField::UpdateViewField", "FieldName=nope");
  // Alias x stands for a in another field too: b under x is refused.
  KDdField* twin = static_cast<KDdField*>(product([&] {
    return v->CreateViewField(&dict, "a_twin", none, -1, "a", "objid", "x", none);
  }));
  expectErr(*thrown([&] { vf->UpdateViewField(&dict, nullptr, nullptr, nullptr, &tbl, &fld, nullptr, nullptr); }),
            0x8B001C1, "KDdTable::CheckAlias", "Table=b, Alias=x");
  EXPECT_EQ(vf->GetOriginTableId(), 2000);
  v->DeleteViewField(&dict, twin, 0);

  vf->UpdateViewField(&dict, nullptr, nullptr, nullptr, &tbl, &fld, &alias, nullptr);
  EXPECT_EQ(vf->GetOriginTableId(), 2002);
  EXPECT_EQ(vf->GetOriginFieldId(), bName->GetId());
  EXPECT_STREQ(vf->GetSrcAlias(), "y");
  EXPECT_EQ(a->GetViewArray().GetSize(), 0);
  ASSERT_EQ(b->GetViewArray().GetSize(), 1);
  EXPECT_EQ(long(b->GetViewArray()[0]), 2001);
  EXPECT_EQ(vf->GetOriginField(&dict, 1), bName);

  KZString newName("b_name");
  vf->UpdateViewField(&dict, &newName, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(v->FindField(KZString("B_NAME")), vf);
  EXPECT_EQ(v->FindField(KZString("a_id")), nullptr);

  KDdField* tableField = bName;
  expectErr(*thrown([&] {
    tableField->UpdateViewField(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }),
            0x8B001BC, "KDdField::UpdateViewField", "Apply UpdateViewField to Table");
  // Without a table name the present origin table must still exist.
  dict.Drop(b);
  expectErr(*thrown([&] { vf->UpdateViewField(&dict, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }),
            0x8B001AC, "KDdField::UpdateViewField", "OriginTableId=2002");
}

} // namespace
