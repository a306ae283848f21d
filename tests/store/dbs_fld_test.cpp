// Field values: the writer's flags, the readers and the type-634 procedures.
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

class fields : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
    o = make(17);
  }
  void TearDown() override {
    dbs_obj_free_local("test", o);
    store_test::TearDown();
  }
  std::string text(long id) {
    long w = 0;
    EXPECT_EQ(dbs_fld_get(o, id, &w, nullptr), 0);
    return reinterpret_cast<const char*>(w);
  }
  unsigned char dirty(long id) { return o->dirty[id]; }
  dbs_ty_lobj* o = nullptr;
};

constexpr long kOid = TYP_GENERIC | 3;

}  // namespace

TEST_F(fields, ObjectIdFieldNeedsItsFlag) {
  long v = 9;
  EXPECT_EQ(dbs_fld_set(o, kOid, &v), DBS_OID_FIELD);
  EXPECT_EQ(dirty(0), 0);  // a refused write leaves the dirty byte
  EXPECT_EQ(dbs_fld_set(o, 0, &v), DBS_OID_FIELD);  // by spec id too
  EXPECT_EQ(dbs_fld_set_local(o, kOid, &v, 1), 0);
  long w = 0;
  dbs_fld_get(o, kOid, &w, nullptr);
  EXPECT_EQ(w, 9);
}

TEST_F(fields, TextLimitsByWriter) {
  const char* thirty = "abcdefghijklmnopqrstuvwxyz0123";
  struct row {
    long flags;
    long status;
    const char* stored;
  } rows[] = {
      {DBS_FLD_CUT, 0, "abcdefghijklmnopqrstuvwxy"},
      {DBS_FLD_MARK4, DBS_TOO_LONG, "abcdefghijklmnopqrstuvwxy"},  // left as it was
      {DBS_FLD_NO_CHECK, 0, "abcdefghijklmnopqrstuvwxyz0123"},
  };
  for (const row& r : rows) {
    EXPECT_EQ(dbs_fld_set_it(o, 1, &thirty, r.flags), r.status) << r.flags;
    EXPECT_EQ(text(1), r.stored) << r.flags;
  }
  EXPECT_EQ(dbs_fld_set_relative(o, 1, &thirty, 1), DBS_TOO_LONG);
  const char* msg = nullptr;
  long n = core_num_alerts();
  ASSERT_GT(n, 0);
  cmn_alrt_ith(nullptr, n - 1, nullptr, &msg);
  EXPECT_NE(std::string(msg).find("'abcdefghijklmnopqrst...' is too long for item 'title' of 'case'"),
            std::string::npos);
}

TEST_F(fields, DirtyMarksByFlags) {
  const char* t = "x";
  ASSERT_EQ(dbs_fld_set_relative(o, 1, &t, 1), 0);
  EXPECT_EQ(dirty(1), 1 | 2);
  ASSERT_EQ(dbs_fld_set_relative(o, 2, &t, 0), 0);
  EXPECT_EQ(dirty(2), 1 | 4);
  char d = 0;
  dbs_fld_is_dirty(o, 1, &d);
  EXPECT_EQ(d, 1);
  dbs_fld_set_dirty(o, 1, 0);
  dbs_fld_is_dirty(o, 1, &d);
  EXPECT_EQ(d, 0);
}

TEST_F(fields, UnlimitedTextIsCutAtTwoMillion) {
  std::string big(3000000, 'q');
  const char* p = big.c_str();
  ASSERT_EQ(dbs_fld_set(o, 2, &p), 0);
  EXPECT_EQ(text(2).size(), 2000000u);
  EXPECT_EQ(dbs_fld_set_relative(o, 2, &p, 0), DBS_TOO_LONG);
  void* addr = nullptr;
  long type = 0, max = 0;
  char inl = 0;
  ASSERT_EQ(dbs_fld_get_addr(o, 2, &addr, &type, &inl, &max), 0);
  EXPECT_EQ(max, 2000000);
  EXPECT_EQ(inl, 0);
}

