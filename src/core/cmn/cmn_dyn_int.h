// Shared by the files of the run-time record types (not for other modules).
//
// Threads: as cmn_dyn.h.
#pragma once

#include "core/cmn/cmn_dyn.h"

// The row of a run-time id, or null after pushing 0x10000F (999999 too).
cmn_ty_dyn_type* cmn_dyn_row(const char* proc, long id);
// The field `number` of a row, or null after pushing 0x100010.
cmn_ty_dyn_field* cmn_dyn_field_row(const char* proc, cmn_ty_dyn_type* type, long number);
// The field of that whole name (without regard to case), or null.
cmn_ty_dyn_field* cmn_dyn_field_named(cmn_ty_dyn_type* type, const char* name);
// Pushes 0x100022 (field name, type name) and returns it.
long cmn_dyn_no_field(const char* proc, const char* field, const char* type);
// A field name as a NUL-ended text (a full 20-character name is cut there).
struct cmn_dyn_fname {
  char text[CMN_DYN_FIELD_NAME_LEN + 1];
  explicit cmn_dyn_fname(const cmn_ty_dyn_field& f);
};
// Pushes code with one long argument and returns code.
long cmn_dyn_alert(const char* proc, long code, long arg);
