// KDdRelation: one relation of a dictionary table: its type, the inverse
// relation in the other table and, for members of an exclusive set, the
// type field and object-id field the set shares. The table it starts from
// owns it. Changing its type adds or removes its implicit foreign-key field.
#pragma once

#include "bo/bo_ddif.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_obj.h"

namespace KCLASSIC {

class KFile;

class KDdTable;

// A relation type reduced to its low three bits (the sign of the value kept).
inline long dd_rel_type_of(long fullType) { return fullType % 8; }

class ORB_API KDdRelation : public KObject, public IDdRelation {
  KDECLARE_DYNCREATE(KDdRelation)

 public:
  KDdRelation() = default;
  explicit KDdRelation(KDdTable* table) : m_pFromTable(table) {}
  // A copy for table (both caches cleared).
  KDdRelation(KDdTable* table, const KDdRelation& other);
  KDdRelation(const KZString& physicalName, const KZString& name, long fullPhysicalType, long id, long genericId,
              long flags, const KZString& inverseTable, const KZString& inverseName, const KZString& focusField,
              const KZString& physRelName, const KZString& comment, KDdTable* table,
              const KZString& exclusiveSet);
  KDdRelation(const KDdRelation& other, const char* name);
  KDdRelation(const KDdRelation& other) : KObject(), IDdRelation() { *this = other; }
  KDdRelation& operator=(const KDdRelation& other);
  // Every member but the exclusive set name.
  int operator==(const KDdRelation& other) const;

  void Serialize(KArchive& ar) override;
  // Schema text: the relation's item, each line after prefix.
  void OutputSchema(KFile& file, const KZString& prefix);
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  long GetGenericId() const override { return m_lGenericId; }
  long GetFlags() const override { return m_lFlags; }
  long GetFullRelType() const override { return m_lFullType; }
  long GetFullPhysicalRelType() const override { return m_lFullPhysicalType; }
  long GetPhysicalRelType() const override { return dd_rel_type_of(m_lFullPhysicalType); }
  long GetRelType() const override;
  const KZString& GetMTMTableName(IDdDataDict* dict) override;
  const KZString& GetName() const override { return m_strName.IsEmpty() ? m_strPhysicalName : m_strName; }
  const KZString& GetPhysicalName() const override { return m_strPhysicalName; }
  const KZString& GetExclusiveSetName() const override { return m_strExclusiveSet; }
  const KZString& GetComment() const override { return m_strComment; }
  const KZString& GetRoleField() const override { return m_strRoleField; }
  const KZString& GetRoleValue() const override { return m_strRoleValue; }
  const KZString& GetInverseName() const override { return m_strInverseName; }
  const KZString& GetInverseTableName() const override { return m_strInverseTable; }
  void SetInverseTableName(const KZString& name) { m_strInverseTable = name; }
  const KZString& GetFocusFieldName() const override { return m_strFocusField; }
  const KZString& GetFieldIdName() const override { return m_strPhysRelName; }
  const KZString& GetPhysRelName() const override { return m_strPhysRelName; }
  const KZString& GetFromTableName() const override;
  IDdTable* GetFromTable() const override;
  IDdTable* GetInverseTable(IDdDataDict* dict, int fetch) override;
  IDdRelation* GetInverse(IDdDataDict* dict, int fetch) override;
  int IsFlagSet(int mask) const override { return (m_lFlags & mask) != 0; }
  void UpdateData(IDdDataDict* dict, KZString* name, KZString* secondName, long* relType, long* genericId,
                  long* lowFlags, long* highFlags, KZString* focusField, KZString* physRelName,
                  KZString* exclusiveSet, KZString* comment) override;
  long GetInverseRelType(long relType) const override;

  // A change without checks, used by the editing code.
  void ForceUpdateInfo(IDdDataDict* dict, KZString* inverseName, long* fullPhysicalType, long* genericId,
                       long* flags, KZString* focusField, KZString* physRelName, KZString* exclusiveSet);

  KDdTable* GetOwner() const { return m_pFromTable; }
  void SetOwner(KDdTable* table) { m_pFromTable = table; }
  void AddFlags(long bits) { m_lFlags |= bits; }
  // The inverse cache, when set.
  KDdRelation* CachedInverse() const { return m_pInverse; }
  void ForgetCaches() {
    m_pInverse = nullptr;
    m_pInverseTable = nullptr;
  }

 private:
  // Marks the exclusive set's type and object-id fields in the from table.
  void MarkSetFields();
  // Drops this relation's implicit foreign-key field named fieldName.
  void RemoveImplicitKey(const KZString& fieldName);
  // Adds the implicit foreign-key field when the type asks for one.
  void AddImplicitKey();
  // Hands the exclusive-set fields on to the other members of the old set.
  void PropagateSet(IDdDataDict* dict, const KZString& oldSet);

  KZString m_strPhysicalName;
  KZString m_strName;
  long m_lFullPhysicalType = 0;
  long m_lFullType = 0;
  KZString m_strMTMTableName;
  long m_lId = 0;
  long m_lGenericId = 0;
  long m_lFlags = 0;
  KZString m_strInverseTable;
  KZString m_strInverseName;
  KZString m_strFocusField;
  KZString m_strPhysRelName;
  KZString m_strComment;
  KDdTable* m_pInverseTable = nullptr;
  KDdRelation* m_pInverse = nullptr;
  KDdTable* m_pFromTable = nullptr;
  KZString m_strRoleField;
  KZString m_strRoleValue;
  KZString m_strExclusiveSet;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdRelation*& relation);

} // namespace KCLASSIC
