// Binary arrays: array sets in memory, in the flat and the nested form
// (made, added to, read, printed and freed).
#include <cstdint>
#include <cstdio>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_bar_int.h"
#include "core/utl/utl_col.h"

namespace {

constexpr const char kOwner[] = "adp_bar";
constexpr long kSetSlots = 10;
constexpr long kNumberSlotsMin = 1;
constexpr long kNumbersPerLine = 8;
constexpr long kLineIndent = 2;
// A set whose elements are not of the form asked for.
constexpr long kNotOfForm = 1;

long element_type_of(long form) {
  return form == ADP_BAR_FORM_FLAT ? ADP_BAR_FLAT_ELEMENT : ADP_BAR_NESTED_ELEMENT;
}

bool is_of_form(utl_ty_col* set, long form) {
  if (set == nullptr || (form != ADP_BAR_FORM_FLAT && form != ADP_BAR_FORM_NESTED)) return false;
  long type = 0;
  if (utl_col_info(set, &type, nullptr, nullptr, nullptr, nullptr, nullptr) != 0) return false;
  return type == element_type_of(form);
}

// The numbers as longs: stored words converted, else copied.
std::vector<long> numbers_of(long count, const void* numbers, long options) {
  std::vector<long> out(static_cast<size_t>(count > 0 ? count : 0));
  for (long i = 0; i < count; ++i) {
    out[static_cast<size_t>(i)] =
        (options & ADP_BAR_OPT_BIG_ENDIAN) != 0
            ? adp_bar_word(static_cast<const unsigned char*>(numbers) + i * ADP_BAR_WORD_BYTES)
            : static_cast<const long*>(numbers)[i];
  }
  return out;
}

long add_flat(utl_ty_col* set, const obj_id* id, const std::vector<long>& numbers) {
  const long n = static_cast<long>(numbers.size());
  void* block = nullptr;
  const long size = static_cast<long>(sizeof(adp_bar_flat)) + n * static_cast<long>(sizeof(long));
  if (long st = utl_col_alloc(set, size, nullptr, &block)) return st;
  auto* a = static_cast<adp_bar_flat*>(block);
  a->id = *id;
  a->count = n;
  for (long i = 0; i < n; ++i) adp_bar_flat_numbers(a)[i] = numbers[static_cast<size_t>(i)];
  return utl_col_push(set, &block, nullptr);
}

long add_nested(utl_ty_col* set, const obj_id* id, const std::vector<long>& numbers) {
  const long n = static_cast<long>(numbers.size());
  utl_ty_col* inner = nullptr;
  if (long st = utl_col_make(kOwner, ADP_BAR_NUMBER_ELEMENT, n > kNumberSlotsMin ? n : kNumberSlotsMin,
                             kSetSlots, 0, UTL_COL_OPT_POOL, &inner)) {
    return st;
  }
  void* kept_id = nullptr;
  long st = utl_col_alloc(inner, static_cast<long>(sizeof(obj_id)), id, &kept_id);
  if (st == 0) st = utl_col_set_ext(inner, reinterpret_cast<long>(kept_id));
  for (long i = 0; st == 0 && i < n; ++i) st = utl_col_push(inner, &numbers[static_cast<size_t>(i)], nullptr);
  if (st == 0) st = utl_col_push(set, &inner, nullptr);
  if (st != 0) utl_col_free(kOwner, inner);
  return st;
}

void print_numbers(FILE* stream, long indent, const long* numbers, long count) {
  for (long i = 0; i < count; ++i) {
    if (i % kNumbersPerLine == 0) std::fprintf(stream, "\n%*.*s", static_cast<int>(indent + kLineIndent),
                                               static_cast<int>(indent + kLineIndent), "");
    std::fprintf(stream, "%8.8lx, ", static_cast<unsigned long>(static_cast<uint32_t>(numbers[i])));
  }
  std::fprintf(stream, "\n");
}

}  // namespace

long adp_bar_make_set(long options, utl_ty_col** set) {
  const long form = adp_bar_form_of(options);
  return utl_col_make(kOwner, element_type_of(form), kSetSlots, kSetSlots, 0,
                      form == ADP_BAR_FORM_FLAT ? UTL_COL_OPT_POOL : 0, set);
}

long adp_bar_add_to_array(utl_ty_col* set, const obj_id* id, long count, const void* numbers, long options) {
  const long form = adp_bar_form_of(options);
  if (!is_of_form(set, form)) return kNotOfForm;
  // Stored words always fit; longs given by the caller are checked.
  if ((options & ADP_BAR_OPT_BIG_ENDIAN) == 0 && count > 0) {
    if (long st = adp_bar_check_numbers(static_cast<const long*>(numbers), count, "adp_bar_add_to_array")) return st;
  }
  const std::vector<long> values = numbers_of(count, numbers, options);
  return form == ADP_BAR_FORM_FLAT ? add_flat(set, id, values) : add_nested(set, id, values);
}

long adp_bar_array_at(utl_ty_col* set, long form, long index, obj_id* id, long* count, const long** numbers) {
  if (!is_of_form(set, form)) return kNotOfForm;
  void* slot = nullptr;
  if (long st = utl_col_ith(set, index, &slot)) return st;
  if (form == ADP_BAR_FORM_FLAT) {
    const auto* a = *static_cast<adp_bar_flat* const*>(slot);
    *id = a->id;
    *count = a->count;
    *numbers = adp_bar_flat_numbers(a);
    return 0;
  }
  utl_ty_col* inner = *static_cast<utl_ty_col* const*>(slot);
  long kept_id = 0;
  void* first = nullptr;
  if (long st = utl_col_get_ext(inner, &kept_id)) return st;
  if (long st = utl_col_get_array(inner, &first, count)) return st;
  *id = *reinterpret_cast<const obj_id*>(kept_id);
  *numbers = static_cast<const long*>(first);
  return 0;
}

long adp_bar_dump_array(FILE* stream, long indent, utl_ty_col* set, long form) {
  if (!is_of_form(set, form)) {
    std::fprintf(stream, "%s: invalid array collection %ld\n", "adp_bar_dump_array", form);
    return 0;
  }
  const int width = static_cast<int>(indent);
  return adp_bar_each(set, form, [&](const adp_bar_array& a) -> long {
    if (form == ADP_BAR_FORM_FLAT) {
      std::fprintf(stream, "%*.*sARRAY #%ld) obj_id=%ld, array_count=%ld, data:", width, width, "", a.index,
                   a.id.num, a.count);
    } else {
      std::fprintf(stream, "%*.*sARRAY COLLECTION #%ld) obj_id=%ld, data:", width, width, "", a.index, a.id.num);
    }
    print_numbers(stream, indent, a.numbers, a.count);
    return 0L;
  });
}

long adp_bar_free_array(utl_ty_pool*, utl_ty_col* set, long form) {
  if (set == nullptr) return 0;
  if (!is_of_form(set, form)) return kNotOfForm;
  if (form == ADP_BAR_FORM_NESTED) {
    const long n = adp_bar_set_size(set);
    for (long i = 0; i < n; ++i) {
      void* slot = nullptr;
      if (utl_col_ith(set, i, &slot) == 0) utl_col_free(kOwner, *static_cast<utl_ty_col**>(slot));
    }
  }
  return utl_col_free(kOwner, set);
}
