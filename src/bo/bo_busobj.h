// KDdBusObj: the descriptor of one business object (name, id, the id of
// the table or view that stores it, and a second name). It lends the
// dictionary's table and relation look-ups to the business object; the
// table is looked up on every call, so a descriptor never keeps a table
// the dictionary has deleted. Travels by archive and by message.
#pragma once

#include <cstdint>

#include "bo/bo_dd.h"
#include "bo/bo_msg.h"

namespace KCLASSIC {

class ORB_API IDdBusObj {
 public:
  virtual long GetId() const = 0;
  virtual long GetTableId() const = 0;
  virtual const KZString& GetName() const = 0;
  virtual IDdTable* GetTable(IDdDataDict* dict) = 0;
  virtual IDdRelation* FindRelation(IDdDataDict* dict, const KZString& name) = 0;
  virtual IDdRelation* FindRelation(IDdDataDict* dict, long id) = 0;

 protected:
  ~IDdBusObj() = default;
};

// Id and table id of a default descriptor.
inline constexpr long BO_BUSOBJ_NO_ID = -1;

class ORB_API KDdBusObj : public KObject, public IDdBusObj {
  KDECLARE_DYNCREATE(KDdBusObj)

 public:
  KDdBusObj() = default;
  KDdBusObj(const KZString& name, long id, long tableId, KZString secondName);
  KDdBusObj(const KDdBusObj& other) : KObject() { *this = other; }
  KDdBusObj& operator=(const KDdBusObj& other);
  // Names, ids, table ids and second names equal (texts case-sensitive).
  int operator==(const KDdBusObj& other) const;

  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  long GetTableId() const override { return m_lTableId; }
  const KZString& GetName() const override { return m_strName; }
  const KZString& GetSecondName() const { return m_strSecondName; }
  // The dictionary's table of the table id (fetched on a miss), or null.
  IDdTable* GetTable(IDdDataDict* dict) override;
  // The table's relation, or null when the table is not found.
  IDdRelation* FindRelation(IDdDataDict* dict, const KZString& name) override;
  IDdRelation* FindRelation(IDdDataDict* dict, long id) override;

 private:
  KZString m_strName;
  int32_t m_lId = int32_t(BO_BUSOBJ_NO_ID);
  int32_t m_lTableId = int32_t(BO_BUSOBJ_NO_ID);
  KZString m_strSecondName;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdBusObj*& busObj);

} // namespace KCLASSIC
