// SQL Server's generated procedures (StpCreateProcs): the relate procedure
// of every relation kept in a foreign-key column, the object-id procedure
// when it is missing, and the GET procedure of every object type and view,
// all or only those the schema change marked; progress dots, log flushes
// and counts. A failed procedure is counted and the run goes on. The GET
// procedure of one type (StpCreateGetProc; Oracle only checks the type).
#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_stp.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr unsigned long kRelatesMark = 0x2000;
constexpr unsigned long kGetMark = 0x4000;
constexpr long kObjidGeneric = 0x1000003;
constexpr long kNewProcPhrase = 51;
constexpr long kDotEvery = 5;
constexpr long kFlushEvery = 20;

// Closes the procedure log on every way out of a run.
struct log_closer {
  ~log_closer() { adp_stp_close_logfile(); }
};

void say(const char* text) {
  osl_print_mes("%s", text);
  std::fflush(stdout);
}

void to_log(const char* format, const char* a, const char* b) {
  if (FILE* log = adp_stp_log_file()) std::fprintf(log, format, a, b);
}

void counts_to_log(const char* format, long made, long failed) {
  if (FILE* log = adp_stp_log_file()) std::fprintf(log, format, made, failed);
}

// The dot and the log flush of entry i.
long progress(long i, const char* db_name) {
  if (i % kDotEvery == 0) say(".");
  if (i % kFlushEvery != 0) return 0;
  if (long st = adp_stp_flush_log()) {
    osl_print_mes("Cannot drop log for database '%s'.\n", db_name);
    return st;
  }
  return 0;
}

bool relate_wanted(const typ_sch_rrec& r, bool all) {
  const long kind = r.type & ~TYP_REL_INDEX_MARK;
  if (kind == 0 || kind == TYP_REL_MTM) return false;
  if (all) return true;
  const bool p = r.pschema != nullptr && (r.pschema->flags & kRelatesMark) != 0;
  const bool f = r.fschema != nullptr && (r.fschema->flags & kRelatesMark) != 0;
  return p || f;
}

bool get_wanted(const typ_sch_srec& s, bool all) {
  if ((s.flags & (TYP_SCH_OBJECT | TYP_SCH_VIEW)) == 0) return false;
  return all || (s.flags & kGetMark) != 0;
}

struct tally {
  long made = 0;
  long failed = 0;
};

long relate_procs(KAdpConnId* con, const char* db_name, bool all, tally* t) {
  for (long i = 0; i < typ_sch_num_rels; ++i) {
    typ_sch_rrec& r = typ_sch_relations[i];
    if (!relate_wanted(r, all)) continue;
    const char* rel_name = r.pname != nullptr ? r.pname : "";
    char* name = nullptr;
    char* text = nullptr;
    if (typ_rel_create_a_proc(con, &r, &name, &text) != 0 || name == nullptr || text == nullptr) {
      osl_print_mes("Cannot create relation stored procedure for '%s'\n", rel_name);
      ++t->failed;
      continue;
    }
    const std::string kept_name = name, kept_text = text;
    if (long st = progress(i, db_name)) return st;
    to_log("Relation stored procedure for '%s':\n%s\n", rel_name, kept_text.c_str());
    if (adp_stp_save_proc_to_db(con, kept_name.c_str(), kept_text.c_str()) == 0) {
      ++t->made;
    } else {
      ++t->failed;
    }
  }
  return 0;
}

long new_id_proc(KAdpConnId* con, const KAdpDbOperation* op) {
  const char* name = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kNewProcPhrase));
  char answered = 0, exists = 0;
  if (adp_sch_get_storedp(con, name, 0, &answered, &exists, nullptr, nullptr) == 0 && exists != 0) return 0;
  say("Creating object id generation stored procedure.");
  if (long st = adp_stp_create_new_proc(con)) {
    osl_print_mes("Could not create new object id stored procedure\n");
    return st;
  }
  return 0;
}

long get_procs(KAdpConnId* con, const char* db_name, bool all, tally* t) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec& s = typ_sch_schemas[i];
    if (!get_wanted(s, all)) continue;
    if (long st = progress(i, db_name)) return st;
    if (adp_stp_create_get_proc(con, &s) == 0) {
      ++t->made;
    } else {
      ++t->failed;
    }
  }
  return 0;
}

const char* type_name(const typ_sch_srec* s) { return s->info != nullptr ? s->info->name : ""; }