TEST_F(fields, TypeIdPseudoFieldAndRoundedDecimals) {
  long w = 0, type = 0;
  ASSERT_EQ(dbs_fld_get(o, DBS_FLD_TYPE_ID, &w, &type), 0);
  EXPECT_EQ(w, 17);
  EXPECT_EQ(type, 512);
  long v = 1;
  EXPECT_NE(dbs_fld_set_local(o, DBS_FLD_TYPE_ID, &v, 1), 0);
  cmn_ty_decimal d{};
  std::strcpy(d.text, "12.345");
  d.precision = 5;
  d.scale = 2;
  cmn_ty_decimal* dp = &d;
  ASSERT_EQ(dbs_fld_set(o, 4, &dp), 0);
  // Bypass the writer: a read still rounds the value in place.
  std::strcpy(static_cast<cmn_ty_decimal*>(o->slots[4].p)->text, "1.005");
  ASSERT_EQ(dbs_fld_get(o, 4, &w, &type), 0);
  EXPECT_EQ(type, 766);
  EXPECT_STREQ(reinterpret_cast<cmn_ty_decimal*>(w)->text, "1.01");
  EXPECT_EQ(dbs_fld_get(nullptr, 4, &w, &type), 0);
}

TEST_F(fields, EachTextWriteTakesNewPoolSpace) {
  const char* t = "some text of a field";
  long before = 0;
  for (auto* e = o->pool->first; e; e = e->next) before += e->size - e->left;
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(dbs_fld_set(o, 1, &t), 0);
  long after = 0;
  for (auto* e = o->pool->first; e; e = e->next) after += e->size - e->left;
  EXPECT_GE(after - before, 1000 * 21);
}

TEST_F(fields, CompareValues) {
  dbs_ty_lobj* b = make(17);
  long r = 0;
  ASSERT_EQ(dbs_fld_val_cmp(o, 1, b, 1, &r), 0);
  EXPECT_EQ(r, 0);
  const char* t = "zzz";
  dbs_fld_set(b, 1, &t);
  ASSERT_EQ(dbs_fld_val_cmp(o, 1, b, 1, &r), 0);
  EXPECT_LT(r, 0);
  EXPECT_EQ(dbs_fld_val_cmp(o, 1, b, 3, &r), DBS_CMP_TYPES);
  EXPECT_EQ(dbs_fld_obj_cmp(&b, &o, 1), 1);
  dbs_obj_free_local("test", b);
}

TEST_F(fields, AnyObjectGetAndSet) {
  // A long field read as text and a text written from a long.
  dbs_ty_fld_desc d{3, 512, nullptr, 516, 0, 0};
  char* out = nullptr;
  long allocated = 0;
  ASSERT_EQ(dbs_mth_ofld_get(o, &d, 0, &out, &allocated), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "7");
  if (allocated) cmn_typ_dealloc("test", out);

  long value = 1234;
  dbs_ty_fld_desc s{1, 512, nullptr, 0, 0, 0};
  ASSERT_EQ(dbs_mth_ofld_set(o, &s, &value), 0);
  EXPECT_EQ(text(1), "1234");

  // A missing field gives the wanted type's default, and no alert.
  dbs_ty_fld_desc m{77, 512, nullptr, 512, 0, 0};
  long lv = 5;
  long* lp = &lv;
  ASSERT_EQ(dbs_mth_ofld_get(o, &m, sizeof(long), &lp, &allocated), 0);
  EXPECT_EQ(*lp, 0);
  EXPECT_EQ(core_num_alerts(), 0);

  // A formatted descriptor cannot be written.
  dbs_ty_fmt_desc f{0, nullptr, "x"};
  dbs_ty_fld_desc fd{1, 516, &f, 516, 0, 0};
  std::string printed = store_stdout_of([&] { EXPECT_EQ(dbs_mth_ofld_set(o, &fd, &value), 1); });
  EXPECT_NE(printed.find("cannot set object fields from a formatted string"), std::string::npos);
  EXPECT_EQ(text(1), "1234");
}

