// Prepared answers of the scripted data service that several adapter suites
// give to a catalogue probe ("select name from ..."): a row naming the
// object, or no row.
#pragma once

#include "platform/dataservice/ds_script.h"

namespace adp_script_answers {

// The probe finds the object (a row with its name).
inline ds_script::result found(const char* name = "x") { return {{"name"}, {{ds_script::cell::t(name)}}}; }
// The probe finds nothing.
inline ds_script::result none() { return {{"name"}, {}}; }

}  // namespace adp_script_answers
