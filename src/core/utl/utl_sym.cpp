#include "core/utl/utl_sym.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st_case.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kTypeSymtab = 697;
constexpr long kTypeSymbol = 583;

bool is_string_type(long type) { return type == CMN_TYP_CHAR || type == CMN_TYP_CHAR_P; }

long hash_of(long buckets, const char* name, bool upper) {
  if (!name || buckets <= 0) return 0;
  uint32_t h = 0;
  for (long i = 0; name[i]; ++i) {
    long c = upper ? loc_st_toupper(name[i]) : static_cast<signed char>(name[i]);
    h ^= static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))) << (i % 8);
  }
  return static_cast<long>(h % static_cast<uint32_t>(buckets));
}

bool same_name(const char* a, const char* b) {
  return a && b ? std::strcmp(a, b) == 0 : a == b;
}

void refresh(utl_ty_symtab* t) {
  t->entries = reinterpret_cast<utl_ty_sym_entry*>(t->entry_col->array);
}

// Copies value into dst; string values go into the table's pool.
long store_value(utl_ty_symtab* t, utl_ty_sym_value* dst, const utl_ty_sym_value* value) {
  utl_ty_sym_value v = *value;
  if (is_string_type(v.type) && v.v.str) {
    char* copy = nullptr;
    if (long st = utl_col_alloc_string(t->entry_col, v.v.str, &copy)) return st;
    v.v.str = copy;
  }
  *dst = v;
  return 0;
}

bool equal_values(const utl_ty_sym_value& a, const utl_ty_sym_value& b) {
  if (a.type != b.type) return false;
  switch (a.type) {
    case CMN_TYP_SHORT: return a.v.s == b.v.s;
    case CMN_TYP_FLOAT: return a.v.f == b.v.f;
    case CMN_TYP_CHAR:
    case CMN_TYP_CHAR_P: return same_name(a.v.str, b.v.str);
    default: return a.v.l == b.v.l;  // long, pointer, collection: the word
  }
}

long check_table(const utl_ty_symtab* t) { return t ? 0 : UTL_BAD_ARG; }

long print_symbol(FILE*, long, const void*, long, long) { return 0; }

}  // namespace

long utl_sym_default_hash(long buckets, const char* name) { return hash_of(buckets, name, false); }
long utl_sym_ci_hash(long buckets, const char* name) { return hash_of(buckets, name, true); }

long utl_sym_ci_strcmp(const char* a, const char* b) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  for (;; ++a, ++b) {
    long ca = loc_st_toupper(*a), cb = loc_st_toupper(*b);
    if (!*a || !*b) return (*a ? 1 : 0) - (*b ? 1 : 0);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
}

long utl_sym_compare(const void* a, const void* b) {
  const char* na = static_cast<const utl_ty_sym_entry*>(a)->name;
  const char* nb = static_cast<const utl_ty_sym_entry*>(b)->name;
  if (!na || !nb) return (na ? 1 : 0) - (nb ? 1 : 0);
  return std::strcmp(na, nb);
}

long utl_sym_table_create_option(long initial, long buckets, utl_ty_symtab** table,
                                 long options) {
  const long htype = kTypeSymtab;
  const long hsize = sizeof(utl_ty_symtab);
  void* addr = nullptr;
  if (long st = utl_mem_alloc(utl_mem_name(), 1, &htype, &hsize, &addr)) return st;
  auto* t = static_cast<utl_ty_symtab*>(addr);
  std::memset(t, 0, sizeof(*t));
  t->options = options;
  t->num_buckets = buckets;
  t->last_hit = -1;
  t->hash = (options & UTL_SYM_CASE_INSENS) ? utl_sym_ci_hash : utl_sym_default_hash;
  long st = utl_col_make(utl_mem_name(), kTypeSymbol, initial, initial, 0, UTL_COL_OPT_POOL,
                         &t->entry_col);
  if (st == 0)
    st = utl_col_make(utl_mem_name(), CMN_TYP_LONG, buckets, buckets, 0, 0, &t->bucket_col);
  if (st == 0 && t->bucket_col->slot_size != static_cast<long>(sizeof(long)))
    st = utl_alrt(UTL_BAD_ELEM_TYPE, CMN_TYP_LONG, reinterpret_cast<long>(t->bucket_col),
                  utl_mem_name());
  void* slot = nullptr;
  if (st == 0) st = utl_col_reserve(t->bucket_col, buckets, 0, &slot);
  if (st != 0) {
    utl_col_free(utl_mem_name(), t->bucket_col);
    utl_col_free(utl_mem_name(), t->entry_col);
    utl_mem_free(utl_mem_name(), t);
    return st;
  }
  t->buckets = static_cast<long*>(slot);
  for (long i = 0; i < buckets; ++i) t->buckets[i] = -1;
  refresh(t);
  *table = t;
  return 0;
}

