// A small schema model for the adapter suites: object types defined in the
// real schema model, optimised, and entered in the adapter's type cache.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct typ_sch_srec;
struct utl_ty_col;

// The elements of a collection of longs, and of one of pointers.
std::vector<long> adp_col_longs(utl_ty_col* col);
std::vector<void*> adp_col_pointers(utl_ty_col* col);
// The texts of a text collection (type 516); none for a null collection.
std::vector<std::string> adp_col_texts(utl_ty_col* col);

// Makes the type ids 0 to 9999 object types, once per process (schemas
// compiled from the schema language take their ids from there).
void adp_model_type_ranges();

// Helpers to build a model by hand (after adp_model is made): an object
// type entered in the type cache; a field (texts of length 80, decimals
// with precision 19 and scale 2); a relation of the type with the given
// kind, target, inverse and, for a pair, its exclusive flag and the
// physical-name and focus columns.
typ_sch_srec* adp_model_object(const char* name, long type_id);
void adp_model_field(typ_sch_srec* s, const char* name, long type, long db_type, long gen = -1,
                     unsigned long flags = 0);
void adp_model_relation(long type_id, const char* name, long kind, const char* target, const char* inverse,
                        long exclusive = 0, const char* phys = nullptr, const char* focus = nullptr);

class adp_model {
 public:
  // Starts the schema module once and empties the model and the cache.
  adp_model();
  ~adp_model();
  // Object type name/id with fields f0, f1, ... of (value type, db type),
  // decimals with precision 19 and scale 2;
  // the record is valid until the next add.
  void add(const char* name, long type_id, const std::vector<std::pair<long, long>>& fields);
  // Optimises the model and links the cache; the record of type_id.
  typ_sch_srec* finish(long type_id);
};
