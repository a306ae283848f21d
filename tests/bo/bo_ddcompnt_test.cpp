// The table component through a real dictionary: table ids by mode,
// creating and deleting tables and views with their cascades, the cache
// body, and renaming or re-numbering tables and views.
#include <filesystem>

#include "bo/bo_ddutil.h"
#include "bo_dict_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

class TableCompntTest : public DictTest {
 protected:
  const KZString none;
  KDdDataDictCompnt& tables() { return *client->GetDataDictCompnt(); }
  KDdTable* create(const char* name, int id) {
    return dd_table_of(client->CreateTable(name, id, "grp", "comment"));
  }
  KDdTable* createView(const char* name, int id) { return dd_table_of(client->CreateView(name, id, "grp", "")); }
  IDdField* field(KDdTable* t, const char* name) {
    return t->CreateTableField(client.get(), name, none, 0, 0, -1, -1, 0, 512, -1, none, none);
  }
  // Tables a (2000) and b (2002) related by children/parent, and view v
  // (2001) showing a's name as nm through that relation.
  struct related_view {
    KDdTable* a;
    KDdTable* b;
    KDdTable* v;
  };
  related_view relatedView() {
    related_view r{create("a", 2000), create("b", 2002), nullptr};
    field(r.a, "objid");
    field(r.a, "name");
    field(r.b, "objid");
    r.a->CreateRelation(client.get(), "children", none, 1, -1, 0, 0x20000, "b", "parent", none, none, none, none);
    r.v = createView("v", 2001);
    r.v->CreateViewField(client.get(), "nm", none, -1, "a", "name", "", none);
    r.v->CreateJoin(client.get(), "a", "children", "", "", 0, none);
    return r;
  }
};

TEST_F(TableCompntTest, TableIdsByMode) {
  struct Case {
    long mode;
    long id;
    bool allowed;
  } cases[] = {{0, 429, false},  {0, 430, true},  {0, 511, true},  {0, 512, false}, {0, 1999, false},
               {0, 2000, true},  {0, 4999, true}, {0, 5000, false}, {0, -1, false},  {1, 0, true},
               {1, 9999, true},  {1, 10000, false}, {1, -1, false}, {1, 429, true}};
  for (const Case& c : cases) {
    loop.m_lModeType = c.mode;
    auto e = kctest::catchKErr([&] { client->CheckTableId(c.id); });
    EXPECT_EQ(!e.thrown, c.allowed) << c.mode << " " << c.id;
    if (e.thrown) {
      std::string insert = (c.mode ? "Orbn Mode, ID=" : "User Mode, ID=") + std::to_string(c.id);
      EXPECT_EQ(e.id, 0x8B001A3);
      EXPECT_EQ(e.method, "KDdDataDictCompnt::CheckTableId");
      ASSERT_FALSE(e.params.empty());
      EXPECT_EQ(e.params[0], insert);
    }
  }
}

TEST_F(TableCompntTest, CreateChecksIdNameAndDuplicates) {
  KDdTable* acct = create("Acct", 2000);
  ASSERT_NE(acct, nullptr);
  EXPECT_TRUE(acct->IsFlagSet(0x42 | 0x10000));
  EXPECT_FALSE(acct->IsView());
  EXPECT_STREQ(acct->GetComment(), "comment");
  KDdTable* view = createView("AcctView", 2001);
  EXPECT_TRUE(view->IsView());
  EXPECT_TRUE(view->IsFlagSet(0x240 | 0x10000));
  expectErr(*thrown([&] { create("", 2002); }), 0x8B001A4, "KDdDataDictCompnt::CreateTable", nullptr);
  expectErr(*thrown([&] { create("ACCT", 2002); }), 0x8B001A5, "KDdDataDictCompnt::CreateTable", "NAME=ACCT");
  expectErr(*thrown([&] { create("Other", 2000); }), 0x8B001A6, "KDdDataDictCompnt::CreateTable", "ID=2000");
  // A name the server knows is a duplicate too (the look-up fetches).
  PutTable(*server, 2003, "remote");
  expectErr(*thrown([&] { create("Remote", 2004); }), 0x8B001A5, "KDdDataDictCompnt::CreateTable", "NAME=Remote");
  EXPECT_EQ(client->GetTableCount(), 3);
  // A second table of a stored id is deleted; the first stays.
  tables().AddTable(new KDdTable("dup", "", "", 2000, 0));
  EXPECT_EQ(client->FindTable(2000, 1), acct);
  EXPECT_EQ(client->FindTable(KZString("dup"), 1), nullptr);
  expectErr(*thrown([&] { client->GetTable(0, 0); }), 0x8B000C9, "KDdDataDictCompnt::GetTable", nullptr);
  EXPECT_EQ(client->GetTable(3, 1), nullptr);
  EXPECT_EQ(client->GetTable(-1, 1), nullptr);
}

