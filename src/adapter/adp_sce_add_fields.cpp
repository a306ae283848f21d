// Adding fields to an existing type: each spec checked against the field
// types, then the field in the model, its column, every row set to its
// default, and the new fields' dictionary rows written in one transaction.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_add_int.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_time.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "schema/typ_dump.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr const char kProc[] = "adp_sce_add_fields";
constexpr long kTableConvert = 0;
constexpr long kColumnConvert = 3;
constexpr long kNoLimit = -1;
constexpr long kNoGeneric = -1;
constexpr long kNoDecimals = -1;
constexpr unsigned long kUserDefined = 0x4;
constexpr unsigned long kMandatory = 0x8;
constexpr long kText = 516, kDate = 609, kSmallFloat = 514, kLargeFloat = 613, kCurrency = 614;
constexpr int kFloatDigits = 15;

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

bool blank(const char* s) {
  for (; s != nullptr && *s != '\0'; ++s)
    if (std::isspace(static_cast<unsigned char>(*s)) == 0) return false;
  return true;
}

long type_index_of(const char* name) {
  for (long i = 0; i < ADP_SCE_NUM_DTYPES; ++i)
    if (name != nullptr && std::strcmp(name, adp_sce_dtypes[i].name) == 0) return i;
  return -1;
}

// Checks one spec against the names taken so far and the field types; its
// type index is set when it passes.
long check_spec(adp_sce_field_spec& f, const char* type_name, const std::vector<std::string>& taken) {
  if (f.name == nullptr || f.name[0] == '\0') {
    return adp_sce_refuse("%s: an empty field name is not allowed\n", kProc);
  }
  if (adp_sce_name_taken(taken, f.name)) {
    return adp_sce_refuse("%s: field '%s' already exists in object '%s'\n", kProc, f.name, type_name);
  }
  if (long st = adp_sce_check_name(f.name)) return st;
  const long index = type_index_of(f.type_name);
  if (index < 0) return adp_sce_refuse("%s: invalid data type '%s'\n", kProc, text_of(f.type_name));
  const adp_sce_dtype& t = adp_sce_dtypes[index];
  if (t.max_length != kNoLimit && f.length > t.max_length) {
    return adp_sce_refuse("%s: max length of data type '%s' is %ld (%ld given is too large)\n", kProc, t.name,
                          t.max_length, f.length);
  }
  if (f.length < t.min_length) {
    return adp_sce_refuse("%s: min length of data type '%s' is %ld (max %ld given is too small)\n", kProc, t.name,
                          t.min_length, f.length);
  }
  if (f.var_length != 0 && t.var_length == 0) {
    return adp_sce_refuse("%s: data type '%s' cannot be variable length\n", kProc, t.name);
  }
  f.type_index = index;
  return 0;
}

// A date default as the server reads it; a blank one is the current time.
long date_value(KAdpConnId* con, const char* text, std::string* out) {
  clktime t{};
  if (blank(text)) {
    if (long st = clk_time_get(&t)) return st;
  } else if (long st = clk_time_str_to_clk_adj(0, text, &t)) {
    return st;
  }
  char buf[CLK_TEXT_SIZE] = {};
  if (adp_sce_oracle()) {
    if (long st = clk_time_clk_to_sstr_option(0, &t, buf, sizeof buf)) return st;
    *out = std::string("TO_DATE('") + buf + "', '" + adp_sce_date_format(con) + "')";
    return 0;
  }
  if (long st = adp_time_clk_to_str(&t, buf)) return st;
  *out = std::string("'") + buf + "'";
  return 0;
}

// The SQL value every existing row gets: a quoted text, a date, or the
// number read from the default (0 when it is blank).
long default_value(KAdpConnId* con, const adp_sce_dtype& t, const char* text, std::string* out) {
  char buf[64];
  switch (t.data_type) {
    case kText:
      *out = "'" + adp_sce_literal(text_of(text)) + "'";
      return 0;
    case kDate:
      return date_value(con, text, out);
    case kSmallFloat:
    case kLargeFloat:
    case kCurrency:
      std::snprintf(buf, sizeof buf, "%.*g", kFloatDigits, std::atof(text_of(text)));
      break;
    default:
      std::snprintf(buf, sizeof buf, "%ld", std::atol(text_of(text)));
      break;
  }
  *out = buf;
  return 0;
}

