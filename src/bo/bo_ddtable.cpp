// The table's collections: adding, finding and removing its records, and
// the bookkeeping of ids and view arrays.
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

KZString lowerKey(const KZString& name) {
  KZString key(name);
  key.MakeLower();
  return key;
}

template <class T>
T* at(const KArray<T*, T*>& array, int i) {
  return (i >= 0 && i < array.GetSize()) ? array.GetAt(i) : nullptr;
}

template <class T, class I>
int posOf(const KArray<T*, T*>& array, const I* item) {
  for (int i = 0; i < array.GetSize(); ++i)
    if (static_cast<const I*>(array.GetAt(i)) == item) return i;
  return -1;
}

// Removes key from an id map only when it maps to record.
template <class M, class T>
void dropId(M& map, long id, T* record) {
  T* held = nullptr;
  if (map.Lookup((unsigned long)id, held) && held == record) map.RemoveKey((unsigned long)id);
}

template <class T>
void removeFrom(KArray<T*, T*>& array, T* record) {
  int pos = posOf<T, T>(array, record);
  if (pos >= 0) array.RemoveAt(pos);
}

template <class V>
void deleteValues(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, V*>& map) {
  KPOSITION pos = map.GetStartPosition();
  while (pos) {
    KZString key;
    V* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    delete value;
  }
}

} // namespace

KIMPLEMENT_RUNTIMECLASS(KDdTable, KObject, 1, KDdTable::CreateObject)

KObject* KDdTable::CreateObject() { return new KDdTable(); }

KDdTable* dd_table_of(IDdTable* table) { return dynamic_cast<KDdTable*>(table); }

KDdTable::KDdTable(const KZString& name, const KZString& comment, const KZString& objGroup, int id, int flags)
    : m_strName(name), m_strComment(comment), m_strObjGroup(objGroup), m_lId(id), m_lFlags(flags) {}

KDdTable::KDdTable(KMsg& msg) { Read(msg); }

KDdTable::~KDdTable() { DeleteContents(); }

void KDdTable::DeleteContents() {
  deleteValues(m_mapFieldsByName);
  deleteValues(m_mapRelsByName);
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) delete m_arrJoins[i];
  for (int i = 0; i < m_arrIndexes.GetSize(); ++i) delete m_arrIndexes[i];
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i) delete m_arrBinaryFields[i];
  m_mapFieldsByName.RemoveAll();
  m_mapFieldsById.RemoveAll();
  m_mapRelsByName.RemoveAll();
  m_mapRelsById.RemoveAll();
  m_arrFields.RemoveAll();
  m_arrRelations.RemoveAll();
  m_arrJoins.RemoveAll();
  m_arrIndexes.RemoveAll();
  m_arrBinaryFields.RemoveAll();
  m_arrDependentViews.RemoveAll();
  m_arrViewArray.RemoveAll();
}

int KDdTable::operator==(const KDdTable& o) const {
  return m_strName.Compare(o.m_strName) == 0 && m_strComment.Compare(o.m_strComment) == 0 &&
         m_strObjGroup.Compare(o.m_strObjGroup) == 0 && m_lId == o.m_lId && m_lFlags == o.m_lFlags;
}

IDdField* KDdTable::GetField(int i) const { return at(m_arrFields, i); }
IDdField* KDdTable::GetBinaryField(int i) const { return at(m_arrBinaryFields, i); }
IDdRelation* KDdTable::GetRelation(int i) const { return at(m_arrRelations, i); }
IDdJoin* KDdTable::GetJoin(int i) const { return at(m_arrJoins, i); }
IDdIndex* KDdTable::GetIndex(int i) const { return at(m_arrIndexes, i); }

int KDdTable::FieldPos(const IDdField* field) const { return posOf(m_arrFields, field); }
int KDdTable::RelationPos(const IDdRelation* relation) const { return posOf(m_arrRelations, relation); }
int KDdTable::IndexPos(const IDdIndex* index) const { return posOf(m_arrIndexes, index); }
int KDdTable::JoinPos(const IDdJoin* join) const { return posOf(m_arrJoins, join); }

IDdField* KDdTable::FindField(long id) {
  KDdField* field = nullptr;
  m_mapFieldsById.Lookup((unsigned long)id, field);
  return field;
}

