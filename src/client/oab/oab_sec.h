// Row-level security of queries: the pieces that compile a restriction's
// values and operator and combine a query's own conditions with the
// restriction texts.
#pragma once

#include <string>

struct utl_ty_col;

constexpr long OAB_SEC_USER = 1;
constexpr long OAB_SEC_SITE = 2;
constexpr long OAB_SEC_CONTACT = 4;
constexpr long OAB_SEC_EMPLOYEE = 8;

// The value text of a restriction from the value objects' field: one value
// (or none) as prefix, value, suffix; several as ('v1','v2',...) with each
// value, prefix and suffix included, quoted and its single quotes doubled.
// Longs are written in decimal, texts as they stand, other types add nothing.
long oab_qry_bld_one_secure_value(utl_ty_col* objects, long field_id, const char* prefix, const char* suffix,
                                  std::string* out);
// The operator of a restriction with its number of values: several values
// turn it into "is not in" (negative operators) or "is in".
long oab_qry_secure_operator(long op, long num_values);
// The combining format of a rewritten power query: the caller's own
// conditions (their format, or "%s" per condition joined by AND or OR) and
// the text restrictions of the type; n counts the restriction conditions.
std::string oab_qry_secure_format(long own_count, const char* own_format, char join_and, long n,
                                  const std::string& texts);

// ---- Set-up, compiled conditions and the rewriting of queries ----

struct dbs_ty_lobj;
struct dbs_ty_pwr_list;
struct dbs_ty_pwr_cond;
struct utl_ty_estr;

// Object types and relations of the CRM schema the security reads.
constexpr long OAB_SEC_USER_TYPE = 20;
constexpr long OAB_SEC_CLASS_TYPE = 33;
constexpr long OAB_SEC_RESTRICTION_TYPE = 388;
constexpr long OAB_SEC_PWR_QUERY_TYPE = 203;
constexpr long OAB_SEC_USER2CLASS = 3;         // on the user
constexpr long OAB_SEC_CLASS2RESTRICTION = 5;  // on the privilege class
constexpr long OAB_SEC_EMPL2SITE = 10;         // on the employee
constexpr long OAB_SEC_USER2CONTACT = 18;      // on the user
constexpr long OAB_SEC_CONTACT2ROLE = 5;       // on the contact
constexpr long OAB_SEC_ROLE2SITE = 0;          // on the contact role
constexpr long OAB_SEC_ROLE_PRIMARY = 2;       // contact-role field: 1 = primary site

// Restriction fields.
constexpr long OAB_RST_TYPE = 1;
constexpr long OAB_RST_START = 2;
constexpr long OAB_RST_PATH = 3;
constexpr long OAB_RST_PREFIX = 4;
constexpr long OAB_RST_VALUE_PATH = 5;
constexpr long OAB_RST_SUFFIX = 6;
constexpr long OAB_RST_OPERATOR = 7;
constexpr long OAB_RST_IS_COND = 9;

// A condition restriction compiled once (the restriction's user pointer).
struct oab_ty_secure_cond {
  utl_ty_estr* path;
  long op;
  utl_ty_estr* value;
};

// Installs the rewriting procedures in the store / cleans up.
long oab_qry_init();
long oab_qry_term();

// The set-up of a session: once security is found enabled it reads the
// privilege class, its restrictions and the start objects; a database
// without security is asked again next time. A failure leaves nothing made.
long oab_qry_retrieve_secure_objs();
long oab_qry_cache_secure_objs();
long oab_qry_cleanup_secure_objs();
// 1 when the session's privilege class has restrictions (after the set-up).
long oab_qry_is_there_security(char* on);
// The cached start object of a selector (1 user, 2 site, 4 contact, 8
// employee; owned by this module), or null.
long oab_qry_startobj_byflag(long selector, dbs_ty_lobj** out);

// 0, or 0xE000C8 with the restricted type's name.
long oab_qry_secure_obj_chk(dbs_ty_lobj* restriction);
// Compiles a condition restriction and attaches the result to it.
long oab_qry_bld_one_secure_cond(dbs_ty_lobj* restriction);
// The restrictions of a type: *count the condition restrictions (compiled
// as needed), texts receives the text restrictions. Condition restrictions
// without a text restriction give 0xE000C8.
long oab_qry_bld_secure_cond_bytyp(long type, long* count, utl_ty_estr* texts, long flag);
// The compiled conditions of a type into conds, in collection order.
long oab_qry_cpy_secure_cond_bytyp(long type, dbs_ty_pwr_cond* conds);

// The store's power-query procedure: a new record with the restriction
// conditions appended and the combining format extended (*rewritten 1).
long oab_qry_secure_pwr_query(dbs_ty_pwr_list* query, dbs_ty_pwr_list** out, char* rewritten, long flag);
// The store's simple-query procedure: desc is the simple-query record,
// orders the orderings and num_orders the address of their count (or null).
// A secured query comes back as a power-query object (type 203).
long oab_qry_secure_simple_query(void* desc, void* orders, void* num_orders, dbs_ty_lobj** out, long flag);
