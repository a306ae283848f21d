// Built-in type methods: compare orders, print lines, value texts, typed
// field access and the installed method lists.
#include <cstring>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/cmn/cmn_val.h"
#include "core/cmn_main_fixture.h"
#include "core/core_fixture.h"

namespace {

class CmnMeth : public core_runtime_test {};

int sign(long r) { return r < 0 ? -1 : (r > 0 ? 1 : 0); }

long top_code() {
  long code = 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  return code;
}

long word_of(float f) {
  long w = 0;
  std::memcpy(&w, &f, sizeof f);
  return w;
}

TEST_F(CmnMeth, CompareProceduresOrderAsEachTypeSays) {
  long p1[2] = {1, 10}, p2[2] = {99, 5}, p3[2] = {-7, 10};
  long t1[6] = {5, 0, 0, 0, 0, 0}, t2[6] = {3, 100, 0, 0, 0, 0};
  long o1[6] = {1, 2, 3, 0, 0, 0}, o2[6] = {1, 2, 4, 0, 0, 0}, o3[6] = {1, 2, 3, 9, 9, 9};
  long d1[12] = {}, d2[12] = {};
  d2[11] = 1;
  long l1 = -5, l2 = 3;
  short s1 = -2, s2 = 7;
  signed char c1 = 'a', c2 = 'b';
  float f1 = 1.5f, f2 = 0.5f;
  double x1 = 2.0, x2 = 2.0;
  cmn_ty_prop_map m1{10, "b", nullptr, 0, nullptr, nullptr, 0}, m2{10, "a", nullptr, 0, nullptr, nullptr, 0},
      m3{2, "z", nullptr, 0, nullptr, nullptr, 0};
  cmn_ty_name_val n1{"alpha", 512, 9}, n2{"beta", 512, 1};
  cmn_ty_tstruct ts1{"same", 1, 2, 0}, ts2{"same", 3, 4, 0};
  struct row {
    const char* what;
    cmn_ty_compare_proc cmp;
    const void* a;
    const void* b;
    int expected;
  } rows[] = {
      {"long ascending", cmn_typ_longcmp, &l1, &l2, -1},
      {"short difference", cmn_typ_shortcmp, &s1, &s2, -1},
      {"char difference", cmn_typ_charcmp, &c2, &c1, 1},
      {"float ascending", cmn_typ_floatcmp, &f1, &f2, 1},
      {"double equal", cmn_typ_doublecmp, &x1, &x2, 0},
      {"string bytes", cmn_typ_strcmp, "abc", "abd", -1},
      {"pair: second long, larger first", cmn_typ_compare_longpair, p1, p2, -1},
      {"pair: first long ignored", cmn_typ_compare_longpair, p1, p3, 0},
      {"triple: first long, larger first", cmn_typ_compare_longtriple, t1, t2, -1},
      {"oid: third long, larger first", cmn_typ_compare_oid, o1, o2, 1},
      {"oid pair: only the first oid", cmn_typ_compare_oidpair, o1, o3, 0},
      {"dozen: last long, larger first", cmn_typ_compare_longdozen, d1, d2, 1},
      {"prop map: type first", cmn_typ_propmapcmp, &m3, &m1, -1},
      {"prop map: then name", cmn_typ_propmapcmp, &m1, &m2, 1},
      {"name value: by name", cmn_typ_name_val_cmp, &n1, &n2, -1},
      {"test struct: by name only", cmn_typ_compare_tstruct, &ts1, &ts2, 0},
  };
  for (const row& r : rows) EXPECT_EQ(sign(r.cmp(r.a, r.b)), r.expected) << r.what;
}

TEST_F(CmnMeth, ValueCompareFollowsTheValueType) {
  struct row {
    cmn_ty_value a;
    cmn_ty_value b;
    int expected;
  } rows[] = {
      {{512, -3}, {512, 2}, -1},
      {{513, 0xFFFF}, {513, 1}, -1},  // the low 16 bits: -1 < 1
      {{746, 1}, {746, 0}, 1},
      {{514, word_of(2.5f)}, {514, word_of(-1.0f)}, 1},
      {{516, reinterpret_cast<long>("pear")}, {516, reinterpret_cast<long>("apple")}, 1},
      {{517, 5}, {517, 5}, 0},
      {{517, 5}, {517, 4}, 1},
      {{517, 4}, {517, 5}, 1},  // unequal words are never "less"
      {{609, 7}, {609, 7}, 0},
  };
  for (const row& r : rows) {
    EXPECT_EQ(sign(cmn_typ_value_cmp(&r.a, &r.b)), r.expected) << "type " << r.a.type;
  }
}

TEST_F(CmnMeth, StringLengthCountsTheNul) {
  EXPECT_EQ(cmn_typ_str_len("abc"), 4);
  EXPECT_EQ(cmn_typ_str_len(""), 1);
}

TEST_F(CmnMeth, PrintLinesOfEachType) {
  long l = 255;
  short s = -4;
  float f = 1.25f;
  double d = 2.5;
  char c = 'A';
  long pair[2] = {1, 16};
  long triple[6] = {1, 2, 3, 4, 5, 6};
  long dozen[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  long oid[6] = {1, 2, 3, 10, 11, 12};
  long act = 7;
  struct {
    int16_t value = -3;
    int16_t beyond = 0x7777;
  } narrow_pair;
  const int16_t& narrow = narrow_pair.value;
  cmn_ty_decimal dec{};
  std::strcpy(dec.text, "12.5");
  cmn_ty_value v{512, 42};
  cmn_ty_name_val nv{"n", 516, reinterpret_cast<long>("x")};
  cmn_ty_prop_map pm{5, "p", "d", 3, "a.b", "e", 2};
  cmn_ty_tstruct ts{"t", 1, 2, 0};
  cmn_ty_trav_entry inner{3, 4, 0, nullptr, 1, nullptr, nullptr, 0};
  cmn_ty_trav_entry outer{1, 2, 5, nullptr, 0, nullptr, &inner, 0};
  struct row {
    long id;
    const void* element;
    const char* expected;
  } rows[] = {
      {512, &l, "  Long = 255 (0xff)\n"},
      {513, &s, "  Integer = -4\n"},
      {514, &f, "  Single = 1.250000\n"},
      {613, &d, "  Double = 2.500000\n"},
      {614, &d, "  Currency = 2.500000\n"},
      {515, &c, "  Fixed String = 'A' (65)\n"},
      {516, "hi", "  String = 'hi'\n"},
      {517, &l, "  Pointer = 255\n"},
      {597, &v, "  Long = 42 (0x2a)\n"},
      {596, &nv, "  NAME VAL PAIR name='n' String = 'x'\n"},
      {649, pair, "  LONG PAIR = 1 (0x1), 16 (0x10)\n"},
      {689, triple, "  LONG TRIPLE = 1 (0x1), 2 (0x2), 3 (0x3), 4 (0x4), 5 (0x5), 6 (0x6)\n"},
      {738, dozen, "  LONG DOZEN = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12\n"},
      {735, oid, "  OID PAIR = high_word, low_word, sub_id, (0x1, 0x2, 0x3), (0xa, 0xb, 0xc)\n"},
      {688, &pm,
       "  PROP MAP objtype=5, prop='p', datatype='d'\n    length=3, path='a.b'\n    extra_info='e'\n    subtype=2\n"},
      {766, &dec, "  Decimal = 12.5\n"},
      {619, &act, "  activity code = 7\n"},
      {621, &act, "  condition code = 7\n"},
      {599, &act, "  Object to Graphics Link = 7\n"},
      {599, nullptr, "  Object to Graphics Link = NULL\n"},
      {525, &narrow, "  field schema = -3\n"},  // read at the type's two bytes
      {9000000, &act, "  INVALID DATA TYPE 9000000 = 7\n"},
      {561, &ts, "  Test struct #3, name='t', l1=1, l2=2\n"},
      {704, &outer, "  3) from=1, rel_id=2, 5 conditions, 0 orders.\n    3) from=3, rel_id=4, 0 conditions, 1 orders.\n"},
  };
  for (const row& r : rows) {
    std::string out = core_written_to([&](FILE* s) {
      cmn_ty_print_proc print = nullptr;
      cmn_typ_info(r.id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print);
      if (print == nullptr) print = cmn_typ_print_val;
      cmn_alrt_clear(nullptr);
      EXPECT_EQ(print(s, 2, r.element, r.id, 3), 0);
    });
    EXPECT_EQ(out, r.expected) << "type " << r.id;
  }
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(CmnMeth, ValueTextsWithAndWithoutLabel) {
  long l = -12;
  short s = 3;
  float f = 0.5f;
  double d = 1.0;
  char c = 'z';
  const char* text = "abc";
  cmn_ty_value v{516, reinterpret_cast<long>("in value")};
  cmn_ty_decimal dec{};
  std::strcpy(dec.text, "3.25");
  cmn_ty_decimal* decp = &dec;
  struct row {
    long id;
    const void* cell;
    long label;
    const char* expected;
  } rows[] = {
      {512, &l, 1, "LONG INTEGER = -12"}, {512, &l, 0, "-12"},
      {513, &s, 1, "SHORT INTEGER = 3"},  {514, &f, 1, "FLOAT = 0.500000"},
      {515, &c, 1, "CHAR = z"},           {516, &text, 1, "CHAR POINTER = 'abc'"},
      {516, &text, 0, "'abc'"},           {613, &d, 1, "DOUBLE = 1.000000"},
      {614, &d, 0, "1.000000"},           {597, &v, 1, "CHAR POINTER = 'in value'"},
      {766, &decp, 0, "3.25"},             {512, nullptr, 1, "long integer = <NULL>"},
      {9000000, &l, 0, "INVALID DATA TYPE 9000000 = -12\n"},
  };
  for (const row& r : rows) EXPECT_STREQ(cmn_typ_val(r.cell, r.id, r.label), r.expected) << r.id;
}

TEST_F(CmnMeth, ValueTextOfALongCharPointerIsCutAt950) {
  std::string big(2000, 'x');
  const char* text = big.c_str();
  std::string out = cmn_typ_val(&text, CMN_TYP_CHAR_P, 1);
  EXPECT_EQ(out, "CHAR POINTER = '" + std::string(950, 'x') + "'");
}

TEST_F(CmnMeth, ValueTextFallsBackToTheFirstWordWhenNoConversionExists) {
  long word = 77;
  EXPECT_STREQ(cmn_typ_val(&word, 599, 0), "77");
  EXPECT_STREQ(cmn_typ_val(&word, 599, 1), "Object to Graphics Link = 77");
  EXPECT_EQ(core_num_alerts(), 0);  // the failed conversion leaves nothing behind
}

// A get through the registry's method 7 of the type.
long get(long type, void* cell, long requested, long size, void* slot, long* allocated, long index = 0) {
  cmn_ty_method_proc p = nullptr;
  EXPECT_EQ(cmn_typ_find_callback(type, CMN_MTH_GET, &p), 0);
  long spec[CMN_SPEC_WORDS] = {index, type, 0, requested, 0, 0};
  return cmn_typ_proc_as<cmn_ty_get_proc>(p)(cell, spec, size, slot, allocated);
}

long set(long type, void* dest, long requested, void* value, long index = 0) {
  cmn_ty_method_proc p = nullptr;
  EXPECT_EQ(cmn_typ_find_callback(type, CMN_MTH_SET, &p), 0);
  long spec[CMN_SPEC_WORDS] = {index, type, 0, requested, 0, 0};
  return cmn_typ_proc_as<cmn_ty_set_proc>(p)(dest, spec, value);
}

TEST_F(CmnMeth, LongGetAsTextAllocatesWhenTheDestinationIsShort) {
  long v = 5;
  char small[4] = {};
  void* slot = small;
  long allocated = 0;
  ASSERT_EQ(get(512, &v, CMN_TYP_CHAR_P, sizeof small, &slot, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_NE(slot, static_cast<void*>(small));
  EXPECT_STREQ(static_cast<char*>(slot), "5");
  cmn_typ_dealloc("test", slot);

  long big = -9223372036854775807L - 1;  // 20 characters: measured, not cut
  char room[12] = {};
  slot = room;
  allocated = 0;
  ASSERT_EQ(get(512, &big, CMN_TYP_CHAR_P, sizeof room, &slot, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_STREQ(static_cast<char*>(slot), "-9223372036854775808");
  cmn_typ_dealloc("test", slot);

  char wide[32] = {};
  slot = wide;
  allocated = 0;
  ASSERT_EQ(get(512, &v, CMN_TYP_CHAR_P, sizeof wide, &slot, &allocated), 0);
  EXPECT_EQ(allocated, 0);
  EXPECT_STREQ(wide, "5");
}

TEST_F(CmnMeth, LongGetAndSetByRequestedType) {
  long v = 41, out = 0;
  void* slot = &out;
  long allocated = 0;
  ASSERT_EQ(get(512, &v, CMN_TYP_LONG, sizeof out, &slot, &allocated), 0);
  EXPECT_EQ(out, 41);
  EXPECT_EQ(get(512, &v, CMN_TYP_DOUBLE, sizeof out, &slot, &allocated), CMN_TYP_UNEXPECTED);

  long field = 0;
  long nv = 9;
  ASSERT_EQ(set(512, &field, CMN_TYP_LONG, &nv), 0);
  EXPECT_EQ(field, 9);
  struct row {
    const char* text;
    long rc;
    long value;
  } rows[] = {
      {"  123  ", 0, 123},
      {"-7", 0, -7},
      {"12x", CMN_TYP_NOT_NUMERIC, 0},
      {"   ", CMN_TYP_NOT_NUMERIC, 0},
      {"99999999999999999999", CMN_TYP_NOT_NUMERIC, 0},  // beyond the long's range
  };
  for (const row& r : rows) {
    field = 0;
    const char* t = r.text;
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(set(512, &field, CMN_TYP_CHAR_P, &t), r.rc) << r.text;
    EXPECT_EQ(field, r.value) << r.text;
    if (r.rc != 0) {
      EXPECT_EQ(core_top_alert_text(), std::string("Value '") + r.text + "' must be a numeric value.");
    }
  }
  EXPECT_EQ(set(512, &field, CMN_TYP_FLOAT, &nv), CMN_TYP_UNEXPECTED);
  EXPECT_EQ(core_top_alert_text(), "Data type 514 unexpected.");
}

TEST_F(CmnMeth, CharPointerCellsHoldAPointerToTheText) {
  char buffer[32] = "12";
  char* field = buffer;
  char* got = nullptr;
  long allocated = 0;
  ASSERT_EQ(get(516, &field, CMN_TYP_CHAR_P, sizeof got, &got, &allocated), 0);
  EXPECT_EQ(got, buffer);
  long n = 0;
  void* slot = &n;
  ASSERT_EQ(get(516, &field, CMN_TYP_LONG, sizeof n, &slot, &allocated), 0);
  EXPECT_EQ(n, 12);
  const char* t = "hello";
  ASSERT_EQ(set(516, &field, CMN_TYP_CHAR_P, &t), 0);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(field, buffer);
  long v = -31;
  ASSERT_EQ(set(516, &field, CMN_TYP_LONG, &v), 0);
  EXPECT_STREQ(buffer, "-31");
  std::strcpy(buffer, "abc");
  EXPECT_EQ(get(516, &field, CMN_TYP_LONG, sizeof n, &slot, &allocated), CMN_TYP_NOT_NUMERIC);

  char* empty = nullptr;  // no storage: the text's pointer is kept
  ASSERT_EQ(set(516, &empty, CMN_TYP_CHAR_P, &t), 0);
  EXPECT_EQ(empty, t);

  cmn_ty_decimal dec{};
  cmn_ty_decimal* decp = &dec;
  std::string long_text(100, '9');
  const char* lt = long_text.c_str();
  ASSERT_EQ(set(766, &decp, CMN_TYP_CHAR_P, &lt), 0);  // cut to the decimal's text
  EXPECT_EQ(std::strlen(dec.text), sizeof dec.text - 1);
}

TEST_F(CmnMeth, LongArrayElementsLieALongApart) {
  long arr[3] = {10, 20, 30};
  long* got = nullptr;
  long allocated = 0;
  ASSERT_EQ(get(615, arr, CMN_TYP_LONG, sizeof(long), &got, &allocated, 2), 0);
  EXPECT_EQ(*got, 30);
  char small[2];
  void* slot = small;
  ASSERT_EQ(get(615, arr, CMN_TYP_CHAR_P, sizeof small, &slot, &allocated, 1), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_STREQ(static_cast<char*>(slot), "20");
  cmn_typ_dealloc("test", slot);
  long v = 5;
  ASSERT_EQ(set(615, arr, CMN_TYP_LONG, &v, 1), 0);
  const char* t = "77";
  ASSERT_EQ(set(615, arr, CMN_TYP_CHAR_P, &t, 0), 0);
  EXPECT_EQ(arr[0], 77);
  EXPECT_EQ(arr[1], 5);
  EXPECT_EQ(arr[2], 30);

  cmn_ty_method_proc p = nullptr;
  cmn_typ_find_callback(615, CMN_MTH_ADDRESS, &p);
  long spec[CMN_SPEC_WORDS] = {2, 615, 0, 512, 0, 0};
  void* address = nullptr;
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_address_proc>(p)(arr, nullptr, &address, spec), 0);
  EXPECT_EQ(address, static_cast<void*>(&arr[2]));
  EXPECT_EQ(spec[CMN_SPEC_ADDR1], 1);
  EXPECT_EQ(spec[CMN_SPEC_ADDR2], -1);
}

TEST_F(CmnMeth, FloatAndDoubleGetAndSet) {
  float f = 2.345f;
  char small[4];
  void* slot = small;
  long allocated = 0;
  ASSERT_EQ(get(514, &f, CMN_TYP_CHAR_P, sizeof small, &slot, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_STREQ(static_cast<char*>(slot), "2.35");
  cmn_typ_dealloc("test", slot);
  double d = 1e300;  // a 301-digit text is measured, not cut
  char room[40];
  slot = room;
  allocated = 0;
  ASSERT_EQ(get(613, &d, CMN_TYP_CHAR_P, sizeof room, &slot, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_EQ(std::strlen(static_cast<char*>(slot)), 301u + 7u);
  cmn_typ_dealloc("test", slot);

  double field = 0;
  const char* t = "3.5";
  ASSERT_EQ(set(613, &field, CMN_TYP_CHAR_P, &t), 0);
  EXPECT_DOUBLE_EQ(field, 3.5);
  float ff = 0;
  ASSERT_EQ(set(514, &ff, CMN_TYP_CHAR_P, &t), 0);
  EXPECT_FLOAT_EQ(ff, 3.5f);
  EXPECT_EQ(set(514, &ff, CMN_TYP_LONG, &t), CMN_TYP_UNEXPECTED);
}

TEST_F(CmnMeth, AddressOfWritesItsTwoWords) {
  struct row {
    long type;
    long second;
  } rows[] = {{512, 11}, {516, -1}, {766, -1}, {514, 20}, {613, 20}};
  for (const row& r : rows) {
    cmn_ty_method_proc p = nullptr;
    cmn_typ_find_callback(r.type, CMN_MTH_ADDRESS, &p);
    ASSERT_NE(p, nullptr) << r.type;
    long cell = 0;
    long spec[CMN_SPEC_WORDS] = {0, r.type, 0, 0, 0, 0};
    void* address = nullptr;
    EXPECT_EQ(cmn_typ_proc_as<cmn_ty_address_proc>(p)(&cell, nullptr, &address, spec), 0);
    EXPECT_EQ(address, static_cast<void*>(&cell));
    EXPECT_EQ(spec[CMN_SPEC_ADDR1], 1);
    EXPECT_EQ(spec[CMN_SPEC_ADDR2], r.second) << r.type;
  }
}

TEST_F(CmnMeth, ObjectTypeNamesConvertOnlyFromLongToText) {
  long type = 512;
  const char* name = nullptr;
  long allocated = 5;
  ASSERT_EQ(cmn_typ_convert(630, CMN_TYP_LONG, &type, CMN_TYP_CHAR_P, &name, 0, &allocated), 0);
  EXPECT_STREQ(name, "long integer");
  EXPECT_EQ(allocated, 0);
  EXPECT_EQ(cmn_typ_obj_type_convert(630, CMN_TYP_CHAR_P, &name, CMN_TYP_LONG, &type, 0, &allocated),
            CMN_TYP_UNEXPECTED);
  EXPECT_EQ(top_code(), CMN_TYP_UNEXPECTED);
}

TEST_F(CmnMeth, TheMethodListsAreInstalled) {
  struct row {
    long type;
    long method;
    cmn_ty_method_proc proc;
  } rows[] = {
      {614, CMN_MTH_COMPARE, cmn_typ_proc(cmn_typ_doublecmp)},
      {649, CMN_MTH_COMPARE, cmn_typ_proc(cmn_typ_compare_longpair)},
      {630, CMN_MTH_CONVERT, cmn_typ_proc(cmn_typ_obj_type_convert)},
      {516, CMN_MTH_LENGTH, cmn_typ_proc(cmn_typ_str_len)},
      {766, CMN_MTH_GET, cmn_typ_proc(cmn_typ_char_p_get)},
      {512, CMN_MTH_SET, cmn_typ_proc(cmn_typ_long_set)},
      {613, CMN_MTH_ADDRESS, cmn_typ_proc(cmn_typ_float_gaddr)},
      {561, CMN_MTH_PRINT, cmn_typ_proc(cmn_typ_print_tstruct)},
      {704, CMN_MTH_PRINT, cmn_typ_proc(cmn_typ_print_trav)},
      {738, CMN_MTH_COMPARE, cmn_typ_proc(cmn_typ_compare_longdozen)},
      {704, CMN_MTH_COMPARE, nullptr},
  };
  for (const row& r : rows) {
    cmn_ty_method_proc p = nullptr;
    ASSERT_EQ(cmn_typ_find_callback(r.type, r.method, &p), 0);
    EXPECT_EQ(p, r.proc) << r.type << " method " << r.method;
  }
  // Running the installer again changes nothing.
  EXPECT_EQ(cmn_meth_install_all(), 0);
  cmn_ty_method_proc p = nullptr;
  cmn_typ_find_callback(512, CMN_MTH_GET, &p);
  EXPECT_EQ(p, cmn_typ_proc(cmn_typ_long_get));
}

}  // namespace
