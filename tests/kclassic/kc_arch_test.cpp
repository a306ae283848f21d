// The archive byte stream: golden bytes of numbers, counts, strings, class
// tags and back references and the container layouts; object round trips;
// buffering; end of file and the bad-stream errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_list.h"
#include "kclassic/kc_map.h"

using namespace KCLASSIC;
using kctest::bytes;
using kctest::catchKErr;

// A serialisable class of the tests, schema 2.
class KcPoint : public KObject {
  KDECLARE_DYNCREATE(KcPoint)
 public:
  int x = 0, y = 0;
  void Serialize(KArchive& ar) override {
    if (ar.IsStoring()) ar << x << y;
    else ar >> x >> y;
  }
};
KObject* KcPoint::CreateObject() { return new KcPoint; }
KIMPLEMENT_RUNTIMECLASS(KcPoint, KObject, 2, &KcPoint::CreateObject)

// The same shape, marked versionable: other stored schemas are read.
class KcVersioned : public KcPoint {
  KDECLARE_DYNCREATE(KcVersioned)
 public:
  unsigned schemaSeen = 0; // the schema a loaded object was written with
  void Serialize(KArchive& ar) override {
    if (ar.IsLoading()) schemaSeen = ar.GetObjectSchema();
    KcPoint::Serialize(ar);
  }
};
KObject* KcVersioned::CreateObject() { return new KcVersioned; }
KIMPLEMENT_RUNTIMECLASS(KcVersioned, KcPoint, 3 | KVERSIONABLE_SCHEMA, &KcVersioned::CreateObject)

namespace {

class Archives : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
  kctest::TempDir dir;

  // The bytes that fill() writes through a storing archive.
  template <class F>
  std::string store(F fill, int bufferSize = 4096) {
    KFile f(dir.file("a").c_str(), 0x1011);
    {
      KArchive ar(&f, KArchive::store, bufferSize);
      fill(ar);
    } // the destructor flushes
    f.Close();
    return dir.read("a");
  }

  // Runs read on a loading archive over content.
  template <class F>
  void load(const std::string& content, F read, int bufferSize = 4096) {
    dir.write("a", content);
    KFile f(dir.file("a").c_str(), 0);
    KArchive ar(&f, KArchive::load, bufferSize);
    read(ar);
  }
};

std::string withName(const std::string& head, const std::string& tail) { return head + tail; }

} // namespace

