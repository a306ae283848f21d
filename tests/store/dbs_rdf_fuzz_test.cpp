// Opens with mutated valid cache files (cuts, flipped bytes, long lines,
// lost braces, wrong counts): no fault under the sanitizers, and every open
// ends with the file's model or the database's. Seeded, so a failure
// repeats.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_rdf.h"
#include "store_fixture.h"
#include "testdb/testdb_tmp.h"

namespace {

std::string mutate(const std::string& good, std::mt19937& rng) {
  std::string s = good;
  auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
  switch (rng() % 6) {
    case 0:  // cut
      s.resize(pick(s.size()));
      break;
    case 1:  // flipped bytes
      for (int i = 0, n = 1 + static_cast<int>(rng() % 4); i < n && !s.empty(); ++i)
        s[pick(s.size())] ^= static_cast<char>(1 << (rng() % 8));
      break;
    case 2: {  // a long line
      size_t at = s.find('\n', pick(s.size()));
      if (at == std::string::npos) at = s.size();
      s.insert(at, std::string(200 + pick(5000), 'x'));
      break;
    }
    case 3: {  // a lost brace
      size_t at = s.find(rng() % 2 ? '}' : '{', pick(s.size()));
      if (at != std::string::npos) s.erase(at, 1);
      break;
    }
    case 4: {  // a line twice or dropped (wrong counts)
      size_t a = s.find('\n', pick(s.size()));
      if (a == std::string::npos) break;
      size_t b = s.find('\n', a + 1);
      if (b == std::string::npos) break;
      std::string line = s.substr(a + 1, b - a);
      if (rng() % 2)
        s.insert(b + 1, line);
      else
        s.erase(a + 1, b - a);
      break;
    }
    default:  // a field's separator replaced
      for (char& c : s)
        if (c == ',' && rng() % 40 == 0) c = rng() % 2 ? ')' : ';';
      break;
  }
  return s;
}

}  // namespace

TEST_F(store_test, MutatedCacheFilesEndWithTheFilesModelOrTheDatabases) {
  small_dictionary();
  std::string dir = testdb::tmp_folder("store_fuzz_");
  ASSERT_FALSE(dir.empty());
  dir += "/";
  osl_sys_set_config_string("dbcache", dir.c_str(), 0);
  osl_sys_set_config_string("SCHEMA_DOWNLOAD", "", 0);
  std::string file = dir + "fuzzdb.001";
  long st = 0;
  store_stdout_of([&] { st = dbs_db_open(nullptr, "fuzzdb", 1); });
  ASSERT_EQ(st, 0);
  const std::string good = store_file_text(file);
  const std::string from_db = store_model_dump();
  ASSERT_FALSE(good.empty());

  // Opens the database over the file bad; true when it was recached from
  // the database.
  auto open_with = [&](const std::string& bad, const std::string& what) {
    SCOPED_TRACE(what);
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out << bad;
    }
    adp_double::reset();
    cmn_alrt_clear(nullptr);
    store_stdout_of([&] { st = dbs_db_open(nullptr, "fuzzdb", 1); });
    EXPECT_EQ(st, 0);
    bool reread = !adp_double::calls_of("adp_sch_read_all").empty();
    if (reread) {
      // Recached from the database: its model, and a good file again.
      EXPECT_EQ(store_model_dump(), from_db);
      EXPECT_EQ(store_file_text(file), good);
    } else {
      // The file's model: loading the same file again gives it again.
      std::string model = store_model_dump();
      adp_double::reset();
      store_stdout_of([&] { st = dbs_db_open(nullptr, "fuzzdb", 1); });
      EXPECT_EQ(st, 0);
      EXPECT_EQ(store_model_dump(), model);
    }
    return reread;
  };

  // Lines found to fault, each put first or last in its block (the
  // fields' block is the second, the relations' the third): a type id of
  // -1 names no schema, a number beyond a long is no number.
  const struct {
    int block;
    bool first;
    const char* line;
  } found[] = {
      {2, true, "(bogus,516,3,25,-1,-1,1,-1,0,-1)"},
      {2, false, "(bogus,516,3,25,-1,-1,1,-1,0,-1)"},
      {3, true, "(bogus,2,site,-1,0,inverse,0,phys,focus,4,-1,x)"},
      {3, false, "(bogus,2,site,-1,0,inverse,0,phys,focus,4,-1,x)"},
      {2, false, "(bogus,516,3,25,-1,-1,1,-1,0,9999999999999999999)"},
      {3, false, "(bogus,2,site,-1,0,inverse,0,phys,focus,4,9999999999999999999,x)"},
  };
  for (const auto& c : found) {
    size_t open = std::string::npos;
    for (int b = 0; b < c.block; ++b) open = good.find('{', open + 1);
    const size_t at = c.first ? good.find('\n', open) + 1 : good.find('}', open);
    std::string bad = good;
    bad.insert(at, std::string(c.line) + "\n");
    EXPECT_TRUE(open_with(bad, c.line));
  }

  std::mt19937 rng(20261210);
  int from_file = 0;
  for (int round = 0; round < 300; ++round)
    if (!open_with(mutate(good, rng), "round " + std::to_string(round))) ++from_file;
  EXPECT_GT(from_file, 0);
  std::remove(file.c_str());
  rmdir(dir.c_str());
  osl_sys_set_config_string("dbcache", "", 0);
}

