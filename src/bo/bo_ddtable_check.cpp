// The checks of schema editing. Each runs its rules in order and throws at
// the first that fails, before anything changes; creating (isNew 1) and
// updating (isNew 0, the updated record given) share them. The rules differ
// between user mode and product mode.
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

// Value type ids of the core runtime that fields may carry.
constexpr long kCmnLong = 512;
constexpr long kCmnFloat = 514;
constexpr long kCmnText = 516;
constexpr long kCmnClock = 609;
constexpr long kCmnDecimal = 766;

// Column types.
constexpr long kDbInt = 0;
constexpr long kDbTinyInt = 2;
constexpr long kDbReal = 3;
constexpr long kDbVarchar = 7;
constexpr long kDbText = 8;
constexpr long kDbDateTime = 9;
constexpr long kDbDecimal = 11;

bool noDecimals(long precision, long scale) { return precision == -1 && scale == -1; }

// The allowed combinations of value type, column type and sizes.
bool typesFit(long cmnType, long dbType, long arraySize, long precision, long scale) {
  switch (cmnType) {
    case kCmnLong: return dbType >= kDbInt && dbType <= kDbTinyInt && arraySize <= 0 && noDecimals(precision, scale);
    case kCmnFloat: return dbType == kDbReal && arraySize <= -1 && noDecimals(precision, scale);
    case kCmnText:
      if (dbType == kDbVarchar) return arraySize != -1 && noDecimals(precision, scale);
      return dbType == kDbText && arraySize <= -1 && noDecimals(precision, scale);
    case kCmnClock: return dbType == kDbDateTime && arraySize <= -1 && noDecimals(precision, scale);
    case kCmnDecimal: return dbType == kDbDecimal && arraySize <= -1 && precision >= 1 && scale >= 1;
    default: return false;
  }
}

KDdTable* findTable(IDdDataDict* dict, const KZString& name) {
  return dict ? dd_table_of(dict->FindTable(name, 1)) : nullptr;
}

KDdTable* findTable(IDdDataDict* dict, long id) { return dict ? dd_table_of(dict->FindTable(id, 1)) : nullptr; }

} // namespace

KZString KDdTable::GetSubNameAt(const KZString& list, long n) {
  if (n < 0) return KZString();
  std::vector<KZString> parts = dd_split_list(list);
  return size_t(n) < parts.size() ? parts[size_t(n)] : KZString();
}

void KDdTable::CheckFieldArg(IDdDataDict* dict, const KZString& name, long dbType, long arraySize,
                             long decPrecision, long decScale, long flags, long cmnType, long genericId,
                             KDdField* updated, int isNew) {
  constexpr const char* kMethod = "KDdTable::CheckFieldArg";
  if (dd_user_mode(dict) && !IsView() && (flags & DD_FLD_PREDEFINED))
    dd_throw(KERR_DD_FIELD_FLAGS, kMethod, "User mode, Flags=%ld, predefined field", flags);
  if (isNew == 1 && LookupField(name)) dd_throw(KERR_DD_DUP_FIELD, kMethod, "Name=%s", dd_s(name));
  if (!typesFit(cmnType, dbType, arraySize, decPrecision, decScale))
    dd_throw(KERR_DD_FIELD_ARGS, kMethod, "CmnTyp=%ld, DbTyp=%ld, ArraySize=%ld, DecPrecision=%ld, DecScale=%ld",
             cmnType, dbType, arraySize, decPrecision, decScale);
  if (genericId < -1) dd_throw(KERR_DD_BAD_GENID, kMethod, "GenId=%ld", genericId);
  if (genericId == -1 || IsFlagSet(int(DD_TBL_GENID_SHARED))) return;
  for (int i = 0; i < m_arrFields.GetSize(); ++i) {
    KDdField* field = m_arrFields[i];
    if (field != updated && field->GetGenericId() == genericId)
      dd_throw(KERR_DD_DUP_GENID, kMethod, "GenId=%ld", genericId);
  }
}

void KDdTable::CheckAlias(IDdDataDict* dict, const KZString& tableName, const KZString& alias,
                          const void* updated, int isNew) {
  if (alias.IsEmpty()) return;
  auto fail = [&]() {
    dd_throw(KERR_DD_BAD_ALIAS, "KDdTable::CheckAlias", "Table=%s, Alias=%s", dd_s(tableName), dd_s(alias));
  };
  auto exempt = [&](const void* record) { return isNew != 1 && record == updated; };
  for (int i = 0; i < m_arrFields.GetSize(); ++i) {
    KDdField* field = m_arrFields[i];
    if (field->GetSrcAlias().Compare(alias) != 0 || exempt(field)) continue;
    KDdTable* origin = findTable(dict, field->GetOriginTableId());
    if (!origin || origin->GetName().Compare(tableName) != 0) fail();
  }
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) {
    KDdJoin* join = m_arrJoins[i];
    bool foreign = join->GetForeignAlias().Compare(alias) == 0;
    bool primary = join->GetPrimaryAlias().Compare(alias) == 0;
    if ((!foreign && !primary) || exempt(join)) continue;
    KDdRelation* relation = join->FindRel(dict);
    if (!relation) fail();
    if (foreign && relation->GetFromTableName().Compare(tableName) != 0) fail();
    if (primary && relation->GetInverseTableName().Compare(tableName) != 0) fail();
  }
}

