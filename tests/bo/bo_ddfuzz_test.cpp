// Damaged table images, from a fixed seed: a message or an archive image of
// a full table with bytes changed, cut short or inserted either loads into a
// table that can be walked or fails with a KErr; nothing faults or leaks
// (the sanitizers watch) and the table destroys cleanly either way.
#include <random>

#include "bo_ddtest.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

constexpr unsigned kSeed = 20261211;
constexpr int kRounds = 400;

void fillTable(KDdTable& t) {
  t.AddField(new KDdField("objid", "", 7, 0, -1, -1, -1, 0, 512, -1, 0, "", "c1", &t));
  t.AddField(new KDdField("name", "Label", 7, 7, 30, -1, -1, 0x108, 516, 4, 1, "x", "c2", &t));
  t.AddField(new KDdField("owner", "", 7, 0, -1, -1, -1, 0x4000, -1, -1, 2, "-3", "", &t));
  t.AddBinaryField(new KDdField("photo", "", 7, 10, -1, -1, -1, 0x20, 516, -1, 3, "", "", &t));
  t.AddRelation(new KDdRelation("owner", "", 2, 1, -1, 0x20000, "other", "owned", "", "", "", &t, ""), 0);
  t.AddRelation(new KDdRelation("kids", "Children", 1, 2, 5, 0x20001, "other", "up", "f", "r", "n", &t, "S"), 0);
  t.AddIndex(new KDdIndex(&t, "ix", 1, 2, "name:owner"));
  t.DefineJoin(new KDdJoin(7, 1, "p", "f", 1, "jc", &t));
  t.GetDependentViewIds().Add(30);
  t.AddViewArray(40);
}

// Walks every record: each points back to the table, and each field of
// the array is found by its name and id.
void walk(KDdTable& t) {
  for (int i = 0; i < t.GetFieldCount(); ++i) {
    auto* f = static_cast<KDdField*>(t.GetField(i));
    EXPECT_EQ(f->GetOwner(), &t);
    EXPECT_NE(t.FindField(f->GetName()), nullptr);
    EXPECT_NE(t.FindField(f->GetId()), nullptr);
  }
  for (int i = 0; i < t.GetBinaryFieldCount(); ++i) EXPECT_EQ(t.GetBinaryField(i)->GetTable(), &t);
  for (int i = 0; i < t.GetRelationCount(); ++i) EXPECT_EQ(t.GetRelation(i)->GetFromTable(), &t);
  for (int i = 0; i < t.GetIndexCount(); ++i) EXPECT_EQ(t.GetIndex(i)->GetTable(), &t);
  for (int i = 0; i < t.GetJoinCount(); ++i) EXPECT_EQ(t.GetJoin(i)->GetView(), &t);
  EXPECT_EQ(t.GetField(t.GetFieldCount()), nullptr);
}

std::vector<uint8_t> damage(std::vector<uint8_t> bytes, std::mt19937& rng) {
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<size_t> pos(0, bytes.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  int changes = 1 + int(rng() % 4);
  for (int c = 0; c < changes && !bytes.empty(); ++c) {
    switch (kind(rng)) {
      case 0: bytes[pos(rng) % bytes.size()] = uint8_t(byte(rng)); break;
      case 1: bytes.resize(pos(rng) % bytes.size()); break;
      case 2: bytes.insert(bytes.begin() + long(pos(rng) % bytes.size()), uint8_t(byte(rng))); break;
      default: bytes[pos(rng) % bytes.size()] ^= uint8_t(1u << (rng() % 8)); break;
    }
  }
  return bytes;
}

// Loads with load; a KErr counts as a refusal.
template <class F>
bool loads(F load) {
  try {
    load();
    return true;
  } catch (KErr* e) {
    EXPECT_NE(e->GetErrorNum(), 0);
    delete e;
    return false;
  }
}

TEST(DdFuzz, DamagedMessagesLoadOrFailWithAKErr) {
  KDdTable full("acct", "note", "Sales", 7, 0x42);
  fillTable(full);
  std::vector<uint8_t> image = written(full).Bytes();
  std::mt19937 rng(kSeed);
  int loaded = 0, refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    KHostMsg msg(damage(image, rng));
    KDdTable table;
    if (loads([&] { table.Read(msg); })) {
      walk(table);
      ++loaded;
    } else {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(loaded, 0);
}

TEST(DdFuzz, DamagedArchiveImagesLoadOrFailWithAKErr) {
  KDdTable full("acct", "note", "Sales", 7, 0x42);
  fillTable(full);
  std::string text = archiveImage(full);
  std::vector<uint8_t> image(text.begin(), text.end());
  std::mt19937 rng(kSeed + 1);
  int loaded = 0, refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<uint8_t> bytes = damage(image, rng);
    KDdTable table;
    if (loads([&] { loadArchive(std::string(bytes.begin(), bytes.end()), table); })) {
      walk(table);
      ++loaded;
    } else {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(loaded, 0);
}

} // namespace
