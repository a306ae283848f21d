// Applying schema differences: preparing the database, taking over the
// saved model, the table changes, and on commit the schema, revisions and
// stored procedures. Marking the schemas concerned is in typ_apply_mark.cpp.
#include <cstdio>

#include "adapter/adp_sch.h"
#include "adapter/adp_sch_upg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"
#include "store/dbs_upg.h"

namespace {

const char* const kProc = "typ_sch_apply_diffs";

// Options of typ_sch_apply_diffs.
constexpr unsigned long kOptConvertDb = 0x40;        // convert the database first
constexpr unsigned long kOptCommit = 0x80;           // write the schema and revisions
constexpr unsigned long kOptTrace = 0x400;           // print the differences and table changes
constexpr unsigned long kOptUseSavedModel = 0x1000;  // the list's saved model becomes current
constexpr unsigned long kOptChangeMode = 0x80000;    // passed on to the table changes

// Messages.
constexpr long kMsgDeleteType = 0x500033;
constexpr long kMsgApplying = 0x500037;
constexpr long kMsgChangingTables = 0x500038;
constexpr long kMsgWritingSchema = 0x500039;
constexpr long kMsgCreatingProcs = 0x50003a;
constexpr long kMsgTypeChanged = 0x50003b;
constexpr long kMsgTypeDeleted = 0x50003c;

// Prints a message of the TYP list with up to two arguments.
void print_msg(long code, const char* a = nullptr, const char* b = nullptr, long n = 0) {
  const char* fmt = nullptr;
  if (cmn_alrt_get_msg(code, &fmt) || !fmt) return;
  char buf[1024];
  if (a && b)
    snprintf(buf, sizeof buf, fmt, a, b);
  else if (a)
    snprintf(buf, sizeof buf, fmt, a);
  else
    snprintf(buf, sizeof buf, fmt, n);
  osl_print_mes("%s", buf);
}

long cmp_diff(const void* a, const void* b, void*) { return typ_sch_compare_diff(a, b); }

// One application of a list: what the steps below share. The collections
// it makes are freed with it.
struct apply_run {
  apply_run(KAdpConnId* c, utl_ty_col* l, unsigned long o) : con(c), list(l), options(o) {}
  apply_run(const apply_run&) = delete;
  apply_run& operator=(const apply_run&) = delete;
  ~apply_run() {
    if (events) utl_col_free(kProc, events);
    if (deleted) utl_col_free(kProc, deleted);
  }

