// Symbol tables: hashed tables from names to typed values, built from two
// collections: the entries (whose string pool also holds the names and string
// values) and the bucket heads. Entries are chained per bucket by index;
// removal only unlinks.
//
// Threads: a table belongs to one caller at a time (its collections are not
// guarded; see utl_col.h); no lock.
#pragma once

#include "orb_api.h"

struct utl_ty_col;

constexpr long UTL_SYM_SUPPL = 1;         // supplementary table
constexpr long UTL_SYM_CASE_INSENS = 2;   // case-insensitive names
constexpr long UTL_SYM_DEFAULT_BUCKETS = 107;

// A typed value: 512 long, 513 short, 514 float, 515 and 516 strings (copied
// into the table's pool), 517 pointer, 598 collection.
struct utl_ty_sym_value {
  long type;
  union {
    long l;
    short s;
    float f;
    char* str;
    void* ptr;
    utl_ty_col* col;
  } v;
};

struct utl_ty_sym_entry {
  char* name;  // pool copy
  utl_ty_sym_value value;
  long user;   // user word
  long index;  // own index in the entry collection
  long next;   // next entry of the bucket chain, -1 at the end
};

using utl_ty_sym_hash_proc = long (*)(long buckets, const char* name);

struct utl_ty_symtab {
  long options;
  long user_flags;
  long* buckets;  // per bucket the index of its first entry, -1 when empty
  long num_buckets;
  utl_ty_col* bucket_col;
  utl_ty_col* entry_col;
  utl_ty_sym_entry* entries;  // the entry collection's array
  utl_ty_sym_hash_proc hash;
  long last_hit;  // index of the entry found last, -1 when none
};

// Visitor of utl_sym_iterate; set *stop = 1 to end early.
using utl_ty_sym_proc = long (*)(utl_ty_symtab* table, const char* name,
                                 utl_ty_sym_value* value, long* user, void* arg, long* stop);

ORB_API long utl_sym_table_create(long initial, utl_ty_symtab** table);
ORB_API long utl_sym_table_create_sized(long initial, long buckets, utl_ty_symtab** table);
ORB_API long utl_sym_table_create_suppl(long initial, long buckets, utl_ty_symtab** table);
ORB_API long utl_sym_table_create_ic(long initial, long buckets, utl_ty_symtab** table);
ORB_API long utl_sym_table_create_option(long initial, long buckets, utl_ty_symtab** table,
                                 long options);
ORB_API long utl_sym_table_destroy(utl_ty_symtab* table);
ORB_API long utl_sym_table_copy(utl_ty_symtab* table, long unused, utl_ty_symtab** copy);

ORB_API long utl_sym_add(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                 long* index);
ORB_API long utl_sym_add_one(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                     long replace, long* index);
ORB_API long utl_sym_add_val(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                     long user, long* index);
ORB_API long utl_sym_add_option(utl_ty_symtab* table, const char* name, const utl_ty_sym_value* value,
                        long replace, long user, long* index);

// value points into the entry (valid until the next addition); null and -1
// when absent.
ORB_API long utl_sym_find(utl_ty_symtab* table, const char* name, utl_ty_sym_value** value,
                  long* index);
ORB_API long utl_sym_find_val(utl_ty_symtab* table, const char* name, utl_ty_sym_value** value,
                      long* index, utl_ty_sym_entry** entry, long* user);
ORB_API long utl_sym_set_val(utl_ty_symtab* table, utl_ty_sym_value* value,
                     const utl_ty_sym_value* new_value);
ORB_API long utl_sym_remove(utl_ty_symtab* table, const char* name);
ORB_API long utl_sym_get(utl_ty_symtab* table, long i, const char** name, utl_ty_sym_value** value);
ORB_API long utl_sym_get_val(utl_ty_symtab* table, long i, const char** name, utl_ty_sym_value** value,
                     long* user);
ORB_API long utl_sym_iterate(utl_ty_symtab* table, utl_ty_sym_proc proc, void* arg, long unused);
ORB_API long utl_sym_alloc(utl_ty_symtab* table, long size, const void* data, void** pointer);
ORB_API long utl_sym_alloc4(utl_ty_symtab* table, long size, const void* data, void** pointer);
ORB_API long utl_sym_get_user_flags(utl_ty_symtab* table, long* flags);
ORB_API long utl_sym_set_user_flags(utl_ty_symtab* table, long flags);

ORB_API long utl_sym_default_hash(long buckets, const char* name);
ORB_API long utl_sym_ci_hash(long buckets, const char* name);
ORB_API long utl_sym_ci_strcmp(const char* a, const char* b);
// Orders two entries by name (exact).
ORB_API long utl_sym_compare(const void* a, const void* b);

ORB_API long utl_sym_init();
ORB_API long utl_sym_term();
ORB_API long utl_sym_print();
ORB_API long utl_sym_dump();
ORB_API long utl_sym_dump_sorted();
