// Run-time record types: definitions, look-ups, field values, maps, dumps.
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn_main_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/core_fixture.h"

namespace {

class CmnDyn : public core_runtime_test {};

long top_code() {
  long code = 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  return code;
}

// A record of every kind of field.
struct rec {
  long id;
  short small;
  int32_t mid;
  float ratio;
  double amount;
  char* note;
  char code[8];
  signed char flag;
  void* held;  // pointer-held field
};

cmn_ty_dyn_field fld(const char* name, long offset, long size, long type) {
  cmn_ty_dyn_field f{};
  EXPECT_EQ(cmn_dyn_define_field(name, offset, size, type, &f), 0);
  return f;
}

std::vector<cmn_ty_dyn_field> rec_fields() {
  return {fld("id", offsetof(rec, id), sizeof(long), CMN_TYP_LONG),
          fld("small", offsetof(rec, small), sizeof(short), CMN_TYP_SHORT),
          fld("mid", offsetof(rec, mid), 4, CMN_TYP_LONG),
          fld("ratio", offsetof(rec, ratio), sizeof(float), CMN_TYP_FLOAT),
          fld("amount", offsetof(rec, amount), sizeof(double), CMN_TYP_DOUBLE),
          fld("note", offsetof(rec, note), sizeof(char*), CMN_TYP_CHAR_P),
          fld("code", offsetof(rec, code), sizeof(rec::code), CMN_TYP_CHAR),
          fld("flag", offsetof(rec, flag), 1, CMN_TYP_BOOLEAN),
          fld("held", -static_cast<long>(offsetof(rec, held)), sizeof(void*), CMN_TYP_LONG)};
}

long define(const char* name, std::vector<cmn_ty_dyn_field> fields, long size = sizeof(rec), void* def = nullptr) {
  long id = -1;
  EXPECT_EQ(cmn_dyn_define_type(name, size, def, static_cast<long>(fields.size()), fields.data(), &id), 0);
  return id;
}

TEST_F(CmnDyn, DefinitionsAreFoundByNameWithoutRegardToCaseAndRedefinedInPlace) {
  long first = define("Rec", rec_fields());
  EXPECT_GE(first, CMN_TYP_FIRST_RUNTIME);
  auto two = rec_fields();
  two.resize(2);
  long again = define("REC", two, 99);
  EXPECT_EQ(again, first);
  cmn_ty_dyn_type* t = nullptr;
  ASSERT_EQ(cmn_dyn_find_type_info(first, &t), 0);
  EXPECT_EQ(t->num_fields, 2);
  EXPECT_EQ(t->size, 99);
  EXPECT_STREQ(t->name, "Rec");
  long found = 0;
  EXPECT_EQ(cmn_dyn_find_type("rEc", &found), 0);
  EXPECT_EQ(found, first);
  EXPECT_EQ(cmn_dyn_find_type("nothing", &found), 0);
  EXPECT_EQ(found, -1);
  EXPECT_STREQ(cmn_typ_name(first), "Rec");
  long size = 0;
  EXPECT_EQ(cmn_typ_get_size(nullptr, first, &size), 0);
  EXPECT_EQ(size, 99);
}

TEST_F(CmnDyn, TheTableGrowsByTenAndKeepsEarlierRows) {
  long before = 0;
  cmn_dyn_types_get(&before, nullptr);
  std::vector<long> ids;
  for (int i = 0; i < 17; ++i) ids.push_back(define(("grow" + std::to_string(i)).c_str(), rec_fields()));
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(ids[i], CMN_TYP_FIRST_RUNTIME + before + i);
    EXPECT_STREQ(cmn_dyn_name(ids[i]), ("grow" + std::to_string(i)).c_str());
  }
  long count = 0;
  cmn_dyn_types_get(&count, nullptr);
  EXPECT_EQ(count, before + 17);
}

