// The GET procedure of an object type, which returns every column of one
// object by its id: its name and text in both dialects (StpConstructGet;
// SQL Server adds the "v_" companion of a long-text column, Oracle returns
// dates as text), and Oracle's triggers of a type's table as ready-to-run
// DDL (StpGetTableTrigger), read whole from the catalogue.
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_stp.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr long kCompanionFlag = 16;  // header: long texts have a "v_" column
constexpr long kLongTextType = 10;
constexpr long kDateType = 9;
constexpr long kDateFormatPhrase = 34;
constexpr long kTriggerQueryPhrase = 49;
constexpr long kTriggerHeadPhrase = 50;
constexpr long kTriggerTextSize = 400;
constexpr long kNameSize = 31;
constexpr const char kOwner[] = "StpGetTableTrigger";

char g_name[kNameSize];
std::string g_text;

const char* text_or_empty(const char* t) { return t != nullptr ? t : ""; }

// Steps both dialects share: the type's fields, or no procedure when the
// type has no id field of column type 0. 1 when there is nothing to build.
long get_prologue(char* type_name, long id_index, long id_type, long n_fields, char** field_names, FILE* log,
                  char* no_id, typ_sch_srec** schema, typ_sch_frec** fields, bool* done) {
  *done = true;
  if (no_id != nullptr) *no_id = 0;
  g_name[0] = '\0';
  g_text.clear();
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_handle(-1, type_name, &s)) return st;
  if (id_index == -1 || id_type != 0) {
    if (log != nullptr) {
      std::fprintf(log, "WARNING: type '%s' doesn't have ID field (this is ok...)\n", text_or_empty(type_name));
    }
    if (no_id != nullptr) *no_id = 1;
    return 0;
  }
  long count = 0;
  if (typ_sch_find_finfo(-1, type_name, &s, &count, fields) != 0) return 1;
  *schema = s;
  if (n_fields <= 0 || field_names == nullptr || id_index < 0 || id_index >= n_fields || n_fields > count) return 1;
  *done = false;
  std::snprintf(g_name, sizeof g_name, "csp_get_%.22s", text_or_empty(type_name));
  return 0;
}

// The column type of a named field: the schema's field of that name, else
// the field at the name's position.
long db_type_of(typ_sch_srec* s, typ_sch_frec* fields, long i, const char* name) {
  for (long k = 0; s != nullptr && k < s->nfields; ++k) {
    if (s->fields[k].name != nullptr && std::strcmp(s->fields[k].name, name) == 0) return s->fields[k].db_type;
  }
  return fields[i].db_type;
}

// Hands the name and text out, or refuses a text too long for its buffer.
long hand_out(char** proc_name, char** proc_text) {
  if (static_cast<long>(g_text.size()) >= ADP_STP_TEXT_SIZE) {
    g_name[0] = '\0';
    g_text.clear();
    if (proc_name != nullptr) *proc_name = nullptr;
    if (proc_text != nullptr) *proc_text = nullptr;
    return 1;
  }
  if (proc_name != nullptr) *proc_name = g_name;
  if (proc_text != nullptr) *proc_text = g_text.data();
  return 0;
}

std::string fmt(const char* format, const char* a, const char* b = "") {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

}  // namespace

long KAdpMssqlOperation::StpConstructGet(char* type_name, char* table_name, long id_index, long id_type,
                                         long n_fields, char** field_names, FILE* log, char** proc_name,
                                         char** proc_text, char* no_id) {
  return adp_err_guard([&]() -> long {
    char companions = 0;
    if (long st = adp_db_is_header_flags_set(adp_db_get_head_addr(), kCompanionFlag, &companions)) return st;
    typ_sch_srec* schema = nullptr;
    typ_sch_frec* fields = nullptr;
    bool done = true;
    if (long st = get_prologue(type_name, id_index, id_type, n_fields, field_names, log, no_id, &schema, &fields, &done)) {
      return st;
    }
    if (done) return 0L;
    g_text = fmt("create procedure %s (@oid int) as \n select ", g_name);
    for (long i = 0; i < n_fields; ++i) {
      const char* f = text_or_empty(field_names[i]);
      g_text += i == 0 ? std::string(f) : ", " + std::string(f);
      if (companions != 0 && db_type_of(schema, fields, i, f) == kLongTextType) g_text += ", v_" + std::string(f);
    }
    g_text += fmt("\n from %s where %s = @oid", text_or_empty(table_name), text_or_empty(field_names[id_index]));
    return hand_out(proc_name, proc_text);
  });
}