TEST(CacheLineParsers, FieldsRelationsAndNumbers) {
  dbs_ty_rdf_field f{};
  ASSERT_EQ(dbs_rdf_parse_field("(title,516,3,25,-1,-1,1,-1,1,17,a (b) c)", &f), 0);
  EXPECT_STREQ(f.name, "title");
  EXPECT_EQ(f.type_id, 17);
  EXPECT_STREQ(f.def, "a (b) c");  // the default runs to the last ')'
  ASSERT_EQ(dbs_rdf_parse_field("(notes,516,10,0,-1,-1,1,-1,2,17)", &f), 0);
  EXPECT_STREQ(f.def, "");
  EXPECT_EQ(f.spec_id, 2);
  EXPECT_NE(dbs_rdf_parse_field("(notes,516,10,0,-1,-1,1,-1,2)", &f), 0);
  EXPECT_NE(dbs_rdf_parse_field("(notes,516,x,0,-1,-1,1,-1,2,17)", &f), 0);
  // Numbers are read whole; one beyond a long is no number.
  const struct {
    const char* line;
    long type_id;  // -2: refused
  } numbers[] = {
      {"(notes,516,10,0,-1,-1,1,-1,2,4294967313)", 4294967313L},
      {"(notes,516,10,0,-1,-1,1,-1,2,-4294967313,x)", -4294967313L},
      {"(notes,516,10,0,-1,-1,1,-1,2,9223372036854775807)", 9223372036854775807L},
      {"(notes,516,10,0,-1,-1,1,-1,2,9223372036854775808)", -2},
      {"(notes,516,10,0,-1,-1,1,-1,2,9999999999999999999,x)", -2},
      {"(notes,516,10,0,-1,-1,1,9999999999999999999,2,17)", -2},
  };
  for (const auto& c : numbers) {
    SCOPED_TRACE(c.line);
    f = dbs_ty_rdf_field{};
    if (c.type_id == -2) {
      EXPECT_NE(dbs_rdf_parse_field(c.line, &f), 0);
    } else {
      ASSERT_EQ(dbs_rdf_parse_field(c.line, &f), 0);
      EXPECT_EQ(f.type_id, c.type_id);
    }
  }
  dbs_ty_rdf_rel r{};
  ASSERT_EQ(dbs_rdf_parse_relation("(case2site,2,site,-1,0,site2case,0,phys,focus,4,17,excl)", &r), 0);
  EXPECT_STREQ(r.target, "site");
  EXPECT_STREQ(r.excl_set, "excl");
  EXPECT_EQ(r.flags, 4);
  EXPECT_NE(dbs_rdf_parse_relation("(case2site,2,site,-1,0,site2case,0,phys,focus,4,17", &r), 0);
  long v = 0;
  const char* line = "12,-3)";
  const char* p = dbs_rdf_getint(line, &v);
  EXPECT_EQ(v, 12);
  p = dbs_rdf_getint(p, &v);
  EXPECT_EQ(v, -3);
  EXPECT_EQ(*p, ')');
}
