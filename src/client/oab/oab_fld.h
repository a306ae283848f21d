// Coded fields read as words: activity codes, condition codes, location
// types and the Active/Inactive status of contact-role and site views, as
// data types of the registry; and the per-field copy procedure.
#pragma once

#include <string>

struct dbs_ty_lobj;

constexpr long OAB_FLD_ACTCODE = 619;
constexpr long OAB_FLD_CONDCODE = 621;
constexpr long OAB_FLD_LOC_TYPE = 648;
constexpr long OAB_FLD_ROLE_VIEW = 289;
constexpr long OAB_FLD_SITE_VIEW = 88;
constexpr long OAB_FLD_TEXT_BUF = 64;  // buffer made for a text that does not fit

long oab_fld_init();
long oab_fld_term();

// The per-field procedure of dbs_fld_for_all: sets every field but index 0
// of the object given as user into that object; a failure stops the walk.
long oab_fld_copy_one_fld(dbs_ty_lobj* object, long spec_id, long spec_id2, long type, void* slot, void* user,
                          char* stop);

// Activity codes and their names (names cached on first use).
long oab_fld_actcode_to_str(long code, const char** text);
long oab_fld_str_to_actcode(const char* text, long* code);
// Condition codes are the listed bit values (1, 2, 4, ... 512); a value
// reads as the names of its bits joined; a name gives its value.
long oab_fld_condcode_to_str(long code, std::string* text);
long oab_fld_str_to_condcode(const char* text, long* code);
// Location types 0 to 4: "UNKN", "CUST", "INTR", "RSEL", "INDV".
const char* oab_fld_loc_type_name(long value);
long oab_fld_loc_type_value(const char* text);
// The status word of a value: "Active" for 0, "Inactive" otherwise.
const char* oab_fld_status_word(long value);
// Forgets the cached activity names (the message texts may have changed).
void oab_fld_forget_names();
