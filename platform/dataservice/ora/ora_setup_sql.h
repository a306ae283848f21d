// The set-up script of the Oracle-dialect service (ora_setup.sql), compiled
// in: statements separated by lines holding only "/".
#pragma once

const char* ora_setup_sql();
