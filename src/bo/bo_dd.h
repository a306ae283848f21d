// The data dictionary's table and field as the record set sees them: a
// table finds its field by name, case-insensitively, in its name map; a
// field is held through its interface IDdField. The business-object
// utilities give these classes the rest of their members.
#pragma once

#include "kclassic/kc_mapnc.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class ORB_API IDdField {
 public:
  virtual ~IDdField() = default;
};

class ORB_API KDdField : public KObject, public IDdField {};

class ORB_API KDdTable : public KObject {
 public:
  // The field of that name whatever its letter case; NULL when the table
  // has none.
  virtual IDdField* FindField(const KZString& name);

 protected:
  // Fields by lower-cased name.
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdField*> m_mapFieldsByName;
};

} // namespace KCLASSIC