TEST_F(CmnDyn, FieldDefinitionsKeepTheirLimits) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  cmn_ty_dyn_field f{};
  EXPECT_EQ(cmn_dyn_define_field("edge", 65000, 65000, CMN_TYP_CHAR, &f), 0);
  EXPECT_EQ(f.offset, 65000);
  EXPECT_EQ(f.size, 65000);
  EXPECT_EQ(cmn_dyn_define_field("far", 32768, 4, CMN_TYP_LONG, &f), 0);
  EXPECT_EQ(f.offset, 32768);
  EXPECT_EQ(cmn_dyn_define_field("over", 65001, 4, CMN_TYP_LONG, &f), 1);
  EXPECT_EQ(cmn_dyn_define_field("big", 0, 65001, CMN_TYP_LONG, &f), 1);
  EXPECT_EQ(msgs.text(),
            "cmn_dyn_define_field: offset of field 'over' must be less than 65000\n"
            "cmn_dyn_define_field: size of field 'big' must be less than 65000\n");
  // A name is cut at 20 characters, without a NUL when full.
  EXPECT_EQ(cmn_dyn_define_field("abcdefghijklmnopqrstuvwxyz", 0, 4, CMN_TYP_LONG, &f), 0);
  EXPECT_EQ(std::string(f.name, sizeof f.name), "abcdefghijklmnopqrst");
}

TEST_F(CmnDyn, FarOffsetsReadAndWrite) {
  std::vector<char> big(65000 + 64, 0);
  long id = define("far record", {fld("a", 32768, sizeof(long), CMN_TYP_LONG), fld("b", 65000, 8, CMN_TYP_CHAR)},
                   static_cast<long>(big.size()));
  cmn_ty_value v{CMN_TYP_LONG, 123};
  ASSERT_EQ(cmn_dyn_set_one_named_value(id, big.data(), "A", &v), 0);
  cmn_ty_value t{CMN_TYP_CHAR, reinterpret_cast<long>("far away")};
  ASSERT_EQ(cmn_dyn_set_one_named_value(id, big.data(), "b", &t), 0);
  long got = 0;
  std::memcpy(&got, big.data() + 32768, sizeof got);
  EXPECT_EQ(got, 123);
  EXPECT_STREQ(big.data() + 65000, "far awa");
}

