// The application services' shared connection.
#include "client/oab/oab_main.h"

KAdpConnId* oab_db_con_id = nullptr;
