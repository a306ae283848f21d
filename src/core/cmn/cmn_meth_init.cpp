// The method lists of the built-in types, installed in order at start-up.
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"

namespace {

template <class F>
constexpr cmn_ty_method m(long id, F f) {
  return {id, cmn_typ_proc(f)};
}

const cmn_ty_method money_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_doublecmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method long_pair_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_compare_longpair),
                                           m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method long_array_methods[] = {
    m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_GET, cmn_typ_long_arr_get), m(CMN_MTH_SET, cmn_typ_long_arr_set),
    m(CMN_MTH_ADDRESS, cmn_typ_long_arr_gaddr)};
const cmn_ty_method actcode_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method obj_type_methods[] = {m(CMN_MTH_CONVERT, cmn_typ_obj_type_convert)};
const cmn_ty_method double_methods[] = {
    m(CMN_MTH_COMPARE, cmn_typ_doublecmp), m(CMN_MTH_PRINT, cmn_typ_print_val), m(CMN_MTH_GET, cmn_typ_double_get),
    m(CMN_MTH_SET, cmn_typ_double_set), m(CMN_MTH_ADDRESS, cmn_typ_float_gaddr)};
const cmn_ty_method value_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_value_cmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method name_val_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_name_val_cmp),
                                          m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method rel_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method test_struct_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_compare_tstruct),
                                             m(CMN_MTH_PRINT, cmn_typ_print_tstruct)};
const cmn_ty_method void_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method char_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_charcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method char_p_methods[] = {
    m(CMN_MTH_LENGTH, cmn_typ_str_len),   m(CMN_MTH_COMPARE, cmn_typ_strcmp), m(CMN_MTH_PRINT, cmn_typ_print_val),
    m(CMN_MTH_GET, cmn_typ_char_p_get),   m(CMN_MTH_SET, cmn_typ_char_p_set),
    m(CMN_MTH_ADDRESS, cmn_typ_char_p_gaddr)};
const cmn_ty_method condcode_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method long_methods[] = {
    m(CMN_MTH_COMPARE, cmn_typ_longcmp), m(CMN_MTH_PRINT, cmn_typ_print_val), m(CMN_MTH_GET, cmn_typ_long_get),
    m(CMN_MTH_SET, cmn_typ_long_set), m(CMN_MTH_ADDRESS, cmn_typ_long_gaddr)};
const cmn_ty_method long_triple_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_compare_longtriple),
                                             m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method short_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_shortcmp), m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method float_methods[] = {
    m(CMN_MTH_COMPARE, cmn_typ_floatcmp), m(CMN_MTH_PRINT, cmn_typ_print_val), m(CMN_MTH_GET, cmn_typ_float_get),
    m(CMN_MTH_SET, cmn_typ_float_set), m(CMN_MTH_ADDRESS, cmn_typ_float_gaddr)};
const cmn_ty_method prop_map_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_propmapcmp),
                                          m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method oid_pair_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_compare_oidpair),
                                          m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method long_dozen_methods[] = {m(CMN_MTH_COMPARE, cmn_typ_compare_longdozen),
                                            m(CMN_MTH_PRINT, cmn_typ_print_val)};
const cmn_ty_method trav_map_methods[] = {m(CMN_MTH_PRINT, cmn_typ_print_trav)};

struct method_list {
  long id;
  long count;
  const cmn_ty_method* list;
};

template <size_t N>
constexpr method_list entry(long id, const cmn_ty_method (&list)[N]) {
  return {id, static_cast<long>(N), list};
}

const method_list cmn_meth_lists[] = {
    entry(614, money_methods),       entry(649, long_pair_methods),   entry(615, long_array_methods),
    entry(619, actcode_methods),     entry(630, obj_type_methods),    entry(613, double_methods),
    entry(597, value_methods),       entry(596, name_val_methods),    entry(577, rel_methods),
    entry(561, test_struct_methods), entry(517, void_methods),        entry(515, char_methods),
    entry(516, char_p_methods),      entry(766, char_p_methods),      entry(621, condcode_methods),
    entry(512, long_methods),        entry(689, long_triple_methods), entry(513, short_methods),
    entry(514, float_methods),       entry(688, prop_map_methods),    entry(735, oid_pair_methods),
    entry(738, long_dozen_methods),  entry(704, trav_map_methods),
};

}  // namespace

long cmn_meth_install_all() {
  for (const method_list& l : cmn_meth_lists) {
    if (long rc = cmn_typ_install_methods(l.id, l.count, l.list)) return rc;
  }
  return 0;
}