TEST_F(CmnDyn, FieldLookupsAndTheirMessages) {
  long id = define("lookups", rec_fields());
  long index = 0, type = 0, size = 0, offset = 0;
  ASSERT_EQ(cmn_dyn_find_f(id, "AMOUNT", &index, &type, &size, &offset), 0);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(type, CMN_TYP_DOUBLE);
  EXPECT_EQ(offset, static_cast<long>(offsetof(rec, amount)));
  ASSERT_EQ(cmn_dyn_find_f(id, "missing", &index, &type, &size, &offset), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(type, -1);
  EXPECT_EQ(cmn_dyn_find_foffset(id, "missing", &offset, &type, &size), CMN_DYN_NO_FIELD);
  EXPECT_EQ(core_top_alert_text(), "The field 'missing' does not exist for runtime data type 'lookups'.");
  EXPECT_EQ(cmn_dyn_check_field("t", id, 9), CMN_DYN_BAD_FIELD);
  EXPECT_EQ(core_top_alert_text(), "Invalid field #9 of runtime data type 'lookups'.");
  EXPECT_EQ(cmn_dyn_check_field("t", id, 8), 0);
  EXPECT_EQ(cmn_dyn_check_type("t", 10000 + 5000), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(core_top_alert_text(), "Invalid runtime data type #15000.");

  cmn_ty_compare_proc cmp = nullptr;
  ASSERT_EQ(cmn_dyn_get_cmp_info(id, nullptr, 0, &offset, &type, &cmp), 0);
  EXPECT_EQ(type, CMN_TYP_LONG);
  ASSERT_NE(cmp, nullptr);
  long a = 1, b = 2;
  EXPECT_LT(cmp(&a, &b), 0);
  EXPECT_EQ(cmn_dyn_get_cmp_info(id, nullptr, 42, &offset, &type, &cmp), CMN_DYN_BAD_FIELD);
}

TEST_F(CmnDyn, TheUndeterminedIdPassesOnlyTheNameLookupsAndFindF) {
  EXPECT_EQ(cmn_dyn_check_type("t", CMN_DYN_UNDETERMINED), 0);
  const char* name = nullptr;
  EXPECT_EQ(cmn_dyn_get_name(CMN_DYN_UNDETERMINED, &name), 0);
  EXPECT_STREQ(name, "undetermined");
  EXPECT_STREQ(cmn_dyn_name(CMN_DYN_UNDETERMINED), "undetermined");
  EXPECT_STREQ(cmn_dyn_name(12345678), "invalid runtime datatype");
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  long index = 0;
  EXPECT_EQ(cmn_dyn_find_f(CMN_DYN_UNDETERMINED, "x", &index, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(index, -1);
  EXPECT_NE(msgs.text().find("cmn_dyn_find_f: input type too large (999999)"), std::string::npos);
  cmn_ty_dyn_type* t = nullptr;
  cmn_ty_dyn_conv_proc conv = nullptr;
  rec r{};
  void* record = nullptr;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(cmn_dyn_find_type_info(CMN_DYN_UNDETERMINED, &t), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(cmn_dyn_get_conv_proc(CMN_DYN_UNDETERMINED, &conv), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(cmn_dyn_set_flag(CMN_DYN_UNDETERMINED, 1), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(cmn_dyn_default_val(CMN_DYN_UNDETERMINED, &r), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(cmn_dyn_init_method(CMN_DYN_UNDETERMINED, &record), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(cmn_dyn_check_field("t", CMN_DYN_UNDETERMINED, 0), CMN_DYN_BAD_TYPE);
  EXPECT_EQ(top_code(), CMN_DYN_BAD_TYPE);
}

TEST_F(CmnDyn, FlagsAndResetType) {
  long id = define("flags", rec_fields());
  EXPECT_EQ(cmn_dyn_is_fixed_type(id), 0);
  EXPECT_EQ(cmn_dyn_fixed_type(id), 0);
  EXPECT_EQ(cmn_dyn_is_fixed_type(id), 1);
  EXPECT_EQ(cmn_dyn_set_flag(id, 6), 0);
  EXPECT_EQ(cmn_dyn_is_flag_set(id, 4), 1);
  EXPECT_EQ(cmn_dyn_reset_flag(id, 4), 0);
  EXPECT_EQ(cmn_dyn_is_flag_set(id, 4), 0);
  EXPECT_EQ(cmn_dyn_is_flag_set(id, 2), 1);
  cmn_alrt_push(nullptr, "t", CMN_DYN_BAD_TYPE, 1, 1L);
  EXPECT_EQ(cmn_dyn_is_flag_set(99999, 1), 0);
  EXPECT_EQ(core_num_alerts(), 0);  // cleared for a bad id
  EXPECT_EQ(cmn_dyn_is_fixed_type(99999), 0);

  ASSERT_EQ(cmn_dyn_reset_type(id, "note", CMN_TYP_VOID_P), 0);
  long offset = 0, type = 0;
  cmn_dyn_find_foffset(id, "note", &offset, &type, nullptr);
  EXPECT_EQ(offset, -static_cast<long>(offsetof(rec, note)));
  EXPECT_EQ(type, CMN_TYP_VOID_P);
}

TEST_F(CmnDyn, ExtractAndAssignByOffsetAtNaturalWidths) {
  long id = define("values", rec_fields());
  rec r{};
  long pointed = 0;
  char text[] = "note text";
  std::vector<std::pair<const char*, cmn_ty_value>> in = {
      {"id", {CMN_TYP_LONG, -5000000000L}},
      {"small", {CMN_TYP_SHORT, -3}},
      {"mid", {CMN_TYP_LONG, -70000}},
      {"note", {CMN_TYP_CHAR_P, reinterpret_cast<long>(text)}},
      {"code", {CMN_TYP_CHAR, reinterpret_cast<long>("a twenty character t")}},
      {"flag", {CMN_TYP_BOOLEAN, -1}},
      {"held", {CMN_TYP_VOID_P, reinterpret_cast<long>(&pointed)}},
  };
  for (auto& [name, value] : in) ASSERT_EQ(cmn_dyn_set_one_named_value(id, &r, name, &value), 0) << name;
  float ratio = 0.75f;
  cmn_ty_value fv{CMN_TYP_FLOAT, 0};
  std::memcpy(&fv.value, &ratio, sizeof ratio);
  ASSERT_EQ(cmn_dyn_set_one_named_value(id, &r, "ratio", &fv), 0);
  double amount = 12.5;
  cmn_ty_value dv{CMN_TYP_DOUBLE, 0};
  std::memcpy(&dv.value, &amount, sizeof amount);
  ASSERT_EQ(cmn_dyn_set_one_named_value(id, &r, "amount", &dv), 0);

  EXPECT_EQ(r.id, -5000000000L);
  EXPECT_EQ(r.small, -3);
  EXPECT_EQ(r.mid, -70000);
  EXPECT_FLOAT_EQ(r.ratio, 0.75f);
  EXPECT_DOUBLE_EQ(r.amount, 12.5);
  EXPECT_EQ(r.note, text);
  EXPECT_EQ(std::string(r.code, sizeof r.code), std::string("a twent\0", 8));  // 7 characters and a NUL
  EXPECT_EQ(r.flag, -1);
  EXPECT_EQ(r.held, &pointed);

  const char* names[] = {"ID", "small", "mid", "flag", "held", "code", "amount"};
  cmn_ty_value out[7] = {};
  ASSERT_EQ(cmn_dyn_get_named_values(id, &r, 7, names, out), 0);
  EXPECT_EQ(out[0].value, -5000000000L);
  EXPECT_EQ(out[1].value, -3);
  EXPECT_EQ(out[2].value, -70000);
  EXPECT_EQ(out[3].value, -1);
  EXPECT_EQ(out[4].type, CMN_TYP_VOID_P);  // pointer-held: the pointer word
  EXPECT_EQ(out[4].value, reinterpret_cast<long>(&pointed));
  EXPECT_EQ(out[5].value, reinterpret_cast<long>(r.code));  // arrays by address
  double back = 0;
  std::memcpy(&back, &out[6].value, sizeof back);
  EXPECT_DOUBLE_EQ(back, 12.5);

  const char* bad[] = {"id", "nope"};
  EXPECT_EQ(cmn_dyn_get_named_values(id, &r, 2, bad, out), CMN_DYN_NO_FIELD);
  EXPECT_EQ(cmn_dyn_set_named_values(id, &r, 2, bad, out), CMN_DYN_NO_FIELD);
  cmn_ty_value byname{};
  ASSERT_EQ(cmn_dyn_get_val(&r, "VALUES", "mid", &byname), 0);
  EXPECT_EQ(byname.value, -70000);

  long offsets[] = {static_cast<long>(offsetof(rec, mid)), static_cast<long>(offsetof(rec, small))};
  long types[] = {CMN_TYP_LONG, CMN_TYP_SHORT};
  cmn_ty_value two[2] = {};
  ASSERT_EQ(cmn_dyn_get_values(id, &r, 2, offsets, nullptr, types, two), 0);  // sizes from the fields
  EXPECT_EQ(two[0].value, -70000);
  EXPECT_EQ(two[1].value, -3);
  long sizes[] = {4, 2};
  two[0] = {CMN_TYP_LONG, 8};
  two[1] = {CMN_TYP_SHORT, 9};
  ASSERT_EQ(cmn_dyn_set_values(id, &r, 2, offsets, sizes, two), 0);
  EXPECT_EQ(r.mid, 8);
  EXPECT_EQ(r.small, 9);
  EXPECT_EQ(r.id, -5000000000L);  // the neighbours are untouched
}

TEST_F(CmnDyn, TypedGetAndSetByFieldNumber) {
  long id = define("typed", rec_fields());
  rec r{};
  r.id = 42;
  std::strcpy(r.code, "abc");
  char buf[32];
  void* slot = buf;
  long allocated = 0;
  ASSERT_EQ(cmn_dyn_get_field(id, &r, 0, CMN_TYP_CHAR_P, sizeof buf, &slot, &allocated), 0);
  EXPECT_STREQ(static_cast<char*>(slot), "42");
  if (allocated == 1) cmn_typ_dealloc("test", slot);
  const char* text = "17";
  ASSERT_EQ(cmn_dyn_set_field(id, &r, 2, CMN_TYP_CHAR_P, &text), 0);
  EXPECT_EQ(r.mid, 17);
  const char* long_text = "abcdefghijk";
  ASSERT_EQ(cmn_dyn_set_field(id, &r, 6, CMN_TYP_CHAR_P, &long_text), 0);
  EXPECT_STREQ(r.code, "abcdefg");
  long n = 5;
  EXPECT_EQ(cmn_dyn_set_field(id, &r, 5, CMN_TYP_LONG, &n), CMN_DYN_NO_CONV);
  EXPECT_EQ(core_top_alert_text(), "Can't convert from source type 512 to destination type 516.");
  ASSERT_EQ(cmn_dyn_set_field(id, &r, 5, CMN_TYP_CHAR_P, &text), 0);
  EXPECT_EQ(r.note, text);
  EXPECT_EQ(cmn_dyn_get_field(id, &r, 9, CMN_TYP_LONG, 8, &slot, &allocated), CMN_DYN_BAD_FIELD);

  // The registry-style methods by field number.
  long request[6] = {0, 0, 0, CMN_TYP_CHAR_P, 0, 0};
  char* out = nullptr;
  ASSERT_EQ(cmn_dyn_get_method(&r, id, request, 0, &out, &allocated), 0);
  EXPECT_STREQ(out, "42");
  request[0] = 6;
  ASSERT_EQ(cmn_dyn_get_method(&r, id, request, 0, &out, &allocated), 0);
  EXPECT_EQ(out, r.code);
  request[0] = 1;
  ASSERT_EQ(cmn_dyn_set_method(&r, id, request, "-12"), 0);
  EXPECT_EQ(r.small, -12);
  EXPECT_EQ(cmn_dyn_set_method(&r, id, request, "1.5"), CMN_DYN_NOT_NUMERIC);
  EXPECT_EQ(core_top_alert_text(), "Value '1.5' must be a numeric value.");
  ASSERT_EQ(cmn_dyn_set_method(&r, id, request, nullptr), 0);
  EXPECT_EQ(r.small, 0);
  request[0] = 3;
  ASSERT_EQ(cmn_dyn_set_method(&r, id, request, "2.5"), 0);
  EXPECT_FLOAT_EQ(r.ratio, 2.5f);
  request[0] = 4;  // a double field takes no text here
  EXPECT_EQ(cmn_dyn_set_method(&r, id, request, "2.5"), CMN_DYN_UNSUPPORTED);
  EXPECT_EQ(core_top_alert_text(), "The field 'amount' of runtime type 'typed' is of an unsupported data type 'double'.");
  request[0] = 2;
  request[3] = CMN_TYP_LONG;
  long big = 70000;
  ASSERT_EQ(cmn_dyn_set_method(&r, id, request, &big), 0);
  EXPECT_EQ(r.mid, 70000);
  void* address = nullptr;
  ASSERT_EQ(cmn_dyn_gaddr_method(&r, id, &address, request), 0);
  EXPECT_EQ(address, static_cast<void*>(&r.mid));
  EXPECT_EQ(request[4], 1);
}

TEST_F(CmnDyn, RecordsStartFromTheDefaultAndCopyFieldByField) {
  rec def{};
  def.id = 7;
  std::strcpy(def.code, "dflt");
  long id = define("copied", rec_fields(), sizeof(rec), &def);
  void* made = nullptr;
  ASSERT_EQ(cmn_dyn_init_method(id, &made), 0);
  EXPECT_EQ(static_cast<rec*>(made)->id, 7);
  EXPECT_STREQ(static_cast<rec*>(made)->code, "dflt");
  EXPECT_EQ(cmn_dyn_term_method(id), 0);
  osl_mem_free("test", made);

  rec src{};
  src.id = 1;
  src.small = 2;
  src.amount = 3.5;
  std::strcpy(src.code, "xyz");
  src.held = &src;
  rec dst{};
  ASSERT_EQ(cmn_dyn_copy(id, &src, &dst), 0);
  EXPECT_EQ(dst.id, 1);
  EXPECT_EQ(dst.small, 2);
  EXPECT_DOUBLE_EQ(dst.amount, 3.5);
  EXPECT_STREQ(dst.code, "xyz");
  EXPECT_EQ(dst.held, &src);
}

long upper_proc(void*, long, long, cmn_ty_value* value, void*, long, long, cmn_ty_value* result) {
  *result = {CMN_TYP_LONG, value->value * 100};
  return 0;
}

long failing_proc(void*, long, long, cmn_ty_value*, void*, long, long, cmn_ty_value*) { return 77; }

struct a_rec {
  long shared;
  char name[12];
  long only_a;
  short narrow;
};
struct b_rec {
  short shared;
  char* name;
  long renamed;
  long copy_two;
  long untouched;
};

TEST_F(CmnDyn, MapsCopySharedFieldsRenamesAndProcedures) {
  long a = define("map a",
                  {fld("shared", offsetof(a_rec, shared), 8, CMN_TYP_LONG), fld("name", offsetof(a_rec, name), 12, CMN_TYP_CHAR),
                   fld("only_a", offsetof(a_rec, only_a), 8, CMN_TYP_LONG),
                   fld("narrow", offsetof(a_rec, narrow), 2, CMN_TYP_SHORT)},
                  sizeof(a_rec));
  b_rec bdef{};
  bdef.untouched = 99;
  long b = define("map b",
                  {fld("SHARED", offsetof(b_rec, shared), 2, CMN_TYP_SHORT), fld("name", offsetof(b_rec, name), 8, CMN_TYP_CHAR_P),
                   fld("renamed", offsetof(b_rec, renamed), 8, CMN_TYP_LONG),
                   fld("copy_two", offsetof(b_rec, copy_two), 8, CMN_TYP_LONG),
                   fld("untouched", offsetof(b_rec, untouched), 8, CMN_TYP_LONG)},
                  sizeof(b_rec), &bdef);
  cmn_ty_dyn_rename renames[] = {{"only_a", "renamed", upper_proc}, {"only_a", "copy_two", nullptr}};
  cmn_ty_dyn_map* map = nullptr;
  ASSERT_EQ(cmn_dyn_map_two_types(a, b, 2, renames, &map), 0);
  a_rec src{5, "alpha", 3, 1};
  b_rec dst{};
  ASSERT_EQ(cmn_dyn_map_values(a, &src, b, &dst, map), 0);
  EXPECT_EQ(dst.shared, 5);
  EXPECT_STREQ(dst.name, "alpha");
  EXPECT_EQ(dst.renamed, 300);
  EXPECT_EQ(dst.copy_two, 3);
  EXPECT_EQ(dst.untouched, 99);  // the target's default
  cmn_dyn_map_free(map);

  // Types that do not fit without a procedure: no map (and nothing left over).
  long c = define("map c", {fld("only_a", 0, 8, CMN_TYP_DOUBLE)}, 8);
  EXPECT_EQ(cmn_dyn_map_types(a, c, &map), 1);

  // A registered pair maps both ways; a failing procedure stops the mapping.
  cmn_ty_dyn_rename back[] = {{"renamed", "only_a", failing_proc}};
  ASSERT_EQ(cmn_dyn_map_register(a, b, 0, nullptr, 1, back), 0);
  ASSERT_NE(cmn_dyn_find_map(a, b), nullptr);
  ASSERT_NE(cmn_dyn_find_map(b, a), nullptr);
  EXPECT_EQ(cmn_dyn_find_map(a, c), nullptr);
  EXPECT_EQ(cmn_dyn_map_values(a, &src, c, &dst, nullptr), 1);
  b_rec from{};
  from.renamed = 4;
  a_rec to{};
  EXPECT_EQ(cmn_dyn_map_values(b, &from, a, &to, nullptr), 77);
}

TEST_F(CmnDyn, DumpsPrintEachFieldByItsType) {
  struct inner {
    long x;
  };
  struct outer {
    long n;
    char c;
    char text[6];
    char* p;
    char* none;
    inner in;
  };
  long in_id = define("inner", {fld("x", 0, 8, CMN_TYP_LONG)}, sizeof(inner));
  long out_id = define("outer",
                       {fld("n", offsetof(outer, n), 8, CMN_TYP_LONG), fld("c", offsetof(outer, c), 1, CMN_TYP_CHAR),
                        fld("text", offsetof(outer, text), 6, CMN_TYP_CHAR), fld("p", offsetof(outer, p), 8, CMN_TYP_CHAR_P),
                        fld("none", offsetof(outer, none), 8, CMN_TYP_CHAR_P), fld("in", offsetof(outer, in), 8, in_id)},
                       sizeof(outer));
  outer o{3, 'q', "hello", const_cast<char*>("abc"), nullptr, {9}};
  std::string out = core_written_to([&](FILE* s) { EXPECT_EQ(cmn_dyn_dump_obj(s, 1, &o, out_id, 0), 0); });
  EXPECT_EQ(out,
            " n @ 0=3 (Long)\n"
            " c @ 8='q' (Single Char)\n"
            " text @ 9=\"hello\" (Fixed length of 6)\n"
            " p @ 16='abc' (Variable length => 3)\n"
            " none @ 24 = (NULL)\n"
            " in @ 32=8 :\n"
            "    x @ 0=9 (Long)\n"
            "\n"
            "\n");
  // The registry prints run-time records through the same dump.
  cmn_ty_print_proc print = nullptr;
  cmn_typ_info(in_id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print);
  ASSERT_NE(print, nullptr);
  inner i{4};
  EXPECT_EQ(core_written_to([&](FILE* s) { print(s, 0, &i, in_id, 0); }), "x @ 0=4 (Long)\n\n");

  std::string one = core_written_to([&](FILE* s) { EXPECT_EQ(cmn_dyn_dump_one(s, 2, in_id), 0); });
  EXPECT_EQ(one, "  TYPE #" + std::to_string(in_id) + "='inner', num_fields=1\n     #0='x', a 'long integer', size=8, offset=0\n");
  std::string all = core_written_to([&](FILE* s) { cmn_dyn_dump_all(s, 0); });
  EXPECT_NE(all.find("='outer', num_fields=6"), std::string::npos);
}

TEST_F(CmnDyn, SchemaProceduresAnswerForCompiledTypes) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  long index = 0, type = 0, count = 0;
  void* fields = nullptr;
  cmn_dyn_install_fproc(nullptr);
  cmn_dyn_install_all_fproc(nullptr);
  EXPECT_EQ(cmn_dyn_find_finfo(5, "x", &index, &type), 1);
  EXPECT_EQ(cmn_dyn_find_all_finfo(5, &count, &fields), 1);
  EXPECT_EQ(msgs.text(),
            "cmn_dyn_find_finfo: no field get procedure installed\n"
            "cmn_dyn_find_all_finfo: there is no installed 'all fields' procedure\n");
  cmn_dyn_install_fproc([](long, const char*, long* i, long* t) -> long {
    *i = 3;
    *t = 516;
    return 0;
  });
  ASSERT_EQ(cmn_dyn_find_finfo(5, "x", &index, &type), 0);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(type, 516);
  long id = define("runtime finfo", rec_fields());
  ASSERT_EQ(cmn_dyn_find_finfo(id, "ratio", &index, &type), 0);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(type, CMN_TYP_FLOAT);
  count = 5;
  ASSERT_EQ(cmn_dyn_find_all_finfo(id, &count, &fields), 0);
  EXPECT_EQ(count, 0);
  cmn_dyn_install_fproc(nullptr);
}

}  // namespace

namespace {

// Definitions and maps under failing allocations: each attempt either works
// or fails with its memory alert, and nothing half-built is left behind (the
// leak checker of the test build sees every block).
TEST_F(CmnDyn, FailedDefinitionsAndMapsFreeWhatTheyBuilt) {
  std::vector<cmn_ty_dyn_field> fields = {fld("a", 0, 8, CMN_TYP_LONG), fld("b", 8, 8, CMN_TYP_LONG)};
  long src = define("fail src", fields, 16);
  long dst = define("fail dst", fields, 16);
  cmn_ty_dyn_rename twice[] = {{"a", "b", nullptr}};
  long failures = 0, successes = 0;
  osl_mem_reset_fail_num();
  for (int i = 0; i < 12; ++i) {
    long id = -1;
    long rc = cmn_dyn_define_type(("fail " + std::to_string(i % 3)).c_str(), 16, nullptr, 2, fields.data(), &id);
    EXPECT_TRUE(rc == 0 || rc == CMN_DYN_NO_MEMORY) << rc;
    cmn_ty_dyn_map* map = nullptr;
    long mrc = cmn_dyn_map_two_types(src, dst, 1, twice, &map);
    EXPECT_TRUE(mrc == 0 || mrc == CMN_ALRT_NO_MEMORY) << mrc;
    if (mrc == 0) cmn_dyn_map_free(map);
    (rc == 0 ? successes : failures) += 1;
    (mrc == 0 ? successes : failures) += 1;
  }
  osl_mem_disable_fail_mode();
  EXPECT_GT(failures, 2);
  EXPECT_GT(successes, 2);
}

}  // namespace
