// Hash maps: table on first insertion, bucket order of iteration, release
// when emptied, string keys, the KMap template and the typed pointer maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kc_testloc.h"
#include "kclassic/kc_map.h"

using namespace KCLASSIC;
using kctest::bytes;

namespace {

class Maps : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

template <class Map, class K, class V>
std::vector<std::pair<K, V>> walk(const Map& m) {
  std::vector<std::pair<K, V>> out;
  KPOSITION pos = m.GetStartPosition();
  while (pos) {
    K k{};
    V v{};
    m.GetNextAssoc(pos, k, v);
    out.push_back({k, v});
  }
  return out;
}

void* P(uintptr_t v) { return reinterpret_cast<void*>(v); }

// Counts its destructions.
struct Tracked {
  int* deaths;
  ~Tracked() { ++*deaths; }
};

} // namespace

TEST_F(Maps, TableOnFirstInsertAndReleaseWhenEmptied) {
  KMapPtrToPtr m;
  void* v = P(1);
  EXPECT_EQ(m.Lookup(P(0x10), v), 0);
  EXPECT_FALSE(m.HasHashTable());
  EXPECT_EQ(m.GetValueAt(P(0x10)), nullptr);
  EXPECT_EQ(m.GetStartPosition(), nullptr);
  m[P(0x10)] = P(100);
  EXPECT_TRUE(m.HasHashTable());
  EXPECT_EQ(m.GetHashTableSize(), 17u);
  EXPECT_EQ(m.GetValueAt(P(0x10)), P(100));
  EXPECT_EQ(m.Lookup(P(0x10), v), 1);
  EXPECT_EQ(v, P(100));
  EXPECT_EQ(m.RemoveKey(P(0x20)), 0);
  EXPECT_EQ(m.RemoveKey(P(0x10)), 1);
  EXPECT_EQ(m.GetCount(), 0);
  EXPECT_FALSE(m.HasHashTable()); // the last key took the table and blocks with it
  m.SetAt(P(0x30), P(3));
  EXPECT_TRUE(m.HasHashTable());
  EXPECT_EQ(m.GetCount(), 1);
}

TEST_F(Maps, IterationRunsByBucketNewestFirst) {
  KMapPtrToPtr m;
  // 0x10 -> bucket 1, 0x120 -> 18 mod 17 = bucket 1, 0x20 -> bucket 2, 0 -> bucket 0.
  m[P(0x10)] = P(1);
  m[P(0x20)] = P(2);
  m[P(0x120)] = P(3);
  m[P(0)] = P(4);
  auto got = walk<KMapPtrToPtr, void*, void*>(m);
  std::vector<std::pair<void*, void*>> want = {{P(0), P(4)}, {P(0x120), P(3)}, {P(0x10), P(1)}, {P(0x20), P(2)}};
  EXPECT_EQ(got, want);
  m.RemoveKey(P(0x120));
  got = walk<KMapPtrToPtr, void*, void*>(m);
  EXPECT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1].first, P(0x10));
}

TEST_F(Maps, InitHashTableAndBlockReuse) {
  KMapWordToPtr m(2);
  m.InitHashTable(5, 0);
  EXPECT_FALSE(m.HasHashTable());
  for (uint16_t k = 0; k < 100; k += 16) m[k] = P(k + 1);
  EXPECT_EQ(m.GetHashTableSize(), 5u);
  EXPECT_EQ(m.GetCount(), 7);
  auto got = walk<KMapWordToPtr, uint16_t, void*>(m);
  ASSERT_EQ(got.size(), 7u);
  // Buckets (k >> 4) % 5 in ascending order.
  for (size_t i = 1; i < got.size(); ++i)
    EXPECT_LE((got[i - 1].first >> 4) % 5, (got[i].first >> 4) % 5);
  // A new table size on a map with keys keeps them all.
  m.InitHashTable(3);
  EXPECT_EQ(m.GetCount(), 7);
  got = walk<KMapWordToPtr, uint16_t, void*>(m);
  ASSERT_EQ(got.size(), 7u);
  for (const auto& kv : got) EXPECT_EQ(kv.second, P(kv.first + 1));
  m.RemoveAll();
  EXPECT_EQ(m.GetCount(), 0);
  EXPECT_FALSE(m.HasHashTable());
  m[7] = P(7);
  EXPECT_EQ(m.GetCount(), 1);
}

