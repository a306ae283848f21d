// KDdTable: the dictionary's description of one table or view: fields,
// binary fields, relations, indexes and (views) joins, found by position,
// id or case-insensitive name. The name maps are the complete collections:
// a field or relation entered under a name other than its physical name
// lives there only. The table owns every record it holds and deletes each
// once. It is also the column definition of the class library's record set.
#pragma once

#include <vector>

#include "bo/bo_ddfield.h"
#include "bo/bo_ddindex.h"
#include "bo/bo_ddrel.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_mapnc.h"

namespace KCLASSIC {

class KFile;

class ORB_API KDdTable : public KObject, public IDdTable {
  KDECLARE_DYNCREATE(KDdTable)

 public:
  KDdTable() = default;
  KDdTable(const KZString& name, const KZString& comment, const KZString& objGroup, int id, int flags);
  explicit KDdTable(KMsg& msg);
  KDdTable(const KDdTable&) = delete;
  ~KDdTable() override;
  // Empties this table, then copies identity, fields, relations, joins and
  // both id lists (indexes and binary fields stay behind).
  KDdTable& operator=(const KDdTable& other);
  // Identity only: name, comment, object group, id and flags.
  int operator==(const KDdTable& other) const;

  void Serialize(KArchive& ar) override;
  // Schema text: a VIEW block for a view, an OBJECT block for a table.
  // Each writer writes nothing for the other kind.
  void OutputSchema(IDdDataDict* dict, KFile& file);
  void WriteSchemaTable(IDdDataDict* dict, KFile& file);
  void WriteSchemaView(IDdDataDict* dict, KFile& file);
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  // The interface, in its slot order.
  long GetId() const override { return m_lId; }
  const KZString& GetName() const override { return m_strName; }
  const KZString& GetComment() const override { return m_strComment; }
  int IsFlagSet(int bits) const override { return (m_lFlags & bits) != 0; }
  void SetFlag(int bits) override { m_lFlags |= bits; }
  int GetFieldCount() const override { return m_arrFields.GetSize(); }
  IDdField* GetField(int i) const override;
  int GetBinaryFieldCount() const override { return m_arrBinaryFields.GetSize(); }
  IDdField* GetBinaryField(int i) const override;
  IDdField* FindField(long id) override;
  // The field of that name whatever its letter case; NULL when none.
  IDdField* FindField(const KZString& name) override;
  IDdField* FindKeyField() const override;
  int IsView() const override { return IsFlagSet(int(DD_TBL_VIEW)); }
  int GetRelationCount() const override { return m_arrRelations.GetSize(); }
  IDdRelation* GetRelation(int i) const override;
  // A view-relation name builds the view relations first.
  IDdRelation* FindRelation(IDdDataDict* dict, const KZString& name) override;
  IDdRelation* FindRelation(IDdDataDict* dict, long id) override;
  int GetJoinCount() const override { return m_arrJoins.GetSize(); }
  IDdJoin* GetJoin(int i) const override;
  int GetIndexCount() const override { return m_arrIndexes.GetSize(); }
  IDdIndex* GetIndex(int i) const override;
  const KZString& GetObjGroup() const override { return m_strObjGroup; }
  KDWordArray& GetViewArray() override { return m_arrViewArray; }
  IDdField* CreateTableField(IDdDataDict* dict, const KZString& name, const KZString& secondName, long dbType,
                             long arraySize, long decPrecision, long decScale, long flags, long cmnType,
                             long genericId, const KZString& defaultValue, const KZString& comment) override;
  IDdField* CreateViewField(IDdDataDict* dict, const KZString& name, const KZString& secondName, long genericId,
                            const KZString& originTable, const KZString& originField, const KZString& alias,
                            const KZString& comment) override;
  IDdRelation* CreateRelation(IDdDataDict* dict, const KZString& name, const KZString& secondName, long relType,
                              long genericId, long lowFlags, long highFlags, const KZString& inverseTable,
                              const KZString& inverseName, const KZString& focusField,
                              const KZString& physRelName, const KZString& exclusiveSet,
                              const KZString& comment) override;
  IDdIndex* CreateIndex(IDdDataDict* dict, const KZString& name, long flags, const KZString& keyList) override;
  IDdJoin* CreateJoin(IDdDataDict* dict, const KZString& tableName, const KZString& relName,
                      const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags,
                      const KZString& comment) override;
  void DeleteViewField(IDdDataDict* dict, IDdField* field, int cascade) override;
  void DeleteTableField(IDdDataDict* dict, IDdField* field) override;
  void DeleteIndex(IDdDataDict* dict, IDdIndex* index) override;
  void DeleteJoin(IDdDataDict* dict, IDdJoin* join, int cascade) override;
  void DeleteRelation(IDdDataDict* dict, IDdRelation* relation, int cascade) override;
  // Renaming and re-numbering: the dictionary's table component is
  // re-keyed, and inverse relations, view fields, joins and view arrays
  // that name the old name or id follow. Null arguments keep their member.
  void UpdateTable(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) override;
  void UpdateView(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) override;

  // The checks and changes both updates share; every check comes first.
  void UpdateCommonInfo(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment);

  // Building the table.
  // Takes the field over; a field already held under its name is deleted.
  void AddField(KDdField* field);
  void RemoveField(const KZString& name);
  void AddBinaryField(KDdField* field);
  void RemoveBinaryField(const KZString& name);
  void AddIndex(KDdIndex* index);
  void DefineJoin(KDdJoin* join);
  // Throws 0x8B00197 for a name already held (the caller keeps the relation).
  void AddRelation(KDdRelation* relation, int byNameOnly);
  void ProcessIndexFields(const char* keyList);
  long MaxFieldId() const;
  long MaxRelId() const;
  void AddViewArray(long viewId);
  void RemoveViewId(long viewId);
  int TableIdInUse(IDdDataDict* dict, long tableId);
  KDWordArray& GetDependentViewIds() { return m_arrDependentViews; }
  int IsViewRelationsBuilt() const { return m_bViewRelsBuilt; }