TEST_F(fields, FormatIsBoundedAndPassesTwentyTexts) {
  const char* t = "title";
  dbs_fld_set(o, 1, &t);
  dbs_ty_fld_desc args[1] = {{1, 516, nullptr, 516, 0, 0}};
  dbs_ty_fmt_desc f{1, args, "[%s|%s|%s|%d]"};
  const char* out = nullptr;
  ASSERT_EQ(dbs_mth_format(o, &f, &out), 0);
  EXPECT_STREQ(out, "[title|||%d]");  // missing arguments are empty; %d is literal
  std::string big(2000, 'w');
  const char* bp = big.c_str();
  dbs_ty_fld_desc nf{2, 516, nullptr, 516, 0, 0};
  ASSERT_EQ(dbs_fld_set(o, 2, &bp), 0);
  dbs_ty_fld_desc many[2] = {nf, nf};
  dbs_ty_fmt_desc g{2, many, "%s%s"};
  ASSERT_EQ(dbs_mth_format(o, &g, &out), 0);
  EXPECT_EQ(std::strlen(out), 1023u);
}

TEST_F(fields, DefaultValues) {
  double dv = 3;
  double* dp = &dv;
  long allocated = 0;
  ASSERT_EQ(dbs_mth_default_value(613, &dp, sizeof(double), &allocated), 0);
  EXPECT_EQ(dv, 0.0);
  EXPECT_EQ(allocated, 0);
  EXPECT_EQ(dbs_mth_default_value(700, &dp, 8, &allocated), DBS_NO_DEFAULT);
  void* addr = nullptr;
  char inl = 0;
  long max = 0;
  ASSERT_EQ(dbs_mth_default_value_addr(17, DBS_FLD_TYPE_ID, &addr, &inl, &max), 0);
  EXPECT_EQ(*static_cast<long*>(addr), 17);
  EXPECT_EQ(inl, 1);
  EXPECT_EQ(max, -1);
  EXPECT_EQ(dbs_mth_default_value_addr(17, 4, &addr, &inl, &max), DBS_NO_DEFAULT_ADDR);
}

TEST_F(fields, ManyByNameAndComparisonsInOrder) {
  const char* names[] = {"title", "count"};
  const char* t = "by name";
  long c = 9;
  const void* values[] = {&t, &c};
  ASSERT_EQ(dbs_fld_set_mult_by_name(o, 2, names, values), 0);
  long out[2] = {}, types[2] = {};
  ASSERT_EQ(dbs_fld_get_mult_by_name(o, 2, names, out, types), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(out[0]), "by name");
  EXPECT_EQ(out[1], 9);
  EXPECT_EQ(types[1], 512);
  const char* bad[] = {"title", "nosuch"};
  EXPECT_NE(dbs_fld_get_mult_by_name(o, 2, bad, out, nullptr), 0);

  dbs_ty_lobj* b = make(17);
  long ids[] = {3, 1};
  long r = 0;
  ASSERT_EQ(dbs_fld_val_cmp_mult(o, ids, b, nullptr, 2, &r), 0);
  EXPECT_GT(r, 0);  // 9 > 7 decides before the titles
  dbs_ty_lobj* objs[] = {b, o};
  long ids2[] = {1, 3};
  ASSERT_EQ(dbs_fld_val_cmp_obj2objs(o, ids2, objs, nullptr, 2, &r), 0);
  EXPECT_LT(r, 0);  // "by name" < "untitled"
  dbs_obj_free_local("test", b);
}

