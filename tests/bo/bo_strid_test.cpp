// Message ids and their texts: the mapping to and from database string ids
// over the core's subsystem table, and UtlLoadString from the compiled-in
// texts, a dictionary or neither.
#include <gtest/gtest.h>

#include "bo/bo_util.h"
#include "bo_fixture.h"
#include "core/cmn/cmn_subs.h"

using namespace KCLASSIC;
using botest::BoTest;
using botest::DictDouble;

namespace {

long id_of(long subsys, long number) { return (subsys << 20) + number; }

TEST_F(BoTest, MessageIdsMapToDatabaseIdsThroughTheSubsystemTable) {
  const cmn_ty_subs_entry* rows = cmn_subs_table();
  struct Case {
    long id;
    long subsys;
    long number;
    long db;
  };
  const Case cases[] = {
      {0x8B000C9, 139, 0xC9, rows[139].first_id + 0xC9},
      {id_of(1, 5), 1, 5, rows[1].first_id + 5},
      {id_of(163, 0), 163, 0, rows[163].first_id},
      {0x12345, 0, 0x12345, 0x12345},   // below 0x100000: the id itself
      {0xFFFFF, 0, 0xFFFFF, 0xFFFFF},
      {id_of(164, 3), 164, 3, 0},       // no row for the subsystem
      {id_of(0xFFF, 1), 0xFFF, 1, 0},
      {-1, -1, 0xFFFFF, 0},             // a negative subsystem has no row either
  };
  for (const Case& c : cases) {
    long subsys = -7;
    long number = -7;
    EXPECT_EQ(MapOrbnStrId2DbStrId(c.id, subsys, number), c.db) << std::hex << c.id;
    EXPECT_EQ(subsys, c.subsys) << std::hex << c.id;
    EXPECT_EQ(number, c.number) << std::hex << c.id;
  }
  EXPECT_EQ(OrbnStrId2SubSys(0x8B000C9), 139);
  EXPECT_EQ(OrbnStrId2SubSys(0x123), 0);
}

TEST_F(BoTest, DatabaseIdsMapBackToMessageIds) {
  const cmn_ty_subs_entry* rows = cmn_subs_table();
  for (long sub : {1L, 4L, 139L, 163L}) {
    const cmn_ty_subs_entry& row = rows[sub];
    for (long offset : {0L, row.range - 1}) {
      long id = -1, first = -1, end = -1;
      MapDbStrId2OrbnStrId(row.first_id + offset, id, first, end);
      EXPECT_EQ(id, (row.number << 20) + offset) << sub;
      EXPECT_EQ(first, row.first_id);
      EXPECT_EQ(end, row.first_id + row.range);
      long s = 0, n = 0;
      EXPECT_EQ(MapOrbnStrId2DbStrId(id, s, n), row.first_id + offset);
    }
  }
  long id = -1, first = -1, end = -1;
  MapDbStrId2OrbnStrId(-5, id, first, end);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(end, 0);
}

TEST_F(BoTest, OwnTextsComeFromTheCompiledInTable) {
  DictDouble dict;
  dict.strings[0x8B000C9] = "from the dictionary";
  struct Case {
    long id;
    long language;
    const char* text;
  };
  const Case cases[] = {
      {0x8B000C9, 0, "Illegal argument <%1>."},
      {0x8B000C9, 1033, "Illegal argument <%1>."},
      {0x8B000C9, 1031, "Illegal argument <%1>."}, // no German table: English
      {0x8B000DE, 1033, "Failed to validate user"},
  };
  for (const Case& c : cases) {
    KZString out("old");
    EXPECT_EQ(UtlLoadString(&dict, c.language, c.id, out), 1);
    EXPECT_STREQ(out, c.text);
  }
  EXPECT_EQ(dict.lookups, 0);
  KZString out("old");
  EXPECT_EQ(UtlLoadString(nullptr, 1033, id_of(139, 0xFFFFF), out), 0);
  EXPECT_STREQ(out, "");
}

TEST_F(BoTest, DictionaryTextsBecomeNumberedInsertsWithoutFormatting) {
  DictDouble dict;
  struct Case {
    long id;
    const char* stored;
    const char* text;
  };
  const Case cases[] = {
      {id_of(5, 1), "Object %s of %s not found", "Object %1 of %2 not found"},
      {id_of(5, 2), "100%% of %s", "100% of %1"},
      {id_of(5, 3), "count %d of %s", "count %d of %s"},          // another conversion: as it stands
      {id_of(5, 4), "%s%s%s%s%s%s", "%s%s%s%s%s%s"},              // a sixth insert: as it stands
      {id_of(5, 5), "%s%s%s%s%s", "%1%2%3%4%5"},
      {id_of(5, 6), "%n %s", "%n %s"},                            // never a format
      {id_of(143, 1), "for %s", "for %1"},
      {id_of(140, 1), "kept %s 100%%", "kept %s 100%%"},          // a subsystem whose texts stand
      {id_of(150, 1), "kept %s", "kept %s"},
      {0x42, "low %s", "low %1"},
  };
  for (const Case& c : cases) dict.strings[c.id] = c.stored;
  for (const Case& c : cases) {
    KZString out;
    EXPECT_EQ(UtlLoadString(&dict, 1033, c.id, out), 1) << c.stored;
    EXPECT_STREQ(out, c.text) << c.stored;
  }
  EXPECT_EQ(dict.lastLanguage, 1033);
}

TEST_F(BoTest, MissingTextsGiveTheFallbackTexts) {
  DictDouble dict;
  KZString out;
  EXPECT_EQ(UtlLoadString(&dict, 1033, id_of(5, 9), out), 0);
  EXPECT_STREQ(out, "Internal Orbisan Error.");
  EXPECT_EQ(dict.lookups, 1);
  EXPECT_EQ(UtlLoadString(nullptr, 1033, id_of(5, 9), out), 0);
  EXPECT_STREQ(out, "Cannot retrieve string 5242889 because Session not initialized");
}

TEST_F(BoTest, LanguageZeroIsTheSystemsLocale) {
  DictDouble dict;
  dict.strings[id_of(5, 1)] = "x";
  KZString out;
  UtlLoadString(&dict, 0, id_of(5, 1), out);
  EXPECT_EQ(dict.lastLanguage, UtlGetLocaleFromOs());
  EXPECT_NE(UtlGetLocaleFromOs(), 0);
}

TEST_F(BoTest, AppendStringAddsTheLoadedText) {
  DictDouble dict;
  dict.strings[id_of(5, 1)] = "b %s";
  KZString out("a ");
  UtlAppendString(&dict, 1033, id_of(5, 1), out);
  EXPECT_STREQ(out, "a b %1");
  UtlAppendString(nullptr, 1033, 0x8B000CB, out);
  EXPECT_STREQ(out, "a b %1Internal Orbisan Error.");
}

} // namespace
