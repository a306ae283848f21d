// A small schema model for the adapter suites: object types defined in the
// real schema model, optimised, and entered in the adapter's type cache.
#pragma once

#include <utility>
#include <vector>

struct typ_sch_srec;
struct utl_ty_col;

// The elements of a collection of longs, and of one of pointers.
std::vector<long> adp_col_longs(utl_ty_col* col);
std::vector<void*> adp_col_pointers(utl_ty_col* col);

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
