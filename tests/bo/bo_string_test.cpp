// Localised strings: records and collections in both forms, look-ups by id
// and key with the language rules, the defaulting a fetch sends, adding,
// whole-subsystem answers and the cache body.
#include <random>
#include <thread>

#include "bo_choice_fixture.h"
#include "bo_dict_fixture.h"
#include "bohost_msg.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

class StringTest : public DictTest {
 protected:
  KDdStringCompnt& strings() { return *client->GetStringCompnt(); }
  KDdString* add(long subsys, long index, const char* text, const char* key, long lang) {
    return strings().AddString(new KDdString(DbId(subsys, index), text, key), lang);
  }
  // The language defaulting of the last request the client sent.
  long LastDefaulting() {
    KHostMsg wire(loop.requests.back());
    KZString name;
    long value = 0;
    wire.ReadString(name);
    wire.ReadLong(value);
    wire.ReadLong(value);
    return value;
  }
};

TEST_F(StringTest, RecordsAndCollectionsInBothForms) {
  KDdString s(DbId(5, 1), "Text", "Key");
  KHostMsg msg;
  s.Write(msg);
  KDdString read(msg);
  EXPECT_TRUE(read == s);
  EXPECT_STREQ(read.GetStringId(), "Key");
  EXPECT_FALSE(KDdString(s.GetId(), "text", "Key") == s) << "texts compare with case";
  KDdStringCollections coll(5);
  coll.SetAt(0, new KDdString(1, "a", ""));
  coll.SetAt(2, new KDdString(3, "c", "k"));
  KDdStringCollections copy;
  copy = coll;
  EXPECT_EQ(copy.GetSize(), 3);
  EXPECT_EQ(copy.GetAt(1), nullptr);
  EXPECT_FALSE(copy == coll) << "equality is identity of the records";
  EXPECT_TRUE(coll == coll);
  KHostMsg wire;
  coll.Write(wire);
  KDdStringCollections back(wire);
  EXPECT_EQ(back.GetSubsystem(), 5);
  EXPECT_EQ(back.GetSize(), 2) << "empty positions are passed over";
  EXPECT_STREQ(*back.GetAt(1)->GetString(), "c");
  std::string image = StoreArchive([&](KArchive& ar) { coll.Serialize(ar); });
  KDdStringCollections loaded;
  LoadArchive(image, [&](KArchive& ar) { loaded.Serialize(ar); });
  EXPECT_EQ(loaded.GetSize(), 2);
  EXPECT_EQ(image.substr(0, 8), Word(5) + Word(2));
}

TEST_F(StringTest, LanguagesKeysAndDuplicates) {
  KDdString* colour = add(5, 1, "colour", "Colour", 1033);
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(strings().FindStringByLang(nullptr, CrmId(5, 1), 2057, BO_DD_PRIMARY_LANG), colour);
  EXPECT_EQ(strings().FindStringByLang(nullptr, CrmId(5, 1), 2057, BO_DD_LOCAL_ONLY), nullptr);
  EXPECT_EQ(strings().FindStringByLang(nullptr, KZString("COLOUR"), 1033, BO_DD_LOCAL_ONLY), colour);
  KDdString* keyless = add(5, 2, "plain", "", 1033);
  EXPECT_EQ(strings().FindStringByLang(nullptr, CrmId(5, 2), 1033, BO_DD_LOCAL_ONLY), keyless);
  EXPECT_EQ(strings().FindStringByLang(nullptr, KZString(""), 1033, BO_DD_LOCAL_ONLY), nullptr);
  EXPECT_EQ(add(5, 1, "second", "x", 1033), nullptr) << "the second record of an id is dropped";
  EXPECT_STREQ(*strings().FindStringByLang(nullptr, CrmId(5, 1), 1033, 1)->GetString(), "colour");
  EXPECT_NE(add(5, 1, "Farbe", "", 1031), nullptr) << "another language is another record";
  loop.log.clear();
  kctest::expectErr(*kctest::thrown([&] { strings().AddString(new KDdString(-5, "bad", "k"), 1033); }), 0x8B001A2,
                    "KDdStringCompnt::AddString", nullptr);
  ASSERT_EQ(loop.log.size(), 1u);
  EXPECT_EQ(loop.log[0].first, "zezoz");
  EXPECT_EQ(loop.log[0].second, "Failed to load string with ID=-5, StringID=k, Value=bad");
}

