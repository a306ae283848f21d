// The interfaces through which the dictionary hands out its table records:
// IDdField, IDdRelation, IDdIndex, IDdJoin and IDdTable. Callers (hosts,
// other records) call through them, so the slots keep this order. Records
// stay owned by their table; nobody deletes through an interface.
#pragma once

#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class IDdDataDict;
class IDdTable;
class IDdChoice;

// Field flags.
inline constexpr long DD_FLD_PREDEFINED = 0x1;
inline constexpr long DD_FLD_MANDATORY = 0x8;
inline constexpr long DD_FLD_BINARY = 0x20;
inline constexpr long DD_FLD_ALLOW_NULL = 0x80;
inline constexpr long DD_FLD_CURRENCY = 0x2000;
inline constexpr long DD_FLD_FOREIGN_KEY = 0x4000;
inline constexpr long DD_FLD_FK_REQUIRED = 0x8000;
inline constexpr long DD_FLD_FK_OTOP = 0x10000;
inline constexpr long DD_FLD_FOCUS = 0x20000;
inline constexpr long DD_FLD_OBJID = 0x40000;
inline constexpr long DD_FLD_NEW = 0x80000;
// The DB type a currency field uses.
inline constexpr long DD_DBTYPE_CURRENCY = 12;
// A view field with this generic id shows the view's key.
inline constexpr long DD_GENID_VIEW_KEY = 3;
inline constexpr long DD_NO_ID = -1;

// Relation flags.
inline constexpr long DD_REL_EXCLUSIVE = 0x1;
inline constexpr long DD_REL_USER_DEFINED = 0x20000;
inline constexpr long DD_REL_REQUIRED = 0x40000;
inline constexpr long DD_REL_NEW = 0x80000;
// Set on a relation that an index key names.
inline constexpr long DD_REL_INDEXED = 0x10000000;
inline constexpr long DD_REL_LOW_MASK = 0xFFFF;
inline constexpr long DD_REL_HIGH_MASK = 0xFFFF0000L;

// Index and join flags.
inline constexpr long DD_IDX_UNIQUE = 0x1;
inline constexpr long DD_IDX_NEW = 0x2;
inline constexpr long DD_JOIN_OUTER_PRIMARY = 0x1;
inline constexpr long DD_JOIN_OUTER_FOREIGN = 0x2;
inline constexpr long DD_JOIN_NEW = 0x4;

// Table flags.
inline constexpr long DD_TBL_VIEW = 0x4;
inline constexpr long DD_TBL_GENID_SHARED = 0x20;
inline constexpr long DD_TBL_LOCAL = 0x10000;
inline constexpr long DD_TBL_CACHE_OBJIDS = 0x80000;

class ORB_API IDdField {
 public:
  virtual long GetId() const = 0;
  virtual long GetGenericId() const = 0;
  virtual long GetTableId() const = 0;
  virtual long GetDBType() const = 0;
  virtual long GetArraySize() const = 0;
  virtual long GetDecPrecision() const = 0;
  virtual long GetDecScale() const = 0;
  virtual long GetFlags() const = 0;
  virtual const KZString& GetName() const = 0;
  virtual const KZString& GetComment() const = 0;
  virtual const KZString& GetPhysicalName() const = 0;
  virtual const KZString& GetOldName() const = 0;
  virtual KZString GetDefaultValue() const = 0;
  virtual IDdTable* GetTable() const = 0;
  virtual long GetOriginTableId() const = 0;
  virtual long GetOriginFieldId() const = 0;
  virtual long GetOrigDBType() const = 0;
  virtual long GetCmnType() const = 0;
  virtual int IsForeignKey(int* required, int* otop) const = 0;
  virtual IDdField* GetOriginField(IDdDataDict* dict, long fetch) = 0;
  virtual const KZString& GetSrcAlias() const = 0;
  virtual int IsFlagSet(int mask) const = 0;
  virtual int IsKeyField() const = 0;
  virtual int IsChoice() const = 0;
  virtual KZString& GetChoiceTableName() = 0;
  virtual KZString& GetChoiceRelName() = 0;
  virtual KZString& GetDefaultChoiceListName() = 0;
  virtual IDdChoice* GetDefaultChoice(IDdDataDict* dict, long language) = 0;
  virtual void UpdateTableField(IDdDataDict* dict, KZString* physicalName, KZString* name, long* dbType,
                                long* arraySize, long* decPrecision, long* decScale, long* flags, long* cmnType,
                                long* genericId, KZString* defaultValue, KZString* comment) = 0;
  virtual void UpdateViewField(IDdDataDict* dict, KZString* name, KZString* secondName, long* genericId,
                               KZString* originTable, KZString* originField, KZString* srcAlias,
                               KZString* comment) = 0;
  virtual int IsObjidType() const = 0;

 protected:
  ~IDdField() = default;
};

class ORB_API IDdRelation {
 public:
  enum RELTYPE { OTM = 1, MTO = 2, OTOP = 3, OTOF = 4, MTM = 5 };

