// Object SQL: how a field's value enters a statement (bound value, literal
// or increment form), the upper-case search copies and the pair form of an
// update's SET list.
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <utility>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_int.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "core/loc/loc_st.h"
#include "core/loc/loc_st_case.h"
#include "core/osl/osl_loc.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kStampTextSize = 168;
constexpr long kFirstTextKind = 6;

// Locale-independent number texts for the span of one bind.
struct number_format_guard {
  number_format_guard() { osl_loc_disable_loc_num(); }
  ~number_format_guard() { osl_loc_enable_loc_num(); }
  number_format_guard(const number_format_guard&) = delete;
  number_format_guard& operator=(const number_format_guard&) = delete;
};

// Locale ids 0 take the thread's; the change date takes the time now.
// *stamp_text receives the text form for a text column.
long own_value(const typ_sch_frec* f, dbs_ty_slot* slot, char* stamp_text, bool* as_text) {
  *as_text = false;
  if ((f->gen_id == ADP_GEN_LOCALE1 || f->gen_id == ADP_GEN_LOCALE2) && slot->l == 0) {
    slot->l = adp_db_get_thread_lcid();
  }
  if (f->gen_id != ADP_GEN_CHANGE_DATE) return 0;
  clktime now{};
  if (long st = clk_time_get_option(1, &now)) return st;
  if (f->db_type == ADP_KIND_DATE) {
    if (f->data_type == ADP_VT_CLK && slot->p != nullptr) *static_cast<clktime*>(slot->p) = now;
    return 0;
  }
  if (f->db_type >= kFirstTextKind && f->db_type <= ADP_KIND_LONG_TEXT) {
    if (long st = clk_time_clk_to_sstr(&now, stamp_text, kStampTextSize)) return st;
    *as_text = true;
    return 0;
  }
  return adp_obj_push(ADP_OBJ_STAMP_KIND, 1, f->name);
}

long save_long(KAdpSqlBatch* b, const typ_sch_frec* f, long v, unsigned char flag) {
  if (flag & ADP_OBJ_INCR) return b->AppendSqlFormat("%s+%ld", f->name, v);
  if (flag & ADP_OBJ_DECR) return b->AppendSqlFormat("%s-%ld", f->name, v);
  *b << KAdpBindParam(v);
  return b->GetStatus();
}

long save_float(KAdpSqlBatch* b, const typ_sch_frec* f, const float* v, unsigned char flag) {
  if (flag & ADP_OBJ_INCR) b->AppendSqlFormat("%s+", f->name);
  else if (flag & ADP_OBJ_DECR) b->AppendSqlFormat("%s-", f->name);
  number_format_guard g;
  *b << KAdpBindParam(*v);
  return b->GetStatus();
}

long save_string(KAdpSqlBatch* b, const typ_sch_frec* f, const char* text, const char** long_text) {
  const bool is_long = f->db_type == ADP_KIND_LONG_TEXT;
  if (text == nullptr || *text == '\0') {
    if (is_long && long_text != nullptr) *long_text = nullptr;
    *b << "''";
    return b->GetStatus();
  }
  if (is_long && long_text != nullptr) *long_text = text;
  *b << KAdpBindParam(text, 0, is_long ? 1 : 0);
  return b->GetStatus();
}

}  // namespace

const char* adp_obj_keep_text(std::string text) {
  adp_obj_kept_texts().push_back(std::move(text));
  return adp_obj_kept_texts().back().c_str();
}

std::deque<std::string>& adp_obj_kept_texts() {
  static std::deque<std::string> texts;
  return texts;
}

adp_obj_bind_switch::adp_obj_bind_switch(KAdpConnId* con, bool force, char value) : m_con(con), m_set(force) {
  if (!m_set) return;
  KAdpConfig& c = m_con->GetConfig();
  m_old = c.GetPropertyBool(static_cast<KAdpConfig::bool_type>(9));
  c.SetPropertyBool(static_cast<KAdpConfig::bool_type>(9), value);
}

adp_obj_bind_switch::~adp_obj_bind_switch() { restore(); }

void adp_obj_bind_switch::restore() {
  if (!m_set) return;
  m_con->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(9), m_old);
  m_set = false;
}

