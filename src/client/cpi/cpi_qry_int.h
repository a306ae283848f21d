// The query's inner steps: translating a caller's traversal map into the
// community fetch's levels (with every value it makes owned by one record,
// freed on every return), the in-list tokeniser and the result handles.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "client/cpi_ty.h"
#include "client/ost/ost_ty.h"
#include "core/clk/clk_time.h"

struct cmn_ty_decimal;
struct dbs_ty_lobj;
struct utl_ty_col;

// The store's condition codes a query may hand on.
constexpr long CPI_STORE_LIKE = 6;
constexpr long CPI_STORE_NOT_LIKE = 7;
constexpr long CPI_STORE_SOUNDEX = 8;

// What translation made; the destructor frees all of it.
struct cpi_qry_xform {
  std::vector<ost_ty_trav_level> levels;
  std::deque<std::vector<ost_ty_trav_cond>> conds;
  std::deque<std::vector<ost_ty_trav_order>> orders;
  std::deque<clktime> dates;
  std::deque<float> floats;
  std::deque<double> doubles;
  std::deque<std::string> texts;
  std::vector<cmn_ty_decimal*> decimals;
  std::vector<utl_ty_col*> token_cols;
  std::vector<std::string> list_texts;  // one per in-list, as "('a','b')"

  cpi_qry_xform() = default;
  cpi_qry_xform(const cpi_qry_xform&) = delete;
  cpi_qry_xform& operator=(const cpi_qry_xform&) = delete;
  ~cpi_qry_xform();
};

// The root as the translation sees it: an id (any word nonzero) or an object.
struct cpi_qry_root {
  const cpi_ty_objid* objid = nullptr;
  dbs_ty_lobj* object = nullptr;
};

// Translates count levels into out->levels.
long cpi_qry_xform_trav_maps(long count, const cpi_ty_trav_map* maps, const cpi_qry_root& root, cpi_qry_xform* out);
// One condition on a field of level_type.
long cpi_qry_xform_cond(const cpi_ty_fcond& cond, long level_type, cpi_qry_xform* made, ost_ty_trav_cond* out);

// Splits an in-list text into tokens, each checked against the field of the
// type; *tokens (type 516) is made on the first token and freed again on a
// failed check. list_text receives "(" 'token' [, 'token'...] ")" with inner
// single quotes doubled, or stays empty when no token was found.
long cpi_qry_in_operand_tokenize(long type_id, const char* field, const char* text, std::string* list_text,
                                 utl_ty_col** tokens);

// A result handle of one level over a plain collection (taken over).
long cpi_qry_one_level_result(utl_ty_col* objects, cpi_ty_qry_result** out_result);
