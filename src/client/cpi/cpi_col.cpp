// Reading the collections the client interface is handed.
#include "client/cpi/cpi_col.h"

#include "core/utl/utl_col.h"

long cpi_col_count(utl_ty_col* col) {
  long n = 0;
  if (col) utl_col_num(col, &n);
  return n;
}

std::vector<const char*> cpi_col_texts(utl_ty_col* col) {
  std::vector<const char*> texts;
  long n = 0;
  long flags = 0;
  if (!col || utl_col_info(col, nullptr, &n, nullptr, nullptr, nullptr, &flags)) return texts;
  for (long i = 0; i < n; ++i) {
    void* element = nullptr;
    utl_col_ith(col, i, &element);
    texts.push_back((flags & UTL_COL_IN_SLOT) && element ? *static_cast<const char**>(element)
                                                          : static_cast<const char*>(element));
  }
  return texts;
}

std::vector<dbs_ty_lobj*> cpi_col_objects(utl_ty_col* col) {
  std::vector<dbs_ty_lobj*> objects;
  long n = cpi_col_count(col);
  for (long i = 0; i < n; ++i) {
    void* element = nullptr;
    utl_col_ith(col, i, &element);
    objects.push_back(element ? *static_cast<dbs_ty_lobj**>(element) : nullptr);
  }
  return objects;
}
