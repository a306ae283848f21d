// Deleting fields, view fields, relations, indexes and joins, with what
// depends on them: indexes naming them, joins over them, view fields showing
// them, and the view arrays of the tables a view stops using.
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

bool keyListNames(const KZString& keyList, const KZString& name) {
  for (const KZString& part : dd_split_list(keyList))
    if (part.CompareNoCase(name) == 0) return true;
  return false;
}

bool holdsKeyField(const KDdRelation& r) {
  long type = r.GetPhysicalRelType();
  return (type == IDdRelation::MTO || type == IDdRelation::OTOP) && !r.IsFlagSet(int(DD_REL_EXCLUSIVE));
}

} // namespace

std::vector<KDdTable*> KDdTable::ViewsOf(IDdDataDict* dict) {
  std::vector<KDdTable*> views;
  for (int i = 0; dict && i < m_arrViewArray.GetSize(); ++i) {
    KDdTable* view = dd_table_of(dict->FindTable(long(int32_t(m_arrViewArray[i])), 1));
    if (view && view != this) views.push_back(view);
  }
  return views;
}

void KDdTable::DropFromViewArray(IDdDataDict* dict, KDdTable* table) {
  if (table && !TableIdInUse(dict, table->GetId())) table->RemoveViewId(m_lId);
}

void KDdTable::DeleteIndexesNaming(IDdDataDict* dict, const KZString& name) {
  for (int i = m_arrIndexes.GetSize() - 1; i >= 0; --i)
    if (keyListNames(m_arrIndexes[i]->GetFieldNames(), name)) DeleteIndex(dict, m_arrIndexes[i]);
}