IDdField* KDdTable::FindField(const KZString& name) { return LookupField(name); }

KDdField* KDdTable::LookupField(const KZString& name) const {
  KDdField* field = nullptr;
  m_mapFieldsByName.Lookup(lowerKey(name), field);
  return field;
}

KDdRelation* KDdTable::LookupRelation(const KZString& name) const {
  KDdRelation* relation = nullptr;
  m_mapRelsByName.Lookup(lowerKey(name), relation);
  return relation;
}

KDdRelation* KDdTable::RelationById(long id) const {
  KDdRelation* relation = nullptr;
  m_mapRelsById.Lookup((unsigned long)id, relation);
  return relation;
}

IDdField* KDdTable::FindKeyField() const {
  for (int i = 0; i < m_arrFields.GetSize(); ++i)
    if (m_arrFields[i]->IsKeyField()) return m_arrFields[i];
  return nullptr;
}

IDdRelation* KDdTable::FindRelation(IDdDataDict* dict, const KZString& name) {
  if (IsViewRelation(name)) BuildViewRelations(dict, 0);
  return LookupRelation(name);
}

IDdRelation* KDdTable::FindRelation(IDdDataDict*, long id) { return RelationById(id); }

void KDdTable::AddField(KDdField* field) {
  field->SetOwner(this);
  KZString key = lowerKey(field->GetName());
  KDdField* earlier = nullptr;
  if (m_mapFieldsByName.Lookup(key, earlier) && earlier != field) {
    DetachField(earlier);
    delete earlier;
  }
  if (field->GetName().Compare(field->GetPhysicalName()) == 0 && FieldPos(field) < 0) {
    m_arrFields.Add(field);
    m_mapFieldsById[(unsigned long)field->GetId()] = field;
  }
  m_mapFieldsByName.SetAt(key, field);
}

void KDdTable::DetachField(KDdField* field) {
  KZString key = lowerKey(field->GetName());
  KDdField* held = nullptr;
  if (m_mapFieldsByName.Lookup(key, held) && held == field) m_mapFieldsByName.RemoveKey(key);
  dropId(m_mapFieldsById, field->GetId(), field);
  removeFrom(m_arrFields, field);
  removeFrom(m_arrBinaryFields, field);
}

void KDdTable::DestroyField(KDdField* field) {
  DetachField(field);
  delete field;
}

void KDdTable::RemoveField(const KZString& name) {
  if (KDdField* field = LookupField(name)) DestroyField(field);
}

void KDdTable::AddBinaryField(KDdField* field) {
  field->SetOwner(this);
  m_arrBinaryFields.Add(field);
}

void KDdTable::RemoveBinaryField(const KZString& name) {
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i) {
    KDdField* field = m_arrBinaryFields[i];
    if (field->GetName().Compare(name) == 0) {
      m_arrBinaryFields.RemoveAt(i);
      delete field;
      return;
    }
  }
}

void KDdTable::AddIndex(KDdIndex* index) {
  index->SetOwner(this);
  m_arrIndexes.Add(index);
}

void KDdTable::DefineJoin(KDdJoin* join) {
  join->SetOwner(this);
  m_arrJoins.Add(join);
}

void KDdTable::AddRelation(KDdRelation* relation, int byNameOnly) {
  KZString key = lowerKey(relation->GetName());
  KDdRelation* held = nullptr;
  if (m_mapRelsByName.Lookup(key, held))
    throw new KErr(KERR_DD_DUP_RELATIONSHIP, "KDdTable::AddRelation", dd_s(relation->GetName()));
  relation->SetOwner(this);
  if (!byNameOnly || relation->GetName().Compare(relation->GetPhysicalName()) == 0) {
    m_arrRelations.Add(relation);
    m_mapRelsById[(unsigned long)relation->GetId()] = relation;
  }
  m_mapRelsByName.SetAt(key, relation);
}

void KDdTable::AdoptRelation(KDdRelation* relation, int byNameOnly) {
  try {
    AddRelation(relation, byNameOnly);
  } catch (...) {
    delete relation;
    throw;
  }
}

