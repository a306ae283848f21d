// The dictionary as schema text: the revision lines, then an OBJECT block
// for every table and a VIEW block for every view, by table id.
#include <cstdlib>
#include <vector>

#include "bo/bo_dict.h"
#include "bo/bo_ddschema.h"
#include "bo/bo_ddtable.h"

namespace KCLASSIC {

namespace {

// Open flags of the schema file: write, create (emptying), text.
constexpr unsigned BO_SCHEMA_OPEN = KFILE_WRITE | KFILE_CREATE | KFILE_TEXT;
// Table ids written: 0 up to this one.
constexpr long BO_SCHEMA_LAST_ID = 9999;

bool in_exclusive_set(const IDdRelation* rel) {
  return (rel->GetFlags() & DD_REL_EXCLUSIVE) &&
         (rel->GetRelType() == IDdRelation::MTO || rel->GetRelType() == IDdRelation::OTOP);
}

// Adds entry unless held already (case-sensitive).
void add_alias(std::vector<KZString>& entries, const KZString& table, const KZString& alias) {
  KZString entry = table + " " + alias;
  for (const auto& held : entries)
    if (held.Compare(entry) == 0) return;
  entries.push_back(entry);
}

} // namespace

void KDdTable::OutputSchema(IDdDataDict* dict, KFile& file) {
  if (IsView())
    WriteSchemaView(dict, file);
  else
    WriteSchemaTable(dict, file);
}

void KDdTable::WriteSchemaTable(IDdDataDict* dict, KFile& file) {
  if (IsView()) return;
  bo_schema_put(file, "OBJECT %s %ld\n", static_cast<const char*>(m_strName), m_lId);
  if (m_lFlags & DD_TBL_CACHE_OBJIDS) bo_schema_put(file, " CACHEOBJIDS\n");
  bo_schema_put(file, " SUBJECT=\"%s\"\n COMMENT=\"%s\"\n  FIELDS\n",
                static_cast<const char*>(bo_schema_quoted(m_strObjGroup)),
                static_cast<const char*>(bo_schema_quoted(m_strComment)));
  int first = 1;
  for (long id = 0; id <= MaxFieldId(); ++id) {
    auto* field = dynamic_cast<KDdField*>(FindField(id));
    if (!field) continue;
    // The implicit foreign keys of relations are the relations' own.
    if (field->IsForeignKey(nullptr, nullptr) && !(field->GetFlags() & DD_FLD_OBJID)) continue;
    if (field->OutputSchema(dict, file, first)) first = 0;
  }
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i)
    if (m_arrBinaryFields[i]->WriteSchemaBinaryField(file, first)) first = 0;
  bo_schema_put(file, "\n  FIELDS_END\n");
  const long maxRel = MaxRelId();
  if (maxRel >= 0) {
    bo_schema_put(file, "  RELATIONS\n");
    std::vector<KZString> setsWritten;
    int firstRel = 1;
    for (long id = 0; id <= maxRel; ++id) {
      KDdRelation* rel = RelationById(id);
      if (!rel) continue;
      if (!in_exclusive_set(rel)) {
        if (!firstRel) bo_schema_put(file, ",\n");
        rel->OutputSchema(file, KZString());
        firstRel = 0;
        continue;
      }
      const KZString& set = rel->GetExclusiveSetName();
      bool written = false;
      for (const auto& done : setsWritten) written = written || done.Compare(set) == 0;
      if (written) continue;
      setsWritten.push_back(set);
      if (!firstRel) bo_schema_put(file, ",\n");
      firstRel = 0;
      bo_schema_put(file, "    EXCLUSIVE_SET %s\n        TYPE_FIELD = %s\n        OBJID_FIELD = %s\n",
                    static_cast<const char*>(set), static_cast<const char*>(rel->GetFocusFieldName()),
                    static_cast<const char*>(rel->GetPhysRelName()));
      int firstInSet = 1;
      for (long other = id; other <= maxRel; ++other) {
        KDdRelation* member = RelationById(other);
        if (!member || !in_exclusive_set(member) || member->GetExclusiveSetName().Compare(set) != 0) continue;
        if (!firstInSet) bo_schema_put(file, ",\n");
        member->OutputSchema(file, KZString("    "));
        firstInSet = 0;
      }
      bo_schema_put(file, "    EXCLUSIVE_SET_END\n");
    }
    bo_schema_put(file, "\n  RELATIONS_END\n");
  }
  if (m_arrIndexes.GetSize() > 0) {
    bo_schema_put(file, "  INDEXES\n");
    for (int i = 0; i < m_arrIndexes.GetSize(); ++i) {
      m_arrIndexes[i]->OutputSchema(file);
      bo_schema_put(file, i + 1 < m_arrIndexes.GetSize() ? ",\n" : "\n");
    }
    bo_schema_put(file, "  INDEXES_END\n");
  }
  bo_schema_put(file, "OBJECT_END;\n\n");
}

