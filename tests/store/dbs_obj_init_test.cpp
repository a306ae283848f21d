// Initial values of local objects: every boxed value on its own 8-byte
// boundary inside the object's pool, values apart from one another, default
// texts longer than the pool's extent, and the same values after a clear.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

const std::string kLongDefault(150, 'd');  // more than a new object's extent

class object_init : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    auto& s = adp_store::st();
    s.types.push_back({19, 2, "memo"});
    const std::vector<adp_store::dict_field> memo = {
        {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 19, ""},
        {"body", 516, 10, 0, -1, -1, 0x1, -1, 1, 19, kLongDefault},
        {"ratio", 514, 6, 0, -1, -1, 0x1, -1, 2, 19, ""},
        {"first", 516, 3, 20, -1, -1, 0x1, -1, 3, 19, ""},
        {"rate", 613, 4, 0, -1, -1, 0x1, -1, 4, 19, ""},
        {"level", 512, 0, 0, -1, -1, 0x1, -1, 5, 19, "42"},
        {"second", 516, 3, 20, -1, -1, 0x1, -1, 6, 19, ""},
        {"amount", 766, 11, 0, 10, 2, 0x1, -1, 7, 19, ""},
        {"price", 614, 5, 0, -1, -1, 0x1, -1, 8, 19, ""},
        {"when", 609, 9, 0, -1, -1, 0x1, -1, 9, 19, ""},
        {"code", 516, 3, 8, -1, -1, 0x1, -1, 10, 19, "abc"},
    };
    s.fields.insert(s.fields.end(), memo.begin(), memo.end());
    load_model();
  }

  // Checks the initial value of every field of a memo object.
  static void expect_initial(dbs_ty_lobj* o) {
    const dbs_ty_slot* v = o->slots;
    EXPECT_EQ(v[0].l, 0);
    EXPECT_EQ(static_cast<const char*>(v[1].p), kLongDefault);
    EXPECT_EQ(*static_cast<const float*>(v[2].p), 0.0f);
    EXPECT_STREQ(static_cast<const char*>(v[3].p), "");
    EXPECT_EQ(*static_cast<const double*>(v[4].p), 0.0);
    EXPECT_EQ(v[5].l, 42);
    EXPECT_STREQ(static_cast<const char*>(v[6].p), "");
    const auto* d = static_cast<const cmn_ty_decimal*>(v[7].p);
    EXPECT_STREQ(d->text, "0.0");
    EXPECT_EQ(d->precision, 2);
    EXPECT_EQ(d->scale, 1);
    EXPECT_EQ(*static_cast<const double*>(v[8].p), 0.0);
    const auto* c = static_cast<const clktime*>(v[9].p);
    EXPECT_EQ(c->day, -53690);
    EXPECT_EQ(c->ticks, 0);
    EXPECT_STREQ(static_cast<const char*>(v[10].p), "abc");
    for (long i = 0; i < o->schema->nfields; ++i) EXPECT_EQ(o->dirty[i], 0) << i;
  }
};

struct boxed_field {
  long index;
  size_t size;
};
const boxed_field kBoxes[] = {{2, sizeof(float)}, {4, sizeof(double)},         {7, sizeof(cmn_ty_decimal)},
                              {8, sizeof(double)}, {9, sizeof(clktime)}};

}  // namespace

TEST_F(object_init, EveryValueLiesAlignedInTheObjectsPoolAndApart) {
  dbs_ty_lobj* o = make(19);
  ASSERT_NE(o, nullptr);
  expect_initial(o);
  for (const boxed_field& b : kBoxes) {
    const void* p = o->slots[b.index].p;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u) << b.index;
    long inside = 0;
    EXPECT_EQ(utl_pl_contains(o->pool, p, static_cast<long>(b.size), &inside), 0) << b.index;
    EXPECT_EQ(inside, 1) << b.index;
  }
  for (long text : {1, 3, 6, 10}) {
    long inside = 0;
    const auto* t = static_cast<const char*>(o->slots[text].p);
    EXPECT_EQ(utl_pl_contains(o->pool, t, static_cast<long>(std::strlen(t)) + 1, &inside), 0) << text;
    EXPECT_EQ(inside, 1) << text;
  }
  EXPECT_EQ(o->slots[3].p, o->slots[6].p);  // one empty text for the fields without a default

  // Each boxed value written to its last byte leaves every other value whole.
  for (const boxed_field& b : kBoxes) std::memset(o->slots[b.index].p, 0x7f, b.size);
  for (const boxed_field& b : kBoxes) {
    const auto* bytes = static_cast<const unsigned char*>(o->slots[b.index].p);
    for (size_t k = 0; k < b.size; ++k) ASSERT_EQ(bytes[k], 0x7f) << b.index << " byte " << k;
  }
  EXPECT_EQ(static_cast<const char*>(o->slots[1].p), kLongDefault);
  EXPECT_STREQ(static_cast<const char*>(o->slots[3].p), "");
  EXPECT_STREQ(static_cast<const char*>(o->slots[10].p), "abc");
  EXPECT_EQ(dbs_obj_free_local("test", o), 0);
}

TEST_F(object_init, ClearAndResetGiveTheInitialValuesAgain) {
  dbs_ty_lobj* o = make(19);
  ASSERT_NE(o, nullptr);
  const char* text = "a text longer than the default one of the code field";
  ASSERT_EQ(dbs_fld_set(o, 10, &text), 0);
  ASSERT_EQ(dbs_fld_set(o, 3, &text), 0);
  long level = 9;
  ASSERT_EQ(dbs_fld_set(o, 5, &level), 0);
  clktime when{1000, 300};
  clktime* wp = &when;
  ASSERT_EQ(dbs_fld_set(o, 9, &wp), 0);
  double rate = 2.5;
  double* rp = &rate;
  ASSERT_EQ(dbs_fld_set(o, 4, &rp), 0);

  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(dbs_obj_clear(o), 0);
    expect_initial(o);
    ASSERT_EQ(dbs_fld_set(o, 3, &text), 0);
    ASSERT_EQ(dbs_fld_set(o, 9, &wp), 0);
    ASSERT_EQ(dbs_obj_reset_fields(o, 0), 0);
    expect_initial(o);
  }
  EXPECT_EQ(dbs_obj_free_local("test", o), 0);
}