long utl_sym_table_create(long initial, utl_ty_symtab** table) {
  return utl_sym_table_create_option(initial, UTL_SYM_DEFAULT_BUCKETS, table, 0);
}

long utl_sym_table_create_sized(long initial, long buckets, utl_ty_symtab** table) {
  return utl_sym_table_create_option(initial, buckets, table, 0);
}

long utl_sym_table_create_suppl(long initial, long buckets, utl_ty_symtab** table) {
  return utl_sym_table_create_option(initial, buckets, table, UTL_SYM_SUPPL);
}

long utl_sym_table_create_ic(long initial, long buckets, utl_ty_symtab** table) {
  return utl_sym_table_create_option(initial, buckets, table, UTL_SYM_CASE_INSENS);
}

long utl_sym_table_destroy(utl_ty_symtab* table) {
  if (!table) return 0;
  utl_col_free(utl_mem_name(), table->bucket_col);
  utl_col_free(utl_mem_name(), table->entry_col);
  utl_mem_free(utl_mem_name(), table);
  return 0;
}

long utl_sym_find_val(utl_ty_symtab* table, const char* name, utl_ty_sym_value** value,
                      long* index, utl_ty_sym_entry** entry, long* user) {
  if (long st = check_table(table)) return st;
  if (value) *value = nullptr;
  if (index) *index = -1;
  if (entry) *entry = nullptr;
  if (user) *user = 0;
  if (!name) return 0;
  utl_ty_sym_entry* es = table->entries;
  long hit = -1;
  if (table->last_hit >= 0 && same_name(es[table->last_hit].name, name)) {
    hit = table->last_hit;
  } else {
    long b = table->hash(table->num_buckets, name);
    if (b < 0 || b >= table->num_buckets) return 1;
    // Exact names first; a case-insensitive table then takes a name that
    // differs only in case.
    for (long i = table->buckets[b]; i != -1 && hit < 0; i = es[i].next)
      if (same_name(es[i].name, name)) hit = i;
    if (hit < 0 && (table->options & UTL_SYM_CASE_INSENS)) {
      for (long i = table->buckets[b]; i != -1 && hit < 0; i = es[i].next)
        if (utl_sym_ci_strcmp(es[i].name, name) == 0) hit = i;
    }
  }
  if (hit < 0) return 0;
  table->last_hit = hit;
  if (value) *value = &es[hit].value;
  if (index) *index = hit;
  if (entry) *entry = &es[hit];
  if (user) *user = es[hit].user;
  return 0;
}

long utl_sym_find(utl_ty_symtab* table, const char* name, utl_ty_sym_value** value,
                  long* index) {
  return utl_sym_find_val(table, name, value, index, nullptr, nullptr);
}

long utl_sym_add_option(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                        long replace, long user, long* index) {
  if (long st = check_table(table)) return st;
  if (!name || !value) return UTL_BAD_ARG;
  long found = -1;
  if (long st = utl_sym_find_val(table, name, nullptr, &found, nullptr, nullptr)) {
    if (st != 1) return st;
  }
  table->last_hit = -1;
  if (found < 0) {
    utl_ty_sym_entry e{};
    if (long st = utl_col_alloc_string(table->entry_col, name, &e.name)) return st;
    if (long st = store_value(table, &e.value, value)) return st;
    e.user = user;
    e.index = table->entry_col->count;
    e.next = -1;
    long b = table->hash(table->num_buckets, name);
    bool chained = b >= 0 && b < table->num_buckets;
    if (chained) e.next = table->buckets[b];
    if (long st = utl_col_push(table->entry_col, &e, nullptr)) return st;
    refresh(table);
    if (index) *index = e.index;
    if (!chained) return 1;
    table->buckets[b] = e.index;
    return 0;
  }
  if (!replace) return utl_alrt(UTL_SYM_EXISTS, name);
  utl_ty_sym_entry* e = &table->entries[found];
  if (!equal_values(e->value, *value)) {
    if (long st = store_value(table, &e->value, value)) return st;
  }
  if (index) *index = found;
  return 0;
}

long utl_sym_add(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                 long* index) {
  return utl_sym_add_option(table, name, value, 1, 0, index);
}

long utl_sym_add_one(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                     long replace, long* index) {
  return utl_sym_add_option(table, name, value, replace, 0, index);
}

long utl_sym_add_val(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                     long user, long* index) {
  return utl_sym_add_option(table, name, value, 1, user, index);
}

