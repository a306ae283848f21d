// The schema compiler's driver up to a finished new model: open the file,
// save the loaded model (upgrade mode), parse, connect flexible-attribute
// tables, check relations and optimise. A failure switches back to the
// saved model.
#include <cstdio>

#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_pl.h"
#include "adapter/adp_sch_load.h"
#include "schema/typ_diff.h"
#include "core/osl/osl_sys.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_cmp.h"
#include "schema/typ_write.h"
#include "schema/typ_bld.h"
#include "schema/typ_fld.h"
#include "schema/typ_lex.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

const char* const kProc = "typ_bld_compile";
bool g_views_fetched = false;

void free_arrays() {
  if (typ_bld_array_col) utl_col_free(kProc, typ_bld_array_col);
  typ_bld_array_col = nullptr;
}

// Prints a failure text and the alert stack under its title.
void report(const char* text, const char* title) {
  fputs(text, stdout);
  cmn_alrt_print(stdout, 0, title);
}

}  // namespace

long typ_bld_discard_saved() {
  if (!typ_bld_saved_schema) return 0;
  // The saved model's collections and pool go with it.
  typ_sch_saved* saved = typ_bld_saved_schema;
  typ_bld_saved_schema = nullptr;
  long st = 0;
  if (saved->schemas) {
    st = typ_sch_switch_schemas(saved, 0);  // saved now holds the new model
    if (!st) st = typ_sch_switch_schemas(saved, 1);  // the former model freed, the new one current
  }
  utl_mem_free(kProc, saved);
  return st;
}

long typ_bld_cleanup(long status) {
  if (typ_bld_saved_schema) {
    if (typ_bld_saved_schema->schemas) typ_sch_switch_schemas(typ_bld_saved_schema, 1);
    utl_mem_free(kProc, typ_bld_saved_schema);
  } else {
    // Direct mode has no former model: the definitions read so far go, so
    // that the next compile starts from an empty model.
    typ_sch_clear();
  }
  typ_bld_saved_schema = nullptr;
  free_arrays();
  return status;
}

long typ_bld_compile_model(KAdpConnId* con, const char* file_name, unsigned long options) {
  if (typ_sch_mark_views_optimized()) {
    osl_print_mes("%s: cannot mark views as optimized.\n", kProc);
    return 1;
  }
  FILE* in = nullptr;
  const bool named = file_name && *file_name;
  if (named) {
    in = loc_io_fopen(file_name, "r");
    if (!in) {
      osl_print_mes("%s: cannot open input schema file '%s'\n", kProc, file_name);
      return 1;
    }
    typ_lex_set_input(in);
  }
  auto close_input = [&] {
    if (in) fclose(in);
    if (in) typ_lex_set_input(nullptr);
    in = nullptr;
  };
  if (typ_bld_temp_pl) utl_pl_free(kProc, typ_bld_temp_pl);
  typ_bld_temp_pl = nullptr;
  if (utl_pl_create(kProc, 256, &typ_bld_temp_pl)) {
    close_input();
    osl_print_mes("%s: cannot create temporary text pool for parsing schema file\n", kProc);
    return 1;
  }
  if (options & TYP_BLD_UPGRADE) {
    if (!g_views_fetched) {
      if (long st = typ_sch_fetch_all_views(con)) {
        close_input();
        osl_print_mes("%s: cannot fetch view schema information into memory\n", kProc);
        return st;
      }
      g_views_fetched = true;
    }
    typ_bld_discard_saved();
    if (long st = typ_sch_save_and_reset(&typ_bld_saved_schema)) {
      close_input();
      osl_print_mes("%s: cannot make copy of schema information in memory\n", kProc);
      return st;
    }
  }
  typ_bld_con = con;
  ddlineno = 1;
  typ_bld_options = options;
  typ_sch_set_bld_options(options);
  typ_bld_parse_reset();
  if (ddparse() != 0) {
    const long line = ddlineno;  // closing the input starts the count again
    close_input();
    typ_alrt(kProc, TYP_BLD_FILE, line);
    return typ_bld_cleanup(TYP_BLD_FILE);
  }
  if (typ_bld_has_flex) {
    if (long st = typ_bld_add_rel_flex_to_flex_defn()) {
      close_input();
      report("Flex tables creation failed!\n", "Data Dictionary Flex tables creation errors");
      return typ_bld_cleanup(st);
    }
  }
  ddlineno = -1;
  close_input();
  if (long st = typ_sch_rel_check()) {
    report("Relation checking failed!\n", "Data Dictionary relation errors");
    return typ_bld_cleanup(st);
  }
  if (long st = typ_sch_optimize()) {
    report("Could not optimize data dictionary.\n", "Data Dictionary optimization errors");
    return typ_bld_cleanup(st);
  }
  return 0;
}

