// Object SQL: the change-row detail texts (TX_DETAIL), the increment's
// detail expression, server date texts and texts read back into fields.
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/clk/clk_text.h"
#include "core/osl/osl_loc.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rec.h"

namespace {

constexpr clktime kFirstDay{-53690, 0};  // 1 January 1753 00:00:00
constexpr long kDateFormatPhrase = 34;

std::string printed(const char* format, double v) {
  char buf[64];
  osl_loc_disable_loc_num();
  std::snprintf(buf, sizeof buf, format, v);
  osl_loc_enable_loc_num();
  return buf;
}

const char* date_format() {
  KAdpConnId* con = adp_db_get_conn();
  KAdpDbOperation* op = con != nullptr ? con->GetDbOperation() : nullptr;
  return op != nullptr ? op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDateFormatPhrase)) : "";
}

}  // namespace

long adp_obj_detail_value(const typ_sch_frec* f, const dbs_ty_slot* slot, std::string* out) {
  char buf[64];
  switch (f->data_type) {
    case ADP_VT_LONG:
    case ADP_VT_SHORT: std::snprintf(buf, sizeof buf, "%ld", slot->l); *out = buf; return 0;
    case ADP_VT_FLOAT: *out = printed("%f", *static_cast<const float*>(slot->p)); return 0;
    case ADP_VT_DOUBLE:
    case ADP_VT_MONEY: *out = printed("%lf", *static_cast<const double*>(slot->p)); return 0;
    case ADP_VT_STRING: *out = slot->p != nullptr ? static_cast<const char*>(slot->p) : ""; return 0;
    case ADP_VT_DECIMAL: *out = static_cast<const cmn_ty_decimal*>(slot->p)->text; return 0;
    case ADP_VT_CLK: {
      clk_ty_cmp c{};
      if (long st = clk_time_to_cmp_adj(0, static_cast<const clktime*>(slot->p), &c)) return st;
      std::snprintf(buf, sizeof buf, "%.4ld-%.2ld-%.2ld %.2ld:%.2ld:%.2ld", c.year, c.month + 1, c.day, c.hour,
                    c.minute, c.second);
      *out = buf;
      return 0;
    }
    default: return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, f->data_type);
  }
}

long adp_obj_field_set_tx_detail(const typ_sch_frec* f, unsigned char, const dbs_ty_slot* slot, long,
                                 std::string* head, std::string* values) {
  std::string v;
  if (long st = adp_obj_detail_value(f, slot, &v)) return st;
  *head += " " + std::string(f->name) + " " + std::to_string(v.size());
  *values += v;
  return 0;
}

long adp_obj_set_tx_detail(const typ_sch_frec* f, const dbs_ty_slot* slot, unsigned char flag, std::string* head,
                           std::string* values) {
  static char search = -1;
  if (search < 0) {
    search = 0;
    adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &search);
  }
  std::string v;
  if (long st = adp_obj_detail_value(f, slot, &v)) return st;
  (void)flag;
  *head += " " + std::string(f->name) + " " + std::to_string(v.size());
  *values += v;
  if (search && (f->flags & ADP_FLD_SEARCHABLE)) {
    *head += " s_" + std::string(f->name) + " " + std::to_string(v.size());
    *values += v;
  }
  return 0;
}

long adp_obj_set_tx_detail2(const typ_sch_frec* f, unsigned char flag, const dbs_ty_slot* slot, long,
                            std::string* out) {
  std::string amount;
  if (f->data_type == ADP_VT_LONG || f->data_type == ADP_VT_SHORT) {
    amount = std::to_string(slot->l);
  } else if (f->data_type == ADP_VT_FLOAT) {
    amount = printed("%f", *static_cast<const float*>(slot->p));
  } else {
    return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, f->data_type);
  }
  const std::string name = f->name;
  const std::string step = name + ((flag & ADP_OBJ_DECR) ? "-" : "+") + amount;
  std::string text = "'1 " + name + " '";
  if (adp_db_is_db_oracle()) {
    text = "CONCAT(" + text + ", TO_CHAR(LENGTH(TO_CHAR(" + step + "))))";
    text = "CONCAT(" + text + ", ' ')";
    text = "CONCAT(" + text + ", TO_CHAR(" + step + "))";
  } else {
    text += " + convert(varchar, LEN(convert(varchar, " + step + ")))";
    text += " + ' '";
    text += " + convert(varchar, " + step + ")";
  }
  *out = text;
  return 0;
}

long adp_obj_gen_svr_clk_str(const clktime* time, long mode, char* out) {
  char text[CLK_TEXT_SIZE] = {};
  if (long st = clk_time_clk_to_sstr_conv(time, text, sizeof text)) return st;
  if (text[0] == '?') {
    clk_ty_cmp c{};
    clk_time_to_cmp_adj(0, &kFirstDay, &c);
    std::snprintf(text, sizeof text, "%ld/%ld/%ld %.2ld:%.2ld:%.2ld", c.month + 1, c.day, c.year, c.hour, c.minute,
                  c.second);
  }
  if (mode == 1) {
    std::sprintf(out, "TO_DATE('%s', '%s')", text, date_format());
  } else {
    std::sprintf(out, "%s", text);
  }
  return 0;
}

long adp_obj_copy_field(dbs_ty_lobj* object, const typ_sch_frec* f, const char* text, dbs_ty_slot* slot) {
  switch (f->data_type) {
    case ADP_VT_DOUBLE:
    case ADP_VT_MONEY: std::memcpy(slot->p, text, sizeof(double)); return 0;
    case ADP_VT_DECIMAL: std::memcpy(slot->p, text, sizeof(cmn_ty_decimal)); return 0;
    case ADP_VT_FLOAT: std::memcpy(slot->p, text, sizeof(float)); return 0;
    case ADP_VT_STRING: {
      char* copy = nullptr;
      if (long st = utl_pl_alloc_string(object->pool, text, &copy)) return st;
      slot->p = copy;
      return 0;
    }
    case ADP_VT_CLK: {
      auto* t = static_cast<clktime*>(slot->p);
      if (text == nullptr || *text == '\0') {
        *t = kFirstDay;
        return 0;
      }
      return adp_time_str_to_clk(text, t);
    }
    default: slot->p = const_cast<char*>(text); return 0;
  }
}

long adp_obj_has_long(const typ_sch_srec* schema) {
  for (long i = 0; i < schema->nfields; ++i) {
    if (schema->fields[i].db_type == ADP_KIND_LONG_TEXT) return 1;
  }
  return 0;
}

const char* adp_obj_default_string() { return "''"; }

const char* adp_obj_default_datetime() {
  static char text[CLK_TEXT_SIZE + 4];
  char date[CLK_TEXT_SIZE] = {};
  adp_time_clk_to_str(&kFirstDay, date);
  std::snprintf(text, sizeof text, "'%s'", date);
  return text;
}