// The names the new fields may not take: the type's fields and special
// fields.
std::vector<std::string> names_of(const typ_sch_srec* schema) {
  std::vector<std::string> out;
  for (long i = 0; i < schema->nfields; ++i) out.emplace_back(text_of(schema->fields[i].name));
  for (long i = 0; i < schema->info->nspecial; ++i) out.emplace_back(text_of(schema->info->special[i].name));
  return out;
}

// What an addition made so far, to be undone when a later step fails.
struct made_so_far {
  std::vector<std::string> fields;
  std::vector<std::string> columns;
};

long add_one(KAdpConnId* con, const char* type_name, typ_sch_srec* schema, const adp_sce_field_spec& f,
             const std::string& value, made_so_far* made) {
  const adp_sce_dtype& t = adp_sce_dtypes[f.type_index];
  osl_print_mes("VERIFIED field '%s', datatype=%ld\n", f.name, f.type_index);
  osl_print_mes(" CMN DTYPE=%ld, SYBASE DTYPE=%ld\n", t.data_type, t.db_type);
  osl_print_mes(" MANDATORY: %ld, ARRAY SIZE: %ld\n", f.mandatory, f.length);
  const unsigned long flags = kUserDefined | (f.mandatory != 0 ? kMandatory : 0);
  const char* def = blank(f.default_text) ? nullptr : f.default_text;
  if (long st = typ_sch_fadd(schema, f.name, t.data_type, t.db_type, kNoGeneric, 0, flags, f.length, kNoDecimals,
                             kNoDecimals, 0, 0, def, nullptr, nullptr)) {
    return st;
  }
  made->fields.emplace_back(f.name);
  const std::string column = adp_sch_phys(con, f.name, kColumnConvert);
  if (long st = adp_sch_field_create(con, type_name, column.c_str(), t.db_type, f.length, kNoDecimals,
                                     kNoDecimals)) {
    return st;
  }
  made->columns.push_back(column);
  const std::string table = adp_sch_phys(con, type_name, kTableConvert);
  return adp_sce_run_dml(con, "UPDATE " + table + " SET " + column + "=" + value, nullptr, 0);
}

// Columns dropped again, fields taken out of the model.
void undo(KAdpConnId* con, const char* type_name, typ_sch_srec* schema, const made_so_far& made) {
  adp_sce_drop_columns(con, adp_sch_phys(con, type_name, kTableConvert), made.columns);
  typ_sch_modify(schema);
  for (const std::string& f : made.fields) typ_sch_field_delete(schema, f.c_str());
  typ_sch_optimize();
}

}  // namespace

long adp_sce_add_fields(KAdpConnId* con, const char* type_name, typ_sch_srec* schema, long count,
                        adp_sce_field_spec* specs) {
  if (long st = adp_db_check_conn(con)) return st;
  schema = adp_sce_schema_of(schema, -1, type_name);
  if (schema == nullptr) {
    long rc = cmn_alrt_push(nullptr, kProc, ADP_BAD_SCHEMA, 1, 0UL);
    return rc != 0 ? rc : ADP_BAD_SCHEMA;
  }
  if (type_name == nullptr || type_name[0] == '\0') type_name = schema->info->name;
  if (long st = adp_sce_check_name(type_name)) return st;
  std::vector<std::string> taken = names_of(schema);
  std::vector<std::string> values;
  for (long i = 0; i < count; ++i) {
    if (long st = check_spec(specs[i], type_name, taken)) return st;
    taken.emplace_back(specs[i].name);
    values.emplace_back();
    if (long st = default_value(con, adp_sce_dtypes[specs[i].type_index], specs[i].default_text, &values.back())) {
      return st;
    }
  }
  if (count <= 0) return 0;
  const long first_new = schema->nfields;
  typ_sch_modify(schema);
  made_so_far made;
  long st = 0;
  for (long i = 0; i < count && st == 0; ++i) st = add_one(con, type_name, schema, specs[i], values[i], &made);
  if (st == 0) st = typ_sch_optimize();
  if (st == 0) {
    typ_sch_dump(osl_file_stdout(), "New Field Schema", 0, schema);
    // Only the new rows: the type's other rows stay as they are (a model
    // opened without descriptions would otherwise write their comments away).
    st = adp_sch_write_fields(con, schema, schema->nfields - first_new, schema->fields + first_new);
  }
  if (st != 0) undo(con, type_name, schema, made);
  return st;
}
