// KDdField: one field of a dictionary table or view: its names, types and
// flags, and for a view field the table field it shows. Its table owns it.
// Message form carries every member but the origin cache and the table;
// the archive form leaves out the old name and the comment too.
#pragma once

#include "bo/bo_ddif.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_obj.h"

namespace KCLASSIC {

class KFile;

class KDdTable;

class ORB_API KDdField : public KObject, public IDdField {
  KDECLARE_DYNCREATE(KDdField)

 public:
  KDdField() = default;
  explicit KDdField(KDdTable* table) : m_pTable(table) {}
  KDdField(const KZString& physicalName, const KZString& name, long tableId, long dbType, long arraySize,
           long decPrecision, long decScale, long flags, long cmnType, long genericId, long id,
           const KZString& defaultValue, const KZString& comment, KDdTable* table);
  // A copy known by another logical name (the old name stays empty).
  KDdField(const KDdField& other, const char* name);
  KDdField(KMsg& msg, KDdTable* table);
  KDdField(const KDdField& other) : KObject(), IDdField() { *this = other; }
  // Every member but the old name; the origin cache is cleared.
  KDdField& operator=(const KDdField& other);
  int operator==(const KDdField& other) const;

  void Serialize(KArchive& ar) override;
  // Schema text: the field's item, preceded by its separator unless it is
  // the first item written. 1 when an item was written; nothing (not even
  // the separator) for a field of a type the schema text has no name for.
  int OutputSchema(IDdDataDict* dict, KFile& file, int first);
  int WriteSchemaTableField(KFile& file, int first);
  int WriteSchemaBinaryField(KFile& file, int first);
  int WriteSchemaViewField(IDdDataDict* dict, KFile& file);
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  long GetGenericId() const override { return m_lGenericId; }
  const KZString& GetName() const override { return m_strName.IsEmpty() ? m_strPhysicalName : m_strName; }
  const KZString& GetPhysicalName() const override { return m_strPhysicalName; }
  KZString GetDefaultValue() const override { return m_strDefaultValue; }
  const KZString& GetOldName() const override { return m_strOldName; }
  const KZString& GetComment() const override { return m_strComment; }
  long GetTableId() const override { return m_lTableId; }
  long GetDBType() const override { return m_lDBType; }
  long GetOrigDBType() const override { return m_lOrigDBType; }
  long GetArraySize() const override { return m_lArraySize; }
  long GetDecPrecision() const override { return m_lDecPrecision; }
  long GetDecScale() const override { return m_lDecScale; }
  long GetFlags() const override { return m_lFlags; }
  long GetCmnType() const override { return m_lCmnType; }
  long GetOriginTableId() const override { return m_lOriginTableId; }
  long GetOriginFieldId() const override { return m_lOriginFieldId; }
  IDdTable* GetTable() const override;
  int IsForeignKey(int* required, int* otop) const override;
  IDdField* GetOriginField(IDdDataDict* dict, long fetch) override;
  const KZString& GetSrcAlias() const override { return m_strSrcAlias; }
  int IsFlagSet(int mask) const override { return (m_lFlags & mask) != 0; }
  int IsKeyField() const override;
  int IsChoice() const override { return m_bIsChoice; }
  KZString& GetChoiceTableName() override;
  KZString& GetChoiceRelName() override;
  KZString& GetDefaultChoiceListName() override;
  IDdChoice* GetDefaultChoice(IDdDataDict* dict, long language) override;
  void UpdateTableField(IDdDataDict* dict, KZString* physicalName, KZString* name, long* dbType, long* arraySize,
                        long* decPrecision, long* decScale, long* flags, long* cmnType, long* genericId,
                        KZString* defaultValue, KZString* comment) override;
  void UpdateViewField(IDdDataDict* dict, KZString* name, KZString* secondName, long* genericId,
                       KZString* originTable, KZString* originField, KZString* srcAlias, KZString* comment) override;
  int IsObjidType() const override;

  void SetViewInfo(long originTableId, long originFieldId, const KZString& srcAlias, const KZString& comment);
  // The owning table (not owned).
  KDdTable* GetOwner() const { return m_pTable; }
  void SetOwner(KDdTable* table) { m_pTable = table; }
  void AddFlags(long bits) { m_lFlags |= bits; }
  void SetTableId(long id) { m_lTableId = id; }
  void SetOriginTableId(long id) { m_lOriginTableId = id; }
  // The origin cache, when set (a view field's resolved table field).
  KDdField* CachedOrigin() const { return m_pOriginField; }
  void ForgetOrigin() { m_pOriginField = nullptr; }

 private:
  // Throws 0x8B0019F from method unless this is a choice field.
  void CheckChoice(const char* method) const;

  long m_lId = 0;
  long m_lGenericId = 0;
  KZString m_strName;
  KZString m_strPhysicalName;
  KZString m_strOldName;
  long m_lTableId = 0;
  KZString m_strDefaultValue;
  long m_lDBType = 0;
  long m_lOrigDBType = 0;
  long m_lArraySize = 0;
  long m_lDecPrecision = 0;
  long m_lDecScale = 0;
  long m_lFlags = 0;
  long m_lCmnType = 0;
  KZString m_strComment;
  long m_lOriginTableId = DD_NO_ID;
  long m_lOriginFieldId = DD_NO_ID;
  KDdField* m_pOriginField = nullptr;
  KZString m_strSrcAlias;
  KDdTable* m_pTable = nullptr;
  int m_bIsChoice = 0;
  KZString m_strChoiceTableName;
  KZString m_strChoiceRelName;
  KZString m_strDefaultChoiceListName;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdField*& field);

} // namespace KCLASSIC