TEST_F(Maps, StringKeys) {
  KMapStringToPtr m;
  m["alpha"] = P(1);
  m["beta"] = P(2);
  m[bytes({0xE9}).c_str()] = P(3);
  void* v = nullptr;
  EXPECT_EQ(m.Lookup("beta", v), 1);
  EXPECT_EQ(v, P(2));
  EXPECT_EQ(m.Lookup("BETA", v), 0); // compared exactly
  const char* stored = nullptr;
  EXPECT_EQ(m.LookupKey("alpha", stored), 1);
  EXPECT_STREQ(stored, "alpha");
  EXPECT_EQ(m.LookupKey("nope", stored), 0);
  EXPECT_EQ(KMapStringToPtr::HashKey(bytes({0xE9}).c_str()), static_cast<unsigned>(-23));
  auto got = walk<KMapStringToPtr, KZString, void*>(m);
  ASSERT_EQ(got.size(), 3u);
  for (size_t i = 1; i < got.size(); ++i)
    EXPECT_LE(KHashKey(got[i - 1].first) % 17, KHashKey(got[i].first) % 17);

  KMapStringToString s;
  s["a"] = "b";
  s.SetAt("c", "d");
  s["a"] = "e";
  KZString value;
  EXPECT_EQ(s.Lookup("a", value), 1);
  EXPECT_STREQ(value, "e");
  EXPECT_EQ(s.GetCount(), 2);
  EXPECT_EQ(s.RemoveKey("a"), 1);
  EXPECT_EQ(s.RemoveKey("c"), 1);
  EXPECT_FALSE(s.HasHashTable());
  KObject* made = KRUNTIME_CLASS(KMapStringToString)->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(KRUNTIME_CLASS(KMapStringToString)));
  delete made;
}

TEST_F(Maps, TemplateWithNumberAndStringKeys) {
  KMap<unsigned long, unsigned long, int*, int&> byId(10);
  int x = 5;
  byId[42] = &x;
  int* got = nullptr;
  EXPECT_EQ(byId.Lookup(42, got), 1);
  EXPECT_EQ(got, &x);
  EXPECT_EQ(byId.Lookup(43, got), 0);

  KMap<KZString, const char*, long, long> counts;
  counts["x"] += 2;
  counts["x"] += 3;
  long n = 0;
  EXPECT_EQ(counts.Lookup("x", n), 1);
  EXPECT_EQ(n, 5);
  KMap<long, long, long, long> longs;
  longs.SetAt(-1, 9);
  EXPECT_EQ(longs[-1], 9);
}

TEST_F(Maps, TypedPointerMaps) {
  int deaths = 0;
  {
    KAutoDeleteTypedPtrMap<KMapStringToPtr, KZString, Tracked*> owned(10);
    owned.SetAt("a", new Tracked{&deaths});
    owned["b"] = new Tracked{&deaths};
    Tracked* t = nullptr;
    EXPECT_EQ(owned.Lookup("a", t), 1);
    EXPECT_EQ(t->deaths, &deaths);
    KPOSITION pos = owned.GetStartPosition();
    int seen = 0;
    while (pos) {
      KZString k;
      Tracked* v = nullptr;
      owned.GetNextAssoc(pos, k, v);
      EXPECT_NE(v, nullptr);
      ++seen;
    }
    EXPECT_EQ(seen, 2);
  }
  EXPECT_EQ(deaths, 2); // the values went with the map

  KTypedPtrMap<KMapPtrToPtr, void*, Tracked*> plain;
  Tracked kept{&deaths};
  plain[&kept] = &kept;
  EXPECT_EQ(plain.RemoveKey(&kept), 1);
  EXPECT_EQ(deaths, 2); // not owned
}