TEST_F(fields, CaseCheckFollowsTheHeader) {
  char out = 9;
  ASSERT_EQ(dbs_fld_check_case(nullptr, 17, 1, &out), 0);
  EXPECT_EQ(out, 0);
  o->schema->fields[1].flags |= 0x100;
  adp_store::st().stored.flags = 1;
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  ASSERT_EQ(dbs_fld_check_case(nullptr, 17, 1, &out), 0);
  EXPECT_EQ(out, 1);
  ASSERT_EQ(dbs_fld_check_case(nullptr, 17, 2, &out), 0);
  EXPECT_EQ(out, 0);
  char cur = 9;
  ASSERT_EQ(dbs_fld_is_currency_field(4242, 1, &cur), 0);
  EXPECT_EQ(cur, 0);
}

TEST_F(fields, NullValuesAreRefusedOrEmpty) {
  EXPECT_EQ(dbs_fld_set(o, 1, nullptr), DBS_NULL_OBJECT);
  clktime* none = nullptr;
  EXPECT_EQ(dbs_fld_set(o, 5, &none), DBS_NULL_OBJECT);
  EXPECT_EQ(o->dirty[5], 0);
  const char* null_text = nullptr;
  ASSERT_EQ(dbs_fld_set(o, 1, &null_text), 0);
  EXPECT_EQ(text(1), "");
  long v = 1;
  EXPECT_EQ(dbs_fld_set(nullptr, 1, &v), DBS_NULL_OBJECT);
}

namespace {
long count_fields(dbs_ty_lobj*, long spec, long, long type, void*, void* user, char* stop) {
  auto* seen = static_cast<std::string*>(user);
  *seen += std::to_string(spec) + ":" + std::to_string(type) + " ";
  if (spec == 3) *stop = 1;
  return 0;
}
}  // namespace

TEST_F(fields, WalksNamesAndVerification) {
  std::string seen;
  ASSERT_EQ(dbs_fld_for_all(o, count_fields, &seen, 0x1), 0);
  EXPECT_EQ(seen, "0:512 1:516 2:516 3:512 ");  // stopped at field 3
  long id = 0;
  ASSERT_EQ(dbs_fld_exist(o, "count", &id), 0);
  EXPECT_EQ(id, 3);
  ASSERT_EQ(dbs_fld_exist(o, "COUNT", &id), 0);
  EXPECT_EQ(id, -1);  // exact names only
  char maps = 9;
  ASSERT_EQ(dbs_fld_verify(o, 99, &maps), 0);
  EXPECT_EQ(maps, 0);
  EXPECT_EQ(core_num_alerts(), 0);  // the mapping alert is cleared
  ASSERT_EQ(dbs_fld_verify(o, TYP_GENERIC | 46, &maps), 0);
  EXPECT_EQ(maps, 1);
  char locale = 0;
  ASSERT_EQ(dbs_fld_id_get_by_name_for_genid(o, "when", &id, &locale), 0);
  EXPECT_EQ(id, 5);
  EXPECT_EQ(locale, 0);
}

TEST_F(fields, AnyObjectCompareAndIdPrint) {
  dbs_ty_lobj* b = make(17);
  long n = 4;
  dbs_fld_set_local(o, TYP_GENERIC | 3, &n, 1);
  dbs_fld_set_local(b, TYP_GENERIC | 3, &n, 1);
  EXPECT_EQ(dbs_mth_compare_gen_obj(o, b), 0);
  n = 5;
  dbs_fld_set_local(b, TYP_GENERIC | 3, &n, 1);
  EXPECT_EQ(dbs_mth_compare_gen_obj(o, b), 1);
  dbs_obj_free_local("test", b);
  obj_id id{17, 255, 0};
  std::string out = store_stdout_of([&] { dbs_obj_oid_print_val(nullptr, 2, &id, 594, 0); });
  EXPECT_EQ(out, "  OBJECT TYPE = 17\n  LONG INTEGER = 255 (0xff)\n");
  obj_id a{17, -1, 0}, c{17, 1, 0}, d{0x20011, 1, 9};
  EXPECT_LT(dbs_obj_oidcmp(&a, &c), 0);  // numbers compare signed
  EXPECT_EQ(dbs_obj_oidcmp(&c, &d), 0);   // 17 type bits; the third word is not compared
}
