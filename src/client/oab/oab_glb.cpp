// Session globals: the table of numbered session facts with its start
// values, typed get and set, the dialog-instance map, the shared-queue test
// and the alternate user.
#include "client/oab/oab_glb.h"

#include <cstring>

#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_val.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_oid.h"

namespace {

// How a global holds its value; kWord globals (15, 27) hold a word unchecked.
enum class kind { none, lng, text, obj, col, oid, time, word };

struct global {
  kind k = kind::none;
  long l = 0;
  void* p = nullptr;  // object, collection or word
  obj_id oid{};
  clktime t{};
  char* text = nullptr;
};

constexpr long kTextBufs = 7;
constexpr long kBufSize = OAB_GLB_TEXT_MAX + 1;
constexpr long kColExtend = 10;
constexpr long kStoreSlotRelative = 0;  // store global slot of 23
constexpr long kStoreSlotUser = 1;      // store global slot of 26
constexpr long kStoreObjType = 634;     // "any object"
constexpr long kQueueSharedField = 2;
constexpr long kAltUserField = 27;

char g_bufs[kTextBufs][kBufSize];
global g_table[OAB_GLB_LAST + 1];

struct layout_row {
  long first;
  long last;
  kind k;
};

// Numbers 11, 12, 24, 25 and 47 have no global.
const layout_row kLayout[] = {
    {2, 2, kind::text},    {3, 6, kind::oid},     {7, 8, kind::col},     {9, 10, kind::oid},
    {13, 14, kind::col},   {15, 15, kind::word},  {16, 16, kind::lng},   {17, 18, kind::text},
    {19, 21, kind::time},  {22, 22, kind::oid},   {23, 23, kind::obj},   {26, 26, kind::obj},
    {27, 27, kind::word},  {28, 31, kind::col},   {32, 32, kind::lng},   {33, 33, kind::text},
    {34, 34, kind::oid},   {35, 35, kind::obj},   {36, 36, kind::oid},   {37, 37, kind::time},
    {38, 38, kind::lng},   {39, 39, kind::obj},   {40, 41, kind::time},  {42, 42, kind::lng},
    {43, 44, kind::text},  {45, 45, kind::lng},   {46, 46, kind::time},  {48, 48, kind::time},
    {49, 49, kind::lng},   {50, 66, kind::time},  {67, 71, kind::obj},   {72, 78, kind::time},
    {79, 79, kind::text},  {80, 80, kind::time},
};

// Text globals in buffer order: login, real login, switched-to user,
// password, database, encrypted password, server.
const long kTextOrder[kTextBufs] = {2, 33, 79, 17, 18, 43, 44};

long type_code_of(kind k) {
  switch (k) {
    case kind::lng: return OAB_GLB_LONG;
    case kind::text: return OAB_GLB_TEXT;
    case kind::col: return OAB_GLB_COL;
    case kind::oid: return OAB_GLB_OID;
    case kind::time: return OAB_GLB_TIME;
    default: return OAB_GLB_OBJ;
  }
}

// The global of a number after the number and type checks, or a status.
long lookup(long number, long type_code, global** out) {
  if (number < OAB_GLB_FIRST || number > OAB_GLB_LAST || g_table[number].k == kind::none) return OAB_GLB_ID;
  global& g = g_table[number];
  bool unchecked = g.k == kind::obj || g.k == kind::word;
  if (!unchecked && type_code != type_code_of(g.k)) return OAB_GLB_TYPE;
  *out = &g;
  return 0;
}

void free_obj(global& g) {
  if (g.p != nullptr) dbs_obj_free_local("oab_glb_replace_obj", static_cast<dbs_ty_lobj*>(g.p));
  g.p = nullptr;
}

long oab_glb_replace_obj(global& g, dbs_ty_lobj* object) {
  free_obj(g);
  if (object == nullptr) return 0;
  dbs_ty_lobj* copy = nullptr;
  if (long st = dbs_obj_copy(object, &copy)) return st;
  g.p = copy;
  return 0;
}

long tell_store(long number, void* object) {
  long slot = number == OAB_GLB_USER_RELATIVE ? kStoreSlotRelative : kStoreSlotUser;
  cmn_ty_value v{kStoreObjType, reinterpret_cast<long>(object)};
  return dbs_main_set_global(slot, &v);
}

long make_col(global& g, long element_type) {
  auto** col = reinterpret_cast<utl_ty_col**>(&g.p);
  return utl_col_make("oab_glb_init", element_type, kColExtend, kColExtend, 0, 0, col);
}

void set_start_values() {
  for (long n = 0; n <= OAB_GLB_LAST; ++n) {
    if (g_table[n].k == kind::obj) free_obj(g_table[n]);
    g_table[n] = global{};
  }
  for (const layout_row& r : kLayout)
    for (long n = r.first; n <= r.last; ++n) g_table[n].k = r.k;
  for (long i = 0; i < kTextBufs; ++i) {
    g_bufs[i][0] = '\0';
    g_table[kTextOrder[i]].text = g_bufs[i];
  }
  for (global& g : g_table)
    if (g.k == kind::time) g.t = clktime{CLK_NULL_DAY, 0};
}

utl_ty_col* dlg_col(long number) { return static_cast<utl_ty_col*>(g_table[number].p); }

// The value slot of a dialog key, or null when the key is absent.
long dlg_value_of(long key, long** slot) {
  *slot = nullptr;
  utl_ty_col* keys = dlg_col(OAB_GLB_DLG_KEYS);
  for (long i = 0; i < keys->count; ++i) {
    void* k = nullptr;
    if (long st = utl_col_ith(keys, i, &k)) return st;
    if (*static_cast<long*>(k) != key) continue;
    void* v = nullptr;
    if (long st = utl_col_ith(dlg_col(OAB_GLB_DLG_VALUES), i, &v)) return st;
    *slot = static_cast<long*>(v);
    return 0;
  }
  return 0;
}

bool is_zero(const obj_id& id) { return id.type == 0 && id.num == 0 && id.sub == 0; }

// The object a global object id names, or null (the caller frees it).
long read_obj_of(long number, dbs_ty_lobj** out) {
  *out = nullptr;
  obj_id id = g_table[number].oid;
  if (is_zero(id)) return 0;
  if (dbs_obj_get(oab_db_con_id, &id, 0, out) != 0) *out = nullptr;
  return 0;
}

}  // namespace