TEST_F(TableCompntTest, DeleteTableTakesItsRecordsAndTheInverses) {
  KDdTable* a = create("a", 2000);
  KDdTable* b = create("b", 2002);
  field(a, "objid");
  field(b, "objid");
  a->CreateRelation(client.get(), "children", none, 1, -1, 0, 0x20000, "b", "parent", none, none, none, none);
  a->CreateIndex(client.get(), "ix", 0, "objid");
  ASSERT_NE(b->FindRelation(client.get(), KZString("parent")), nullptr);
  KDdTable* v = createView("v", 2001);
  expectErr(*thrown([&] { client->DeleteTable(v); }), 0x8B001BC, "KDdDataDictCompnt::DeleteTable",
            "Apply DeleteTable to View");
  expectErr(*thrown([&] { client->DeleteView(a); }), 0x8B001BC, "KDdDataDictCompnt::DeleteView",
            "Apply DeleteView to Table");
  KDdTable stray("stray", "", "", 2010, 0);
  expectErr(*thrown([&] { client->DeleteTable(&stray); }), 0x8B001BD, "KDdDataDictCompnt::DeleteTable",
            "Can not find table pointer");
  loop.m_lModeType = 0;
  KDdTable* product = new KDdTable("prod", "", "", 100, 0);
  tables().AddTable(product);
  expectErr(*thrown([&] { client->DeleteTable(product); }), 0x8B001A3, "KDdDataDictCompnt::DeleteTable",
            "User Mode, ID=100");
  tables().SetModified(0);
  client->DeleteTable(a);
  EXPECT_EQ(client->FindTable(2000, 1), nullptr);
  EXPECT_EQ(client->FindTable(KZString("a"), 1), nullptr);
  EXPECT_EQ(b->FindRelation(client.get(), KZString("parent")), nullptr) << "the inverse went with it";
  EXPECT_EQ(tables().IsModified(), 1) << "a saved cache must not bring the table back";
  client->DeleteView(v);
  EXPECT_EQ(client->GetTableCount(), 2);
}

TEST_F(TableCompntTest, ANameEntryIsDroppedOnlyWhenItMapsToTheDeletedTable) {
  KDdTable* first = create("same", 2000);
  tables().AddTable(new KDdTable("SAME", "", "", 2002, 0x10000));
  KDdTable* second = dd_table_of(client->FindTable(KZString("same"), 1));
  ASSERT_NE(second, first);
  client->DeleteTable(first);
  EXPECT_EQ(client->FindTable(KZString("same"), 1), second);
}

TEST_F(TableCompntTest, CacheBodyTotals) {
  // The server's component: its manager writes the fixture's headers.
  KDdDataDictCompnt& held = *server->GetDataDictCompnt();
  auto body = [](uint32_t total, uint32_t count) { return Word(total) + Word(count); };
  // A total of 0 is another database's file: a mismatch, and the file goes.
  EXPECT_EQ(LoadBody(held, body(0, 0)), 1);
  EXPECT_FALSE(std::filesystem::exists(CacheFile("DataDict")));
  EXPECT_EQ(LoadBody(held, body(1, 0)), 1);
  EXPECT_TRUE(std::filesystem::exists(CacheFile("DataDict")));
  EXPECT_EQ(server->GetTableCount(), 0);
  dd_table_of(server->CreateTable("a", 2000, "", ""));
  KDdTable* kept = dd_table_of(server->CreateTable("b", 2002, "", ""));
  kept->CreateTableField(server.get(), "f", none, 0, 0, -1, -1, 0, 512, -1, none, none);
  std::string stored = StoredBody(held);
  EXPECT_EQ(stored.substr(0, 8), body(2, 2));
  held.DeleteContents();
  EXPECT_EQ(LoadBody(held, stored), 1);
  ASSERT_NE(server->FindTable(KZString("b"), 1), nullptr);
  EXPECT_NE(server->FindTable(KZString("b"), 1)->FindField(KZString("f")), nullptr);
}

