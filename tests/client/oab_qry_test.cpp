// Query helpers on the rig's database, the view map, and the compiling of
// restriction values, operators and combining formats.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_sec.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kEq = 4;
constexpr long kGe = 1;

class oab_qry_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    oab_db_con_id = con();
    seed(CONTACT, 1, "Ann", 3);
    seed(CONTACT, 2, "Bob", 5);
    seed(CONTACT, 3, "Cyd", 5);
  }
};

TEST_F(oab_qry_test, AllOfAKindAsObjectsAndIds) {
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &col), 0);
  ASSERT_EQ(oab_qry_all_of_a_kind(CONTACT, col), 0);
  EXPECT_EQ(col->count, 3);
  dbs_obj_reset_local_col(col);
  utl_col_reset(col);
  dbs_ty_qry_cond five{F_RANK, kEq, 5};
  ASSERT_EQ(oab_qry_all_of_a_kind_w_cond(CONTACT, col, &five, 1, 1), 0);
  EXPECT_EQ(col->count, 2);
  dbs_obj_free_local_col(nullptr, col);
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_LONG, 4, 4, 0, 0, &ids), 0);
  ASSERT_EQ(oab_qry_all_id_of_a_kind_w_cond(CONTACT, ids, &five, 1, 1), 0);
  EXPECT_EQ(ids->count, 2);
  utl_col_free("t", ids);
}

TEST_F(oab_qry_test, UniqueFormsCountAndTakeTheFirst) {
  const struct {
    long rank;
    long op;
    long found;
    long number;  // of the unique id; 0 when not unique
  } rows[] = {{3, kEq, 1, 1}, {5, kEq, 2, 0}, {9, kEq, 0, 0}, {4, kGe, 2, 0}};
  for (const auto& r : rows) {
    dbs_ty_qry_cond cond{F_RANK, r.op, r.rank};
    long found = -1;
    obj_id id{9, 9, 9};
    ASSERT_EQ(oab_qry_unique_oid_w_cond(CONTACT, &cond, 1, 1, &found, &id), 0);
    EXPECT_EQ(found, r.found) << r.rank;
    EXPECT_EQ(id.num, r.number);
    EXPECT_EQ(id.type, r.number != 0 ? CONTACT : 0);
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(oab_qry_unique_obj_w_cond(CONTACT, &cond, 1, 1, &found, &o), 0);
    EXPECT_EQ(found, r.found);
    EXPECT_EQ(o != nullptr, r.found > 0);
    if (o != nullptr) dbs_obj_free_local("t", o);
  }
}

TEST_F(oab_qry_test, FindByOneFieldOnlyWhenExactlyOne) {
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(oab_qry_find_obj_by_one_fld(CONTACT, F_RANK, kEq, 3, &o, 0), 0);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(name_of(o), "Ann");
  dbs_obj_free_local("t", o);
  ASSERT_EQ(oab_qry_find_obj_by_one_fld(CONTACT, F_RANK, kEq, 5, &o, 0), 0);
  EXPECT_EQ(o, nullptr);
  long runs = calls("adp_qry_simple");
  ASSERT_EQ(oab_qry_find_obj_by_one_fld(CONTACT, F_RANK, kEq, 3, &o, 1), 0);
  EXPECT_EQ(o, nullptr);
  EXPECT_EQ(calls("adp_qry_simple"), runs);  // no query with the flag
}

TEST_F(oab_qry_test, ViewMapRows) {
  const struct {
    long view;
    long field;
    long type;
    const char* path;
  } rows[] = {{289, 30, 270, "contact_role2contact:status"},
              {289, 35, 270, "contact_role2site:primary2bus_org:name"},
              {88, 9, 52, "status"},
              {88, 11, 173, "primary2bus_org:org_id"},
              {0, 0x1000004, 0, "id_number"},
              {192, 2, 192, "id_number"},
              {88, 99, 52, nullptr},
              {77, 1, -1, nullptr}};
  for (const auto& r : rows) {
    long type = 0;
    const char* path = "x";
    ASSERT_EQ(oab_qry_view_to_obj_map(r.view, r.field, &type, &path), 0);
    EXPECT_EQ(type, r.type) << r.view << " " << r.field;
    if (r.path == nullptr) {
      EXPECT_EQ(path, nullptr);
    } else {
      EXPECT_STREQ(path, r.path);
    }
  }
  long type = 0;
  ASSERT_EQ(oab_qry_view_to_obj_map(88, -1, &type, nullptr), 0);
  EXPECT_EQ(type, 52);
}

}  // namespace

namespace {

class oab_sec_test : public client_test {
 protected:
  utl_ty_col* objects(const std::vector<std::string>& names) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &col), 0);
    long number = 1;
    for (const auto& n : names) {
      dbs_ty_lobj* o = nullptr;
      EXPECT_EQ(dbs_obj_make(nullptr, CONTACT, &o), 0);
      set_name(o, n);
      set_long(o, F_RANK, number++);
      utl_col_push(col, &o, nullptr);
    }
    return col;
  }
};

