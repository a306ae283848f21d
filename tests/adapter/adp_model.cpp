#include "adapter/adp_model.h"

#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "core/utl/utl_col.h"

namespace {

constexpr long kDecimalType = 766;  // decimals get precision 19, scale 2

}  // namespace

typ_sch_srec* adp_model_object(const char* name, long type_id) {
  typ_sch_srec* s = nullptr;
  EXPECT_EQ(typ_sch_define_obj(name, type_id, "", "", &s), 0) << name;
  EXPECT_EQ(adp_sch_type_insert(type_id, 2, name), 0);
  return s;
}

void adp_model_field(typ_sch_srec* s, const char* name, long type, long db_type, long gen, unsigned long flags) {
  constexpr long kTextType = 516;
  long pos = -1;
  const bool dec = type == kDecimalType;
  EXPECT_EQ(typ_sch_fadd(s, name, type, db_type, gen, -1, flags, type == kTextType ? 80 : 1, dec ? 19 : -1,
                         dec ? 2 : -1, 0, 0, nullptr, "", &pos),
            0)
      << name;
}

void adp_model_relation(long type_id, const char* name, long kind, const char* target, const char* inverse,
                        long exclusive, const char* phys, const char* focus) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  long pos = -1;
  EXPECT_EQ(typ_sch_define_rel(s, name, kind, target, -1, &pos, inverse, exclusive, phys, focus, "", "", 0, nullptr),
            0)
      << name;
}

adp_model::adp_model() {
  static bool started = false;
  if (!started) {
    core_start_utl();
    EXPECT_EQ(typ_main_init(), 0);
    EXPECT_EQ(adp_sch_init(), 0);
    started = true;
  }
  EXPECT_EQ(typ_sch_alloc(), 0);
  EXPECT_EQ(adp_sch_alloc(), 0);
}

adp_model::~adp_model() { adp_sch_types_clear(); }

void adp_model::add(const char* name, long type_id, const std::vector<std::pair<long, long>>& fields) {
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj(name, type_id, "", "", &s), 0) << name;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string f = "f" + std::to_string(i);
    long pos = -1;
    const bool decimal = fields[i].first == kDecimalType;
    ASSERT_EQ(typ_sch_fadd(s, f.c_str(), fields[i].first, fields[i].second, -1, -1, 0, 64, decimal ? 19 : -1,
                           decimal ? 2 : -1, 0, 0, nullptr, "", &pos),
              0)
        << name << " " << f;
  }
  ASSERT_EQ(adp_sch_type_insert(type_id, 2, name), 0);
}

typ_sch_srec* adp_model::finish(long type_id) {
  EXPECT_EQ(typ_sch_optimize(), 0);
  EXPECT_EQ(adp_sch_types_sch_init(), 0);
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

namespace {

template <class T>
std::vector<T> elements_of(utl_ty_col* col) {
  std::vector<T> out;
  long n = 0;
  utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    out.push_back(*static_cast<T*>(e));
  }
  return out;
}

}  // namespace

std::vector<long> adp_col_longs(utl_ty_col* col) { return elements_of<long>(col); }
std::vector<void*> adp_col_pointers(utl_ty_col* col) { return elements_of<void*>(col); }

std::vector<std::string> adp_col_texts(utl_ty_col* col) {
  std::vector<std::string> out;
  long n = 0;
  if (col != nullptr) utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    out.emplace_back(e != nullptr ? static_cast<const char*>(e) : "");
  }
  return out;
}

void adp_model_type_ranges() {
  static bool ranges = false;
  if (ranges) return;
  ranges = true;
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  EXPECT_EQ(cmn_typ_construct_object(0, 9999, &info), 0);
}
