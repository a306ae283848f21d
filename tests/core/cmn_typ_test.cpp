// The data-type registry: built-in types, installs, groups, special and
// composite classes, names and the memory procedures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn_main_fixture.h"
#include "core/core_fixture.h"

namespace {

class CmnTyp : public ::testing::Test {
 protected:
  // Each test starts on the registry as compiled in.
  void SetUp() override {
    core_fresh_cmn();
    cmn_alrt_clear(nullptr);
  }
};

long cmp_a(const void*, const void*) { return 1; }
long cmp_b(const void*, const void*) { return 2; }
long print_x(FILE*, long, const void*, long, long) { return 0; }

struct builtin_case {
  long id;
  const char* name;
  long class_code;
  long flags;
  long size;
};

class CmnTypBuiltin : public CmnTyp, public ::testing::WithParamInterface<builtin_case> {};

TEST_P(CmnTypBuiltin, NameFlagsAndSize) {
  const builtin_case& c = GetParam();
  long id_word = 0, flags = 0, size = 0;
  const char* name = nullptr;
  ASSERT_EQ(cmn_typ_info(c.id, &id_word, &flags, &name, &size, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(id_word, c.id == 670 ? 573 : c.id);
  EXPECT_STREQ(name, c.name);
  EXPECT_STREQ(cmn_typ_name(c.id), c.name);
  EXPECT_STREQ(cmn_typ_class_name(c.id), c.name);
  EXPECT_EQ(flags, c.flags);
  EXPECT_EQ(cmn_typ_get_flags(c.id), c.flags);
  EXPECT_EQ(size, c.size);
  cmn_ty_obj_info rec;
  ASSERT_EQ(cmn_typ_get_obj_info(c.id, &rec), 0);
  EXPECT_EQ(rec.class_code, c.class_code);
  long found = 0;
  ASSERT_EQ(cmn_typ_name_to_id(c.name, &found), 0);
  EXPECT_EQ(found <= c.id, true);  // a repeated name gives its first id
  EXPECT_STREQ(cmn_typ_name(found), c.name);
  EXPECT_EQ(cmn_typ_is_valid_type(c.id), 1);
  EXPECT_EQ(cmn_typ_is_valid_db_type(c.id), 0);
}

constexpr long W = static_cast<long>(sizeof(long));

INSTANTIATE_TEST_SUITE_P(
    Types, CmnTypBuiltin,
    ::testing::Values(builtin_case{512, "long integer", 0, 7, W}, builtin_case{513, "short integer", 1, 7, 2},
                      builtin_case{514, "float", 2, 3, 4}, builtin_case{515, "char", 3, 1, 1},
                      builtin_case{516, "char pointer", 4, 2, W}, builtin_case{517, "void pointer", 5, 1, W},
                      builtin_case{518, "collection header", 300, 0, W},
                      builtin_case{523, "schema", 0, 1, 0},
                      builtin_case{527, "CMN alert message", 0, 1, 2 * W},
                      builtin_case{561, "Test structure", 1, 1, 4 * W},
                      builtin_case{577, "relation", 0, 7, W}, builtin_case{580, "query condition", 0, 1, 3 * W},
                      builtin_case{594, "object id", 11, 1, 3 * W}, builtin_case{596, "Name Value Pair", 0, 1, 3 * W},
                      builtin_case{597, "Value", 0, 1, 2 * W}, builtin_case{609, "clk_ty_time", 1400, 3, 0},
                      builtin_case{613, "double", 0, 3, 8}, builtin_case{614, "money", 0, 3, 8},
                      builtin_case{604, "logic-desc edt ", 0, 1, 0},
                      builtin_case{670, "Object Relation", 0, 1, 0},
                      builtin_case{689, "Long Integer Triple", 0, 1, 6 * W},
                      builtin_case{738, "Long Integer Dozen", 0, 1, 12 * W},
                      builtin_case{746, "Boolean", 0, 1, 0},
                      builtin_case{766, "decimal", 6, 3, 48 + 2 * W},
                      builtin_case{811, "Configurator Role Type", 0, 1, 0}));

TEST_F(CmnTyp, RepeatedBuiltinNamesGiveTheFirstId) {
  long id = 0;
  ASSERT_EQ(cmn_typ_name_to_id("field schema", &id), 0);
  EXPECT_EQ(id, 524);
  ASSERT_EQ(cmn_typ_name_to_id("Query Expression", &id), 0);
  EXPECT_EQ(id, 586);
}

TEST_F(CmnTyp, InvalidIds) {
  for (long id : {511L, 812L, 5000L, -1L}) {
    EXPECT_STREQ(cmn_typ_name(id), "unknown data type") << id;
    EXPECT_EQ(cmn_typ_is_valid_type(id), 0) << id;
    EXPECT_EQ(cmn_typ_get_flags(id), 0) << id;
    EXPECT_STREQ(cmn_typ_class_name(id), "Unknown Class") << id;
    EXPECT_EQ(cmn_typ_name_id(id), 0) << id;
  }
  EXPECT_EQ(cmn_typ_install(5000, -1, -1, nullptr, 4, nullptr, nullptr, nullptr, nullptr), 0x100000);
  EXPECT_EQ(cmn_typ_get_obj_info(5000, nullptr), 0x100019);
  EXPECT_EQ(cmn_typ_info(5000, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0x100000);
  long size = 0;
  EXPECT_EQ(cmn_typ_get_size(nullptr, 5000, &size), 0x100000);
  ASSERT_EQ(core_num_alerts(), 4);
  const char* text = nullptr;
  cmn_alrt_ith(nullptr, 1, nullptr, &text);
  EXPECT_STREQ(text, "Invalid class 5000.");
}

TEST_F(CmnTyp, InstallSetsSizeAndMethods) {
  ASSERT_EQ(cmn_typ_install(640, -1, -1, nullptr, 24, nullptr, core_long_cmp, nullptr, print_x), 0);
  long size = 0;
  cmn_ty_compare_proc compare = nullptr;
  cmn_ty_print_proc print = nullptr;
  cmn_ty_length_proc length = core_str_len;  // must be overwritten with null
  ASSERT_EQ(cmn_typ_info(640, nullptr, nullptr, nullptr, &size, &length, &compare, nullptr, &print), 0);
  EXPECT_EQ(size, 24);
  EXPECT_EQ(compare, &core_long_cmp);
  EXPECT_EQ(print, &print_x);
  EXPECT_EQ(length, nullptr);
  long a = 3, b = 9, r = 0;
  ASSERT_EQ(cmn_typ_valcomp(640, &a, &b, &r), 0);
  EXPECT_EQ(r, -1);
  ASSERT_EQ(cmn_typ_get_size(&a, 640, &size), 0);
  EXPECT_EQ(size, 24);
  // Only the given arguments change; the name and flags stay.
  EXPECT_STREQ(cmn_typ_name(640), "DE Import Object Info");
  EXPECT_EQ(cmn_typ_get_flags(640), 1);
  // No compare method.
  EXPECT_EQ(cmn_typ_valcomp(641, &a, &b, &r), 0x100000);
}

TEST_F(CmnTyp, LengthMethodOverridesTheSize) {
  ASSERT_EQ(cmn_typ_install(642, -1, -1, nullptr, 8, core_str_len, nullptr, nullptr, nullptr), 0);
  long size = 0;
  ASSERT_EQ(cmn_typ_get_size("hello", 642, &size), 0);
  EXPECT_EQ(size, 6);
}

TEST_F(CmnTyp, InstallInfoAndReadBack) {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  EXPECT_EQ(info.reserved, -1);
  EXPECT_EQ(info.class_code, -1);
  EXPECT_EQ(info.size, -1);
  EXPECT_EQ(info.compare, nullptr);
  info.class_code = 77;
  info.compare = cmn_typ_proc(cmp_a);
  info.get_name = cmn_typ_proc(print_x);
  info.extra = 999;  // not stored
  ASSERT_EQ(cmn_typ_install_info(643, &info), 0);
  cmn_ty_type_info back;
  ASSERT_EQ(cmn_typ_get_info(643, &back), 0);
  EXPECT_EQ(back.class_code, 77);
  EXPECT_EQ(back.size, 0);
  EXPECT_EQ(back.compare, cmn_typ_proc(cmp_a));
  EXPECT_EQ(back.get_name, cmn_typ_proc(print_x));
  EXPECT_EQ(back.extra, 0);
  cmn_ty_method_proc access[8];
  ASSERT_EQ(cmn_typ_access_methods(643, access), 0);
  EXPECT_EQ(access[6], cmn_typ_proc(print_x));
  EXPECT_EQ(access[0], nullptr);
  ASSERT_EQ(cmn_typ_access_methods(644, access), 0);
  for (auto* p : access) EXPECT_EQ(p, nullptr);
}

TEST_F(CmnTyp, MethodInstallErrors) {
  cmn_ty_method list[] = {{11, cmn_typ_proc(cmp_a)}, {40, cmn_typ_proc(cmp_b)}, {6, cmn_typ_proc(print_x)}};
  EXPECT_EQ(cmn_typ_install_methods(645, 3, list), 0x10001a);
  cmn_ty_method_proc p = nullptr;
  ASSERT_EQ(cmn_typ_find_callback(645, 11, &p), 0);
  EXPECT_EQ(p, cmn_typ_proc(cmp_a));  // written before the bad pair
  ASSERT_EQ(cmn_typ_find_callback(645, 6, &p), 0);
  EXPECT_EQ(p, nullptr);  // not reached
  const char* text = nullptr;
  cmn_alrt_ith(nullptr, 0, nullptr, &text);
  EXPECT_STREQ(text, "Invalid message ID 40.");
  EXPECT_EQ(cmn_typ_install_callback(645, 33, cmn_typ_proc(cmp_b)), 0x100001);
  EXPECT_EQ(cmn_typ_find_callback(645, 33, &p), 0x100001);
  EXPECT_EQ(cmn_typ_find_single_method(645, 33, &p, nullptr), 0x10001a);
  EXPECT_EQ(cmn_typ_find_single_method(645, 12, &p, nullptr), 0x10001e);
  cmn_alrt_top(nullptr, nullptr, &text);
  EXPECT_STREQ(text, "There is no method installed for message 12 in class Data Generator Relation Clause.");
}

// Every call on one method slot of a type checks the slot number before the
// type, and reports a bad slot with one alert of the code it returns.
struct slot_case {
  const char* call;
  long (*run)(long id, long number);
  long id;
  long number;
  long status;
};

void PrintTo(const slot_case& c, std::ostream* os) {
  *os << c.call << "(" << c.id << ", " << c.number << ")";
}

long install_callback(long id, long number) { return cmn_typ_install_callback(id, number, cmn_typ_proc(cmp_a)); }
long find_callback(long id, long number) {
  cmn_ty_method_proc p = nullptr;
  return cmn_typ_find_callback(id, number, &p);
}
long find_single_method(long id, long number) {
  cmn_ty_method_proc p = nullptr;
  return cmn_typ_find_single_method(id, number, &p, nullptr);
}
long find_methods(long id, long number) {
  long count = 0;
  return cmn_typ_find_methods(id, number, nullptr, &count, nullptr, nullptr);
}

class CmnTypSlot : public CmnTyp, public ::testing::WithParamInterface<slot_case> {};

TEST_P(CmnTypSlot, BadSlotOrTypeIsOneAlert) {
  const slot_case& c = GetParam();
  EXPECT_EQ(c.run(c.id, c.number), c.status);
  ASSERT_EQ(core_num_alerts(), 1);
  long code = 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  EXPECT_EQ(code, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, CmnTypSlot,
    ::testing::Values(slot_case{"install_callback", install_callback, 645, -1, CMN_TYP_BAD_CALLBACK},
                      slot_case{"install_callback", install_callback, 5000, CMN_TYP_NUM_METHODS,
                                CMN_TYP_BAD_CALLBACK},
                      slot_case{"install_callback", install_callback, 5000, 11, CMN_TYP_BAD_CLASS},
                      slot_case{"find_callback", find_callback, 645, -1, CMN_TYP_BAD_CALLBACK},
                      slot_case{"find_callback", find_callback, 5000, CMN_TYP_NUM_METHODS, CMN_TYP_BAD_CALLBACK},
                      slot_case{"find_callback", find_callback, 5000, 11, CMN_TYP_BAD_CLASS},
                      slot_case{"find_single_method", find_single_method, 645, -1, CMN_TYP_BAD_METHOD},
                      slot_case{"find_single_method", find_single_method, 5000, CMN_TYP_NUM_METHODS,
                                CMN_TYP_BAD_METHOD},
                      slot_case{"find_single_method", find_single_method, 5000, 11, CMN_TYP_BAD_CLASS},
                      slot_case{"find_methods", find_methods, 645, -1, CMN_TYP_BAD_METHOD},
                      slot_case{"find_methods", find_methods, 5000, CMN_TYP_NUM_METHODS, CMN_TYP_BAD_METHOD},
                      slot_case{"find_methods", find_methods, 5000, 11, CMN_TYP_BAD_CLASS}));

TEST_F(CmnTyp, CallbacksAndSharedTables) {
  ASSERT_EQ(cmn_typ_install_callback(650, 12, cmn_typ_proc(cmp_a)), 0);
  ASSERT_EQ(cmn_typ_install_same_as(651, 650), 0);
  EXPECT_NE(cmn_typ_get_flags(651) & CMN_TYP_FLAG_SHARED, 0);
  cmn_ty_method_proc p = nullptr;
  ASSERT_EQ(cmn_typ_find_callback(651, 12, &p), 0);
  EXPECT_EQ(p, cmn_typ_proc(cmp_a));
  // A callback written through the sharing type lands in the shared table.
  ASSERT_EQ(cmn_typ_install_callback(651, 13, cmn_typ_proc(cmp_b)), 0);
  ASSERT_EQ(cmn_typ_find_callback(650, 13, &p), 0);
  EXPECT_EQ(p, cmn_typ_proc(cmp_b));
  // Adding methods copies the shared table first: the other type keeps its own.
  cmn_ty_method more[] = {{11, cmn_typ_proc(core_long_cmp)}};
  ASSERT_EQ(cmn_typ_add_methods(651, 1, more), 0);
  EXPECT_EQ(cmn_typ_get_flags(651) & CMN_TYP_FLAG_SHARED, 0);
  ASSERT_EQ(cmn_typ_find_callback(651, 12, &p), 0);
  EXPECT_EQ(p, cmn_typ_proc(cmp_a));
  ASSERT_EQ(cmn_typ_find_callback(650, 11, &p), 0);
  EXPECT_EQ(p, nullptr);
  // Installing replaces a shared table with a fresh one.
  ASSERT_EQ(cmn_typ_install_same_as(652, 650), 0);
  ASSERT_EQ(cmn_typ_install_methods(652, 1, more), 0);
  ASSERT_EQ(cmn_typ_find_callback(652, 12, &p), 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(cmn_typ_install_same_as(652, 5000), 0x100019);
}

TEST_F(CmnTyp, GroupsShareOneTableUntilAnIdGetsItsOwn) {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  info.compare = cmn_typ_proc(cmp_a);
  ASSERT_EQ(cmn_typ_construct_object(2000, 2010, &info), 0);
  for (long id : {2000L, 2005L, 2010L}) {
    EXPECT_EQ(cmn_typ_is_valid_db_type(id), 1) << id;
    long r = 0;
    ASSERT_EQ(cmn_typ_valcomp(id, nullptr, nullptr, &r), 0);
    EXPECT_EQ(r, 1) << id;
    long size = 0;
    ASSERT_EQ(cmn_typ_get_size(nullptr, id, &size), 0);
    EXPECT_EQ(size, static_cast<long>(sizeof(void*)));
  }
  EXPECT_EQ(cmn_typ_is_valid_type(2011), 0);
  cmn_ty_method own[] = {{11, cmn_typ_proc(cmp_b)}};
  ASSERT_EQ(cmn_typ_install_methods(2005, 1, own), 0);
  long r = 0;
  ASSERT_EQ(cmn_typ_valcomp(2005, nullptr, nullptr, &r), 0);
  EXPECT_EQ(r, 2);
  for (long id : {2000L, 2004L, 2006L}) {
    ASSERT_EQ(cmn_typ_valcomp(id, nullptr, nullptr, &r), 0);
    EXPECT_EQ(r, 1) << id;
  }
  // The special class keeps being found and updated in place.
  cmn_ty_method again[] = {{11, cmn_typ_proc(core_long_cmp)}};
  ASSERT_EQ(cmn_typ_add_methods(2005, 1, again), 0);
  long a = 1, b = 1;
  ASSERT_EQ(cmn_typ_valcomp(2005, &a, &b, &r), 0);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(cmn_typ_valcomp(2006, nullptr, nullptr, &r), 0);
  EXPECT_EQ(r, 1);
}

long fake_get_name(long id, long, const char** name, const char**) {
  static std::string text;
  text = "schema type " + std::to_string(id);
  *name = text.c_str();
  return 0;
}

long fake_name_to_id(const char* name, const char*, long* id, long*) {
  if (std::strcmp(name, "contract") != 0) return 0x500008;
  *id = 4242;
  return 0;
}

TEST_F(CmnTyp, ObjectTypeNames) {
  // Without a group, object type ids are not valid.
  EXPECT_STREQ(cmn_typ_name(0), "unknown data type");
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  ASSERT_EQ(cmn_typ_construct_object(0, 511, &info), 0);
  EXPECT_STREQ(cmn_typ_name(0), "Case");
  EXPECT_STREQ(cmn_typ_name(52), "Site");
  EXPECT_EQ(cmn_typ_name_id(0), 0x100025);
  EXPECT_EQ(cmn_typ_name_id(56), 0x100025);  // "Case" again
  EXPECT_STREQ(cmn_typ_name(6), "cannot find get_name method");
  long id = -1;
  ASSERT_EQ(cmn_typ_name_to_id("Case", &id), 0);
  EXPECT_EQ(id, 0);
  ASSERT_EQ(cmn_typ_name_to_id("Lead", &id), 0);
  EXPECT_EQ(id, 5312);
  EXPECT_EQ(cmn_typ_name_to_id("contract", &id), 0x10001e);
  const char* text = nullptr;
  cmn_alrt_top(nullptr, nullptr, &text);
  EXPECT_STREQ(text, "There is no method installed for message 32 in class contract.");

  cmn_ty_type_info obj;
  cmn_typ_init_info(&obj);
  obj.get_name = cmn_typ_proc(fake_get_name);
  obj.name_to_id = cmn_typ_proc(fake_name_to_id);
  ASSERT_EQ(cmn_typ_install_info(634, &obj), 0);
  ASSERT_EQ(cmn_typ_construct_object(100000, 109999, &obj), 0);
  // Object types above 10000 are not taken for run-time record types.
  EXPECT_STREQ(cmn_typ_name(100007), "schema type 100007");
  long size = 0, flags = 0;
  ASSERT_EQ(cmn_typ_info(100007, nullptr, &flags, nullptr, &size, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(size, static_cast<long>(sizeof(void*)));
  EXPECT_EQ(flags, 33);
  EXPECT_EQ(cmn_typ_get_flags(100007), 33);
  ASSERT_EQ(cmn_typ_name_to_id("contract", &id), 0);
  EXPECT_EQ(id, 4242);
  EXPECT_EQ(cmn_typ_name_to_id("nothing", &id), 0x500008);
}

TEST_F(CmnTyp, LocalisedBuiltinNameReplacesTheStaticOnce) {
  cmn_ty_obj_info rec;
  ASSERT_EQ(cmn_typ_get_obj_info(660, &rec), 0);
  rec.flags |= CMN_TYP_FLAG_LOCALISE;
  rec.name_msg = 0x1000ab;  // "greater than"
  ASSERT_EQ(cmn_typ_put_obj_info(660, &rec), 0);
  EXPECT_EQ(cmn_typ_name_id(660), 0x1000ab);
  EXPECT_STREQ(cmn_typ_name(660), "greater than");
  EXPECT_EQ(cmn_typ_get_flags(660) & CMN_TYP_FLAG_LOCALISE, 0);
}

TEST_F(CmnTyp, CompositeClasses) {
  const long bad[] = {512, 900};
  long id = 0;
  EXPECT_EQ(cmn_typ_construct_class("bad", 512, 2, bad, &id), 0x10001b);
  // Trait 653 carries compare a, trait 654 compare b, trait 655 none.
  cmn_ty_method a[] = {{11, cmn_typ_proc(cmp_a)}};
  cmn_ty_method b[] = {{11, cmn_typ_proc(cmp_b)}};
  ASSERT_EQ(cmn_typ_install_methods(653, 1, a), 0);
  ASSERT_EQ(cmn_typ_install_methods(654, 1, b), 0);
  const long one[] = {655, 653};
  ASSERT_EQ(cmn_typ_construct_class("Single", 597, 2, one, &id), 0);
  EXPECT_GE(id, CMN_TYP_FIRST_COMPOSITE);
  EXPECT_EQ(cmn_typ_is_comp_class(id), 1);
  EXPECT_STREQ(cmn_typ_name(id), "Single");
  EXPECT_STREQ(cmn_typ_class_name(id), "Single");
  long value_class = 0;
  EXPECT_EQ(cmn_typ_comp_value_class(id, &value_class), 0);
  EXPECT_EQ(value_class, 597);
  EXPECT_EQ(cmn_typ_comp_value_class(512, &value_class), 1);
  cmn_ty_method_proc p = nullptr;
  long trait = -5;
  ASSERT_EQ(cmn_typ_find_single_method(id, 11, &p, &trait), 0);
  EXPECT_EQ(p, cmn_typ_proc(cmp_a));
  EXPECT_EQ(trait, 1);

  const long two[] = {653, 654};
  long both = 0;
  ASSERT_EQ(cmn_typ_construct_class("Double", 597, 2, two, &both), 0);
  EXPECT_EQ(both, id + 1);
  EXPECT_EQ(cmn_typ_find_single_method(both, 11, &p, &trait), 0x10001d);
  const char* text = nullptr;
  cmn_alrt_top(nullptr, nullptr, &text);
  EXPECT_STREQ(text, "There can only be one method for message 11 installed for class Double.");
  EXPECT_EQ(cmn_typ_find_single_method(both, 6, &p, &trait), 0x10001e);

  cmn_ty_method_proc own = cmn_typ_proc(core_long_cmp);
  long count = 0;
  const long* ids = nullptr;
  const cmn_ty_method_proc* procs = nullptr;
  ASSERT_EQ(cmn_typ_find_methods(both, 11, &own, &count, &ids, &procs), 0);
  EXPECT_EQ(own, nullptr);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(ids[0], 653);
  EXPECT_EQ(procs[0], cmn_typ_proc(cmp_a));
  EXPECT_EQ(procs[1], cmn_typ_proc(cmp_b));
  ASSERT_EQ(cmn_typ_find_methods(653, 11, &own, &count, &ids, &procs), 0);
  EXPECT_EQ(own, cmn_typ_proc(cmp_a));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ids, nullptr);

  // The composite's own method and a trait's collide too.
  ASSERT_EQ(cmn_typ_install_methods(id, 1, b), 0);
  EXPECT_EQ(cmn_typ_find_single_method(id, 11, &p, &trait), 0x10001d);
  ASSERT_EQ(cmn_typ_install_same_as(both, id), 0);
  EXPECT_EQ(cmn_typ_comp_traits(512, &count, &ids), 0x10001c);
  ASSERT_EQ(cmn_typ_comp_traits(id, &count, &ids), 0);
  EXPECT_EQ(count, 2);
}

struct idcode_case {
  long n;
  long rc;
};

class CmnTypIdcode : public CmnTyp, public ::testing::WithParamInterface<idcode_case> {};

TEST_P(CmnTypIdcode, SubsystemNumberCheck) { EXPECT_EQ(cmn_typ_chk_idcode(GetParam().n), GetParam().rc); }

INSTANTIATE_TEST_SUITE_P(Numbers, CmnTypIdcode,
                         ::testing::Values(idcode_case{0, 0x100004}, idcode_case{1, 0}, idcode_case{164, 0},
                                           idcode_case{165, 0x100004}, idcode_case{-1, 0x100004}));

TEST(CmnGfld, GenericFieldCodes) {
  struct {
    long code, expected;
  } cases[] = {{0x1000000, 1}, {0x1000005, 1}, {0x1000099, 1}, {153, 1}, {0x100009A, 0}, {154, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(cmn_gfld_check(c.code), c.expected) << c.code;
}

int g_allocs = 0;
long fake_alloc(const char*, long count, const long*, const long* sizes, void** addresses) {
  ++g_allocs;
  static char block[256];
  long at = 0;
  for (long i = 0; i < count; ++i) {
    addresses[i] = sizes[i] > 0 ? block + at : nullptr;
    at += sizes[i];
  }
  return 0;
}
int g_frees = 0;
long fake_free(const char*, void*) {
  ++g_frees;
  return 0;
}

TEST_F(CmnTyp, ConversionMemory) {
  g_allocs = 0;
  g_frees = 0;
  long type = 512, size = 32;
  void* p = nullptr;
  ASSERT_EQ(cmn_typ_alloc("t", 1, &type, &size, &p), 0);
  ASSERT_NE(p, nullptr);
  std::memset(p, 0xab, 32);
  EXPECT_EQ(cmn_typ_dealloc("t", p), 0);
  long types[2] = {512, 513}, sizes[2] = {8, 8};
  void* two[2] = {};
  EXPECT_EQ(cmn_typ_alloc("t", 2, types, sizes, two), 1);
  ASSERT_EQ(cmn_typ_install_mem_procs(fake_alloc, fake_free), 0);
  ASSERT_EQ(cmn_typ_alloc("t", 2, types, sizes, two), 0);
  EXPECT_EQ(static_cast<char*>(two[1]) - static_cast<char*>(two[0]), 8);
  EXPECT_EQ(cmn_typ_dealloc("t", two[0]), 0);
  EXPECT_EQ(g_allocs, 1);
  EXPECT_EQ(g_frees, 1);
  cmn_typ_install_mem_procs(nullptr, nullptr);
}

long dyn_name(long id, const char** name) {
  if (id != 10000) return 0x10000f;
  *name = "Runtime Thing";
  return 0;
}
long dyn_size(long id, long* size) {
  if (id != 10000) return 0x10000f;
  *size = 40;
  return 0;
}
long dyn_print(FILE*, long, const void*, long, long) { return 0; }

TEST_F(CmnTyp, RuntimeRecordTypesAnswerThroughTheirModule) {
  EXPECT_STREQ(cmn_typ_name(10000), "unknown dynamic data type");
  EXPECT_EQ(cmn_typ_get_flags(10000), 1);
  ASSERT_EQ(cmn_typ_install_dyn_procs(dyn_name, dyn_size, dyn_print), 0);
  long id_word = 0, flags = 0, size = 0;
  const char* name = nullptr;
  cmn_ty_print_proc print = nullptr;
  ASSERT_EQ(cmn_typ_info(10000, &id_word, &flags, &name, &size, nullptr, nullptr, nullptr, &print), 0);
  EXPECT_EQ(id_word, 10000);
  EXPECT_EQ(flags, 1);
  EXPECT_STREQ(name, "Runtime Thing");
  EXPECT_EQ(size, 40);
  EXPECT_EQ(print, &dyn_print);
  EXPECT_STREQ(cmn_typ_name(10000), "Runtime Thing");
  EXPECT_STREQ(cmn_typ_name(10001), "unknown dynamic data type");
  ASSERT_EQ(cmn_typ_get_size(nullptr, 10000, &size), 0);
  EXPECT_EQ(size, 40);
  EXPECT_EQ(cmn_typ_info(10001, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0x100000);
  cmn_typ_install_dyn_procs(nullptr, nullptr, nullptr);
}

// A runtime started by an earlier test in the same process leaves none of
// its procedures in a registry put back as compiled in.
TEST_F(CmnTyp, AFreshRegistryKeepsNoProcedureOfAStartedRuntime) {
  core_start_runtime();
  core_fresh_cmn();
  long types[2] = {512, 513}, sizes[2] = {8, 8};
  void* two[2] = {};
  EXPECT_EQ(cmn_typ_alloc("t", 2, types, sizes, two), 1);
  EXPECT_STREQ(cmn_typ_name(10000), "unknown dynamic data type");
}

int g_builtin_runs = 0;
long builtin_methods() {
  ++g_builtin_runs;
  return g_builtin_runs == 1 ? 0 : 0x10001a;
}

TEST_F(CmnTyp, StartUpRunsTheBuiltinMethodInstaller) {
  g_builtin_runs = 0;
  EXPECT_EQ(cmn_typ_init(), 0);
  ASSERT_EQ(cmn_typ_install_builtin_methods_proc(builtin_methods), 0);
  EXPECT_EQ(cmn_typ_init(), 0);
  EXPECT_EQ(cmn_typ_init(), 0x10001a);
  EXPECT_EQ(g_builtin_runs, 2);
  cmn_typ_install_builtin_methods_proc(nullptr);
  EXPECT_EQ(cmn_typ_term(), 0);
}

}  // namespace