TEST_F(oab_sec_test, RestrictionValuesAndOperators) {
  const struct {
    std::vector<std::string> names;
    long field;
    const char* prefix;
    const char* suffix;
    const char* expected;
  } rows[] = {{{"a", "b", "c"}, F_NAME, "", "", "('a','b','c')"},
              {{"O'Hara", "b"}, F_NAME, "", "", "('O''Hara','b')"},
              {{"a", "b"}, F_NAME, "x'", "%", "('x''a%','x''b%')"},
              {{"O'Hara"}, F_NAME, "", "", "O'Hara"},  // one value stays plain
              {{"a"}, F_NAME, "<", ">", "<a>"},
              {{}, F_NAME, "<", ">", "<>"},
              {{"a", "b"}, F_RANK, "", "", "('1','2')"}};
  for (const auto& r : rows) {
    utl_ty_col* col = objects(r.names);
    std::string out;
    ASSERT_EQ(oab_qry_bld_one_secure_value(col, r.field, r.prefix, r.suffix, &out), 0);
    EXPECT_EQ(out, r.expected);
    dbs_obj_free_local_col(nullptr, col);
  }
  const struct {
    long op;
    long values;
    long expected;
  } ops[] = {{OAB_PQ_EQ, 3, OAB_PQ_IN},          {OAB_PQ_NE, 3, OAB_PQ_NOT_IN}, {OAB_PQ_NOT_CONTAINS, 2, OAB_PQ_NOT_IN},
             {OAB_PQ_STARTS, 2, OAB_PQ_IN},      {OAB_PQ_NE, 1, OAB_PQ_NE},     {OAB_PQ_EQ, 0, OAB_PQ_EQ}};
  for (const auto& o : ops) EXPECT_EQ(oab_qry_secure_operator(o.op, o.values), o.expected) << o.op;
}

TEST_F(oab_sec_test, CombiningFormats) {
  const struct {
    long own;
    const char* own_format;
    char join;
    long n;
    const char* texts;
    const char* expected;
  } rows[] = {{2, nullptr, 0, 1, "%s", "( %s OR %s ) AND (%s)"},
              {2, nullptr, 1, 1, "%s", "( %s AND %s ) AND (%s)"},
              {1, "NOT %s", 1, 2, "%s OR %s", "( NOT %s ) AND (%s OR %s)"},
              {0, nullptr, 1, 1, "%s", " (%s)"},
              {0, nullptr, 1, 0, "", ""},
              {1, nullptr, 1, 0, "", "( %s )"},
              {1, nullptr, 1, 0, "x = 1", "( %s ) AND (x = 1)"}};
  for (const auto& r : rows)
    EXPECT_EQ(oab_qry_secure_format(r.own, r.own_format, r.join, r.n, r.texts), r.expected) << r.expected;
}

}  // namespace

namespace {

TEST_F(oab_qry_test, TraversePathReachesTheEndObjects) {
  seed(ACCOUNT, 7, "Acme");
  seed_fk(1, 7);
  seed(TAG, 1, "red");
  seed(TAG, 2, "blue");
  seed_link(1, 1);
  seed_link(1, 2);
  dbs_ty_lobj* ann = read(CONTACT, 1);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &col), 0);
  const struct {
    const char* path;
    long count;
    long final_type;
    long field;
    long data_type;
    const char* first;  // name of the first end object
  } rows[] = {{"contact2account:name", 1, ACCOUNT, F_NAME, 516, "Acme"},
              {"contact2account:size", 1, ACCOUNT, F_SIZE, 512, "Acme"},
              {"name", 1, CONTACT, F_NAME, 516, "Ann"},
              {"contact2tag:label", 2, TAG, F_NAME, 516, nullptr}};
  for (const auto& r : rows) {
    dbs_ty_lobj* end = nullptr;
    long type = 0;
    long field = -1;
    long data = 0;
    ASSERT_EQ(oab_qry_traverse_path(nullptr, ann, r.path, &end, col, &type, &field, &data, 0), 0)
        << r.path << " " << core_top_alert_text();
    EXPECT_EQ(col->count, r.count) << r.path;
    EXPECT_EQ(type, r.final_type) << r.path;
    EXPECT_EQ(field, r.field);
    EXPECT_EQ(data, r.data_type);
    ASSERT_NE(end, nullptr);
    if (r.first != nullptr) {
      EXPECT_EQ(name_of(end), r.first);
    }
    dbs_obj_free_local("t", end);
    dbs_obj_reset_local_col(col);
    utl_col_reset(col);
  }
  dbs_ty_lobj* end = nullptr;
  EXPECT_EQ(oab_qry_traverse_path(nullptr, ann, "", &end, col, nullptr, nullptr, nullptr, 0), 0);
  EXPECT_EQ(end, nullptr);
  EXPECT_NE(oab_qry_traverse_path(nullptr, ann, "no_such_rel:name", &end, col, nullptr, nullptr, nullptr, 0), 0);
  cmn_alrt_clear(nullptr);
  utl_col_free("t", col);
  dbs_obj_free_local("t", ann);
}

}  // namespace