  KAdpConnId* con;
  utl_ty_col* list;
  unsigned long options;
  char roamer = 0;             // the database keeps a roamer's table
  bool table_rewrite = false;  // a Unicode or LOB upgrade rewrites every modified field's table
  const char* db_name = "";
  typ_sch_saved* saved = nullptr;  // the list's saved model, if it has one
  typ_sch_rrec* before = nullptr;  // the relations before the change
  long nbefore = 0;
  utl_ty_col* deleted = nullptr;  // type ids of the deleted types
  utl_ty_col* events = nullptr;   // the roamer's events
  char cust[512] = "";            // the saved customer revision
  FILE* msg = osl_file_stdout() ? osl_file_stdout() : stdout;
};

// What the database and the upgrade are; the database converted first
// when asked.
long prepare(apply_run& a) {
  cmn_alrt_clear(nullptr);
  if (long st = dbs_db_if_roamer_enabled(a.con, &a.roamer)) return st;
  char unicode = 0, lob = 0;
  typ_sch_is_unicode_upgrade(&unicode);
  typ_sch_is_lob_upgrade(&lob);
  a.table_rewrite = unicode || lob;
  if (long st = dbs_db_name_get(&a.db_name)) return st;
  if (a.options & kOptConvertDb)
    if (long st = dbs_db_convert(a.con, a.db_name)) return st;
  return 0;
}

// The relations before the change: the current ones, or the saved model's.
// Under kOptUseSavedModel the saved model becomes the current one first.
long take_saved_model(apply_run& a) {
  a.before = typ_sch_relations;
  a.nbefore = typ_sch_num_rels;
  long word = 0;
  utl_col_get_ext(a.list, &word);
  a.saved = reinterpret_cast<typ_sch_saved*>(word);
  if (!a.saved) return 0;
  if (a.options & kOptUseSavedModel) {
    if (long st = typ_sch_switch_schemas(a.saved, 1)) return st;
    // The saved model is the current one now: the handle holds nothing.
    *a.saved = typ_sch_saved{};
    if (long st = adp_sch_types_sch_reinit()) return st;
    a.before = typ_sch_relations;
    a.nbefore = typ_sch_num_rels;
    return 0;
  }
  long nold = 0;
  typ_sch_srec* olds = nullptr;
  typ_sch_get_saved_schema(a.saved, &nold, &olds, &a.nbefore, &a.before);
  return 0;
}

// Marks cleared; a list without a saved model folded into the current one;
// the views optimized and the list sorted by type.
long order_diffs(apply_run& a) {
  typ_sch_clear_marks();
  if (!a.saved)
    if (long st = typ_sch_fold_in_changes(a.con, a.list, a.options)) return st;
  if (long st = typ_sch_optimize_view()) return st;
  return utl_col_sort(a.list, cmp_diff, nullptr);
}

// Under the trace option: the differences.
void trace_diffs(apply_run& a) {
  if (!(a.options & kOptTrace)) return;
  osl_print_mes("\nDATA DICTIONARY DIFFERENCES:\n");
  utl_col_dump(a.msg, 0, "Diff Collection", a.list, 1);
  osl_print_mes("END OF DATA DICTIONARY DIFFERENCES.\n\n");
}

// The table changes calculated (with the roamer's events), traced, and
// made (tried only without commit) under the trace or commit option. A
// failed table change is reported and nothing is committed.
long change_tables(apply_run& a) {
  if (a.roamer)
    if (long st = utl_col_make(kProc, 512, 10, 10, 0, 0, &a.events)) return st;
  long revision = -1;
  typ_bld_get_saved_schema_rev(&revision, a.cust, 0);
  void* records = nullptr;
  long n = 0;
  utl_col_get_array(a.list, &records, &n);
  utl_ty_col* changes = nullptr;
  if (long st = dbs_rdb_calc_changes(a.con, n, static_cast<typ_sch_diff_rec*>(records), a.options, &changes,
                                     revision, a.events))
    return st;
  if (a.options & kOptTrace) {
    osl_print_mes("\nTABLE CHANGE RECORDS:\n");
    if (changes) utl_col_dump(a.msg, 0, "", changes, 1);
    osl_print_mes("END OF TABLE CHANGE RECORDS.\n\n");
  }
  if (!(a.options & (kOptTrace | kOptCommit))) return 0;
  print_msg(kMsgChangingTables);
  if (long st = typ_sch_set_view_currency_flag(a.con, a.saved ? a.saved->schemas : nullptr)) return st;
  const long mode = ((a.options & kOptCommit) ? 0 : 1) | (a.options & kOptChangeMode);
  if (long st = dbs_rdb_change_tables(a.con, changes, mode)) {
    cmn_alrt_print(a.msg, 1, "");
    return st;
  }
  return 0;
}

// On commit: the schema, the deleted types, the revisions (and the
// roamer's table), then the stored procedures.
long commit_changes(apply_run& a) {
  KAdpConnId* con = a.con;
  print_msg(kMsgWritingSchema);
  if (long st = typ_sch_write(con, 0, nullptr, 1)) return st;
  if (long st = typ_sch_delete_types(con, a.deleted, 1)) return st;
  long rev = -1;
  typ_bld_get_saved_schema_rev(&rev, a.cust, 0);
  if (rev != -1) {
    if (long st = dbs_db_change_schema_rev(con, rev)) return st;
  } else if (long st = dbs_db_get_schema_rev(con, &rev)) {
    return st;
  }
  if (a.cust[0])
    if (long st = dbs_db_change_cust_schema_rev(con, a.cust)) return st;
  long internal = 0;
  if (long st = dbs_db_get_cust_int_sch_rev(con, &internal)) return st;
  if (long st = dbs_db_change_cust_int_sch_rev(con, internal + 1)) return st;
  if (a.roamer) {
    const long version = rev * 1000000L + internal + 1;
    if (long st = adp_sce_update_detable(con, version, a.events)) return st;
  }
  print_msg(kMsgCreatingProcs);
  if (adp_stp_create_procs(con, a.db_name, 0)) {
    fprintf(a.msg, "Creation of stored procedures failed.\n");
    return 1;
  }
  return 0;
}

// Without commit, under the trace option: what would change.
long report_changes(KAdpConnId* con, utl_ty_col* deleted) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    const typ_sch_srec* t = &typ_sch_schemas[i];
    const unsigned long f = t->flags;
    if (f & TYP_SCH_OBJECT) {
      if (f & TYP_SCH_CHANGED)
        print_msg(kMsgTypeChanged, "object", t->info->name);
      else if (f & TYP_SCH_DELETED)
        print_msg(kMsgTypeDeleted, t->info->name);
    } else if (!(f & TYP_SCH_VIEW) && (f & TYP_SCH_SUBOBJ) && (f & TYP_SCH_CHANGED)) {
      print_msg(kMsgTypeChanged, "subobject", t->info->name);
    } else if ((f & TYP_SCH_VIEW) && (f & TYP_SCH_CHANGED)) {
      print_msg(kMsgTypeChanged, "view", t->info->name);
    }
  }
  return typ_sch_delete_types(con, deleted, 0);
}

}  // namespace

long typ_sch_delete_types(KAdpConnId* con, utl_ty_col* ids, long mode) {
  long n = 0;
  if (ids) utl_col_num(ids, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(ids, i, &e);
    const long id = *static_cast<long*>(e);
    if (mode == 1) {
      if (long st = adp_sch_delete_type_info(con, id)) return st;
    } else {
      print_msg(kMsgDeleteType, nullptr, nullptr, id);
    }
  }
  return 0;
}

long typ_sch_apply_diffs(KAdpConnId* con, utl_ty_col* list, unsigned long options) {
  apply_run a(con, list, options);
  if (long st = prepare(a)) return st;
  if (long st = take_saved_model(a)) return st;
  if (long st = order_diffs(a)) return st;
  if (long st = utl_col_make(kProc, 512, 10, 10, 0, 0, &a.deleted)) return st;
  if (long st = typ_sch_mark_diffs(list, a.table_rewrite, a.before, a.nbefore, a.deleted)) return st;
  typ_sch_mark_views();
  if (long st = adp_sch_types_sch_reinit()) return st;
  trace_diffs(a);
  print_msg(kMsgApplying);
  if (long st = change_tables(a)) return st;
  if (options & kOptCommit) return commit_changes(a);
  if (options & kOptTrace) return report_changes(con, a.deleted);
  return 0;
}