void KDdTable::RekeyField(KDdField* field, const KZString& oldName) {
  KZString oldKey = lowerKey(oldName);
  KDdField* held = nullptr;
  if (!m_mapFieldsByName.Lookup(oldKey, held) || held != field) return;
  m_mapFieldsByName.RemoveKey(oldKey);
  m_mapFieldsByName.SetAt(lowerKey(field->GetName()), field);
}

void KDdTable::RekeyRelation(KDdRelation* relation, const KZString& oldName) {
  KZString oldKey = lowerKey(oldName);
  KDdRelation* held = nullptr;
  if (!m_mapRelsByName.Lookup(oldKey, held) || held != relation) return;
  m_mapRelsByName.RemoveKey(oldKey);
  m_mapRelsByName.SetAt(lowerKey(relation->GetName()), relation);
}

void KDdTable::DestroyRelation(IDdDataDict* dict, KDdRelation* relation) {
  // The inverse must not keep a pointer to the relation it outlives.
  KDdTable* inverseTable = dict ? dd_table_of(dict->FindTable(relation->GetInverseTableName(), 1)) : nullptr;
  if (KDdRelation* inverse = inverseTable ? inverseTable->LookupRelation(relation->GetInverseName()) : nullptr) {
    if (inverse->CachedInverse() == relation) inverse->ForgetCaches();
  }
  KZString key = lowerKey(relation->GetName());
  KDdRelation* held = nullptr;
  if (m_mapRelsByName.Lookup(key, held) && held == relation) m_mapRelsByName.RemoveKey(key);
  dropId(m_mapRelsById, relation->GetId(), relation);
  removeFrom(m_arrRelations, relation);
  delete relation;
}

void KDdTable::ProcessIndexFields(const char* keyList) {
  constexpr int kMaxPiece = 1023;
  for (KZString& piece : dd_split_list(keyList)) {
    KZString name = piece.GetLength() > kMaxPiece ? piece.Left(kMaxPiece) : piece;
    if (KDdRelation* relation = LookupRelation(name)) relation->AddFlags(DD_REL_INDEXED);
  }
}

long KDdTable::MaxFieldId() const {
  long max = -1;
  for (int i = 0; i < m_arrFields.GetSize(); ++i)
    if (m_arrFields[i]->GetId() > max) max = m_arrFields[i]->GetId();
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i)
    if (m_arrBinaryFields[i]->GetId() > max) max = m_arrBinaryFields[i]->GetId();
  return max;
}

long KDdTable::MaxRelId() const {
  long max = -1;
  for (int i = 0; i < m_arrRelations.GetSize(); ++i)
    if (m_arrRelations[i]->GetId() > max) max = m_arrRelations[i]->GetId();
  return max;
}

void KDdTable::AddViewArray(long viewId) {
  if (IsView()) return;
  for (int i = 0; i < m_arrViewArray.GetSize(); ++i)
    if (long(m_arrViewArray[i]) == viewId) return;
  m_arrViewArray.Add(uint32_t(viewId));
}

void KDdTable::RemoveViewId(long viewId) {
  for (int i = 0; i < m_arrViewArray.GetSize(); ++i) {
    if (long(m_arrViewArray[i]) == viewId) {
      m_arrViewArray.RemoveAt(i);
      return;
    }
  }
}

int KDdTable::TableIdInUse(IDdDataDict* dict, long tableId) {
  if (FieldsUseTable(tableId)) return 1;
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) {
    KDdRelation* relation = m_arrJoins[i]->FindRel(dict);
    if (!relation) continue;
    if (relation->GetOwner() && relation->GetOwner()->GetId() == tableId) return 1;
    IDdTable* inverse = relation->GetInverseTable(dict, 0);
    if (inverse && inverse->GetId() == tableId) return 1;
  }
  return 0;
}

int KDdTable::FieldsUseTable(long tableId) const {
  for (int i = 0; i < m_arrFields.GetSize(); ++i)
    if (m_arrFields[i]->GetOriginTableId() == tableId) return 1;
  return 0;
}


KArchive& operator>>(KArchive& ar, KDdTable*& table) {
  table = static_cast<KDdTable*>(ar.ReadObject(KRUNTIME_CLASS(KDdTable)));
  return ar;
}

} // namespace KCLASSIC