long KAdpOraOperation::StpConstructGet(char* type_name, char* table_name, long id_index, long id_type, long n_fields,
                                       char** field_names, FILE* log, char** proc_name, char** proc_text,
                                       char* no_id) {
  return adp_err_guard([&]() -> long {
    typ_sch_srec* schema = nullptr;
    typ_sch_frec* fields = nullptr;
    bool done = true;
    if (long st = get_prologue(type_name, id_index, id_type, n_fields, field_names, log, no_id, &schema, &fields, &done)) {
      return st;
    }
    if (done) return 0L;
    const char* date_format = GetDbSpecificStr(static_cast<str_type>(kDateFormatPhrase));
    auto name = [&](long i) { return text_or_empty(field_names[i]); };
    auto type_text = [&](long i) { return adp_sch_type_to_string(db_type_of(schema, fields, i, name(i))); };
    auto is_date = [&](long i) { return db_type_of(schema, fields, i, name(i)) == kDateType; };
    const long last = n_fields - 1;
    g_text = fmt("create procedure %s (oid number,", g_name);
    for (long i = 0; i < last; ++i) {
      g_text += is_date(i) ? fmt("sp_%s out varchar2,\n", name(i))
                           : fmt("sp_%s out %s,\n", name(i), type_text(i));
    }
    g_text += is_date(last) ? fmt("sp_%s out varchar2) as\nbegin\nselect ", name(last))
                            : fmt("sp_%s out %s) as\nbegin\nselect ", name(last), type_text(last));
    for (long i = 0; i < last; ++i) {
      g_text += is_date(i) ? fmt("TO_CHAR(%s, '%s'),\n", name(i), date_format) : fmt("%s,\n", name(i));
    }
    g_text += is_date(last) ? fmt("TO_CHAR(%s, '%s') into ", name(last), date_format) : fmt("%s into ", name(last));
    for (long i = 0; i < last; ++i) g_text += fmt("sp_%s,\n", name(i));
    g_text += fmt("sp_%s", name(last));
    g_text += fmt("\n from %s where %s = oid;\nend;", text_or_empty(table_name), name(id_index));
    return hand_out(proc_name, proc_text);
  });
}

long KAdpOraOperation::StpGetTableTrigger(typ_sch_srec* schema, void* triggers_arg) {
  return adp_err_guard([&]() -> long {
    auto* triggers = static_cast<utl_ty_col*>(triggers_arg);
    if (triggers == nullptr) return 0L;
    KAdpConnId* con = GetConnection();
    char* quoted = nullptr;
    adp_sql_escape_str(schema != nullptr && schema->info != nullptr ? schema->info->name : "", &quoted);
    const std::string type = text_or_empty(quoted);
    char* description = nullptr;
    char* body = nullptr;
    long st = adp_sql_parse_now(con, GetDbSpecificStr(static_cast<str_type>(kTriggerQueryPhrase)), type.c_str());
    if (st == 0) st = adp_sql_define(con, KAdpBindCol(&description, 0));
    if (st == 0) st = adp_sql_define(con, KAdpBindCol(&body, 0));
    char more = 0;
    if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
    while (st == 0 && more != 0) {
      utl_ty_estr* text = nullptr;
      if ((st = utl_estr_create(kOwner, nullptr, kTriggerTextSize, kTriggerTextSize, &text)) != 0) break;
      const char* parts[] = {GetDbSpecificStr(static_cast<str_type>(kTriggerHeadPhrase)), text_or_empty(description),
                             "\n", text_or_empty(body)};
      for (const char* p : parts) {
        if (st == 0) st = utl_estr_append(text, p);
      }
      if (st == 0) st = utl_col_push(triggers, &text, nullptr);
      if (st != 0) {
        utl_estr_free(kOwner, text);
        break;
      }
      st = adp_sql_nextrow(con, nullptr, &more);
    }
    return st;
  });
}
