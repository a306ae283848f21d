// The column descriptions the dialects' catalogue reads hand out.
#pragma once

#include <string>

#include "orb_api.h"

// One column of a table as the catalogue describes it.
struct adp_col_desc {
  std::string name;
  long length = 0;
  long type_code = 0;  // the dialect's SchConvertDbType of the catalogue type
  long column_number = 0;
  char nullable = 0;   // 1: nulls allowed
};

// Where a column's description goes; a null address is not written.
struct adp_col_out {
  char* found;
  long* length;
  long* type_code;
  char* nullable;
  long* column_number;
};

// Empties both dialects' whole-table column caches.
ORB_API void adp_dbop_forget_column_caches();