long typ_bld_compile(KAdpConnId* con, const char* file_name, unsigned long options, long /*write_mode*/,
                     utl_ty_col** diffs, typ_sch_diff_out* context) {
  if (long st = typ_bld_compile_model(con, file_name, options)) return st;
  auto free_all = [] {
    free_arrays();
    if (typ_bld_temp_pl) utl_pl_free(kProc, typ_bld_temp_pl);
    typ_bld_temp_pl = nullptr;
  };
  if (options & TYP_BLD_UPGRADE) {
    utl_ty_col* list = nullptr;
    if (long st = utl_col_make(kProc, TYP_TY_DIFF, 10, 10, 0, 0, &list)) {
      osl_print_mes("%s: could not create differences collection.\n", kProc);
      cmn_alrt_print(stdout, 0, "Data Dictionary construction errors");
      return typ_bld_cleanup(st);
    }
    // A failed comparison or apply cleans up as a failed parse does.
    auto fail = [&](long st) {
      if (diffs) *diffs = nullptr;
      utl_col_free(kProc, list);
      return typ_bld_cleanup(st);
    };
    const unsigned long cmp_options = options & (TYP_OPT_PRESERVE_USER | TYP_OPT_USE_LARGER_SIZE | TYP_OPT_ALLOW_DROPS);
    if (long st = typ_sch_diffs(con, typ_bld_saved_schema, typ_sch_add_diff, list, cmp_options, context)) {
      osl_print_mes("%s: could not calculate schema differences\n", kProc);
      cmn_alrt_print(stdout, 0, "Data Dictionary diff errors");
      return fail(st);
    }
    if (diffs) *diffs = list;
    if (long st = utl_col_set_ext(list, reinterpret_cast<long>(typ_bld_saved_schema))) return fail(st);
    if (long st = typ_sch_apply_diffs(con, list, options)) {
      osl_print_mes("%s: could not apply differences to schema.\n", kProc);
      cmn_alrt_print(stdout, 0, "");
      return fail(st);
    }
    // The list holds the saved model from here on.
    if (!diffs) {
      utl_col_free(kProc, list);
      typ_bld_discard_saved();
    }
    typ_bld_saved_schema = nullptr;
    free_all();
    return 0;
  }
  if (typ_sch_optimize_view()) {
    report("Could not optimize data dictionary.\n", "Data Dictionary optimization errors");
    return typ_bld_cleanup(1);
  }
  if (long st = typ_sch_set_view_currency_flag(con, nullptr)) return typ_bld_cleanup(st);
  // The writer takes no write mode (its third argument receives the
  // written type ids); the write mode is kept in the signature for the callers.
  if (long st = typ_sch_write(con, 1, nullptr, 0)) {
    printf("Could not write data schemas into database (status = %ld)\n", st);
    cmn_alrt_print(stdout, 0, "Data Dictionary write errors");
    return typ_bld_cleanup(st);
  }
  if (long st = adp_sch_types_init(con, nullptr)) {
    printf("Could not read new schema from database (status = %ld)\n", st);
    cmn_alrt_print(stdout, 0, "Data Dictionary errors");
    return typ_bld_cleanup(st);
  }
  if (long st = typ_bld_write_arrays(con, typ_bld_array_col)) {
    printf("Could not construct array tables for schema (status = %ld).\n", st);
    cmn_alrt_print(stdout, 0, "Data Dictionary errors");
    return typ_bld_cleanup(st);
  }
  free_all();
  return 0;
}

long typ_sch_diff_schemas(KAdpConnId* con, const char* file, unsigned long options, const char* report_file,
                          utl_ty_col** list, utl_ty_estr** text, char* cut) {
  typ_sch_diff_out ctx{report_file, nullptr, 0, nullptr};
  if (text) {
    *text = nullptr;
    if (long st = utl_estr_create(kProc, nullptr, 1024, 1024, &ctx.estr)) return st;
    utl_estr_set_max(ctx.estr, osl_sys_max_display());
    *text = ctx.estr;
  }
  if (cut) *cut = 0;
  utl_ty_col* diffs = nullptr;
  if (long st = typ_bld_compile(con, file, options | TYP_BLD_UPGRADE, 0, &diffs, &ctx)) return st;
  if (list) *list = diffs;
  if (cut && ctx.estr) {
    long max = 0;
    utl_estr_get_max(ctx.estr, &max, cut);
  }
  long word = 0;
  if (diffs) utl_col_get_ext(diffs, &word);
  auto* saved = reinterpret_cast<typ_sch_saved*>(word);
  if (!saved) return 0;
  if (!saved->schemas) {
    // The apply already made the database's model current (option 0x1000).
    utl_mem_free(kProc, saved);
    utl_col_set_ext(diffs, 0);
    if (!list) utl_col_free(kProc, diffs);
    return 0;
  }
  // The database's model is current again; the compiled one is dropped, or
  // kept in the handle with option 0x2000.
  const long mode = (options & 0x2000) ? 0 : 1;
  // A list handed out after its compiled model is dropped would point into
  // freed records: it keeps its operations, type ids and numbers only.
  if (mode == 1 && list) typ_sch_diff_clear_refs(diffs);
  long st = typ_sch_switch_schemas(saved, mode);
  if (mode == 1) {
    utl_mem_free(kProc, saved);
    utl_col_set_ext(diffs, 0);
  }
  if (!list && diffs) utl_col_free(kProc, diffs);
  return st;
}
