// The object id of the object store: type word (type id in its low 17 bits),
// object number (site id in its top 4 bits) and sub-number.
#pragma once

struct obj_id {
  long type;
  long num;
  long sub;
};