TEST_F(TableCompntTest, UpdateTableRenamesAndRenumbersEverywhere) {
  auto [a, b, v] = relatedView();
  KZString newName("acct");
  long newId = 2010;
  a->UpdateTable(client.get(), &newName, &newId, nullptr, nullptr);
  EXPECT_EQ(client->FindTable(KZString("ACCT"), 1), a);
  EXPECT_EQ(client->FindTable(2010, 1), a);
  EXPECT_EQ(client->FindTable(KZString("a"), 1), nullptr);
  EXPECT_EQ(client->FindTable(2000, 1), nullptr);
  EXPECT_EQ(a->FindField(KZString("name"))->GetTableId(), 2010) << "fields take the new id";
  auto* inverse = dynamic_cast<KDdRelation*>(b->FindRelation(client.get(), KZString("parent")));
  ASSERT_NE(inverse, nullptr);
  EXPECT_STREQ(inverse->GetInverseTableName(), "acct");
  EXPECT_EQ(v->FindField(KZString("nm"))->GetOriginTableId(), 2010);
  EXPECT_EQ(dynamic_cast<KDdJoin*>(v->GetJoin(0))->GetTableId(), 2010);
  // Its own name in another case is no duplicate; another table's name is.
  KZString upper("ACCT");
  a->UpdateTable(client.get(), &upper, nullptr, nullptr, nullptr);
  EXPECT_STREQ(a->GetName(), "ACCT");
  KZString taken("B");
  expectErr(*thrown([&] { a->UpdateTable(client.get(), &taken, nullptr, nullptr, nullptr); }), 0x8B001A5,
            "KDdTable::UpdateCommonInfo", "NAME=B");
  long takenId = 2002;
  expectErr(*thrown([&] { a->UpdateTable(client.get(), nullptr, &takenId, nullptr, nullptr); }), 0x8B001A6,
            "KDdTable::UpdateCommonInfo", "ID=2002");
  long outside = 10000;
  expectErr(*thrown([&] { a->UpdateTable(client.get(), nullptr, &outside, nullptr, nullptr); }), 0x8B001A3,
            "KDdDataDictCompnt::CheckTableId", "Orbn Mode, ID=10000");
  EXPECT_EQ(a->GetId(), 2010);
  KDdTable* loaded = new KDdTable("old", "", "", 2020, 0);
  tables().AddTable(loaded);
  long other = 2021;
  expectErr(*thrown([&] { loaded->UpdateTable(client.get(), nullptr, &other, nullptr, nullptr); }), 0x8B001BE,
            "KDdTable::UpdateCommonInfo", "Table ID");
}

TEST_F(TableCompntTest, UpdateViewMovesTheViewIdInItsTables) {
  auto [a, b, v] = relatedView();
  auto holds = [](KDdTable* t, long id) {
    for (int i = 0; i < t->GetViewArray().GetSize(); ++i)
      if (long(t->GetViewArray()[i]) == id) return true;
    return false;
  };
  ASSERT_TRUE(holds(a, 2001));
  long newId = 2005;
  KZString group("views");
  v->UpdateView(client.get(), nullptr, &newId, &group, nullptr);
  EXPECT_EQ(client->FindTable(2005, 1), v);
  EXPECT_STREQ(v->GetObjGroup(), "views");
  EXPECT_TRUE(holds(a, 2005));
  EXPECT_FALSE(holds(a, 2001));
  EXPECT_TRUE(holds(b, 2005));
  EXPECT_FALSE(holds(b, 2001));
}

} // namespace
