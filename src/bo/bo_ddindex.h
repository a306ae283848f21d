// KDdIndex, an index of a dictionary table whose key parts (joined by ':')
// name fields or relations of the table, and KDdJoin, a join of a view that
// ties two of its aliases through a relation. Both are owned by their table.
#pragma once

#include "bo/bo_ddif.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_obj.h"

namespace KCLASSIC {

class KFile;

class KDdTable;
class KDdRelation;

class ORB_API KDdIndex : public KObject, public IDdIndex {
  KDECLARE_DYNCREATE(KDdIndex)

 public:
  KDdIndex() = default;
  explicit KDdIndex(KDdTable* table) : m_pTable(table) {}
  KDdIndex(KMsg& msg, KDdTable* table);
  KDdIndex(KDdTable* table, const KZString& name, long flags, long keyCount, const KZString& keyList);
  KDdIndex(const KDdIndex& other) : KObject(), IDdIndex() { *this = other; }
  KDdIndex& operator=(const KDdIndex& other);
  int operator==(const KDdIndex& other) const;

  void Serialize(KArchive& ar) override;
  // Schema text: the index's item.
  void OutputSchema(KFile& file);
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  const KZString& GetName() const override { return m_strName; }
  long GetFlags() const override { return m_lFlags; }
  IDdTable* GetTable() const override;
  const KZString& GetFieldNames() const override { return m_strKeyList; }
  // The i-th key part; empty outside the key count or past the list's end.
  KZString GetFieldNameAt(long i) const override;
  void UpdateData(IDdDataDict* dict, KZString* name, long* flags, KZString* keyList) override;

  long GetKeyCount() const { return m_lKeyCount; }
  KDdTable* GetOwner() const { return m_pTable; }
  void SetOwner(KDdTable* table) { m_pTable = table; }

 private:
  long m_lKeyCount = 0;
  long m_lFlags = 0;
  KZString m_strName;
  KZString m_strKeyList;
  KDdTable* m_pTable = nullptr;
};

class ORB_API KDdJoin : public KObject, public IDdJoin {
  KDECLARE_DYNCREATE(KDdJoin)

 public:
  KDdJoin() = default;
  explicit KDdJoin(KDdTable* view) : m_pView(view) {}
  KDdJoin(long tableId, long relationId, const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags,
          const KZString& comment, KDdTable* view);
  KDdJoin(const KDdJoin& other, KDdTable* view);
  KDdJoin(const KDdJoin& other) : KObject(), IDdJoin() { *this = other; }
  // Every member but the relation cache, which is cleared.
  KDdJoin& operator=(const KDdJoin& other);
  int operator==(const KDdJoin& other) const;

  void Serialize(KArchive& ar) override;
  // Schema text: the join's item; a missing relation throws.
  void OutputSchema(IDdDataDict* dict, KFile& file);
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  // Looks table and relation up again on every call; throws 0x8B00193 or
  // 0x8B00195 when either is missing.
  IDdRelation* GetRel(IDdDataDict* dict) override;
  const KZString& GetPrimaryAlias() const override { return m_strPrimaryAlias; }
  const KZString& GetForeignAlias() const override { return m_strForeignAlias; }
  const KZString& GetComment() const override { return m_strComment; }
  long GetJoinFlag() const override { return m_lJoinFlags; }
  IDdTable* GetView() const override;
  void UpdateData(IDdDataDict* dict, KZString* tableName, KZString* relName, KZString* primaryAlias,
                  KZString* foreignAlias, long* joinFlags, KZString* comment) override;

  long GetTableId() const { return m_lTableId; }
  void SetTableId(long id) { m_lTableId = id; }
  long GetRelationId() const { return m_lRelationId; }
  KDdTable* GetOwner() const { return m_pView; }
  void SetOwner(KDdTable* view) { m_pView = view; }
  // GetRel as the record, or null when table or relation is missing.
  KDdRelation* FindRel(IDdDataDict* dict);

 private:
  long m_lTableId = DD_NO_ID;
  long m_lRelationId = DD_NO_ID;
  KZString m_strPrimaryAlias;
  KZString m_strForeignAlias;
  long m_lJoinFlags = 0;
  KZString m_strComment;
  KDdRelation* m_pRel = nullptr;
  KDdTable* m_pView = nullptr;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdIndex*& index);
ORB_API KArchive& operator>>(KArchive& ar, KDdJoin*& join);

} // namespace KCLASSIC
