// Reading the collections the client interface is handed: texts and
// object handles.
#pragma once

#include <vector>

struct utl_ty_col;
struct dbs_ty_lobj;

long cpi_col_count(utl_ty_col* col);
// The texts of a collection of type 516 (null entries kept).
std::vector<const char*> cpi_col_texts(utl_ty_col* col);
// The handles of a collection of objects.
std::vector<dbs_ty_lobj*> cpi_col_objects(utl_ty_col* col);
