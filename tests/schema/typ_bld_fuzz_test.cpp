// Seeded mutations of a valid schema file compiled in direct mode: every
// compile either succeeds or fails with a status and an alert, and the
// valid file then compiles again into a cleared model. A direct compile ends
// by re-reading the type table, which starts from an empty model: the model
// as written is seen at that call.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "adpdouble/adp_double.h"
#include "bld_fixture.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_lex.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

const char* const kValid =
    "SCHEMA_REVISION 3 LOCAL_SCHEMA_REVISION \"x\"\n"
    "OBJECT site 11 SUBJECT = \"S\" FIELDS objid CMN_DATA_TYPE = \"long integer\" DB_DATA_TYPE = 0 GEN_FIELD_ID = 3 ,"
    " name CMN_DATA_TYPE = \"char pointer\" DB_DATA_TYPE = 7 ARRAY_SIZE = 40 DEFAULT = \"n\" , FIELDS_END"
    " RELATIONS site2contact OTM contact INV_REL = contact2site , RELATIONS_END OBJECT_END ;\n"
    "OBJECT contact 10 CACHEOBJIDS FIELDS objid CMN_DATA_TYPE = \"long integer\" DB_DATA_TYPE = 0 GEN_FIELD_ID = 3 ,"
    " amount DB_DATA_TYPE = 11 DEC_PRECISION = 10 DEC_SCALE = 2 , pic CMN_DATA_TYPE = array GEN_FIELD_ID = 40 FIELDS_END"
    " RELATIONS EXCLUSIVE g contact2site MTO site INV_REL = site2contact RELATIONS_END"
    " INDEXES by_site RELATION = contact2site UNIQUE , INDEXES_END OBJECT_END ;\n"
    "SUBOBJECT line 12 FIELDS qty CMN_DATA_TYPE = \"long integer\" DB_DATA_TYPE = 0 FIELDS_END SUBOBJECT_END ;\n"
    "VIEW cv 20 ALIAS contact c , site s FIELDS id FROM c . objid UNIQUE , sn FROM s . name FIELDS_END"
    " JOINS c . contact2site = OUTER s . site2contact JOINS_END VIEW_END ;\n";

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == ' ' || c == '\n')) {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

class typ_bld_fuzz : public bld_test {
 protected:
  // Compiles in direct mode, keeping the number of types and the relation
  // check of the model as it stands when the type table is re-read.
  long direct(const std::string& text) {
    written_types_ = -1;
    rel_check_ = -1;
    adp_double::hook("adp_sch_types_init", [this](const std::vector<void*>&) {
      written_types_ = typ_sch_num_types();
      rel_check_ = typ_sch_rel_check();
      return 0L;
    });
    return compile_direct(text);
  }
  long written_types_ = -1;
  long rel_check_ = -1;
};

TEST_F(typ_bld_fuzz, ValidFileCompiles) {
  ASSERT_EQ(direct(kValid), 0) << last_out_ << core_top_alert_text();
  EXPECT_EQ(written_types_, 4);
  EXPECT_EQ(rel_check_, 0);
  EXPECT_EQ(adp_double::calls_of("adp_sch_write").size(), 4u);
  EXPECT_EQ(typ_sch_num_types(), 0);
}

TEST_F(typ_bld_fuzz, MutatedFilesCompileOrFailCleanly) {
  const std::vector<std::string> tokens = split(kValid);
  std::mt19937 rng(20261210);
  auto pick = [&](size_t n) { return size_t(rng() % n); };
  std::vector<std::string> keywords;
  for (int c = 260; c <= 322; ++c)
    if (typ_lex_keyword(c)) keywords.push_back(typ_lex_keyword(c));
  auto join = [](const std::vector<std::string>& t) {
    std::string s;
    for (const auto& w : t) s += w + " ";
    return s;
  };
  int accepted = 0, refused = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> t = tokens;
    std::string text;
    const size_t i = pick(t.size());
    switch (round % 8) {
      case 0: t.erase(t.begin() + long(i)); break;
      case 1: t.insert(t.begin() + long(i), t[i]); break;
      case 2: std::swap(t[i], t[(i + 1) % t.size()]); break;
      case 3: t[i] = keywords[pick(keywords.size())]; break;
      case 4: t[i] = std::string(250 + pick(20), 'w'); break;
      case 5: t[i] = "\"" + std::string(250 + pick(4900), 's') + "\""; break;
      case 6: t[i] = std::string(1 + pick(30), '9'); break;
      case 7: break;
    }
    text = join(t);
    if (round % 8 == 7) text = text.substr(0, pick(text.size()));
    const long st = direct(text);
    if (st == 0) {
      ++accepted;
      EXPECT_EQ(rel_check_, 0) << text;
      SetUp();  // a fresh model for the next round
      continue;
    }
    ++refused;
    EXPECT_GT(core_num_alerts(), 0) << "round " << round << ": status " << st << "\n" << text;
    EXPECT_EQ(typ_sch_num_types(), 0) << "round " << round;
    EXPECT_EQ(direct(kValid), 0) << "round " << round << "\n" << last_out_;
    EXPECT_EQ(written_types_, 4) << "round " << round;
    SetUp();
  }
  EXPECT_GT(refused, 100);
  EXPECT_GT(accepted, 0);
}

}  // namespace
