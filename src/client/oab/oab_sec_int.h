// The security module's session state, shared by its files.
#pragma once

struct dbs_ty_lobj;
struct utl_ty_col;
struct utl_ty_estr;

struct oab_ty_sec_state {
  bool inited = false;  // the set-up ran to its end
  bool on = false;      // the privilege class has restrictions
  bool busy = false;    // the set-up is running (its own queries are not rewritten)
  utl_ty_col* restrictions = nullptr;  // restriction objects (type 388)
  dbs_ty_lobj* user = nullptr;
  dbs_ty_lobj* employee = nullptr;
  dbs_ty_lobj* contact = nullptr;
  dbs_ty_lobj* site = nullptr;
  utl_ty_estr* combined_format = nullptr;
  utl_ty_estr* db_format = nullptr;
};

oab_ty_sec_state& oab_sec_state();

// Text and long fields of an object ("" / 0 when unset).
const char* oab_sec_text(dbs_ty_lobj* o, long field);
long oab_sec_long(dbs_ty_lobj* o, long field);
// The name of a type for alerts ("" when unknown).
const char* oab_sec_type_name(long type);