TEST_F(Archives, NumbersAreBigEndianAndPacked) {
  std::string s = store([](KArchive& ar) {
    ar << char('A') << short(-2) << (unsigned short)0x1234 << int(0x01020304) << long(-1) << 0xFFFFFFFFul
       << 1.5f << 1.5;
  });
  EXPECT_EQ(s, bytes({'A', 0xFF, 0xFE, 0x12, 0x34, 1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                      0x3F, 0xC0, 0, 0, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
  load(s, [](KArchive& ar) {
    char c;
    short sh;
    unsigned short us;
    int i;
    long l;
    unsigned long ul;
    float f;
    double d;
    ar >> c >> sh >> us >> i >> l >> ul >> f >> d;
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(sh, -2);
    EXPECT_EQ(us, 0x1234);
    EXPECT_EQ(i, 0x01020304);
    EXPECT_EQ(l, -1);
    EXPECT_EQ(ul, 0xFFFFFFFFul);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 1.5);
  });
  // A long that needs more than 4 bytes is refused, not cut.
  std::string none = store([](KArchive& ar) {
    EXPECT_EQ(catchKErr([&] { ar << long(1) << long(0x100000000); }).id, 0x8B000C9);
    EXPECT_EQ(catchKErr([&] { ar << 0x100000000ul; }).id, 0x8B000C9);
  });
  EXPECT_EQ(none, bytes({0, 0, 0, 1}));
}

TEST_F(Archives, CountsAndStrings) {
  struct Case {
    unsigned long count;
    std::string golden;
  } counts[] = {{0, bytes({0, 0})},
                {65534, bytes({0xFF, 0xFE})},
                {65535, bytes({0xFF, 0xFF, 0, 0, 0xFF, 0xFF})},
                {70000, bytes({0xFF, 0xFF, 0, 1, 0x11, 0x70})}};
  for (const auto& c : counts) {
    EXPECT_EQ(store([&](KArchive& ar) { ar.WriteCount(c.count); }), c.golden) << c.count;
    load(c.golden, [&](KArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
  }
  struct Str {
    int length;
    std::string head;
  } strings[] = {{0, bytes({0})},
                 {254, bytes({0xFE})},
                 {255, bytes({0xFF, 0x00, 0xFF})},
                 {300, bytes({0xFF, 0x01, 0x2C})},
                 {65533, bytes({0xFF, 0xFF, 0xFD})},
                 {65534, bytes({0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0xFE})}};
  for (const auto& c : strings) {
    std::string text(size_t(c.length), 'q');
    for (int i = 0; i < c.length; ++i) text[size_t(i)] = char('a' + i % 26);
    std::string s = store([&](KArchive& ar) { ar << KZString(text.c_str()); }, 128);
    EXPECT_EQ(s, c.head + text) << c.length;
    load(s, [&](KArchive& ar) {
      KZString back("old");
      ar >> back;
      EXPECT_EQ(back.GetLength(), c.length);
      EXPECT_EQ(std::string(back), text);
    }, 128);
  }
}

TEST_F(Archives, WideTextIsConverted) {
  std::string s = bytes({0xFF, 0xFF, 0xFE, 3, 0, 'A', 0, 'b', 0, 'C', 0x07});
  load(s, [](KArchive& ar) {
    KZString t("x");
    ar >> t;
    EXPECT_STREQ(t, "AbC");
    unsigned char after = 0;
    ar >> after; // positioned after the six bytes
    EXPECT_EQ(after, 7);
  });
  // A wide marker where the wide length belongs is a length, not another
  // marker: the stream then ends early.
  load(bytes({0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFE}), [](KArchive& ar) {
    KZString t;
    EXPECT_EQ(catchKErr([&] { ar >> t; }).id, 0x9B00068);
  });
  load(bytes({0xFF, 0xFF, 0xFE, 0}), [](KArchive& ar) {
    KZString t("x");
    ar >> t;
    EXPECT_STREQ(t, "");
  });
}

TEST_F(Archives, ObjectsClassTagsAndBackReferences) {
  KStringArray a;
  a.Add("a");
  KStringArray b;
  std::string s = store([&](KArchive& ar) {
    ar.WriteObject(&a);
    ar.WriteObject(&a);
    ar.WriteObject(&b);
    ar.WriteObject(nullptr);
  });
  std::string cls = bytes({0xFF, 0xFF, 0, 0, 0, 12}) + "KStringArray";
  EXPECT_EQ(s, cls + bytes({0, 1, 1, 'a'}) + // class index 1, object index 2
                   bytes({0, 2}) +          // back reference to the object
                   bytes({0x80, 1, 0, 0}) + // known class, the empty array
                   bytes({0, 0}));
  load(s, [](KArchive& ar) {
    KStringArray *x = nullptr, *y = nullptr, *z = nullptr, *n = nullptr;
    ar >> x >> y >> z >> n;
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x, y); // the back reference gives the same object
    EXPECT_NE(z, x);
    EXPECT_EQ(n, nullptr);
    EXPECT_EQ(x->GetSize(), 1);
    EXPECT_STREQ((*x)[0], "a");
    EXPECT_EQ(z->GetSize(), 0);
    delete x;
    delete z;
  });
}

TEST_F(Archives, ContainerLayouts) {
  KDWordArray dw;
  dw.Add(1);
  dw.Add(0x01020304);
  KMapStringToString map;
  map["k"] = "v";
  KStringList list;
  list.AddTail("a");
  list.AddTail("bc");
  KStringArray sa;
  sa.Add("x");
  sa.Add("");
  EXPECT_EQ(store([&](KArchive& ar) { dw.Serialize(ar); }), bytes({0, 2, 0, 0, 0, 1, 1, 2, 3, 4}));
  EXPECT_EQ(store([&](KArchive& ar) { map.Serialize(ar); }), bytes({0, 1, 1, 'k', 1, 'v'}));
  EXPECT_EQ(store([&](KArchive& ar) { list.Serialize(ar); }), bytes({0, 2, 1, 'a', 2, 'b', 'c'}));
  EXPECT_EQ(store([&](KArchive& ar) { sa.Serialize(ar); }), bytes({0, 2, 1, 'x', 0}));

  // Loading appends to a list that already holds texts.
  load(bytes({0, 2, 1, 'a', 2, 'b', 'c'}), [](KArchive& ar) {
    KStringList l;
    l.AddTail("z");
    l.Serialize(ar);
    ASSERT_EQ(l.GetCount(), 3);
    EXPECT_STREQ(l.GetAt(l.FindIndex(0)), "z");
    EXPECT_STREQ(l.GetAt(l.FindIndex(1)), "a");
    EXPECT_STREQ(l.GetAt(l.FindIndex(2)), "bc");
  });
  // Many entries: bucket order out, every key back in.
  KMapStringToString big;
  for (int i = 0; i < 50; ++i) big[KZString('k', i + 1)] = KZString('v', i);
  std::string s = store([&](KArchive& ar) { ar.WriteObject(&big); });
  load(s, [&](KArchive& ar) {
    KMapStringToString* back = nullptr;
    ar >> back;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetCount(), 50);
    for (int i = 0; i < 50; ++i) {
      KZString v;
      ASSERT_EQ(back->Lookup(KZString('k', i + 1), v), 1);
      EXPECT_EQ(v.GetLength(), i);
    }
    delete back;
  });
  load(store([&](KArchive& ar) { ar.WriteObject(&dw); ar.WriteObject(&list); }), [](KArchive& ar) {
    KDWordArray* d = nullptr;
    KStringList* l = nullptr;
    ar >> d >> l;
    ASSERT_TRUE(d && l);
    EXPECT_EQ(d->GetSize(), 2);
    EXPECT_EQ((*d)[1], 0x01020304u);
    EXPECT_EQ(l->GetCount(), 2);
    delete d;
    delete l;
  });
}

TEST_F(Archives, UserClassesAndSchemas) {
  KcPoint p;
  p.x = 7;
  p.y = -1;
  std::string s = store([&](KArchive& ar) {
    ar << &p;
    ar << &p;
  });
  EXPECT_EQ(s, bytes({0xFF, 0xFF, 0, 2, 0, 7}) + "KcPoint" + bytes({0, 0, 0, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2}));
  load(s, [](KArchive& ar) {
    KObject* o = nullptr;
    KObject* again = nullptr;
    ar >> o >> again;
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(KRUNTIME_CLASS(KcPoint)));
    EXPECT_EQ(static_cast<KcPoint*>(o)->x, 7);
    EXPECT_EQ(static_cast<KcPoint*>(o)->y, -1);
    EXPECT_EQ(again, o);
    delete o;
  });
  // Another stored schema: refused for a plain class, read for a versionable one.
  std::string old = bytes({0xFF, 0xFF, 0, 1, 0, 7}) + "KcPoint" + bytes({0, 0, 0, 1, 0, 0, 0, 2});
  load(old, [](KArchive& ar) {
    auto e = catchKErr([&] { ar.ReadObject(nullptr); });
    EXPECT_EQ(e.id, 0x9B00066);
    EXPECT_EQ(e.method, "KArchive::ReadClass");
  });
  // Every object of a versionable class reads with the schema stored with
  // its class, the first and the later ones.
  std::string v1 = bytes({0xFF, 0xFF, 0, 1, 0, 11}) + "KcVersioned" + bytes({0, 0, 0, 1, 0, 0, 0, 2}) +
                   bytes({0x80, 1, 0, 0, 0, 3, 0, 0, 0, 4});
  load(v1, [](KArchive& ar) {
    KObject* o = ar.ReadObject(KRUNTIME_CLASS(KcPoint));
    KObject* p = ar.ReadObject(KRUNTIME_CLASS(KcPoint));
    ASSERT_TRUE(o && p);
    EXPECT_EQ(static_cast<KcPoint*>(o)->y, 2);
    EXPECT_EQ(static_cast<KcVersioned*>(o)->schemaSeen, 1u);
    EXPECT_EQ(static_cast<KcPoint*>(p)->x, 3);
    EXPECT_EQ(static_cast<KcVersioned*>(p)->schemaSeen, 1u);
    EXPECT_EQ(ar.GetObjectSchema(), 0xFFFFFFFFu); // restored after each object
    delete o;
    delete p;
  });
  KcVersioned v;
  EXPECT_EQ(store([&](KArchive& ar) { ar << &v; }).substr(0, 4), bytes({0xFF, 0xFF, 0, 3}));
}

TEST_F(Archives, BadStreams) {
  testing::internal::CaptureStdout();
  load(withName(bytes({0xFF, 0xFF, 0, 0, 0, 7}), "Unknown"), [](KArchive& ar) {
    auto e = catchKErr([&] { ar.ReadObject(nullptr); });
    EXPECT_EQ(e.id, 0x9B00065);
    EXPECT_EQ(e.method, "KArchive::ReadClass");
  });
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Warning: Cannot load Unknown from archive.  Class not defined.\n");
  load(bytes({0xFF, 0xFF, 0, 0, 0, 64}) + std::string(64, 'n'),
       [](KArchive& ar) { EXPECT_EQ(catchKErr([&] { ar.ReadObject(nullptr); }).id, 0x9B00065); });

  struct Case {
    std::string stream;
    long id;
    const char* method;
  } cases[] = {
      {bytes({0xFF, 0xFF}), 0x9B00068, "KArchive::FillBuffer"}, // class record cut off
      {bytes({0, 5}), 0x9B00064, "KArchive::ReadObject"},       // back reference beyond the objects
      {bytes({0x80, 1}), 0x9B00064, "KArchive::ReadClass"},     // class index not read
      {bytes({0x80, 0}), 0x9B00064, "KArchive::ReadClass"},     // class index 0
      {bytes({0x7F, 0xFF, 0, 0, 0, 9}), 0x9B00064, "KArchive::ReadObject"},
      // A back reference to the class entry (index 1) where an object belongs.
      {bytes({0xFF, 0xFF, 0, 0, 0, 12}) + "KStringArray" + bytes({0, 0, 0, 1}), 0x9B00064, "KArchive::ReadObject"},
      // An object of another class where a string array is expected.
      {bytes({0xFF, 0xFF, 0, 0, 0, 11}) + "KDWordArray" + bytes({0, 0, 0, 2}), 0x9B00065, "KArchive::ReadObject"},
  };
  for (const auto& c : cases) {
    load(c.stream, [&](KArchive& ar) {
      KObject* first = nullptr;
      auto e = catchKErr([&] {
        if (c.id == 0x9B00065 || c.stream.size() > 6) first = ar.ReadObject(nullptr);
        ar.ReadObject(KRUNTIME_CLASS(KStringArray));
      });
      EXPECT_EQ(e.id, c.id) << std::hex << c.id;
      EXPECT_EQ(e.method, c.method);
      delete first;
    });
  }
  load(bytes({0, 0}), [](KArchive& ar) { EXPECT_EQ(ar.ReadObject(nullptr), nullptr); });
  load(bytes({0, 1}), [](KArchive& ar) {
    // An object tag where a class is required.
    EXPECT_EQ(catchKErr([&] { ar.SerializeClass(KRUNTIME_CLASS(KStringArray)); }).id, 0x9B00064);
  });
  load(bytes({0, 1}), [](KArchive& ar) {
    auto e = catchKErr([&] { ar.Get32(); });
    EXPECT_EQ(e.id, 0x9B00068);
    EXPECT_TRUE(e.params.empty());
  });
  // A damaged element count meets the end of the file.
  load(bytes({0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 1, 'a'}), [](KArchive& ar) {
    KStringArray a;
    EXPECT_EQ(catchKErr([&] { a.Serialize(ar); }).id, 0x9B00068);
  });
  // Numbers: a count beyond the elements ends in the end of the file, as
  // soon as the elements run out (not after claiming room for the count).
  const std::string shortNumbers[] = {
      bytes({0, 3, 0, 0, 0, 1, 0, 0, 0, 2}),
      bytes({0, 1, 0, 0}),
      bytes({0xFF, 0xFF, 0x1F, 0xFF, 0xFF, 0xFF}) + std::string(30, '\x01'),
  };
  for (const std::string& stream : shortNumbers)
    load(stream, [](KArchive& ar) {
      KDWordArray a;
      EXPECT_EQ(catchKErr([&] { a.Serialize(ar); }).id, 0x9B00068);
    });
  // A truncated string reports the end of the file.
  load(bytes({5, 'a', 'b'}), [](KArchive& ar) {
    KZString t;
    EXPECT_EQ(catchKErr([&] { ar >> t; }).id, 0x9B00068);
  });
}

TEST_F(Archives, UnserialisableClassesAreRefused) {
  KPtrArray p;
  store([&](KArchive& ar) {
    auto e = catchKErr([&] { ar.WriteObject(&p); });
    EXPECT_EQ(e.id, 0x9B00067);
    EXPECT_EQ(e.method, "KAfxThrowNotSupportedException");
  });
  load(bytes({0, 0}), [](KArchive& ar) {
    EXPECT_EQ(catchKErr([&] { ar.ReadObject(KRUNTIME_CLASS(KPtrArray)); }).id, 0x9B00067);
  });
}

TEST_F(Archives, BufferingAndBulkTransfers) {
  for (int size : {0, 100, 127}) {
    KFile f(dir.file("b").c_str(), 0x1011);
    KArchive ar(&f, KArchive::store, size);
    EXPECT_EQ(ar.GetBufferSize(), 128) << size;
  }
  std::string payload(1000, '\0');
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = char(i * 7);
  for (int size : {128, 256, 4096}) {
    std::string s = store([&](KArchive& ar) {
      ar << 0x11u;
      ar.Write(payload.data(), unsigned(payload.size()));
      ar << (unsigned short)0x2233;
    }, size);
    EXPECT_EQ(s, bytes({0, 0, 0, 0x11}) + payload + bytes({0x22, 0x33})) << size;
    load(s, [&](KArchive& ar) {
      unsigned head;
      ar >> head;
      std::string back(payload.size(), '\0');
      EXPECT_EQ(ar.Read(back.data(), 300), 300u);
      EXPECT_EQ(ar.Read(back.data() + 300, 700), 700u);
      EXPECT_EQ(back, payload);
      unsigned short tail;
      ar >> tail;
      EXPECT_EQ(tail, 0x2233);
      char more[10];
      EXPECT_EQ(ar.Read(more, 10), 0u); // a short read reports its count
    }, size);
  }
  // Flushing a loading archive gives back the read-ahead bytes to the file.
  dir.write("c", "0123456789");
  KFile f(dir.file("c").c_str(), 0);
  {
    KArchive ar(&f, KArchive::load | KArchive::bNoFlushOnDelete, 128);
    char c;
    ar >> c >> c;
    ar.Flush();
  }
  EXPECT_EQ(f.GetPosition(), 2);
  // A caller's buffer is used as given.
  std::vector<char> mine(512);
  std::string s = store([&](KArchive& ar) { ar << 0x41424344u; });
  {
    KFile g(dir.file("d").c_str(), 0x1011);
    KArchive ar(&g, KArchive::store, 512, mine.data());
    ar << 0x41424344u;
    EXPECT_EQ(std::memcmp(mine.data(), "ABCD", 4), 0);
  }
  EXPECT_EQ(dir.read("d"), "ABCD");
}

TEST_F(Archives, ClassRecordsStoreAndLoadByName) {
  std::string s = store([](KArchive& ar) { KRUNTIME_CLASS(KStringList)->Store(ar); });
  EXPECT_EQ(s, bytes({0, 0, 0, 11}) + "KStringList");
  load(s, [](KArchive& ar) {
    unsigned schema = 99;
    EXPECT_EQ(KRuntimeClass::Load(ar, &schema), KRUNTIME_CLASS(KStringList));
    EXPECT_EQ(schema, 0u);
  });
  EXPECT_EQ(KRuntimeClass::FromName("KMapStringToString"), KRUNTIME_CLASS(KMapStringToString));
  EXPECT_EQ(KRuntimeClass::FromName("Nothing"), nullptr);
}

TEST_F(Archives, UseAfterCloseIsRefused) {
  KFile f(dir.file("e").c_str(), 0x1011);
  KArchive ar(&f, KArchive::store, 128);
  ar << 1u;
  ar.Close();
  f.Flush(); // the archive leaves the file open
  EXPECT_EQ(dir.read("e"), bytes({0, 0, 0, 1}));
  // The buffer still has room: values wait there; a full buffer cannot be
  // written anywhere and is refused instead of overrun.
  auto e = catchKErr([&] {
    for (int i = 0; i < 64; ++i) ar << 2u;
  });
  EXPECT_EQ(e.id, 0x9B0006B);
  std::string block(300, 'b');
  EXPECT_EQ(catchKErr([&] { ar.Write(block.data(), 300); }).id, 0x9B0006B);
  ar.Abort();
  EXPECT_EQ(catchKErr([&] { ar << 3u; }).id, 0x9B0006B);
}
