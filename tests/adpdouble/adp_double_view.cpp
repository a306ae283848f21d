// The origin of view fields, answering through the double: a hook fills the
// outputs; without one a field has no origin.
#include <string>

#include "adapter/adp_sch.h"
#include "adpdouble/adp_double.h"

long adp_sch_view_field_info(KAdpConnId*, typ_sch_srec*, long index, typ_sch_srec** source, long* source_field,
                             const char** alias) {
  *source = nullptr;
  *source_field = -1;
  *alias = nullptr;
  return adp_double::record("adp_sch_view_field_info", {std::to_string(index)}, {&index, source, source_field, alias});
}
