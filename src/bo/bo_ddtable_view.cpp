// View relations: relations derived on demand so that a view can be walked
// like a table. For each view field showing a source table's object id, a
// pair links the view and the source table, and each suitable relation of
// the source table is repeated on the view. Their names carry a bracketed
// "[view.field]" part; they live in memory only.
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

constexpr long kViewRelCounterStart = 1000;
constexpr const char* kViewRelComment = "Relation on a View";

bool repeatable(long relType) {
  return relType == IDdRelation::OTM || relType == IDdRelation::OTOF || relType == IDdRelation::MTM;
}

} // namespace

int KDdTable::IsViewRelation(const KZString& name) {
  int n = name.GetLength();
  if (n == 0) return 0;
  const char* s = name;
  return s[0] == '[' || s[n - 1] == ']';
}

const char* KDdTable::StripViewInfo(const char* text, KZString& out) {
  out = text ? text : "";
  out.TrimLeft();
  int close = out.Find(']');
  if (out.GetLength() > 0 && static_cast<const char*>(out)[0] == '[') {
    if (close >= 0) out = out.Mid(close + 1);
  } else if (close >= 0 && close == out.GetLength() - 1) {
    int open = out.Find('[');
    if (open >= 0) out = out.Left(open);
  }
  return out;
}

const char* KDdTable::GetViewField(const char* text, KZString& out) {
  out.Empty();
  KZString name(text ? text : "");
  if (!IsViewRelation(name)) return out;
  int dot = name.Find('.');
  int close = dot >= 0 ? name.Find(']', dot + 1) : -1;
  if (close > dot) out = name.Mid(dot + 1, close - dot - 1);
  return out;
}

void KDdTable::BuildViewRelations(IDdDataDict* dict, int localOnly) {
  if (m_bViewRelsBuilt || m_bBuildingViewRels) return;
  if (IsView()) {
    BuildViewRelationsOfView(dict, localOnly);
    return;
  }
  m_bBuildingViewRels = 1;
  try {
    for (int i = 0; dict && i < m_arrDependentViews.GetSize(); ++i) {
      KDdTable* view = dd_table_of(dict->FindTable(long(int32_t(m_arrDependentViews[i])), localOnly));
      if (view && view->IsView()) view->BuildViewRelations(dict, localOnly);
    }
  } catch (...) {
    m_bBuildingViewRels = 0;
    throw;
  }
  m_bBuildingViewRels = 0;
  m_bViewRelsBuilt = 1;
}

void KDdTable::BuildViewRelationsOfView(IDdDataDict* dict, int localOnly) {
  std::vector<KDdRelation*> added;
  m_pAddedViewRels = &added;
  m_bBuildingViewRels = 1;
  try {
    long counter = kViewRelCounterStart;
    for (int i = 0; i < m_arrFields.GetSize(); ++i) {
      KDdField* field = m_arrFields[i];
      IDdField* origin = field->GetOriginField(dict, localOnly);
      if (origin && origin->GetName().CompareNoCase("Objid") == 0) AddViewRelations(dict, field, origin, counter);
    }
  } catch (...) {
    // Take back what this build added; the next look-up starts again.
    m_pAddedViewRels = nullptr;
    m_bBuildingViewRels = 0;
    for (auto it = added.rbegin(); it != added.rend(); ++it) (*it)->GetOwner()->DestroyRelation(dict, *it);
    throw;
  }
  m_pAddedViewRels = nullptr;
  m_bBuildingViewRels = 0;
  m_bViewRelsBuilt = 1;
}

void KDdTable::AddBuiltRelation(KDdTable* table, KDdRelation* relation) {
  table->AdoptRelation(relation, 0);
  if (m_pAddedViewRels) m_pAddedViewRels->push_back(relation);
}

void KDdTable::AddViewRelations(IDdDataDict* dict, IDdField* viewField, IDdField* originField, long& counter) {
  KDdTable* source = dd_table_of(originField->GetTable());
  if (!source) return;
  const char* view = m_strName;
  KZString field = viewField->GetName();
  KZString physical = viewField->GetPhysicalName();
  std::vector<KDdRelation*> noted;
  for (int i = 0; i < source->GetRelationCount(); ++i) noted.push_back(source->m_arrRelations[i]);
  const KZString none;
  KZString phys, name, inverse;

  ++counter;
  phys.Format("[%s.%s]%s", view, dd_s(physical), dd_s(physical));
  name.Format("[%s.%s]%s", view, dd_s(field), dd_s(field));
  inverse.Format("[%s.%s]", view, dd_s(field));
  AddBuiltRelation(this, new KDdRelation(phys, name, IDdRelation::OTOP, counter, 0, 0, source->GetName(), inverse,
                                         none, none, kViewRelComment, this, none));
  AddBuiltRelation(source, new KDdRelation(inverse, inverse, IDdRelation::OTOF, counter, 0, 0, m_strName, inverse,
                                           none, none, kViewRelComment, source, none));

  for (KDdRelation* rel : noted) {
    if (!repeatable(rel->GetRelType()) || source->IsView()) continue;
    auto* relInverse = dynamic_cast<KDdRelation*>(rel->GetInverse(dict, 1));
    KDdTable* other = relInverse ? relInverse->GetOwner() : nullptr;
    if (!other || other->IsView()) continue;
    ++counter;
    phys.Format("[%s.%s]%s", view, dd_s(physical), dd_s(rel->GetPhysicalName()));
    name.Format("[%s.%s]%s", view, dd_s(field), dd_s(rel->GetName()));
    inverse.Format("%s[%s.%s]", dd_s(relInverse->GetName()), view, dd_s(field));
    AddBuiltRelation(this, new KDdRelation(phys, name, rel->GetFullPhysicalRelType(), counter, rel->GetGenericId(),
                                           rel->GetFlags(), rel->GetInverseTableName(), inverse, none, none,
                                           kViewRelComment, this, none));
    AddBuiltRelation(other, new KDdRelation(inverse, inverse, rel->GetFullPhysicalRelType(), counter,
                                            relInverse->GetGenericId(), relInverse->GetFlags(), m_strName, inverse,
                                            none, none, kViewRelComment, other, none));
  }
}

} // namespace KCLASSIC