void KDdTable::DeleteIndex(IDdDataDict*, IDdIndex* index) {
  constexpr const char* kMethod = "KDdTable::DeleteIndex";
  if (IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply DeleteIndex to View");
  int pos = IndexPos(index);
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid index pointer");
  KDdIndex* held = m_arrIndexes[pos];
  m_arrIndexes.RemoveAt(pos);
  delete held;
}

void KDdTable::DeleteJoin(IDdDataDict* dict, IDdJoin* join, int cascade) {
  constexpr const char* kMethod = "KDdTable::DeleteJoin";
  if (!IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply DeleteJoin to Table");
  int pos = JoinPos(join);
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid join pointer");
  KDdJoin* held = m_arrJoins[pos];
  // A join whose relation is gone can still be deleted.
  KDdRelation* relation = held->FindRel(dict);
  KDdTable* from = relation ? relation->GetOwner() : nullptr;
  KDdTable* inverse = relation ? dd_table_of(relation->GetInverseTable(dict, 0)) : nullptr;
  m_arrJoins.RemoveAt(pos);
  delete held;
  if (cascade) {
    for (int i = m_arrFields.GetSize() - 1; i >= 0; --i) {
      long origin = m_arrFields[i]->GetOriginTableId();
      bool joined = false;
      for (int j = 0; j < m_arrJoins.GetSize() && !joined; ++j) {
        KDdRelation* r = m_arrJoins[j]->FindRel(dict);
        IDdTable* rInverse = r ? r->GetInverseTable(dict, 0) : nullptr;
        joined = r && ((r->GetOwner() && r->GetOwner()->GetId() == origin) || (rInverse && rInverse->GetId() == origin));
      }
      if (!joined) DeleteViewField(dict, m_arrFields[i], 0);
    }
  }
  DropFromViewArray(dict, from);
  DropFromViewArray(dict, inverse);
}

void KDdTable::DeleteViewField(IDdDataDict* dict, IDdField* field, int cascade) {
  constexpr const char* kMethod = "KDdTable::DeleteViewField";
  if (!IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply DeleteViewField to Table");
  int pos = FieldPos(field);
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid field pointer");
  long originId = m_arrFields[pos]->GetOriginTableId();
  DestroyField(m_arrFields[pos]);
  if (!TableIdInUse(dict, originId)) {
    if (KDdTable* origin = dict ? dd_table_of(dict->FindTable(originId, 1)) : nullptr) origin->RemoveViewId(m_lId);
  }
  if (!cascade) return;
  for (int j = m_arrJoins.GetSize() - 1; j >= 0; --j) {
    KDdRelation* relation = m_arrJoins[j]->FindRel(dict);
    IDdTable* inverse = relation ? relation->GetInverseTable(dict, 0) : nullptr;
    bool used = relation && ((relation->GetOwner() && FieldsUseTable(relation->GetOwner()->GetId())) ||
                             (inverse && FieldsUseTable(inverse->GetId())));
    if (!used) DeleteJoin(dict, m_arrJoins[j], 0);
  }
}

void KDdTable::DeleteTableField(IDdDataDict* dict, IDdField* field) {
  constexpr const char* kMethod = "KDdTable::DeleteTableField";
  if (IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply DeleteTableField to View");
  bool binary = field && field->IsFlagSet(int(DD_FLD_BINARY));
  int pos = binary ? posOfBinary(field) : FieldPos(field);
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid field pointer");
  KDdField* held = binary ? m_arrBinaryFields[pos] : m_arrFields[pos];
  if (dd_user_mode(dict) && held->IsFlagSet(int(DD_FLD_PREDEFINED)))
    dd_throw(KERR_DD_FIELD_FLAGS, kMethod, "Flags=%ld, Can not delete prefined field in user mode ",
             held->GetFlags());
  KZString name = held->GetName();
  DeleteIndexesNaming(dict, name);
  for (int i = m_arrRelations.GetSize() - 1; i >= 0; --i) {
    KDdRelation* relation = m_arrRelations[i];
    long type = relation->GetPhysicalRelType();
    if (!relation->IsFlagSet(int(DD_REL_EXCLUSIVE)) || (type != IDdRelation::MTO && type != IDdRelation::OTOP))
      continue;
    if (relation->GetFocusFieldName().Compare(name) == 0 || relation->GetPhysRelName().Compare(name) == 0)
      DeleteRelation(dict, relation, 1);
    if (i > m_arrRelations.GetSize()) i = m_arrRelations.GetSize();
  }
  for (KDdTable* view : ViewsOf(dict)) {
    for (int i = view->m_arrFields.GetSize() - 1; i >= 0; --i) {
      KDdField* shown = view->m_arrFields[i];
      if (shown->GetOriginTableId() == m_lId && shown->GetOriginFieldId() == held->GetId())
        view->DeleteViewField(dict, shown, 0);
      else if (shown->CachedOrigin() == held)
        shown->ForgetOrigin();
    }
  }
  DestroyField(held);
}

int KDdTable::posOfBinary(const IDdField* field) const {
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i)
    if (static_cast<const IDdField*>(m_arrBinaryFields[i]) == field) return i;
  return -1;
}

void KDdTable::DeleteRelation(IDdDataDict* dict, IDdRelation* relation, int cascade) {
  constexpr const char* kMethod = "KDdTable::DeleteRelation";
  if (IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply DeleteRelation to View");
  int pos = RelationPos(relation);
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid relation pointer");
  KDdRelation* held = m_arrRelations[pos];
  long flags = held->GetFlags();
  if (dd_user_mode(dict) && (!(flags & DD_REL_USER_DEFINED) || (flags & DD_REL_REQUIRED)))
    dd_throw(KERR_DD_REL_FLAGS, kMethod, "User mode, Flags=%lx, REL_FLAGS_REQUIRED", flags);
  KZString name = held->GetName();
  DeleteIndexesNaming(dict, name);
  for (KDdTable* view : ViewsOf(dict)) {
    for (int j = view->m_arrJoins.GetSize() - 1; j >= 0; --j) {
      KDdRelation* joined = view->m_arrJoins[j]->FindRel(dict);
      if (joined && (joined == held || joined->GetInverse(dict, 0) == held))
        view->DeleteJoin(dict, view->m_arrJoins[j], 0);
    }
  }
  if (cascade) {
    auto* inverse = dynamic_cast<KDdRelation*>(held->GetInverse(dict, 0));
    if (inverse && inverse != held && inverse->GetOwner()) inverse->GetOwner()->DeleteRelation(dict, inverse, 0);
  }
  if (holdsKeyField(*held)) {
    KDdField* key = LookupField(name);
    if (key && key->IsFlagSet(int(DD_FLD_FOREIGN_KEY)) && !key->IsFlagSet(int(DD_FLD_OBJID))) DestroyField(key);
  }
  if (RelationPos(held) < 0) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Invalid relation pointer");
  DestroyRelation(dict, held);
}

} // namespace KCLASSIC
