// The application services' shared connection: the database connection the
// services read through (set by the login; tests set it directly).
#pragma once

class KAdpConnId;

extern KAdpConnId* oab_db_con_id;

// Object-type ids are the low 17 bits of an object id's type word.
constexpr long OAB_TYPE_MASK = 0x1ffff;