  virtual long GetId() const = 0;
  virtual long GetGenericId() const = 0;
  virtual long GetFlags() const = 0;
  virtual long GetFullRelType() const = 0;
  virtual long GetFullPhysicalRelType() const = 0;
  virtual long GetPhysicalRelType() const = 0;
  virtual long GetRelType() const = 0;
  virtual const KZString& GetMTMTableName(IDdDataDict* dict) = 0;
  virtual const KZString& GetName() const = 0;
  virtual const KZString& GetPhysicalName() const = 0;
  virtual const KZString& GetComment() const = 0;
  virtual const KZString& GetRoleField() const = 0;
  virtual const KZString& GetRoleValue() const = 0;
  virtual const KZString& GetInverseName() const = 0;
  virtual const KZString& GetInverseTableName() const = 0;
  virtual const KZString& GetFromTableName() const = 0;
  virtual const KZString& GetFocusFieldName() const = 0;
  virtual const KZString& GetFieldIdName() const = 0;
  virtual const KZString& GetPhysRelName() const = 0;
  virtual IDdTable* GetFromTable() const = 0;
  virtual const KZString& GetExclusiveSetName() const = 0;
  virtual IDdTable* GetInverseTable(IDdDataDict* dict, int fetch) = 0;
  virtual IDdRelation* GetInverse(IDdDataDict* dict, int fetch) = 0;
  virtual int IsFlagSet(int mask) const = 0;
  virtual void UpdateData(IDdDataDict* dict, KZString* name, KZString* secondName, long* relType,
                          long* genericId, long* lowFlags, long* highFlags, KZString* focusField,
                          KZString* physRelName, KZString* exclusiveSet, KZString* comment) = 0;
  virtual long GetInverseRelType(long relType) const = 0;

 protected:
  ~IDdRelation() = default;
};

class ORB_API IDdIndex {
 public:
  virtual const KZString& GetName() const = 0;
  virtual long GetFlags() const = 0;
  virtual IDdTable* GetTable() const = 0;
  virtual const KZString& GetFieldNames() const = 0;
  virtual KZString GetFieldNameAt(long i) const = 0;
  virtual void UpdateData(IDdDataDict* dict, KZString* name, long* flags, KZString* keyList) = 0;

 protected:
  ~IDdIndex() = default;
};

class ORB_API IDdJoin {
 public:
  virtual long GetJoinFlag() const = 0;
  virtual IDdRelation* GetRel(IDdDataDict* dict) = 0;
  virtual const KZString& GetPrimaryAlias() const = 0;
  virtual const KZString& GetForeignAlias() const = 0;
  virtual IDdTable* GetView() const = 0;
  virtual const KZString& GetComment() const = 0;
  virtual void UpdateData(IDdDataDict* dict, KZString* tableName, KZString* relName, KZString* primaryAlias,
                          KZString* foreignAlias, long* joinFlags, KZString* comment) = 0;

 protected:
  ~IDdJoin() = default;
};

class ORB_API IDdTable {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetName() const = 0;
  virtual const KZString& GetComment() const = 0;
  virtual int IsFlagSet(int bits) const = 0;
  virtual void SetFlag(int bits) = 0;
  virtual int GetFieldCount() const = 0;
  virtual IDdField* GetField(int i) const = 0;
  virtual int GetBinaryFieldCount() const = 0;
  virtual IDdField* GetBinaryField(int i) const = 0;
  virtual IDdField* FindField(long id) = 0;
  virtual IDdField* FindField(const KZString& name) = 0;
  virtual IDdField* FindKeyField() const = 0;
  virtual int IsView() const = 0;
  virtual int GetRelationCount() const = 0;
  virtual IDdRelation* GetRelation(int i) const = 0;
  virtual IDdRelation* FindRelation(IDdDataDict* dict, const KZString& name) = 0;
  virtual IDdRelation* FindRelation(IDdDataDict* dict, long id) = 0;
  virtual int GetJoinCount() const = 0;
  virtual IDdJoin* GetJoin(int i) const = 0;
  virtual int GetIndexCount() const = 0;
  virtual IDdIndex* GetIndex(int i) const = 0;
  virtual const KZString& GetObjGroup() const = 0;
  virtual KDWordArray& GetViewArray() = 0;
  virtual IDdField* CreateTableField(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                     long dbType, long arraySize, long decPrecision, long decScale, long flags,
                                     long cmnType, long genericId, const KZString& defaultValue,
                                     const KZString& comment) = 0;
  virtual IDdField* CreateViewField(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                    long genericId, const KZString& originTable, const KZString& originField,
                                    const KZString& alias, const KZString& comment) = 0;
  virtual IDdRelation* CreateRelation(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                      long relType, long genericId, long lowFlags, long highFlags,
                                      const KZString& inverseTable, const KZString& inverseName,
                                      const KZString& focusField, const KZString& physRelName,
                                      const KZString& exclusiveSet, const KZString& comment) = 0;
  virtual IDdIndex* CreateIndex(IDdDataDict* dict, const KZString& name, long flags, const KZString& keyList) = 0;
  virtual IDdJoin* CreateJoin(IDdDataDict* dict, const KZString& tableName, const KZString& relName,
                              const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags,
                              const KZString& comment) = 0;
  virtual void DeleteViewField(IDdDataDict* dict, IDdField* field, int cascade) = 0;
  virtual void DeleteTableField(IDdDataDict* dict, IDdField* field) = 0;
  virtual void DeleteIndex(IDdDataDict* dict, IDdIndex* index) = 0;
  virtual void DeleteJoin(IDdDataDict* dict, IDdJoin* join, int cascade) = 0;
  virtual void DeleteRelation(IDdDataDict* dict, IDdRelation* relation, int cascade) = 0;
  virtual void UpdateTable(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) = 0;
  virtual void UpdateView(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) = 0;

 protected:
  ~IDdTable() = default;
};

} // namespace KCLASSIC