long adp_obj_field_save_it(KAdpSqlBatch* b, const typ_sch_frec* f, dbs_ty_slot* slot, unsigned char flag,
                           const char** long_text) {
  char stamp_text[kStampTextSize] = {};
  bool as_text = false;
  if (long st = own_value(f, slot, stamp_text, &as_text)) return st;
  if (as_text) {
    *b << KAdpBindParam(adp_obj_keep_text(stamp_text));
    return b->GetStatus();
  }
  switch (f->data_type) {
    case ADP_VT_LONG:
    case ADP_VT_SHORT: return save_long(b, f, slot->l, flag);
    case ADP_VT_FLOAT: return save_float(b, f, static_cast<const float*>(slot->p), flag);
    case ADP_VT_STRING: return save_string(b, f, static_cast<const char*>(slot->p), long_text);
    case ADP_VT_CLK: *b << KAdpBindParam(*static_cast<const clktime*>(slot->p)); return b->GetStatus();
    case ADP_VT_DOUBLE:
    case ADP_VT_MONEY: {
      number_format_guard g;
      *b << KAdpBindParam(*static_cast<const double*>(slot->p));
      return b->GetStatus();
    }
    case ADP_VT_DECIMAL: {
      const auto* d = static_cast<const cmn_ty_decimal*>(slot->p);
      if (d == nullptr || d->text[0] == '\0') return b->AppendSql("''");
      return b->AppendSqlFormat("%s", d->text);
    }
    default: return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, f->data_type);
  }
}

std::string adp_obj_upcase(const char* text) {
  std::string out(text != nullptr ? text : "");
  if (double_byte_enable != 1) {
    for (char& c : out) c = static_cast<char>(loc_st_toupper(static_cast<unsigned char>(c)));
    return out;
  }
  std::setlocale(LC_ALL, "");
  for (size_t i = 0; i < out.size();) {
    int n = std::mblen(out.c_str() + i, out.size() - i);
    if (n == 1) out[i] = static_cast<char>(loc_st_toupper(static_cast<unsigned char>(out[i])));
    i += n > 0 ? static_cast<size_t>(n) : 1;
  }
  return out;
}

long adp_obj_field_save_it_in_upcase(KAdpSqlBatch* b, const typ_sch_frec* f, const dbs_ty_slot* slot,
                                     const char** long_text) {
  if (f->data_type != ADP_VT_STRING) return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, f->data_type);
  const char* text = static_cast<const char*>(slot->p);
  const bool is_long = f->db_type == ADP_KIND_LONG_TEXT;
  if (text == nullptr || *text == '\0') {
    if (is_long && long_text != nullptr) *long_text = nullptr;
    return b->AppendSql("''");
  }
  if (is_long && long_text != nullptr) return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, f->data_type);
  char search = 0;
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &search);
  if (!search || !(f->flags & ADP_FLD_SEARCHABLE)) return 0;
  *b << KAdpBindParam(adp_obj_keep_text(adp_obj_upcase(text)));
  return b->GetStatus();
}

long adp_obj_field_save(void* batch, typ_sch_frec* f, void* slot, const char** long_text, long) {
  return adp_obj_field_save_it(static_cast<KAdpSqlBatch*>(batch), f, static_cast<dbs_ty_slot*>(slot), 1, long_text);
}

long adp_obj_field_save_in_upcase(void* batch, typ_sch_frec* f, void* slot, const char** long_text, long) {
  return adp_obj_field_save_it_in_upcase(static_cast<KAdpSqlBatch*>(batch), f, static_cast<dbs_ty_slot*>(slot),
                                         long_text);
}

long adp_obj_put_pair(KAdpSqlBatch* b, const typ_sch_frec* f, dbs_ty_slot* slot, unsigned char flag) {
  static char search = -1;
  if (search < 0) {
    search = 0;
    adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &search);
  }
  b->AppendSqlFormat("%s = ", f->name);
  if (long st = adp_obj_field_save_it(b, f, slot, flag, nullptr)) return st;
  if (!search || !(f->flags & ADP_FLD_SEARCHABLE)) return 0;
  b->AppendSqlFormat(", s_%s = ", f->name);
  return adp_obj_field_save_it_in_upcase(b, f, slot, nullptr);
}
