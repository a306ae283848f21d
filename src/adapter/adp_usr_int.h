// What the user, group and grant calls share.
#pragma once

class KAdpConnId;

constexpr long ADP_USR_GROUPS = 3;  // 0 user, 1 administrator, 2 reporter

// 1 when the system manages the server's logins, users and groups
// (boolean property 5 of the configuration).
bool adp_usr_managed(KAdpConnId* con);
// 0 when the name is a plain name (letters, digits, "_", "#", "$"); else
// pushes and returns 0x60000C.
long adp_usr_check_name(const char* name);
// The group's privilege text ("" outside 0..2).
const char* adp_usr_privilege(long group);
