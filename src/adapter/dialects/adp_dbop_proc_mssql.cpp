// SQL Server stored-procedure calls: a T-SQL batch that declares one
// variable per output, runs the procedure with the inputs written in line
// ("exec P in, ..., @o0 output, ...") and selects the outputs as one row.
#include <cstdlib>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_proc.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_pl.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_rec.h"

namespace {

constexpr const char kOwner[] = "KAdpMssqlOperation::SqlExecuteProc";
constexpr long kPoolExtent = 1024;
constexpr long kTypeTextSize = 64;
// Column-type codes of the declared output variables.
constexpr long kDbInt = 0, kDbReal = 3, kDbVarchar = 7, kDbDatetime = 9;

// The work pool; texts returned into it live until the next call.
utl_ty_pool* adp_sql_exec_pool = nullptr;

long ready_pool() {
  if (adp_sql_exec_pool != nullptr) return utl_pl_reset(adp_sql_exec_pool);
  return utl_pl_create(kOwner, kPoolExtent, &adp_sql_exec_pool);
}

// "declare @oK <type>\n" of output k.
long declare_output(KAdpSqlBatch& b, long k, const cmn_ty_value& v, const long* lengths) {
  long db_type = kDbInt, length = 0;
  if (v.type == ADP_VT_FLOAT) db_type = kDbReal;
  if (v.type == ADP_VT_CLK) db_type = kDbDatetime;
  if (v.type == ADP_VT_STRING) {
    db_type = kDbVarchar;
    length = adp_dbop_proc_text_cap(lengths, k);
  }
  char type_text[kTypeTextSize] = "";
  if (long st = adp_sch_convert_to_string(db_type, length, 0, 0, type_text, kTypeTextSize)) return st;
  return b.AppendSqlFormat("declare @o%ld %s\n", k, type_text);
}

// A text in line: N'...' in a Unicode database, else '...', quotes doubled.
long text_input(KAdpSqlBatch& b, const char* text, bool unicode) {
  char* escaped = nullptr;
  adp_sql_escape_str(text, &escaped);
  std::string quoted = escaped != nullptr ? escaped : "";
  return b.AppendSqlFormat(unicode ? "N'%s'\n" : " '%s'\n", quoted.c_str());
}

long write_input(KAdpSqlBatch& b, const cmn_ty_value& v, bool unicode) {
  switch (v.type) {
    case ADP_VT_FLOAT: {
      KCLASSIC::KZString number;
      number.Format(" %f\n", static_cast<double>(adp_dbop_proc_float_in(v)));
      return b.AppendSql(KCLASSIC::UtlConvertToLnString(number));
    }
    case ADP_VT_STRING:
      return text_input(b, reinterpret_cast<const char*>(v.value), unicode);
    case ADP_VT_CLK: {
      char when[CLK_TEXT_SIZE] = "";
      if (long st = adp_time_clk_to_str(reinterpret_cast<const clktime*>(v.value), when)) return st;
      return text_input(b, when, unicode);
    }
    default:
      return b.AppendSqlFormat(" %ld\n", v.value);
  }
}

long build_batch(KAdpSqlBatch& b, const char* name, long n_in, const cmn_ty_value* in, long n_out,
                 const cmn_ty_value* out, const long* lengths, bool unicode) {
  for (long k = 0; k < n_out; ++k) {
    if (long st = declare_output(b, k, out[k], lengths)) return st;
  }
  if (long st = b.AppendSqlFormat("exec %s ", name)) return st;
  for (long i = 0; i < n_in; ++i) {
    if (i > 0) b << ", ";
    if (long st = write_input(b, in[i], unicode)) return st;
  }
  // No separator before a first output that follows no input.
  for (long k = 0; k < n_out; ++k) {
    if (long st = b.AppendSqlFormat(n_in + k > 0 ? ", @o%ld output " : "@o%ld output ", k)) return st;
  }
  for (long k = 0; k < n_out; ++k) {
    if (long st = b.AppendSqlFormat(k == 0 ? " select @o%ld" : ", @o%ld", k)) return st;
  }
  b << KAdpSqlBatch::kEndStmt;
  return b.GetStatus();
}

// A float from a float cell, or from the text a service handed back.
long read_float(KAdpUtlRecord& rec, long k, float* out) {
  if (rec.GetColCellType(k) != KCLASSIC::UTL_CELL_STRING) return rec.GetDataValue(0, k, *out);
  const char* text = nullptr;
  if (long st = rec.GetStringPtr(0, k, text)) return st;
  *out = static_cast<float>(std::strtod(text != nullptr ? text : "", nullptr));
  return 0;
}

long read_output(KAdpUtlRecord& rec, long k, cmn_ty_value* v, const long* lengths) {
  switch (v->type) {
    case ADP_VT_FLOAT: {
      float f = 0;
      if (long st = read_float(rec, k, &f)) return st;
      adp_dbop_proc_float_out(v, f);
      return 0;
    }
    case ADP_VT_CLK: {
      clktime t{};
      if (long st = rec.GetDataValue(0, k, t, nullptr)) return st;
      return adp_dbop_proc_clk_out(v, t, adp_sql_exec_pool);
    }
    case ADP_VT_STRING: {
      const char* text = nullptr;
      if (long st = rec.GetDataValue(0, k, &text, nullptr)) return st;
      return adp_dbop_proc_text_out(v, text, adp_dbop_proc_text_cap(lengths, k), adp_sql_exec_pool);
    }
    default:
      return rec.GetDataValue(0, k, v->value);
  }
}

long push_columns_mismatch(const char* name, long n_out, long columns) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_PROC_COLUMNS, 3, name, n_out, columns);
  return rc != 0 ? rc : ADP_PROC_COLUMNS;
}

}  // namespace

long KAdpMssqlOperation::SqlExecuteProc(char* name, long n_in, cmn_ty_value* in_values, long n_out,
                                        long* out_lengths, cmn_ty_value* out_values, long) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    if (long st = ready_pool()) return st;
    char unicode = 0;
    if (long st = adp_sch_is_db_unicode_enabled(&unicode)) return st;
    void* stmt = nullptr;
    if (long st = adp_sql_create(con, &stmt)) return st;
    KAdpSqlBatch& b = *static_cast<KAdpSqlBatch*>(stmt);
    if (long st = build_batch(b, name, n_in, in_values, n_out, out_values, out_lengths, unicode != 0)) return st;
    KAdpUtlRecord rec;
    if (long st = b.ExecProc(rec, name, n_in)) return st;
    long columns = 0;
    rec.GetColCount(columns);
    if (columns != n_out) return push_columns_mismatch(name, n_out, columns);
    for (long k = 0; k < n_out; ++k) {
      if (long st = read_output(rec, k, &out_values[k], out_lengths)) return st;
    }
    b.Reset();
    return 0L;
  });
}
