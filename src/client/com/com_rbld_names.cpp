// The rule builder's names and codes: operators, time units, delivery
// types, condition value types, events of activity codes and rule status
// texts; the module's start-up.
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "client/com/com_rbld.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_opr.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"

namespace {

constexpr long kListOpFirst = 12;
constexpr long kListOpLast = 13;
constexpr long kBuiltinFirst = 50;
constexpr long kUserFirst = 150;
constexpr long kRuleFlags = 3;
constexpr long kRuleActive = 0x10000;
constexpr long kStatusActive = 0xE0004C;
constexpr long kStatusInactive = 0xE0004B;
constexpr long kNoConversion = 0x10000C;
constexpr long kFloat = 514;

std::string g_ops[COM_NUM_OPERATORS];
bool g_ops_loaded = false;
std::string g_units[COM_NUM_TIME_UNITS];
std::string g_builtin;
std::string g_user;
bool g_units_loaded = false;
bool g_started = false;

const char* const kDelivery[COM_NUM_DELIVERY] = {
    "Email", "Orbisan Notifier", "Tone Pager", "Text Pager", "Digital Pager", "Fax", "None",
    "Forward to my supervisor", "Other"};

// Activity codes with their events (the pairs this system knows).
const long kActToEvent[][2] = {{100, 0}, {300, 1}, {4800, 2}, {7300, 4}, {2000, 8}, {20300, 47}};

std::string message(long code) {
  const char* text = nullptr;
  cmn_alrt_get_msg(code, &text);
  return text != nullptr ? text : "";
}

long to_text(const std::string& text, void* dst, long dst_size) {
  if (dst_size < 1) return kNoConversion;
  std::snprintf(static_cast<char*>(dst), static_cast<size_t>(dst_size), "%s", text.c_str());
  return 0;
}

bool starts_with(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

// The bombs waiting for their state's save are kept by the time-bomb module
// in a list of its own: registry type 689 is the object-state engine's id
// request, whose size a second installation would change under it.
long com_rbld_init() {
  if (g_started) return 0;
  if (long st = com_str_init()) return st;
  cmn_ty_type_info info{};
  cmn_typ_init_info(&info);
  info.convert = cmn_typ_proc(com_rbld_convert_time_type);
  if (long st = cmn_typ_install_info(COM_TIME_TYPE, &info)) return st;
  g_started = true;
  return 0;
}

long com_rbld_term() {
  // The names come from the message lists in force at first use: after a
  // stop they are read again, from whatever source serves texts then.
  for (std::string& op : g_ops) op.clear();
  for (std::string& unit : g_units) unit.clear();
  g_builtin.clear();
  g_user.clear();
  g_ops_loaded = false;
  g_units_loaded = false;
  g_started = false;
  return 0;
}

long com_rbld_ops_init() {
  if (g_ops_loaded) return 0;
  for (long i = 0; i < COM_NUM_OPERATORS; ++i) g_ops[i] = message(COM_FIRST_OPERATOR + i);
  g_ops_loaded = true;
  return 0;
}

long com_rbld_opname_to_id(const char* name, long* code) {
  *code = -1;
  com_rbld_ops_init();
  for (long i = 0; i < COM_NUM_OPERATORS; ++i) {
    if (name == nullptr || g_ops[i] != name) continue;
    *code = i;
    return 0;
  }
  cmn_alrt_push(nullptr, "com_rbld_opname_to_id", COM_NO_OPERATOR, 1, name != nullptr ? name : "");
  return COM_NO_OPERATOR;
}

const char* com_rbld_cond_opname(long code) {
  com_rbld_ops_init();
  if (code < 0 || code >= COM_NUM_OPERATORS) return "Unknown Rule Condition Operator";
  return g_ops[code].c_str();
}

bool com_rbld_is_list_op(long code) { return code == kListOpFirst || code == kListOpLast; }

long com_rbld_time_unit_names_init() {
  if (g_units_loaded) return 0;
  for (long i = 0; i < COM_NUM_TIME_UNITS; ++i) g_units[i] = message(COM_FIRST_TIME_UNIT + i);
  g_builtin = message(COM_BUILTIN_PREFIX);
  g_user = message(COM_USER_PREFIX);
  g_units_loaded = true;
  return 0;
}

long com_rbld_convert_time_type(long, long src_type, void* src, long dst_type, void* dst, long dst_size,
                                long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  com_rbld_time_unit_names_init();
  if (dst_type == CMN_TYP_CHAR_P) {
    long v = *static_cast<const long*>(src);
    if (v >= 0 && v < COM_NUM_TIME_UNITS) return to_text(g_units[v], dst, dst_size);
    if (v >= kUserFirst) return to_text(g_user + std::to_string(v), dst, dst_size);
    if (v >= kBuiltinFirst) return to_text(g_builtin + std::to_string(v), dst, dst_size);
    return to_text(std::to_string(v), dst, dst_size);
  }
  if (src_type == CMN_TYP_CHAR_P) {
    std::string text = static_cast<const char*>(src) != nullptr ? static_cast<const char*>(src) : "";
    auto* out = static_cast<long*>(dst);
    for (long i = 0; i < COM_NUM_TIME_UNITS; ++i)
      if (text == g_units[i]) return (*out = i, 0);
    for (const std::string* prefix : {&g_user, &g_builtin})
      if (starts_with(text, *prefix)) return (*out = std::atol(text.c_str() + prefix->size()), 0);
  }
  cmn_alrt_push(nullptr, "com_rbld_convert_time_type", kNoConversion, 0);
  return kNoConversion;
}

long com_rbld_decode_delivery(const char* name) {
  for (long i = 0; name != nullptr && i < COM_NUM_DELIVERY; ++i)
    if (strcasecmp(name, kDelivery[i]) == 0) return i;
  return 0;
}

const char* com_rbld_delivery_name(long code) {
  return code >= 0 && code < COM_NUM_DELIVERY ? kDelivery[code] : "Unknown Delivery Type";
}

bool com_rbld_is_valid_notif(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  for (const char* d : kDelivery)
    if (strcasecmp(name, d) == 0) return true;
  return false;
}

const char* com_rbld_default_notif() { return kDelivery[0]; }

long com_rbld_convert_to_types(const char* text, long op) {
  if (com_rbld_is_list_op(op) || text == nullptr || text[std::strspn(text, " \t")] == '\0') return 0;
  const long types[][2] = {{CMN_TYP_LONG, 1}, {kFloat, 2}, {CMN_TYP_CLK_TIME, 3}};
  for (const auto& t : types) {
    if (cmn_opr_check_value(t[0], text) == 0) return t[1];
    cmn_alrt_pop(nullptr, nullptr, nullptr);  // the failed conversion's alert
  }
  return 0;
}

long com_rbld_actcode_to_event(long code) {
  if ((code >> 16) != 0) return code >> 16;
  for (const auto& p : kActToEvent)
    if (p[0] == code) return p[1];
  return -1;
}

long com_rbld_make_rule_sts_strs(utl_ty_col* rules, std::vector<std::string>* out) {
  out->clear();
  for (long i = 0; rules != nullptr && i < rules->count; ++i) {
    void* e = nullptr;
    utl_col_ith(rules, i, &e);
    long flags = 0;
    if (long st = dbs_fld_get(*static_cast<dbs_ty_lobj**>(e), kRuleFlags, &flags, nullptr)) return st;
    out->push_back(message((flags & kRuleActive) ? kStatusActive : kStatusInactive));
  }
  return 0;
}
