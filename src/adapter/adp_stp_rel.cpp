// Relate procedures: one per relation kept in a foreign-key column (or in an
// exclusive relation's pair of columns), which sets the column of the
// foreign row to the primary object's number and, under the offline
// feature, writes the change row first. Saving drops an old procedure of
// the name, creates and grants the new one.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_stp.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"

namespace {

constexpr long kNameSize = 31;
constexpr long kRelNameSize = 256;
constexpr long kTableSize = 256;

enum : long { kPlainPhrase = 41, kPlainOfflinePhrase = 13, kPairPhrase = 11, kPairOfflinePhrase = 12 };

char g_relate_name[kNameSize];
char g_get_name[kNameSize];
char g_rel_name[kRelNameSize];
char g_rel_text[ADP_STP_TEXT_SIZE];

const char* text_or_empty(const char* t) { return t != nullptr ? t : ""; }

const char* phrase(KAdpConnId* con, long n) {
  return con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
}

// Formats a phrase into the text buffer; a text that does not fit with its
// end is refused.
long fill_text(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  const int n = std::vsnprintf(g_rel_text, sizeof g_rel_text, format, ap);
  va_end(ap);
  if (n < 0 || n >= ADP_STP_TEXT_SIZE) {
    g_rel_text[0] = '\0';
    long rc = cmn_alrt_push(nullptr, "adp_stp_construct_rel_proc", ADP_SQL_TOO_LONG, 0);
    return rc != 0 ? rc : ADP_SQL_TOO_LONG;
  }
  return 0;
}

}  // namespace

const char* adp_stp_relate_proc_name(const char* relation_name) {
  std::snprintf(g_relate_name, sizeof g_relate_name, "rl_%.27s", text_or_empty(relation_name));
  return g_relate_name;
}

const char* adp_stp_get_proc_name(const char* type_name) {
  std::snprintf(g_get_name, sizeof g_get_name, "csp_get_%.22s", text_or_empty(type_name));
  return g_get_name;
}

long adp_stp_construct_rel_proc(KAdpConnId* con, const char* pname, const char* ptype, const char*, long,
                                const char* fkey, const char* ftype, const char* ftable, long, long rel_type,
                                long rel_flags, const char* phys_name, const char* focus, long ptype_id,
                                char** name, char** text) {
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
  if ((rel_type & ~TYP_REL_INDEX_MARK) == TYP_REL_MTM) return 0;
  char t0[kTableSize];
  adp_sch_tbl_name_noprefix(con, ftable, t0, sizeof t0);
  const char* t = text_or_empty(ftable);
  const std::string p1 = std::string(text_or_empty(ptype)) + "1";
  const std::string p2 = std::string(text_or_empty(ftype)) + "2";
  std::snprintf(g_rel_name, sizeof g_rel_name, "rl_%.27s", text_or_empty(pname));
  const char* n = g_rel_name;
  const char* a = p1.c_str();
  const char* b = p2.c_str();
  const char* col = text_or_empty(fkey);
  const char* phys = text_or_empty(phys_name);
  const char* f = text_or_empty(focus);
  long st = 0;
  if (rel_flags == 0 && roamer == 0) {
    st = fill_text(phrase(con, kPlainPhrase), n, a, b, t, col, a, b);
  } else if (rel_flags == 0) {
    st = fill_text(phrase(con, kPlainOfflinePhrase), n, a, b, a, col, t0, t, b, t0, t, b, t, col, a, b);
  } else if (roamer == 0) {
    st = fill_text(phrase(con, kPairPhrase), n, a, b, t, phys, a, f, ptype_id, b);
  } else {
    const long id_length = static_cast<long>(std::to_string(ptype_id).size());
    st = fill_text(phrase(con, kPairOfflinePhrase), n, a, b, a, phys, f, id_length, ptype_id, t0, t, b, t0, t, b, t,
                   phys, a, f, ptype_id, b);
  }
  if (st != 0) return st;
  if (name != nullptr) *name = g_rel_name;
  if (text != nullptr) *text = g_rel_text;
  return 0;
}

long typ_rel_create_a_proc(KAdpConnId* con, typ_sch_rrec* rel, char** name, char** text) {
  if (rel == nullptr || rel->pschema == nullptr || rel->fschema == nullptr) return 0;
  const char* ftable = nullptr;
  const char* ptable = nullptr;
  if (long st = adp_sch_tbl_find(rel->fschema->type_id, &ftable)) return st;
  if (long st = adp_sch_tbl_find(rel->pschema->type_id, &ptable)) return st;
  const char* ptype = rel->pschema->info != nullptr ? rel->pschema->info->name : "";
  const char* ftype = rel->fschema->info != nullptr ? rel->fschema->info->name : "";
  return adp_stp_construct_rel_proc(con, rel->pname, ptype, ptable, rel->pschema->nfields, rel->fname, ftype,
                                    ftable, rel->fschema->nfields, rel->type, rel->exclusive, rel->phys_name,
                                    rel->focus_field, rel->pschema->type_id, name, text);
}

long adp_stp_create_rel_proc(KAdpConnId* con, const char* pname, const char* ptype, const char* ptable, long pvalue,
                             const char* fkey, const char* ftype, const char* ftable, long fvalue, long rel_type,
                             long rel_flags, const char* phys_name, const char* focus, long ptype_id) {
  char* name = nullptr;
  char* text = nullptr;
  if (long st = adp_stp_construct_rel_proc(con, pname, ptype, ptable, pvalue, fkey, ftype, ftable, fvalue, rel_type,
                                           rel_flags, phys_name, focus, ptype_id, &name, &text)) {
    return st;
  }
  if (name == nullptr || text == nullptr) return 0;
  const std::string kept_name = name;
  const std::string kept_text = text;
  return adp_stp_save_proc_to_db(con, kept_name.c_str(), kept_text.c_str());
}

long adp_stp_save_proc_to_db(KAdpConnId* con, const char* name, const char* text) {
  char exists = 0;
  if (long st = adp_sch_does_tbl_exist(con, name, &exists)) return st;
  if (exists != 0) {
    if (long st = adp_sql_parse_ddl_now(con, "drop proc %s", name)) return st;
  }
  if (long st = adp_sql_parse_ddl_now(con, "%s", text_or_empty(text))) {
    osl_print_mes("Cannot save stored procedure '%s'\n", name);
    return st;
  }
  if (long st = adp_sql_parse_ddl_now(con, "grant EXEC on %s to PUBLIC", name)) {
    osl_print_mes("Cannot grant execute permission on stored proc '%s'\n", name);
    return st;
  }
  return 0;
}