// The type's id field (index -1 when it has none) and its table.
long id_and_table(typ_sch_srec* s, long* id_index, const char** table) {
  if (long st = typ_sch_gen_to_sp(s, kObjidGeneric, id_index)) return st;
  if (*id_index < 0) return 0;
  return adp_sch_tbl_find(s->type_id, table);
}

void no_id_warning(FILE* log, const char* type) {
  if (log != nullptr) std::fprintf(log, "WARNING: type '%s' doesn't have ID field (this is ok...)\n", type);
}

// Drops an old procedure of the name (a failure there is forgotten), then
// creates and grants the new one: 0, or 1 with a printed message.
long save_get_proc(KAdpConnId* con, const std::string& name, const std::string& text) {
  char exists = 0;
  if (adp_sch_does_tbl_exist(con, name.c_str(), &exists) == 0 && exists != 0) {
    if (adp_sql_parse_ddl_now(con, "drop procedure %s", name.c_str()) != 0) cmn_alrt_pop(nullptr, nullptr, nullptr);
  }
  if (adp_sql_parse_ddl_now(con, "%s", text.c_str()) != 0) {
    osl_print_mes("Cannot save GET stored procedure '%s'\n", name.c_str());
    return 1;
  }
  if (adp_sql_parse_ddl_now(con, "grant execute on %s to PUBLIC", name.c_str()) != 0) {
    osl_print_mes("Cannot grant execute permission on stored procedure '%s'\n", name.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

long KAdpMssqlOperation::StpCreateProcs(char* db_name, char all) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    const char* db = db_name != nullptr ? db_name : "";
    if (long st = adp_stp_open_logfile()) return st;
    log_closer closer;
    say("Creating RELATE stored procedures");
    tally relates;
    if (long st = relate_procs(con, db, all != 0, &relates)) return st;
    counts_to_log("Created %ld RELATE stored procedures (%ld failed)\n", relates.made, relates.failed);
    osl_print_mes("\nCreated %ld RELATE stored procedures (%ld failed)\n", relates.made, relates.failed);
    if (long st = new_id_proc(con, this)) return st;
    say("Creating GET stored procedures");
    tally gets;
    if (long st = get_procs(con, db, all != 0, &gets)) return st;
    counts_to_log("Created %ld GET stored procedures (%ld failed)\n", gets.made, gets.failed);
    osl_print_mes("\nCreated %ld GET stored procedures (%ld failed)\n", gets.made, gets.failed);
    return relates.failed > 0 || gets.failed > 0 ? 1L : 0L;
  });
}

long KAdpMssqlOperation::StpCreateGetProc(void* schema_arg) {
  return adp_err_guard([&]() -> long {
    auto* s = static_cast<typ_sch_srec*>(schema_arg);
    if (s == nullptr) return 0L;
    KAdpConnId* con = GetConnection();
    long id_index = -1;
    const char* table = nullptr;
    if (long st = id_and_table(s, &id_index, &table)) return st;
    if (id_index < 0) {
      no_id_warning(adp_stp_log_file(), type_name(s));
      return 0L;
    }
    std::vector<char*> names;
    for (long i = 0; i < s->nfields; ++i) names.push_back(s->fields[i].name);
    char* name = nullptr;
    char* text = nullptr;
    char no_id = 0;
    if (adp_stp_construct_get(con, const_cast<char*>(type_name(s)), const_cast<char*>(table), id_index,
                              s->fields[id_index].db_type, s->nfields, names.data(), adp_stp_log_file(), &name,
                              &text, &no_id) != 0) {
      osl_print_mes("Could not construct get stored procedure for type '%s'\n", type_name(s));
      return 1L;
    }
    if (name == nullptr || *name == '\0') return 0L;
    const std::string kept_name = name, kept_text = text != nullptr ? text : "";
    to_log("CREATING GET stored procedure '%s':\n  '%s'\n", kept_name.c_str(), kept_text.c_str());
    if (no_id != 0) return 0L;
    to_log("CREATING GET stored proc '%s':\n  '%s'\n", kept_name.c_str(), kept_text.c_str());
    return save_get_proc(con, kept_name, kept_text);
  });
}

long KAdpOraOperation::StpCreateGetProc(void* schema_arg) {
  return adp_err_guard([&]() -> long {
    auto* s = static_cast<typ_sch_srec*>(schema_arg);
    if (s == nullptr) return 0L;
    long id_index = -1;
    const char* table = nullptr;
    return id_and_table(s, &id_index, &table);
  });
}
