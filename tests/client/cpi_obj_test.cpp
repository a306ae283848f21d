// Objects and fields at the client interface: making, adding, updating,
// deleting by each flag, copying, ids, and values of every kind both ways.
#include <cstdint>
#include <cstring>
#include <string>

#include "client/cpi/cpi_fld.h"
#include "client/cpi_fixture.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

class cpi_obj_test : public cpi_test {
 protected:
  void TearDown() override {
    for (void* o : locals_) cpi_obj_free(o);
    cpi_test::TearDown();
  }
  // A local object of the type, freed after the test.
  void* local(const char* type) {
    void* o = nullptr;
    EXPECT_EQ(cpi_obj_make(type, 0, &o), 0);
    locals_.push_back(o);
    return o;
  }
  // A stored account read as a local object, freed after the test.
  void* stored_account(long number, const std::string& name) {
    seed(ACCOUNT, number, name, number * 10);
    void* o = read(ACCOUNT, number);
    locals_.push_back(o);
    return o;
  }
  static void set_clock(void* o, long day, long ticks) {
    clktime t{day, ticks};
    const clktime* p = &t;
    EXPECT_EQ(dbs_fld_set(cpi_obj_of(o), F_OPENED, &p), 0);
  }
  std::vector<void*> locals_;
};

TEST_F(cpi_obj_test, MakeAndCreateCheckTheirArgumentsInOrder) {
  void* o = nullptr;
  struct row {
    const char* what;
    std::function<long()> call;
    long code;
    std::string text;
  } rows[] = {
      {"make without type", [&] { return cpi_obj_make(nullptr, 0, nullptr); }, CPI_ALRT_BAD_PARAM,
       "Parameter number '1', 'obj_type' is invalid.\n"},
      {"make without output", [&] { return cpi_obj_make("account", 0, nullptr); }, CPI_ALRT_BAD_PARAM,
       "Parameter number '3', 'obj' is invalid.\n"},
      {"make of an unknown type", [&] { return cpi_obj_make("acount", 0, &o); }, CPI_ALRT_BAD_TYPE,
       "Object type 'acount' is not valid.\n"},
      {"create in no state", [&] { return cpi_obj_create(0, "account", 0, &o); }, CPI_ALRT_BAD_PARAM,
       "Parameter number '1', 'tstate' is invalid.\n"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(r.call(), r.code);
    EXPECT_EQ(top_text(), r.text);
    EXPECT_EQ(o, nullptr);
  }
  long s = state();
  EXPECT_EQ(cpi_obj_create(s, nullptr, 0, &o), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '2', 'obj_type' is invalid.\n");
  EXPECT_EQ(cpi_obj_create(s, "ACCOUNT", 0, &o), 0);
  long type = 0;
  EXPECT_EQ(cpi_obj_get_obj_type(o, &type), 0);
  EXPECT_EQ(type, ACCOUNT);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_obj_test, EveryKindOfValueGoesInAndComesBack) {
  void* a = local("account");
  long size = 42;
  float ratio = 0.25f;
  double weight = 1234.5;
  cmn_ty_decimal balance{};
  std::strcpy(balance.text, "12.50");
  balance.precision = 4;
  balance.scale = 2;
  ASSERT_EQ(cpi_obj_set_field(a, "name", "north", 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "size", &size, 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "ratio", &ratio, 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "weight", &weight, 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "opened", "03/04/2025 10:20:30", 0), 0) << alert_texts();
  ASSERT_EQ(cpi_obj_set_field(a, "balance", &balance, 0), 0) << alert_texts();
  union {
    long l;
    float f;
    double d;
    const char* s;
    void* p;
  } slot{};
  long type = 0;
  ASSERT_EQ(cpi_obj_get_field(a, "name", 0, &slot, &type), 0);
  EXPECT_STREQ(slot.s, "north");
  EXPECT_EQ(type, CPI_FT_TEXT);
  ASSERT_EQ(cpi_obj_get_field(a, "size", 0, &slot, &type), 0);
  EXPECT_EQ(slot.l, 42);
  EXPECT_EQ(type, CPI_FT_LONG);
  ASSERT_EQ(cpi_obj_get_field(a, "ratio", 0, &slot, nullptr), 0);
  EXPECT_FLOAT_EQ(slot.f, 0.25f);
  ASSERT_EQ(cpi_obj_get_field(a, "weight", 0, &slot, nullptr), 0);
  EXPECT_DOUBLE_EQ(slot.d, 1234.5);
  ASSERT_EQ(cpi_obj_get_field(a, "opened", 0, &slot, &type), 0);
  EXPECT_STREQ(slot.s, "03/04/2025 10:20:30");
  EXPECT_EQ(type, CPI_FT_DATE);
  ASSERT_EQ(cpi_obj_get_field(a, "balance", 0, &slot, &type), 0);
  EXPECT_EQ(type, CPI_FT_DECIMAL);
  EXPECT_STREQ(static_cast<cmn_ty_decimal*>(slot.p)->text, "12.50");
  long st = cpi_obj_get_field(a, "nothing", 0, &slot, &type);
  EXPECT_NE(st, 0);
  EXPECT_EQ(top_code(), st);
  EXPECT_EQ(cpi_obj_get_field(nullptr, "name", 0, &slot, &type), CPI_ALRT_BAD_PARAM);
}

TEST_F(cpi_obj_test, ANullDateReadsAsTheClocksNullDateTextThatLivesWithTheObject) {
  void* a = local("account");
  const char* text = nullptr;
  ASSERT_EQ(cpi_obj_get_field(a, "opened", 0, &text, nullptr), 0);
  clktime null_date{CPI_NULL_DATE_DAY, 0};
  char expected[CPI_DATE_TEXT_SIZE] = {};
  clk_time_clk_to_str(&null_date, expected, sizeof expected);
  EXPECT_STREQ(text, expected);
  const char* again = nullptr;
  ASSERT_EQ(cpi_obj_get_field(a, "opened", 0, &again, nullptr), 0);
  EXPECT_STREQ(text, expected);
  EXPECT_NE(text, again);
}

TEST_F(cpi_obj_test, SeveralFieldsAreSetInOrderUntilTheFirstFailure) {
  void* a = local("account");
  long size = 7;
  const char* names[] = {"name", "opened", "size", "nothing", "weight"};
  double weight = 2;
  void* const values[] = {const_cast<char*>("east"), const_cast<char*>("01/02/2024 00:00:00"), &size,
                          &size, &weight};
  EXPECT_EQ(cpi_obj_set_mult_fields(a, 0, names, values, 0), 0);
  EXPECT_NE(cpi_obj_set_mult_fields(a, 5, names, values, 0), 0);
  EXPECT_EQ(name_of(cpi_obj_of(a)), "east");
  EXPECT_EQ(long_of(cpi_obj_of(a), F_SIZE), 7);
  const char* text = nullptr;
  long number = 0;
  void* const outs[] = {&text, &number};
  const char* read_names[] = {"opened", "size"};
  long types[2] = {};
  ASSERT_EQ(cpi_obj_get_mult_fields(a, 2, read_names, 0, outs, types), 0);
  EXPECT_STREQ(text, "01/02/2024 00:00:00");
  EXPECT_EQ(number, 7);
  EXPECT_EQ(types[0], CPI_FT_DATE);
  EXPECT_EQ(types[1], CPI_FT_LONG);
}

TEST_F(cpi_obj_test, ExtremeDatesAreTold) {
  void* a = local("account");
  struct row {
    long day, ticks, kind;
  } rows[] = {{CPI_NULL_DATE_DAY, 0, 1},
              {CPI_NULL_DATE_DAY, 5, 0},
              {CPI_FAR_FUTURE_DAY - 1, 0, 0},
              {CPI_FAR_FUTURE_DAY, 0, 2},
              {CPI_FAR_FUTURE_DAY + 9, 7, 2},
              {46000, 0, 0}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.day);
    set_clock(a, r.day, r.ticks);
    long is_date = 9, kind = 9;
    EXPECT_EQ(cpi_obj_check_minmax_date(a, "opened", 0, &is_date, &kind), 0);
    EXPECT_EQ(is_date, 1);
    EXPECT_EQ(kind, r.kind);
  }
  long is_date = 9, kind = 9;
  EXPECT_EQ(cpi_obj_check_minmax_date(a, "name", 0, &is_date, &kind), 0);
  EXPECT_EQ(is_date, 0);
  EXPECT_EQ(kind, 0);
}

TEST_F(cpi_obj_test, UpdateRefusesAnObjectNeverSavedUnlessAsked) {
  long s = state();
  void* fresh = local("account");
  EXPECT_EQ(cpi_obj_update(s, fresh, 0), CPI_ALRT_NOT_PERMANENT);
  void* a = stored_account(5, "north");
  ASSERT_EQ(cpi_obj_update(s, a, 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "name", "south", 0), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, 5, 0}, F_NAME), "south");
  long found = 0;
  EXPECT_EQ(cpi_obj_find_obj_hdl_in_state(s, a, 0, &found), 0);
  EXPECT_EQ(found, 1);
  cpi_ty_objid id = objid(ACCOUNT, 5);
  void* held = nullptr;
  EXPECT_EQ(cpi_obj_find_byid(s, &id, 0, &held), 0);
  EXPECT_EQ(held, a);
  EXPECT_EQ(cpi_obj_remove(s, a), 0);
  EXPECT_EQ(cpi_obj_find_obj_hdl_in_state(s, a, 0, &found), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_obj_test, DeleteGoesByItsFlags) {
  seed(ACCOUNT, 1, "a");
  seed(ACCOUNT, 2, "b");
  seed(ACCOUNT, 3, "c");
  seed(ACCOUNT, 4, "d");
  long s = state();
  void* unsaved = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &unsaved), 0);
  EXPECT_EQ(cpi_obj_delete(s, unsaved, 0), CPI_ALRT_DELETE_UNSAVED);
  EXPECT_EQ(top_text(), "A record with objid = 0 cannot be deleted (it must have a valid objid).\n");
  void* kept = read(ACCOUNT, 3);
  EXPECT_EQ(cpi_obj_delete(0, kept, 3), CPI_ALRT_BAD_PARAM);
  ASSERT_EQ(cpi_obj_add(s, kept, 0), 0);
  ASSERT_EQ(cpi_obj_delete(s, kept, 3), 0);
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 3, 0}));
  EXPECT_EQ(number_of(cpi_obj_of(kept)), 3);
  void* later = read(ACCOUNT, 2);
  ASSERT_EQ(cpi_obj_add(s, later, 0), 0);
  ASSERT_EQ(cpi_obj_delete(s, later, 2), 0);
  EXPECT_TRUE(adp_mem::has_row({ACCOUNT, 2, 0}));
  void* now = read(ACCOUNT, 1);
  ASSERT_EQ(cpi_obj_add(s, now, 0), 0);
  ASSERT_EQ(cpi_obj_delete(s, now, 0), 0);
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 1, 0}));
  void* forced = read(ACCOUNT, 4);
  ASSERT_EQ(cpi_obj_add(s, forced, 0), 0);
  ASSERT_EQ(cpi_obj_delete(s, forced, 1), 0);
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 4, 0}));
  long n = 0;
  EXPECT_EQ(cpi_state_count(s, "account", &n), 0);
  EXPECT_EQ(n, 3);  // the new one, the kept handle and the one deleted at commit
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 2, 0}));
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_obj_test, CopyIdAndExistence) {
  void* a = stored_account(6, "west");
  void* copy = nullptr;
  EXPECT_EQ(cpi_obj_copy(a, nullptr, 0), CPI_ALRT_BAD_PARAMS);
  ASSERT_EQ(cpi_obj_copy(a, &copy, 1), 0);
  locals_.push_back(copy);
  EXPECT_EQ(name_of(cpi_obj_of(copy)), "west");
  cpi_ty_objid id{9, 9, 9};
  long saved = 9, number = 9;
  const char* type_name = nullptr;
  ASSERT_EQ(cpi_obj_id(copy, &id, &saved, &type_name, &number), 0);
  EXPECT_EQ(id.id_number, 0);
  EXPECT_EQ(saved, 0);
  EXPECT_EQ(number, 0);
  EXPECT_STREQ(type_name, "account");
  ASSERT_EQ(cpi_obj_id(a, &id, &saved, &type_name, &number), 0);
  EXPECT_EQ(id.type_word & CPI_OBJID_TYPE_MASK, ACCOUNT);
  EXPECT_EQ(id.id_number, 6);
  EXPECT_EQ(saved, 1);
  EXPECT_EQ(number, 6);
  EXPECT_EQ(cpi_obj_id(nullptr, &id, &saved, nullptr, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(id.id_number, 0);
  long exists = 9;
  EXPECT_EQ(cpi_obj_exists(copy, 0, &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(cpi_obj_exists(a, 0, &exists), 0);
  EXPECT_EQ(exists, 1);
  adp_mem::obj_delete({ACCOUNT, 6, 0});
  EXPECT_EQ(cpi_obj_exists(a, 0, &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(cpi_obj_exists(a, 0, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '3', 'exists' is invalid.\n");
}

TEST_F(cpi_obj_test, TypesFieldsAndLengthsByName) {
  void* a = local("account");
  long n = 0;
  EXPECT_EQ(cpi_obj_num_fields(a, 0, &n), 0);
  EXPECT_EQ(n, 8);
  EXPECT_EQ(cpi_obj_num_fields(a, 0, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_STREQ(cpi_obj_typename(ACCOUNT), "account");
  EXPECT_STREQ(cpi_obj_typename(512), cmn_typ_name(512));
  EXPECT_EQ(top_code(), 0);
  const char* names[] = {"NAME", "Balance"};
  long ids[2] = {}, types[2] = {};
  EXPECT_EQ(cpi_obj_get_field_ids(ACCOUNT, 2, names, ids, types), 0);
  EXPECT_EQ(ids[0], F_NAME);
  EXPECT_EQ(ids[1], F_BALANCE);
  EXPECT_EQ(types[1], CPI_FT_DECIMAL);
  const char* wrong[] = {"name", "colour"};
  EXPECT_EQ(cpi_obj_get_field_ids(ACCOUNT, 2, wrong, ids, nullptr), CPI_ALRT_NO_FIELD);
  EXPECT_EQ(top_text(), "Field name 'colour' does not exist for object type 'account'.\n");
  long length = 0;
  EXPECT_EQ(cpi_obj_get_field_length("account", "name", &length), 0);
  EXPECT_EQ(length, 30);
}

TEST_F(cpi_obj_test, DirtyFieldsBecomeConditions) {
  void* a = local("account");
  long dirty = 9;
  EXPECT_EQ(cpi_obj_check_dirty(a, nullptr, &dirty), 0);
  EXPECT_EQ(dirty, 0);
  long size = 3;
  ASSERT_EQ(cpi_obj_set_field(a, "name", "no", 0), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "size", &size, 0), 0);
  EXPECT_EQ(cpi_obj_check_dirty(a, "Name", &dirty), 0);
  EXPECT_EQ(dirty, 1);
  EXPECT_EQ(cpi_obj_check_dirty(a, "balance", &dirty), 0);
  EXPECT_EQ(dirty, 0);
  EXPECT_EQ(cpi_obj_check_dirty(a, "", &dirty), 0);
  EXPECT_EQ(dirty, 1);
  utl_ty_col* conds = nullptr;
  ASSERT_EQ(utl_col_make("t", OST_TY_COND, 4, 4, 0, 0, &conds), 0);
  EXPECT_EQ(cpi_obj_to_conds(nullptr, conds, 0), 0);
  ASSERT_EQ(cpi_obj_to_conds(a, conds, 0), 0);
  long n = 0;
  utl_col_num(conds, &n);
  ASSERT_EQ(n, 2);
  void* e = nullptr;
  utl_col_ith(conds, 0, &e);
  const long* c = static_cast<const long*>(e);
  EXPECT_EQ(c[0], F_NAME);
  EXPECT_EQ(c[1], CPI_OP_STARTS_WITH);
  EXPECT_STREQ(reinterpret_cast<const char*>(c[2]), "no");
  utl_col_ith(conds, 1, &e);
  c = static_cast<const long*>(e);
  EXPECT_EQ(c[0], F_SIZE);
  EXPECT_EQ(c[1], CPI_OP_EQUAL);
  EXPECT_EQ(c[2], 3);
  utl_col_free("t", conds);
}

// A collection of field names.
utl_ty_col* name_list(std::initializer_list<const char*> names) {
  utl_ty_col* col = nullptr;
  EXPECT_EQ(utl_col_make("t", 516, 4, 4, 0, 0, &col), 0);
  for (const char* n : names) EXPECT_EQ(utl_col_push(col, n, nullptr), 0);
  return col;
}

TEST_F(cpi_obj_test, TransformCopiesByNamePairsAndRefusesALongerTargetList) {
  void* a = stored_account(4, "ann");
  void* s = local("scratch");
  utl_ty_col* from = name_list({"name", "size"});
  utl_ty_col* too_many = name_list({"name", "rank", "synced"});
  EXPECT_EQ(cpi_obj_transform(a, from, s, too_many), CPI_ALRT_BAD_PARAMS);
  EXPECT_EQ(name_of(cpi_obj_of(s)), "");
  utl_ty_col* to = name_list({"NAME", "rank"});
  ASSERT_EQ(cpi_obj_transform(a, from, s, to), 0) << alert_texts();
  EXPECT_EQ(name_of(cpi_obj_of(s)), "ann");
  EXPECT_EQ(long_of(cpi_obj_of(s), F_RANK), 40);
  for (utl_ty_col* c : {from, too_many, to}) utl_col_free("t", c);
}

class cpi_path_test : public cpi_obj_test {
 protected:
  // The path value's text and found flag; the text is freed here.
  long path_value(void* root, const char* path, std::string* text, long* found) {
    void* out = nullptr;
    long st = cpi_obj_get_path_value(root, path, '[', ']', &out, found);
    if (out) {
      *text = utl_estr_get(static_cast<utl_ty_estr*>(out));
      utl_estr_free("t", static_cast<utl_ty_estr*>(out));
    }
    return st;
  }
};

TEST_F(cpi_path_test, PathValuesComeFromTheObjectOrItsRelatives) {
  void* a = stored_account(2, "north");
  seed(CONTACT, 8, "ann");
  seed(CONTACT, 9, "bob");
  seed_fk(8, 2);
  seed_fk(9, 2);
  void* c = read(CONTACT, 8);
  locals_.push_back(c);
  struct row {
    void* root;
    const char* path;
    std::string text;
    long found;
  } rows[] = {
      {a, "[name]", "[north]", 1},
      {a, "size", "[20]", 1},
      {c, "contact2account:name", "[north]", 1},
      {a, "account2contact:name", "[annbob]", 1},
      {a, "colour", "[", 0},
      {a, "nowhere:name", "[", 0},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.path);
    std::string text;
    long found = 9;
    EXPECT_EQ(path_value(r.root, r.path, &text, &found), 0);
    EXPECT_EQ(text, r.text);
    EXPECT_EQ(found, r.found);
  }
  EXPECT_EQ(top_code(), 0);
}

TEST_F(cpi_path_test, PathArgumentsAreCheckedInOrder) {
  void* a = local("account");
  void* out = nullptr;
  long found = 0;
  EXPECT_EQ(cpi_obj_get_path_value(nullptr, "name", '[', ']', &out, &found), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '1', 'root_obj_hdl' is invalid.\n");
  EXPECT_EQ(cpi_obj_get_path_value(a, "", '[', ']', &out, &found), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '2', 'path' is invalid.\n");
  EXPECT_EQ(cpi_obj_get_path_value(a, "name", '[', ']', nullptr, &found), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '5', 'value' is invalid.\n");
  EXPECT_EQ(cpi_obj_get_path_value(a, "name", '[', ']', &out, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '6', 'found' is invalid.\n");
  EXPECT_EQ(out, nullptr);
}

}  // namespace

namespace {

TEST_F(cpi_obj_test, OpenEndedDateTextsAndTheFlagsLowByte) {
  void* a = local("account");
  struct row {
    const char* text;
    long flag;
    long kind;
  } rows[] = {{"*", 1, 2}, {"?", 257, 1}, {"*", 0, 2}, {"05/06/2020 00:00:00", 1, 0}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    ASSERT_EQ(cpi_obj_set_field_inf(a, "opened", r.text, 0, r.flag), 0) << alert_texts();
    long is_date = 0, kind = 9;
    EXPECT_EQ(cpi_obj_check_minmax_date(a, "opened", 0, &is_date, &kind), 0);
    EXPECT_EQ(kind, r.kind);
  }
  long size = 12;
  EXPECT_EQ(cpi_obj_set_field_inf(a, "size", &size, 0, 1), 0);
  EXPECT_EQ(long_of(cpi_obj_of(a), F_SIZE), 12);
  void* block = nullptr;
  ASSERT_EQ(cpi_obj_allocate(a, 10, &block), 0);
  std::memset(block, 'x', 11);
  // Every block is aligned for any value, whatever was taken before it.
  for (long n : {1L, 2L, 7L, 0L}) {
    ASSERT_EQ(cpi_obj_allocate(a, n, &block), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(cmn_ty_decimal), 0u) << n;
  }
}

// The level's names in order.
std::string level_names(cpi_ty_qry_result* r) {
  long n = 0;
  void** objects = nullptr;
  EXPECT_EQ(cpi_qry_get_result(r, 0, 0, &n, &objects), 0);
  std::string all;
  for (long i = 0; i < n; ++i) {
    const char* name = nullptr;
    cpi_obj_get_field(objects[i], "name", 0, &name, nullptr);
    all += std::string(name ? name : "?") + " ";
  }
  return all;
}

TEST_F(cpi_obj_test, RelatedObjectsAsTheStateHoldsThemComeAsOneLevel) {
  seed(ACCOUNT, 1, "north");
  seed(CONTACT, 10, "ann");
  seed_fk(10, 1);
  long s = state();
  void *fresh_account = nullptr, *fresh = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &fresh_account), 0);
  ASSERT_EQ(cpi_obj_create(s, "contact", 0, &fresh), 0);
  ASSERT_EQ(cpi_obj_set_field(fresh, "name", "new", 0), 0);
  ASSERT_EQ(cpi_rel_objs(s, fresh_account, fresh, "account2contact", 1), 0);
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_obj_find_related_in_state(s, fresh_account, "account2contact", 0, &r), 0) << alert_texts();
  EXPECT_EQ(level_names(r), "new ");
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  // A stored object's relations come from the state's relation cache only.
  void* stored = read(ACCOUNT, 1);
  ASSERT_EQ(cpi_obj_add(s, stored, 0), 0);
  ASSERT_EQ(cpi_obj_find_related_in_state(s, stored, "account2contact", 0, &r), 0) << alert_texts();
  EXPECT_EQ(level_names(r), "");
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  long st = cpi_obj_find_related_in_state(s, stored, "account2nothing", 0, &r);
  EXPECT_NE(st, 0);
  EXPECT_EQ(top_code(), st);
  // A local object not in the state is freed; the state's own are kept.
  void* loose = nullptr;
  ASSERT_EQ(cpi_obj_make("tag", 0, &loose), 0);
  EXPECT_EQ(cpi_obj_free_not_in_state(s, loose), 0);
  EXPECT_EQ(cpi_obj_free_not_in_state(s, fresh), 0);
  EXPECT_EQ(cpi_obj_free_not_in_state(s, nullptr), 0);
  long held = 0;
  EXPECT_EQ(cpi_state_count(s, nullptr, &held), 0);
  EXPECT_EQ(held, 3);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_obj_test, DumpPrintsTheObjectWithItsFields) {
  void* a = local("account");
  ASSERT_EQ(cpi_obj_set_field(a, "name", "harbour", 0), 0);
  std::string text = written([&](FILE* f) { EXPECT_EQ(cpi_obj_dump(a, f), 0); });
  EXPECT_NE(text.find("harbour"), std::string::npos) << text;
  EXPECT_EQ(cpi_obj_dump(nullptr, stdout), CPI_ALRT_BAD_PARAM);
}

}  // namespace
