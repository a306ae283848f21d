// The application services' database module: server login and database
// open with the time zones the clock needs, the user's login and the
// session's objects, configuration items and the clock configuration.
#pragma once

#include <string>

#include "core/clk/clk_tz.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct ost_ty_state;
struct utl_ty_col;

// Object types and fields the module reads.
constexpr long OAB_DB_USER_TYPE = 20;
constexpr long OAB_DB_SITE_TYPE = 52;
constexpr long OAB_DB_ZONE_TYPE = 126;
constexpr long OAB_DB_DAYLIGHT_TYPE = 269;
constexpr long OAB_DB_CFG_TYPE = 310;
constexpr long OAB_DB_DEFAULT_FIELD = 0x1000016;
constexpr long OAB_DB_DL_START = 0x100001d;
constexpr long OAB_DB_DL_END = 0x100001e;
constexpr long OAB_DB_SERVER_TYPE_SPECIAL = 64;
constexpr long OAB_DB_APP_TYPE_NO_FILE = 1009;

// Configuration-item fields.
constexpr long OAB_CFG_STAMP = 1;
constexpr long OAB_CFG_NAME = 2;
constexpr long OAB_CFG_REFRESH = 3;
constexpr long OAB_CFG_INT = 4;
constexpr long OAB_CFG_TEXT5 = 5;
constexpr long OAB_CFG_TEXT6 = 6;
constexpr long OAB_CFG_REREAD = -1;

// The application type (0 until the host sets it).
extern long cam_app_type;

// Connection, timeout, driver and schema-file mode.
KAdpConnId* oab_db_get_con_id();
long oab_db_set_con_id(KAdpConnId* id);
long oab_db_set_timeout(long value);
long oab_db_get_timeout();
long oab_db_set_db_driver(const char* name);
// The driver handed to the store at the next server login (255 characters
// at most; a longer name is refused with 1).
long oab_db_set_driver_name(const char* name);
long oab_db_set_schema_file_mode(char value);
long oab_db_disable_ansi_to_oem();

long oab_db_server_login(const char* server, const char* login, const char* password, long flag);
long oab_db_server_logout();
long oab_db_dbase_open(const char* name);
long oab_db_dbase_close();
long oab_db_fast_reconnect();
long oab_db_fast_disconnect();

// Zones: the module's records, loading by item name, filling and freeing.
clk_ty_tz* oab_db_server_tz();
clk_ty_tz* oab_db_master_tz();
clk_ty_tz* oab_db_client_tz();
long oab_db_get_time_zone(clk_ty_tz* record, long name_code, long missing_code, long undefined_code);
long oab_db_set_time_zone_info(clk_ty_tz* record, dbs_ty_lobj* zone, long count, dbs_ty_lobj* const* daylight);
long oab_db_free_time_zone(clk_ty_tz* record);
long oab_db_get_server_tz(clk_ty_tz* record);
long oab_db_get_site_time_zone(const obj_id* site, clk_ty_tz* record);
long oab_db_get_day_light_hr(clk_ty_tz* record, utl_ty_col* out, long direction);

// Default objects, the user login and the session's objects.
long oab_db_get_default(ost_ty_state* state, long type, long flags, dbs_ty_lobj** out);
// The stored spelling of the login name goes into globals 2 and 33; the
// caller's text is not written.
long oab_db_user_login(const char* database, const char* login, const char* password, long* flag);
// The one user of the login name (0xe0009a several, 0xe0009b none), its
// stored login name into *stored (may be null) and the session's objects.
long oab_db_check_password(const char* login, const char* password, obj_id* user, std::string* stored);
long oab_db_cache_global_objects(dbs_ty_lobj* user);

// Configuration items (names matched without regard to case).
long oab_db_get_config_item(const char* name, dbs_ty_lobj** object, long* integer, const char** text5,
                            const char** text6);
long oab_db_get_user_config_item(const char* name, dbs_ty_lobj** object, long* integer, const char** text5,
                                 const char** text6);
long oab_db_get_config_col(utl_ty_col** out);
long oab_db_cfg_inval_cache();
long oab_db_user_cfg_inval_cache();
long oab_db_clock_config();
// Whether database open reads the schema file (the mode is set and the
// application type is not 1009).
bool oab_db_uses_schema_file();
