// Tables shared by the files of the type registry (not for other modules).
//
// Threads: as cmn_typ.h (unguarded, one thread at a time).
#pragma once

#include "core/cmn/cmn_typ.h"

constexpr long CMN_TYP_NUM_BUILTIN = 300;
constexpr long CMN_TYP_NUM_NAMES = 158;

struct cmn_ty_name_row {
  long id;
  long code;
};

extern cmn_ty_obj_info cmn_classes[CMN_TYP_NUM_BUILTIN];
extern const cmn_ty_name_row cmn_name_table[CMN_TYP_NUM_NAMES];

// True for the built-in ids 512..811 (records of the static table).
inline bool cmn_typ_is_builtin(long id) { return id >= CMN_TYP_FIRST_BUILTIN && id <= CMN_TYP_LAST_BUILTIN; }

// 1 for ids answered by the run-time record types (see cmn_typ.cpp).
long cmn_typ_is_runtime_id(long id);

// Puts the registry back as it was compiled in (groups, special and composite
// classes forgotten, installed method tables freed), then runs cmn_typ_init.
// For a fresh start, e.g. between tests; nothing may hold a method table or
// composite class of the old registry.
long cmn_typ_reset();