TEST_F(StringTest, AFetchSendsTheDefaultingItMayUse) {
  // Same primary language held: 0; only the default language: 1; neither: 2;
  // in the default language itself: always 2.
  add(5, 1, "colour", "", 3081);
  strings().FindStringByLang(client.get(), CrmId(5, 1), 2057, 0);
  EXPECT_EQ(LastDefaulting(), 0);
  add(5, 2, "default", "", 1033);
  EXPECT_STREQ(*strings().FindStringByLang(client.get(), CrmId(5, 2), 2057, 0)->GetString(), "default");
  EXPECT_EQ(LastDefaulting(), 1);
  EXPECT_EQ(strings().FindStringByLang(client.get(), CrmId(5, 3), 2057, 0), nullptr);
  EXPECT_EQ(LastDefaulting(), 2);
  EXPECT_EQ(strings().FindStringByLang(client.get(), CrmId(5, 3), 1033, 0), nullptr);
  EXPECT_EQ(LastDefaulting(), 2);
  int fetches = loop.fetches;
  strings().FindStringByLang(client.get(), CrmId(5, 3), 1033, BO_DD_PRIMARY_LANG);
  EXPECT_EQ(loop.fetches, fetches) << "flag 2 never fetches";
}

TEST_F(StringTest, WholeSubsystemsByDefaulting) {
  KDdStringCompnt& held = *server->GetStringCompnt();
  held.AddString(new KDdString(DbId(5, 1), "us", ""), 1033);
  held.AddString(new KDdString(DbId(5, 2), "us2", ""), 1033);
  held.AddString(new KDdString(DbId(6, 1), "other", ""), 1033);
  KMapWordToPtr subsystems;
  subsystems.SetAt(5, nullptr);
  struct Case {
    eLangDefaulting defaulting;
    long lang;
    long answered;
    int count;
  } cases[] = {{eLangOnly, 1031, 1031, 0}, {eLangDefault, 1031, 1031, 0}, {eLangDefaultAlways, 1031, 1033, 2},
               {eLangDefault, 2057, 1033, 2}, {eLangOnly, 1033, 1033, 2}};
  for (const Case& c : cases) {
    KDdBulkRequestData answer;
    answer.m_lStringLang = int32_t(c.lang);
    held.LoadStrings(subsystems, &answer, c.defaulting);
    EXPECT_EQ(answer.m_lStringLang, c.answered) << c.defaulting << " " << c.lang;
    EXPECT_EQ(answer.m_mapStrings.GetCount(), c.count) << c.defaulting << " " << c.lang;
  }
}

TEST_F(StringTest, AKeyFoundOnlyInTheDefaultLanguageAddsItsSubsystemWhenDefaultingAllows) {
  server->GetStringCompnt()->AddString(new KDdString(DbId(5, 1), "us", "Greet"), 1033);
  for (eLangDefaulting d : {eLangOnly, eLangDefault, eLangDefaultAlways}) {
    KDdBulkRequest r(server.get());
    r.SetLanguage(1031);
    r.SetLangDefaulting(d);
    r.m_arrStringKeys.Add(KZString("greet"));
    KDdBulkRequestData answer;
    server->GetMetaData(&r, &answer);
    // Defaulting 1 adds the subsystem, but only 2 may serve the default language.
    EXPECT_EQ(answer.m_mapStrings.GetCount(), d == eLangDefaultAlways ? 1 : 0) << d;
  }
}

TEST_F(StringTest, CacheBodyRoundTripAndDamage) {
  KDdStringCompnt& held = *server->GetStringCompnt();
  held.AddString(new KDdString(DbId(5, 1), "us", "Greet"), 1033);
  held.AddString(new KDdString(DbId(5, 2), "de", ""), 1031);
  std::string body = StoredBody(held);
  held.DeleteContents();
  ASSERT_EQ(LoadBody(held, body), 1);
  EXPECT_EQ(held.IsModified(), 0);
  EXPECT_NE(held.FindStringByLang(nullptr, KZString("greet"), 1033, 1), nullptr);
  EXPECT_NE(held.FindStringByLang(nullptr, CrmId(5, 2), 1031, 1), nullptr);
  std::mt19937 rng(51);
  for (int round = 0; round < 300; ++round) {
    held.DeleteContents();
    LoadBody(held, Damage(body, rng));
  }
  std::mt19937 msgRng(52);
  KDdStringCollections coll(5);
  coll.SetAt(0, new KDdString(DbId(5, 0), "a", "b"));
  coll.SetAt(1, new KDdString(DbId(5, 1), "c", "d"));
  KHostMsg wire;
  coll.Write(wire);
  int failures = 0;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = Damage(std::string(wire.Bytes().begin(), wire.Bytes().end()), msgRng);
    KHostMsg damaged(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    try {
      KDdStringCollections read(damaged);
    } catch (KErr* e) {
      ++failures;
      delete e;
    }
  }
  EXPECT_GT(failures, 0);
}

TEST_F(StringTest, TwoThreadsAddingOneStringEnterItOnce) {
  for (int round = 0; round < 20; ++round) {
    KDdString* results[2] = {};
    std::thread t1([&] { results[0] = strings().AddString(new KDdString(DbId(7, round), "x", ""), 1033); });
    std::thread t2([&] { results[1] = strings().AddString(new KDdString(DbId(7, round), "y", ""), 1033); });
    t1.join();
    t2.join();
    EXPECT_EQ((results[0] != nullptr) + (results[1] != nullptr), 1) << round;
  }
}

} // namespace
