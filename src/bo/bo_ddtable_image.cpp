// The table's images: the archive image of the cache files, the message
// image of a metadata answer, and the copy. View relations are never part of
// an image; a reader builds them again when they are looked up.
#include <memory>

#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {


// Calls f for each record of a name map, in map order.
template <class V, class F>
static void eachValue(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, V*>& map, F f) {
  KPOSITION pos = map.GetStartPosition();
  while (pos) {
    KZString key;
    V* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    f(value);
  }
}

template <class F>
static void eachField(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdField*>& map, F f) {
  eachValue(map, f);
}

// Relations other than view relations.
template <class F>
static void eachRelation(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdRelation*>& map, F f) {
  eachValue(map, [&f](KDdRelation* r) {
    if (!KDdTable::IsViewRelation(r->GetName())) f(r);
  });
}

static long plainRelationCount(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdRelation*>& map) {
  long count = 0;
  eachRelation(map, [&count](KDdRelation*) { ++count; });
  return count;
}

void KDdTable::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strName << m_lId << m_strComment << m_lFlags;
    ar << long(m_mapFieldsByName.GetCount() + m_arrBinaryFields.GetSize());
    eachField(m_mapFieldsByName, [&ar](KDdField* f) { f->Serialize(ar); });
    for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i) m_arrBinaryFields[i]->Serialize(ar);
    ar << plainRelationCount(m_mapRelsByName);
    eachRelation(m_mapRelsByName, [&ar](KDdRelation* r) { r->Serialize(ar); });
    ar << long(m_arrJoins.GetSize());
    for (int i = 0; i < m_arrJoins.GetSize(); ++i) m_arrJoins[i]->Serialize(ar);
    ar << long(m_arrIndexes.GetSize());
    for (int i = 0; i < m_arrIndexes.GetSize(); ++i) m_arrIndexes[i]->Serialize(ar);
    ar << long(m_arrDependentViews.GetSize());
    for (int i = 0; i < m_arrDependentViews.GetSize(); ++i) ar << m_arrDependentViews[i];
    return;
  }
  uint32_t count = 0;
  ar >> m_strName >> m_lId >> m_strComment >> m_lFlags;
  ar >> count;
  for (uint32_t i = 0; i < count; ++i) {
    auto field = std::make_unique<KDdField>(this);
    field->Serialize(ar);
    if (field->IsFlagSet(int(DD_FLD_BINARY)))
      AddBinaryField(field.release());
    else
      AddField(field.release());
  }
  ar >> count;
  for (uint32_t i = 0; i < count; ++i) {
    auto relation = std::make_unique<KDdRelation>(this);
    relation->Serialize(ar);
    AdoptRelation(relation.release(), 0);
  }
  ar >> count;
  for (uint32_t i = 0; i < count; ++i) {
    auto join = std::make_unique<KDdJoin>(this);
    join->Serialize(ar);
    DefineJoin(join.release());
  }
  ar >> count;
  for (uint32_t i = 0; i < count; ++i) {
    auto index = std::make_unique<KDdIndex>(this);
    index->Serialize(ar);
    AddIndex(index.release());
  }
  ar >> count;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t id = 0;
    ar >> id;
    m_arrDependentViews.Add(id);
  }
}

static void writeIds(KMsg& msg, const KDWordArray& ids) {
  msg.WriteLong(ids.GetSize());
  for (int i = 0; i < ids.GetSize(); ++i) msg.WriteLong(long(int32_t(ids[i])));
}

void KDdTable::Write(KMsg& msg) const {
  msg.WriteString(m_strName);
  msg.WriteString(m_strComment);
  msg.WriteString(m_strObjGroup);
  msg.WriteLong(m_lId);
  msg.WriteLong(m_lFlags);
  msg.WriteLong(m_mapFieldsByName.GetCount());
  eachField(m_mapFieldsByName, [&msg](KDdField* f) { f->Write(msg); });
  msg.WriteLong(plainRelationCount(m_mapRelsByName));
  eachRelation(m_mapRelsByName, [&msg](KDdRelation* r) { r->Write(msg); });
  msg.WriteLong(m_arrJoins.GetSize());
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) m_arrJoins[i]->Write(msg);
  msg.WriteLong(m_arrIndexes.GetSize());
  for (int i = 0; i < m_arrIndexes.GetSize(); ++i) m_arrIndexes[i]->Write(msg);
  writeIds(msg, m_arrDependentViews);
  msg.WriteLong(m_arrBinaryFields.GetSize());
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i) m_arrBinaryFields[i]->Write(msg);
  writeIds(msg, m_arrViewArray);
}

static void readIds(KMsg& msg, KDWordArray& ids) {
  long count = dd_msg_count(msg, "KDdTable::Read");
  for (long i = 0; i < count; ++i) ids.Add(uint32_t(dd_msg_long(msg)));
}

void KDdTable::Read(KMsg& msg) {
  constexpr const char* kRead = "KDdTable::Read";
  m_bViewRelsBuilt = 0;
  msg.ReadString(m_strName);
  msg.ReadString(m_strComment);
  msg.ReadString(m_strObjGroup);
  m_lId = dd_msg_long(msg);
  m_lFlags = dd_msg_long(msg);
  for (long i = 0, n = dd_msg_count(msg, kRead); i < n; ++i) AddField(std::make_unique<KDdField>(msg, this).release());
  for (long i = 0, n = dd_msg_count(msg, kRead); i < n; ++i) {
    auto relation = std::make_unique<KDdRelation>(this);
    relation->Read(msg);
    AdoptRelation(relation.release(), 0);
  }
  for (long i = 0, n = dd_msg_count(msg, kRead); i < n; ++i) {
    auto join = std::make_unique<KDdJoin>();
    join->Read(msg);
    DefineJoin(join.release());
  }
  for (long i = 0, n = dd_msg_count(msg, kRead); i < n; ++i) AddIndex(std::make_unique<KDdIndex>(msg, this).release());
  readIds(msg, m_arrDependentViews);
  for (long i = 0, n = dd_msg_count(msg, kRead); i < n; ++i)
    AddBinaryField(std::make_unique<KDdField>(msg, this).release());
  readIds(msg, m_arrViewArray);
}

KDdTable& KDdTable::operator=(const KDdTable& other) {
  if (this == &other) return *this;
  DeleteContents();
  m_strName = other.m_strName;
  m_strComment = other.m_strComment;
  m_strObjGroup = other.m_strObjGroup;
  m_lId = other.m_lId;
  m_lFlags = other.m_lFlags;
  m_bViewRelsBuilt = other.m_bViewRelsBuilt;
  eachField(other.m_mapFieldsByName, [this](KDdField* f) { AddField(new KDdField(*f)); });
  eachValue(other.m_mapRelsByName, [this](KDdRelation* r) { AdoptRelation(new KDdRelation(this, *r), 0); });
  for (int i = 0; i < other.m_arrJoins.GetSize(); ++i) DefineJoin(new KDdJoin(*other.m_arrJoins[i], this));
  m_arrDependentViews.Copy(other.m_arrDependentViews);
  m_arrViewArray.Copy(other.m_arrViewArray);
  return *this;
}

} // namespace KCLASSIC
