// Applying schema differences and the exported upgrade entry.
#pragma once

#include "orb_api.h"

#include "schema/typ_diff.h"
#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_col;
struct utl_ty_estr;

ORB_API long typ_sch_apply_diffs(KAdpConnId* con, utl_ty_col* list, unsigned long options);
ORB_API long typ_sch_diff_schemas(KAdpConnId* con, const char* file, unsigned long options, const char* report_file,
                                  utl_ty_col** list, utl_ty_estr** text, char* cut);
long typ_sch_delete_types(KAdpConnId* con, utl_ty_col* ids, long mode);
long typ_sch_has_views_obj_changed(typ_sch_srec* view, char* changed);
// The whole compile: the new model, then upgrade (option 1: compare and
// apply) or direct mode (write the schemas).
ORB_API long typ_bld_compile(KAdpConnId* con, const char* file_name, unsigned long options, long write_mode,
                             utl_ty_col** diffs, typ_sch_diff_out* context);