void KDdTable::WriteSchemaView(IDdDataDict* dict, KFile& file) {
  if (!IsView()) return;
  bo_schema_put(file, "VIEW %s %ld\n SUBJECT=\"%s\"\n COMMENT=\"%s\"\n", static_cast<const char*>(m_strName), m_lId,
                static_cast<const char*>(bo_schema_quoted(m_strObjGroup)),
                static_cast<const char*>(bo_schema_quoted(m_strComment)));
  const long maxField = MaxFieldId();
  std::vector<KZString> entries;
  for (long id = 0; id <= maxField; ++id) {
    IDdField* field = FindField(id);
    if (!field || field->GetSrcAlias().IsEmpty()) continue;
    IDdField* origin = field->GetOriginField(dict, 0);
    IDdTable* table = origin ? origin->GetTable() : nullptr;
    if (!table) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdTable::WriteSchemaView", field->GetName());
    add_alias(entries, table->GetName(), field->GetSrcAlias());
  }
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) {
    KDdJoin* join = m_arrJoins[i];
    IDdRelation* rel = join->GetRel(dict);
    if (!join->GetForeignAlias().IsEmpty()) add_alias(entries, rel->GetFromTableName(), join->GetForeignAlias());
    if (!join->GetPrimaryAlias().IsEmpty())
      add_alias(entries, rel->GetInverseTableName(), join->GetPrimaryAlias());
  }
  std::vector<const char*> sorted;
  for (const auto& entry : entries) sorted.push_back(entry);
  if (!sorted.empty()) std::qsort(sorted.data(), sorted.size(), sizeof(const char*), CompareAlias);
  for (size_t i = 0; i < sorted.size(); ++i) bo_schema_put(file, i == 0 ? "  ALIAS %s\n" : "      , %s\n", sorted[i]);
  bo_schema_put(file, "  FIELDS\n");
  for (long id = 0; id <= maxField; ++id) {
    auto* field = dynamic_cast<KDdField*>(FindField(id));
    if (!field) continue;
    field->WriteSchemaViewField(dict, file);
    bo_schema_put(file, id == maxField ? "\n" : ",\n");
  }
  bo_schema_put(file, "  FIELDS_END\n");
  if (m_arrJoins.GetSize() > 0) {
    bo_schema_put(file, "  JOINS\n");
    for (int i = 0; i < m_arrJoins.GetSize(); ++i) {
      m_arrJoins[i]->OutputSchema(dict, file);
      bo_schema_put(file, i + 1 < m_arrJoins.GetSize() ? ",\n" : "\n");
    }
    bo_schema_put(file, "  JOINS_END\n");
  }
  bo_schema_put(file, "VIEW_END;\n\n");
  file.Flush();
}

int KDdDict::OutputSchemaFile(KZString& fileName) {
  KFile file;
  if (!file.Open(fileName, BO_SCHEMA_OPEN, nullptr)) return 0;
  try {
    bo_schema_put(file, "SCHEMA_REVISION %ld\n\n", GetDBSchemaVer());
    bo_schema_put(file, "LOCAL_SCHEMA_REVISION \"%s\"\n\n", static_cast<const char*>(GetCustDbVer()));
    for (long id = 0; id <= BO_SCHEMA_LAST_ID; ++id) {
      KDdTable* table = dd_table_of(FindTable(id, 1));
      if (table) table->OutputSchema(this, file);
    }
    file.Close();
  } catch (KErr* e) {
    delete e;
    try {
      file.Close();
    } catch (KErr* again) {
      delete again;
    }
    return 0;
  }
  return 1;
}

} // namespace KCLASSIC
