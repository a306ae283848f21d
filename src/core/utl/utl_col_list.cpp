// List texts: parsing "(1, 'x y', \"z\")" into a typed collection and a
// normalised SQL list text, and printing a collection as a list text.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_col_set.h"

namespace {

constexpr long kTextType = CMN_TYP_CHAR_P;

long refuse(const std::string& item, long type) {
  return utl_alrt(UTL_LIST_ITEM, item.c_str(), type == -1 ? cmn_typ_name(kTextType) : cmn_typ_name(type));
}

bool space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Types whose conversion cell holds a pointer to the value.
bool pointer_cell(long type) { return type == CMN_TYP_CHAR_P || type == CMN_TYP_CHAR || type == CMN_TYP_DECIMAL; }

// Doubles every single quote of the text.
std::string sql_quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// One parsed item converted to the element type.
struct converted {
  void* slot = nullptr;  // the value's storage (or, for texts, the text)
  long allocated = 0;
  alignas(long double) char area[128] = {};
  std::string text;  // the item as given

  ~converted() {
    if (allocated == 1) cmn_typ_dealloc("utl_col_convert_to_list", slot);
  }
};

long convert_item(const std::string& item, long type, converted* out) {
  out->text = item;
  if (type == -1 || type == kTextType) {
    out->slot = out->text.data();
    return 0;
  }
  const char* src = item.c_str();
  out->slot = out->area;
  long rc = cmn_typ_convert(-1, kTextType, &src, type, &out->slot, sizeof out->area, &out->allocated);
  return rc;
}

// The value back as text for the result.
long value_text(converted& v, long type, std::string* text) {
  if (type == -1 || type == kTextType) {
    *text = v.text;
    return 0;
  }
  void* cell = pointer_cell(type) ? static_cast<void*>(&v.slot) : v.slot;
  char buf[256];
  char* slot = buf;
  long allocated = 0;
  long rc = cmn_typ_convert(-1, type, cell, kTextType, &slot, sizeof buf, &allocated);
  if (rc == 0) *text = slot != nullptr ? slot : "";
  if (allocated == 1) cmn_typ_dealloc("utl_col_convert_to_list", slot);
  return rc;
}

}  // namespace

long utl_col_convert_to_list(const char* text, long type, char* result, long result_size, utl_ty_col** col,
                             long* number) {
  return utl_col_convert_to_list_opt(text, type, 0, result, result_size, col, number);
}

long utl_col_convert_to_list_opt(const char* text, long type, long options, char* result, long result_size,
                                 utl_ty_col** col, long* number) {
  if (number != nullptr) *number = 0;
  if (result != nullptr && result_size > 0) result[0] = '\0';
  if (col != nullptr) {
    *col = nullptr;
    if (long st = utl_col_make("utl_col_convert_to_list", type == -1 ? kTextType : type, 10, 10, 0, 0, col)) {
      return st;
    }
  }
  std::string inner = text != nullptr ? text : "";
  if (!inner.empty() && inner[0] == '(') {
    inner.erase(0, 1);
    if (!inner.empty() && inner.back() == ')') inner.pop_back();
  }
  if (static_cast<long>(inner.size()) > UTL_LIST_TEXT_MAX) return refuse(inner, type);
  std::string out = "(";
  long accepted = 0;
  size_t p = 0;
  while (p < inner.size()) {
    while (p < inner.size() && space(inner[p])) ++p;
    if (p >= inner.size()) break;
    bool quoted = inner[p] == '"' || inner[p] == '\'';
    char quote = quoted ? inner[p] : '\0';
    size_t start = quoted ? p + 1 : p;
    size_t end = quoted ? inner.find(quote, start) : inner.find_first_of(" ,", start);
    if (end == std::string::npos) end = inner.size();
    std::string item = inner.substr(start, end - start);
    p = end + 1;  // the character that ends the item is skipped
    if (static_cast<long>(item.size()) > UTL_LIST_ITEM_MAX) return refuse(item, type);
    if (item.empty()) continue;
    if (type == CMN_TYP_CLK_TIME && loc_st_strcmpi(item.c_str(), "AND") == 0) continue;
    converted v;
    if (convert_item(item, type, &v) != 0) return refuse(item, type);
    if (col != nullptr) {
      long st = 0;
      if (quoted && (options & UTL_LIST_KEEP_QUOTES) != 0 && (type == -1 || type == kTextType)) {
        std::string kept = std::string(1, quote) + item + std::string(1, quote);
        st = utl_col_insert(*col, kept.c_str(), nullptr);
      } else {
        st = utl_col_insert(*col, v.slot, nullptr);
      }
      if (st != 0) return st;
    }
    if (result != nullptr) {
      std::string t;
      if (value_text(v, type, &t) != 0) return refuse(item, type);
      if (accepted > 0) out += ",";
      out += quoted || type == CMN_TYP_CLK_TIME || type == kTextType ? sql_quoted(t) : t;
    }
    ++accepted;
  }
  out += ")";
  if (result != nullptr) {
    if (static_cast<long>(out.size()) >= result_size) return refuse(out, type);
    std::memcpy(result, out.c_str(), out.size() + 1);
  }
  if (number != nullptr) *number = accepted;
  return 0;
}

long utl_col_dump_list(FILE* stream, utl_ty_estr* estr, utl_ty_col* col, long) {
  if (long st = utl_col_check(col)) return st;
  std::string out = "(";
  for (long i = 0; i < col->count; ++i) {
    if (col->type >= CMN_TYP_FIRST_RUNTIME) {
      char* data = nullptr;
      size_t size = 0;
      FILE* mem = open_memstream(&data, &size);
      if (mem == nullptr) return cmn_alrt_push_no_memory(1, "utl_col_dump_list");
      cmn_dyn_dump_obj(mem, 0, utl_col_elem(col, i), col->type, i);
      std::fclose(mem);
      out.append(data, size);
      std::free(data);
      continue;
    }
    // The slot's address: the element itself, or the address of its pointer.
    out += i == 0 ? "" : ",";
    out += cmn_typ_val(utl_col_slot(col, i), col->type, 0);
  }
  out += ")";
  if (estr != nullptr) return utl_estr_append(estr, out.c_str());
  FILE* target = stream != nullptr ? stream : osl_file_stdout();
  if (target == nullptr) return 0;
  std::fputs(out.c_str(), target);
  return 0;
}
