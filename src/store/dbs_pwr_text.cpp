// Power-query texts: connector patterns, string literals, stored-procedure
// names, and the gate of the UNION rewrite.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_main.h"
#include "adapter/adp_qry.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_mem.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_pwr.h"

namespace {

constexpr long DBS_NO_TITLE = 0x70001f;
constexpr long DBS_NO_LOGIN = 0x700020;
constexpr long DBS_NO_PROC = 0x700021;
constexpr long DBS_SMALL_BUF = 0x700026;
constexpr long k_title_field = 1;
constexpr long k_proc_field = 5;
constexpr long k_sql_field = 6;

long set_pattern(dbs_ty_pwr_list* list, const std::string& text, long count) {
  list->pattern = nullptr;
  list->pattern_count = count;
  if (text.empty()) return 0;
  auto* out = static_cast<char*>(osl_mem_alloc("dbs_pwr_pattern", static_cast<long>(text.size() + 1)));
  if (!out) return cmn_alrt_push_no_memory(static_cast<long>(text.size() + 1), "dbs_pwr_pattern");
  std::memcpy(out, text.c_str(), text.size() + 1);
  list->pattern = out;
  return 0;
}

const char* text_field(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0) return "";
  const char* t = reinterpret_cast<const char*>(v);
  return t ? t : "";
}

bool proc_name_ok(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char ch : name)
    if (!(std::isalnum(ch) || ch == '_' || ch == '#' || ch == '$')) return false;
  return true;
}

// The gate's state.
bool g_convert = false;
bool g_code_flow = false;
bool g_union_not_required = false;
bool g_armed = false;

}  // namespace

long dbs_pwr_pattern_first(dbs_ty_pwr_list* list) {
  if (list->count <= 0) return set_pattern(list, "", 0);
  std::string out = "%s ";
  std::string connector = list->and_flag == 1 ? "AND " : "OR ";
  for (long i = 1; i < list->count; ++i) {
    const dbs_ty_pwr_cond& a = list->conds[i - 1];
    const dbs_ty_pwr_cond& b = list->conds[i];
    if (a.op == 9 && b.op == 9 && a.field && b.field && std::strcmp(a.field, b.field) == 0) {
      out += "OR %s ";
      connector = "AND ";
    } else {
      out += connector + "%s ";
    }
  }
  return set_pattern(list, out, list->count);
}

long dbs_pwr_pattern_second(dbs_ty_pwr_list* list) {
  if (list->count <= 0) return set_pattern(list, "", 0);
  std::string out = "%s";
  const char* connector = list->and_flag == 1 ? "AND " : "OR ";
  for (long i = 1; i < list->count; ++i) out += std::string(connector) + "%s";
  return set_pattern(list, out, list->count);
}

long dbs_pwr_str_convert(const char* text, char* out, long size) {
  std::string t = text ? text : "";
  long quotes = 0;
  for (char ch : t) quotes += ch == '\'';
  long needed = static_cast<long>(t.size()) + quotes + 3;
  if (!out || size < needed) return dbs_alrt("dbs_pwr_str_convert", DBS_SMALL_BUF, size, needed);
  char* w = out;
  *w++ = '\'';
  for (char ch : t) {
    if (ch == '\'') *w++ = '\'';
    *w++ = ch;
  }
  *w++ = '\'';
  *w = '\0';
  return 0;
}

long dbs_pwr_stored_proc_create(KAdpConnId* c, dbs_ty_lobj* o, const char* login) {
  const char* title = text_field(o, k_title_field);
  if (!*title || *title == ' ') return dbs_alrt("dbs_pwr_stored_proc_create", DBS_NO_TITLE);
  if (!login || !*login) return dbs_alrt("dbs_pwr_stored_proc_create", DBS_NO_LOGIN);
  std::string name = std::string(login) + "_" + title;
  if (!proc_name_ok(name)) return dbs_alrt("dbs_pwr_stored_proc_create", DBS_BAD_NAME, name.c_str());
  if (long st = adp_pwr_stored_proc_create(c, name.c_str(), text_field(o, k_sql_field))) return st;
  const char* value = name.c_str();
  return dbs_fld_set(o, k_proc_field, &value);
}

long dbs_pwr_stored_proc_delete(KAdpConnId* c, dbs_ty_lobj* o) {
  std::string name = text_field(o, k_proc_field);
  if (name.empty() || name[0] == ' ') return dbs_alrt("dbs_pwr_stored_proc_delete", DBS_NO_PROC);
  if (!proc_name_ok(name)) return dbs_alrt("dbs_pwr_stored_proc_delete", DBS_BAD_NAME, name.c_str());
  if (long st = adp_pwr_stored_proc_delete(c, name.c_str())) return st;
  const char* empty = "";
  return dbs_fld_set(o, k_proc_field, &empty);
}

long dbs_pwr_verify_code_flow(const char* name) {
  std::string n = name ? name : "";
  if (n == "Form12000") {
    g_armed = true;
    g_code_flow = false;
  } else if (g_armed && (n == "bus_org" || n == "opportunity")) {
    g_armed = false;
    g_code_flow = !g_union_not_required;
    g_union_not_required = false;
  } else if (g_code_flow) {
    g_code_flow = false;
    g_union_not_required = false;
  }
  return 0;
}

long union_not_required() {
  g_union_not_required = true;
  return 0;
}

long dbs_pwr_set_convert_to_union(char on) {
  g_convert = on == 1;
  return 0;
}

// Whether the next execution rewrites (and the flag cleared).
bool dbs_pwr_take_rewrite(const std::string& sql) {
  bool go = g_convert && g_code_flow && sql.find(" OR ") != std::string::npos;
  g_code_flow = false;
  return go;
}