long oab_glb_init() {
  set_start_values();
  const struct {
    long number;
    long element_type;
  } cols[] = {{OAB_GLB_DLG_KEYS, CMN_TYP_LONG}, {OAB_GLB_DLG_VALUES, CMN_TYP_LONG}, {13, CMN_TYP_VOID_P},
              {14, CMN_TYP_VOID_P}, {27, CMN_TYP_VOID_P}};
  for (const auto& c : cols)
    if (long st = make_col(g_table[c.number], c.element_type)) return st;
  return 0;
}

long oab_glb_main_term() {
  for (long n : {13L, 14L}) {
    auto* col = static_cast<utl_ty_col*>(g_table[n].p);
    g_table[n].p = nullptr;
    if (col != nullptr)
      if (long st = utl_col_free("oab_glb_main_term", col)) return st;
  }
  return 0;
}

long oab_glb_main_get_variable(long number, long type_code, void* out) {
  global* g = nullptr;
  if (long st = lookup(number, type_code, &g)) return st;
  switch (g->k) {
    case kind::lng: *static_cast<long*>(out) = g->l; return 0;
    case kind::text: *static_cast<char**>(out) = g->text; return 0;
    case kind::oid: *static_cast<obj_id*>(out) = g->oid; return 0;
    case kind::time: *static_cast<clktime*>(out) = g->t; return 0;
    case kind::obj: {
      auto** holder = static_cast<dbs_ty_lobj**>(out);
      *holder = nullptr;
      if (g->p == nullptr) return 0;
      return dbs_obj_copy(static_cast<dbs_ty_lobj*>(g->p), holder);
    }
    default: *static_cast<void**>(out) = g->p; return 0;
  }
}

long oab_glb_main_set_variable(long number, long type_code, const void* value) {
  global* g = nullptr;
  if (long st = lookup(number, type_code, &g)) return st;
  switch (g->k) {
    case kind::lng: g->l = *static_cast<const long*>(value); return 0;
    case kind::text: {
      const char* text = value != nullptr ? static_cast<const char*>(value) : "";
      std::strncpy(g->text, text, OAB_GLB_TEXT_MAX);
      g->text[OAB_GLB_TEXT_MAX] = '\0';
      return 0;
    }
    case kind::oid: g->oid = *static_cast<const obj_id*>(value); return 0;
    case kind::time: g->t = *static_cast<const clktime*>(value); return 0;
    case kind::obj: {
      auto* object = static_cast<dbs_ty_lobj*>(const_cast<void*>(value));
      if (long st = oab_glb_replace_obj(*g, object)) return st;
      if (number == OAB_GLB_USER_RELATIVE || number == OAB_GLB_USER) return tell_store(number, g->p);
      return 0;
    }
    default: g->p = const_cast<void*>(value); return 0;
  }
}

long oab_glb_set_dlg_inst_id(long key, long value) {
  long* slot = nullptr;
  if (long st = dlg_value_of(key, &slot)) return st;
  if (slot != nullptr) {
    *slot = value;
    return 0;
  }
  if (long st = utl_col_push(dlg_col(OAB_GLB_DLG_KEYS), &key, nullptr)) return st;
  return utl_col_push(dlg_col(OAB_GLB_DLG_VALUES), &value, nullptr);
}

long oab_glb_find_dlg_inst_id(long key, long* value) {
  *value = 0;
  long* slot = nullptr;
  if (long st = dlg_value_of(key, &slot)) return st;
  if (slot != nullptr) *value = *slot;
  return 0;
}

long oab_glb_current_q_is_shared(long* flag) {
  *flag = 1;
  dbs_ty_lobj* queue = nullptr;
  read_obj_of(OAB_GLB_QUEUE, &queue);
  if (queue == nullptr) return 0;
  long value = 0;
  long type = 0;
  *flag = dbs_fld_get(queue, kQueueSharedField, &value, &type) == 0 && value == 1 ? 1 : 0;
  return dbs_obj_free_local("oab_glb_current_q_is_shared", queue);
}

long oab_glb_set_altuser() {
  dbs_ty_lobj* user = nullptr;
  read_obj_of(OAB_GLB_USER_ID, &user);
  if (user == nullptr) return 0;
  long value = 0;
  long type = 0;
  if (dbs_fld_get(user, kAltUserField, &value, &type) == 0 && value != 0) {
    std::strncpy(g_table[OAB_GLB_ALT_USER].text, reinterpret_cast<const char*>(value), OAB_GLB_TEXT_MAX);
    g_table[OAB_GLB_ALT_USER].text[OAB_GLB_TEXT_MAX] = '\0';
  }
  return dbs_obj_free_local("oab_glb_set_altuser", user);
}