  // View relations.
  static int IsViewRelation(const KZString& name);
  static const char* StripViewInfo(const char* text, KZString& out);
  static const char* GetViewField(const char* text, KZString& out);
  void BuildViewRelations(IDdDataDict* dict, int localOnly);
  void AddViewRelations(IDdDataDict* dict, IDdField* viewField, IDdField* originField, long& counter);

  // Schema editing checks, shared with the records' updates (updated is the
  // record being updated, or null; isNew is 1 when creating).
  static KZString GetSubNameAt(const KZString& list, long n);
  void CheckFieldArg(IDdDataDict* dict, const KZString& name, long dbType, long arraySize, long decPrecision,
                     long decScale, long flags, long cmnType, long genericId, KDdField* updated, int isNew);
  void CheckAlias(IDdDataDict* dict, const KZString& tableName, const KZString& alias, const void* updated,
                  int isNew);
  void CheckRelArg(IDdDataDict* dict, const KZString& name, long relType, long genericId, long lowFlags,
                   long highFlags, const KZString& inverseTable, const KZString& inverseName,
                   const KZString& focusField, const KZString& physRelName, const KZString& exclusiveSet,
                   int isNew);
  long CheckIndexArg(IDdDataDict* dict, const KZString& name, long flags, const KZString& keyList, int isNew);
  void CheckJoinArg(IDdDataDict* dict, const KZString& tableName, const KZString& relName,
                    const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags, KDdJoin* updated,
                    int isNew);
  void UpdateIndexField(IDdDataDict* dict, const KZString& newName, const KZString& oldName);

  // Record look-ups and bookkeeping for the records' own operations.
  KDdField* LookupField(const KZString& name) const;
  KDdRelation* LookupRelation(const KZString& name) const;
  KDdRelation* RelationById(long id) const;
  // Moves a field (relation) from the name oldName to its present GetName.
  void RekeyField(KDdField* field, const KZString& oldName);
  void RekeyRelation(KDdRelation* relation, const KZString& oldName);
  // Takes a field (relation) out of every collection and deletes it.
  void DestroyField(KDdField* field);
  void DestroyRelation(IDdDataDict* dict, KDdRelation* relation);
  int RelationPos(const IDdRelation* relation) const;
  // The implicit foreign-key field of a relation of relType named name,
  // when the type asks for one (2 or 3, not in an exclusive set) and the
  // table has no field of that name yet.
  void AddImplicitKey(const KZString& name, long relFlags, long relType);

 private:
  void DeleteContents();
  // AddRelation that deletes the relation when it is refused.
  void AdoptRelation(KDdRelation* relation, int byNameOnly);
  void DetachField(KDdField* field);
  int FieldPos(const IDdField* field) const;
  int IndexPos(const IDdIndex* index) const;
  int posOfBinary(const IDdField* field) const;
  int JoinPos(const IDdJoin* join) const;
  void BuildViewRelationsOfView(IDdDataDict* dict, int localOnly);
  // Enters a view relation in table, noting it for the build under way.
  void AddBuiltRelation(KDdTable* table, KDdRelation* relation);
  // True when a remaining view field shows tableId.
  int FieldsUseTable(long tableId) const;
  void DropFromViewArray(IDdDataDict* dict, KDdTable* table);
  void CheckRelKeySide(IDdDataDict* dict, KDdTable* keySide, const KZString& focusField,
                       const KZString& physRelName, const KZString& exclusiveSet, int isNew);
  // Deletes every index (from the last) whose key list names name.
  void DeleteIndexesNaming(IDdDataDict* dict, const KZString& name);
  // The tables of the view array (those the dictionary finds).
  std::vector<KDdTable*> ViewsOf(IDdDataDict* dict);
  // Gives every field the table holds (binary and name-only ones too) the table id.
  void SetFieldsTableId(long id);
  // A field of that name must not exist yet (0x8B001A8 from method).
  void CheckFieldNameFree(const KZString& name, const char* method);

  KZString m_strName;
  KZString m_strComment;
  KZString m_strObjGroup;
  long m_lId = 0;
  long m_lFlags = 0;
  int m_bViewRelsBuilt = 0;
  KArray<KDdField*, KDdField*> m_arrFields;
  KArray<KDdRelation*, KDdRelation*> m_arrRelations;
  KArray<KDdJoin*, KDdJoin*> m_arrJoins;
  KArray<KDdIndex*, KDdIndex*> m_arrIndexes;
  KDWordArray m_arrDependentViews;
  KArray<KDdField*, KDdField*> m_arrBinaryFields;
  KDWordArray m_arrViewArray;
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdRelation*> m_mapRelsByName{10};
  KMap<unsigned long, unsigned long, KDdRelation*, KDdRelation*> m_mapRelsById{10};
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdField*> m_mapFieldsByName{10};
  KMap<unsigned long, unsigned long, KDdField*, KDdField*> m_mapFieldsById{10};
  // Set while the view relations are being built (a look-up made by the
  // building itself must not start it again).
  int m_bBuildingViewRels = 0;
  // The view relations a build under way has added (taken back on failure).
  std::vector<KDdRelation*>* m_pAddedViewRels = nullptr;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdTable*& table);

// A dictionary table as its record (null for anything else).
ORB_API KDdTable* dd_table_of(IDdTable* table);

} // namespace KCLASSIC
