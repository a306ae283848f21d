// Client interface: the one database session of the process.
#pragma once

#include "client/cpi_ty.h"
#include "orb_api.h"

ORB_API long cpi_sess_login(const char* server_name, const char* database_name,
                            const char* login_name, const char* password, long reserved,
                            long* out_con_id);
ORB_API long cpi_sess_login_with_options(const char* server_name, const char* database_name,
                                         const char* login_name, const char* password,
                                         long reserved, long* out_con_id, const char* cache_dir);
ORB_API long cpi_sess_logout(long con_id);
// Nonzero: the database connection is lost.
ORB_API long cpi_sess_ping(long con_id);
ORB_API long cpi_sess_use(long con_id);
ORB_API long cpi_sess_reconnect();
ORB_API long cpi_sess_disconnect();
ORB_API long cpi_sess_set_option(long con_id, long option, const cpi_ty_opt_value* value);
ORB_API long cpi_sess_get_option(long con_id, long option, cpi_ty_opt_value* out_value);
ORB_API long cpi_sess_switch_user(const char* current_login_name, const char* new_login_name,
                                  long con_id);
ORB_API long cpi_sess_revert_user(char* out_login_name);
ORB_API long cpi_sess_validate_user(const char* login_name, const char* password, long reserved,
                                    long* out_valid);
ORB_API long cpi_sess_dspch_flush_cache();
ORB_API long cpi_sess_acpt_flush_cache();