long utl_sym_set_val(utl_ty_symtab* table, utl_ty_sym_value* value,
                     const utl_ty_sym_value* new_value) {
  if (long st = check_table(table)) return st;
  if (!value || !new_value) return UTL_BAD_ARG;
  // The value must be one of the table's entries.
  auto a = reinterpret_cast<uintptr_t>(value);
  auto s = reinterpret_cast<uintptr_t>(table->entries);
  auto e = s + table->entry_col->count * sizeof(utl_ty_sym_entry);
  if (a < s || a >= e || (a - s) % sizeof(utl_ty_sym_entry) != offsetof(utl_ty_sym_entry, value))
    return UTL_BAD_ARG;
  table->last_hit = -1;
  return store_value(table, value, new_value);
}

long utl_sym_remove(utl_ty_symtab* table, const char* name) {
  if (long st = check_table(table)) return st;
  if (!name) return 0;
  long b = table->hash(table->num_buckets, name);
  if (b < 0 || b >= table->num_buckets) return 1;
  utl_ty_sym_entry* es = table->entries;
  long prev = -1;
  for (long i = table->buckets[b]; i != -1; prev = i, i = es[i].next) {
    if (!same_name(es[i].name, name)) continue;
    if (prev < 0) table->buckets[b] = es[i].next;
    else es[prev].next = es[i].next;
    // The entry keeps its own link, so that a walk standing on it (a visitor
    // of utl_sym_iterate removing its entry) goes on along the chain.
    table->last_hit = -1;
    return 0;
  }
  return 0;
}

long utl_sym_get_val(utl_ty_symtab* table, long i, const char** name, utl_ty_sym_value** value,
                     long* user) {
  if (long st = check_table(table)) return st;
  void* p = nullptr;
  if (long st = utl_col_ith(table->entry_col, i, &p)) return st;
  auto* e = static_cast<utl_ty_sym_entry*>(p);
  if (name) *name = e->name;
  if (value) *value = &e->value;
  if (user) *user = e->user;
  return 0;
}

long utl_sym_get(utl_ty_symtab* table, long i, const char** name, utl_ty_sym_value** value) {
  return utl_sym_get_val(table, i, name, value, nullptr);
}

long utl_sym_iterate(utl_ty_symtab* table, utl_ty_sym_proc proc, void* arg, long) {
  if (long st = check_table(table)) return st;
  for (long b = 0; b < table->num_buckets; ++b) {
    for (long i = table->buckets[b]; i != -1; i = table->entries[i].next) {
      long stop = 0;
      utl_ty_sym_entry* e = &table->entries[i];
      if (long r = proc(table, e->name, &e->value, &e->user, arg, &stop)) return r;
      if (stop == 1) return 0;
    }
  }
  return 0;
}

long utl_sym_table_copy(utl_ty_symtab* table, long, utl_ty_symtab** copy) {
  if (long st = check_table(table)) return st;
  utl_ty_symtab* c = nullptr;
  if (long st = utl_sym_table_create_option(table->num_buckets, table->num_buckets, &c,
                                            table->options))
    return st;
  for (long b = 0; b < table->num_buckets; ++b) {
    for (long i = table->buckets[b]; i != -1; i = table->entries[i].next) {
      const utl_ty_sym_entry& e = table->entries[i];
      if (long st = utl_sym_add_val(c, e.name, &e.value, e.user, nullptr)) {
        utl_sym_table_destroy(c);
        return st;
      }
    }
  }
  *copy = c;
  return 0;
}

long utl_sym_alloc(utl_ty_symtab* table, long size, const void* data, void** pointer) {
  if (long st = check_table(table)) return st;
  return utl_col_alloc(table->entry_col, size, data, pointer);
}

long utl_sym_alloc4(utl_ty_symtab* table, long size, const void* data, void** pointer) {
  if (long st = check_table(table)) return st;
  return utl_col_alloc4(table->entry_col, size, data, pointer);
}

long utl_sym_get_user_flags(utl_ty_symtab* table, long* flags) {
  if (long st = check_table(table)) return st;
  *flags = table->user_flags;
  return 0;
}

long utl_sym_set_user_flags(utl_ty_symtab* table, long flags) {
  if (long st = check_table(table)) return st;
  table->user_flags = flags;
  return 0;
}

long utl_sym_init() {
  return cmn_typ_install(kTypeSymbol, -1, -1, nullptr, sizeof(utl_ty_sym_entry), nullptr,
                         utl_sym_compare, nullptr, print_symbol);
}

long utl_sym_term() { return 0; }
long utl_sym_print() { return 0; }
long utl_sym_dump() { return 0; }
long utl_sym_dump_sorted() { return 0; }