void KDdTable::CheckRelArg(IDdDataDict* dict, const KZString& name, long relType, long genericId, long lowFlags,
                           long highFlags, const KZString& inverseTable, const KZString& inverseName,
                           const KZString& focusField, const KZString& physRelName, const KZString& exclusiveSet,
                           int isNew) {
  constexpr const char* kMethod = "KDdTable::CheckRelArg";
  if (isNew == 1 && FindRelation(dict, name)) dd_throw(KERR_DD_DUP_RELATION, kMethod, "Name=%s", dd_s(name));
  long type = dd_rel_type_of(relType);
  if (type < IDdRelation::OTM || type > IDdRelation::MTM) dd_throw(KERR_DD_REL_TYPE, kMethod, "RelType=%ld", type);
  if (genericId < -1) dd_throw(KERR_DD_BAD_GENID, kMethod, "GenId=%ld", genericId);
  if (dd_user_mode(dict) && (!(highFlags & DD_REL_USER_DEFINED) || (highFlags & DD_REL_REQUIRED)))
    dd_throw(KERR_DD_REL_FLAGS, kMethod, "User mode, Flags=%lx, REL_FLAGS_REQUIRED", highFlags);
  KDdTable* inverse = findTable(dict, inverseTable);
  if (!inverse) dd_throw(KERR_DD_BAD_TABLE_NAME, kMethod, "Inverse Table Name=%s", dd_s(inverseTable));
  if (isNew == 1) {
    // A relation of this table named like its own inverse would take the
    // inverse's place in the name map.
    bool clash = inverse->FindRelation(dict, inverseName) ||
                 (inverse == this && inverseName.CompareNoCase(name) == 0);
    if (clash) dd_throw(KERR_DD_DUP_RELATION, kMethod, "Inverse Relation Name=%s", dd_s(inverseName));
  }
  if (!(lowFlags & DD_REL_EXCLUSIVE)) return;
  KDdTable* keySide = (type == IDdRelation::MTO || type == IDdRelation::OTOP) ? this : inverse;
  CheckRelKeySide(dict, keySide, focusField, physRelName, exclusiveSet, isNew);
}

void KDdTable::CheckRelKeySide(IDdDataDict*, KDdTable* keySide, const KZString& focusField,
                               const KZString& physRelName, const KZString& exclusiveSet, int isNew) {
  constexpr const char* kMethod = "KDdTable::CheckRelArg";
  constexpr const char* kInsert = "FocusFieldName=%s, PhysRelName=%s";
  if (!keySide->LookupField(focusField) || !keySide->LookupField(physRelName))
    dd_throw(KERR_DD_SET_FIELDS, kMethod, kInsert, dd_s(focusField), dd_s(physRelName));
  if (isNew != 1) return;
  for (int i = 0; i < keySide->m_arrRelations.GetSize(); ++i) {
    KDdRelation* member = keySide->m_arrRelations[i];
    if (!member->IsFlagSet(int(DD_REL_EXCLUSIVE))) continue;
    bool sameFocus = member->GetFocusFieldName().Compare(focusField) == 0;
    bool samePhys = member->GetPhysRelName().Compare(physRelName) == 0;
    bool sameSet = member->GetExclusiveSetName().Compare(exclusiveSet) == 0;
    if (sameSet ? !(sameFocus && samePhys) : (sameFocus || samePhys))
      dd_throw(KERR_DD_SET_MISMATCH, kMethod, kInsert, dd_s(focusField), dd_s(physRelName));
  }
}

long KDdTable::CheckIndexArg(IDdDataDict* dict, const KZString& name, long, const KZString& keyList, int isNew) {
  constexpr const char* kMethod = "KDdTable::CheckIndexArg";
  if (isNew == 1) {
    for (int i = 0; i < m_arrIndexes.GetSize(); ++i)
      if (m_arrIndexes[i]->GetName().Compare(name) == 0) dd_throw(KERR_DD_DUP_INDEX, kMethod, "Name=%s", dd_s(name));
  }
  if (keyList.IsEmpty()) dd_throw(KERR_DD_INDEX_FIELDS, kMethod, "FldNames=%s", dd_s(keyList));
  std::vector<KZString> parts = dd_split_list(keyList);
  for (const KZString& part : parts) {
    IDdRelation* relation = FindRelation(dict, part);
    bool ok = relation ? (relation->GetRelType() == IDdRelation::MTO || relation->GetRelType() == IDdRelation::OTOP)
                       : LookupField(part) != nullptr;
    if (!ok) dd_throw(KERR_DD_INDEX_FIELDS, kMethod, "FldNames=%s", dd_s(keyList));
  }
  return long(parts.size());
}

void KDdTable::CheckJoinArg(IDdDataDict* dict, const KZString& tableName, const KZString& relName,
                            const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags,
                            KDdJoin* updated, int isNew) {
  constexpr const char* kMethod = "KDdTable::CheckJoinArg";
  KDdTable* table = findTable(dict, tableName);
  if (!table) dd_throw(KERR_DD_BAD_TABLE_NAME, kMethod, "Name=%s", dd_s(tableName));
  IDdRelation* relation = table->FindRelation(dict, relName);
  if (!relation) dd_throw(KERR_DD_BAD_REL_NAME, kMethod, "Name=%s", dd_s(relName));
  if (relation->GetRelType() == IDdRelation::MTM && (joinFlags & (DD_JOIN_OUTER_PRIMARY | DD_JOIN_OUTER_FOREIGN)))
    dd_throw(KERR_DD_OUTER_JOIN, kMethod, "RELTYPE=MTM");
  if (!primaryAlias.IsEmpty() && primaryAlias.Compare(foreignAlias) == 0)
    dd_throw(KERR_DD_BAD_ALIAS, kMethod, "PrimaryAlias: %s, ForeignAlias: %s", dd_s(primaryAlias),
             dd_s(foreignAlias));
  CheckAlias(dict, tableName, foreignAlias, updated, isNew);
  CheckAlias(dict, relation->GetInverseTableName(), primaryAlias, updated, isNew);
}

} // namespace KCLASSIC
