// Oracle stored-procedure calls: a PL/SQL block "begin\nP( ... );\nend;\n "
// whose inputs and outputs are all bind variables, run in a transaction of
// its own; the service hands output k back as text in row k, column 0.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_cfg.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "adapter/dialects/adp_dbop_proc.h"
#include "core/utl/utl_pl.h"
#include "kclassic/kc_rec.h"

namespace {

constexpr const char kOwner[] = "KAdpOraOperation::SqlExecuteProc";
constexpr long kPoolExtent = 1024;
constexpr auto kBindSwitch = static_cast<KAdpConfig::bool_type>(9);
constexpr long kTextSize = 2048;  // a text output's buffer
constexpr long kDateSize = 100;   // a date output's buffer (its text)
constexpr long kWordSize = 4;     // a number output's buffer
constexpr long kOutputSqlType = 6;

// The work pool: freed after a successful call, else at the next call.
utl_ty_pool* ora_pool = nullptr;

void free_pool() {
  if (ora_pool != nullptr) utl_pl_free(kOwner, ora_pool);
  ora_pool = nullptr;
}

// A text buffer of size bytes filled with blanks (the server sees room for
// the whole value).
long blank_buffer(long size, char** out) {
  void* p = nullptr;
  if (long st = utl_pl_alloc(ora_pool, size, &p)) return st;
  *out = static_cast<char*>(p);
  std::memset(*out, ' ', static_cast<size_t>(size - 1));
  (*out)[size - 1] = '\0';
  return 0;
}

// One value as a bind variable (an input of a type not listed binds none).
long bind_input(KAdpSqlBatch& b, const cmn_ty_value& v) {
  switch (v.type) {
    case ADP_VT_LONG:
    case ADP_VT_SHORT:
      b << KAdpBindParam(v.value);
      return 0;
    case ADP_VT_STRING:
      b << KAdpBindParam(reinterpret_cast<const char*>(v.value));
      return 0;
    case ADP_VT_FLOAT: {
      void* p = nullptr;
      if (long st = utl_pl_alloc(ora_pool, sizeof(float), &p)) return st;
      *static_cast<float*>(p) = adp_dbop_proc_float_in(v);
      b << KAdpBindParam(*static_cast<const float*>(p));
      return 0;
    }
    case ADP_VT_CLK: {
      void* p = nullptr;
      if (long st = utl_pl_alloc(ora_pool, sizeof(clktime), &p)) return st;
      std::memcpy(p, reinterpret_cast<const void*>(v.value), sizeof(clktime));
      b << KAdpBindParam(*static_cast<const clktime*>(p));
      return 0;
    }
    default:
      return 0;
  }
}

// One output bound with a pool buffer of its size.
long bind_output(KAdpSqlBatch& b, const cmn_ty_value& v) {
  char* text = nullptr;
  switch (v.type) {
    case ADP_VT_STRING:
    case ADP_VT_CLK:
      if (long st = blank_buffer(v.type == ADP_VT_STRING ? kTextSize : kDateSize, &text)) return st;
      b << KAdpBindParam(static_cast<const char*>(text));
      return 0;
    case ADP_VT_LONG:
    case ADP_VT_SHORT:
      b << KAdpBindParam(0L);
      return 0;
    case ADP_VT_FLOAT: {
      void* p = nullptr;
      if (long st = utl_pl_alloc(ora_pool, kWordSize, &p)) return st;
      *static_cast<float*>(p) = 0;
      b << KAdpBindParam(*static_cast<const float*>(p));
      return 0;
    }
    default: {
      void* p = nullptr;
      if (long st = utl_pl_alloc(ora_pool, sizeof(void*), &p)) return st;
      b << KAdpBindParam(static_cast<void**>(p));
      return 0;
    }
  }
}

// "begin\nP( in, ..., out, ...);\nend;\n ", or "begin\nP;\nend;\n " without
// values.
long build_block(KAdpSqlBatch& b, const char* name, long n_in, cmn_ty_value* in, long n_out, cmn_ty_value* out) {
  if (long st = b.AppendSqlFormat("begin\n%s", name)) return st;
  for (long i = 0; i < n_in + n_out; ++i) {
    b << (i == 0 ? "( " : ", ");
    long st = i < n_in ? bind_input(b, in[i]) : bind_output(b, out[i - n_in]);
    if (st != 0) return st;
  }
  b << (n_in + n_out > 0 ? ");\nend;\n " : ";\nend;\n ") << KAdpSqlBatch::kEndStmt;
  return b.GetStatus();
}

// Output k from its text.
long read_output(cmn_ty_value* v, const char* text, long cap) {
  switch (v->type) {
    case ADP_VT_STRING:
      return adp_dbop_proc_text_out(v, text, cap, nullptr);
    case ADP_VT_CLK: {
      clktime t{};
      if (long st = adp_time_str_to_clk(text, &t)) return st;
      return adp_dbop_proc_clk_out(v, t, nullptr);
    }
    case ADP_VT_FLOAT:
      adp_dbop_proc_float_out(v, static_cast<float>(std::strtod(text != nullptr ? text : "", nullptr)));
      return 0;
    default:
      v->value = std::strtol(text != nullptr ? text : "", nullptr, 10);
      return 0;
  }
}

// Runs the block and reads the outputs (inside the caller's transaction).
long run_block(KAdpConnId* con, const char* name, long n_in, cmn_ty_value* in, long n_out, long* lengths,
               cmn_ty_value* out) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch& b = *static_cast<KAdpSqlBatch*>(stmt);
  KAdpConfig& cfg = con->GetConfig();
  const char was_on = cfg.GetPropertyBool(kBindSwitch);
  cfg.SetPropertyBool(kBindSwitch, 1);
  long st = build_block(b, name, n_in, in, n_out, out);
  cfg.SetPropertyBool(kBindSwitch, was_on);
  if (st != 0) return st;
  KAdpUtlRecord rec;
  for (long k = 0; k < n_out; ++k) rec.SetColType(k, KCLASSIC::UTL_CELL_STRING, "out", kOutputSqlType);
  if ((st = b.ExecProc(rec, name, n_in)) != 0) return st;
  for (long k = 0; k < n_out; ++k) {
    const char* text = nullptr;
    if ((st = rec.GetStringPtr(k, 0, text)) != 0) return st;
    if ((st = read_output(&out[k], text, adp_dbop_proc_text_cap(lengths, k))) != 0) return st;
  }
  b.Reset();
  return 0;
}

}  // namespace

long KAdpOraOperation::SqlExecuteProc(char* name, long n_in, cmn_ty_value* in_values, long n_out,
                                      long* out_lengths, cmn_ty_value* out_values, long) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    free_pool();
    if (long st = utl_pl_create(kOwner, kPoolExtent, &ora_pool)) return st;
    if (long st = adp_trn_begin(con)) return st;
    if (long st = run_block(con, name, n_in, in_values, n_out, out_lengths, out_values)) {
      adp_trn_rollback(con);
      return st;
    }
    if (long st = adp_trn_commit(con)) {
      adp_trn_rollback(con);
      return st;
    }
    free_pool();
    return 0L;
  });
}
