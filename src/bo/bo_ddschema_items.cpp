// Schema text of the records inside a block: fields, binary fields, view
// fields, relations, indexes and joins.
#include <cstdarg>

#include "bo/bo_dd.h"
#include "bo/bo_ddschema.h"
#include "bo/bo_ddtable.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

// The schema text's name of a field's cmn type; null for one it has none for.
const char* cmn_type_text(long cmnType) {
  static const struct {
    long type;
    const char* text;
  } kTypes[] = {{512, "long integer"}, {514, "float"}, {516, "char pointer"}, {609, "clk_ty_time"}, {766, "decimal"}};
  for (const auto& t : kTypes)
    if (t.type == cmnType) return t.text;
  return nullptr;
}

// The keywords of a field's set flags, in their order, each after a blank.
KZString flag_words(long flags) {
  static const struct {
    long bit;
    const char* word;
  } kWords[] = {{0x100, " SEARCHABLE"},          {0x200, " CHANGE_FIELD"},          {0x400, " CHANGE_DATE"},
                {0x800, " DONT_DISTR_TO_CLIENT"}, {0x1000, " DONT_DISTR_TO_SERVER"}, {DD_FLD_ALLOW_NULL, " ALLOW_NULL"},
                {DD_FLD_CURRENCY, " CURRENCY"}};
  KZString words;
  for (const auto& w : kWords)
    if (flags & w.bit) words += w.word;
  return words;
}

const char* rel_type_word(long relType) {
  switch (relType) {
    case IDdRelation::OTM: return "OTM";
    case IDdRelation::MTO: return "MTO";
    case IDdRelation::OTOP: return "OTOP";
    case IDdRelation::OTOF: return "OTOF";
    default: return "MTM";
  }
}

[[noreturn]] void missing_origin(const KZString& field) {
  throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdField::WriteSchemaViewField", field);
}

} // namespace

void bo_schema_put(KFile& file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n > 0) {
    KZString text;
    char* buffer = text.GetBuffer(n + 1);
    std::vsnprintf(buffer, size_t(n) + 1, format, args);
    text.ReleaseBuffer(n);
    file.Write(static_cast<const char*>(text), unsigned(n));
  }
  va_end(args);
}

KZString bo_schema_quoted(const KZString& text) {
  KZString quoted(text);
  quoted.Replace("\"", "\\\"");
  return quoted;
}

int CompareAlias(const void* a, const void* b) {
  return kstrcmp(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}

int KDdField::OutputSchema(IDdDataDict* dict, KFile& file, int first) {
  if (m_pTable && m_pTable->IsView()) return WriteSchemaViewField(dict, file);
  return WriteSchemaTableField(file, first);
}

int KDdField::WriteSchemaTableField(KFile& file, int first) {
  if (m_pTable && m_pTable->IsView()) return 0;
  if (m_lFlags & DD_FLD_BINARY) return WriteSchemaBinaryField(file, first);
  const char* type = cmn_type_text(m_lCmnType);
  if (!type) return 0;
  if (!first) bo_schema_put(file, "\n,\n");
  const KZString& name = GetName();
  bo_schema_put(file, "    %s  CMN_DATA_TYPE=\"%s\" DB_DATA_TYPE=%ld\n", static_cast<const char*>(name), type,
                GetOrigDBType());
  bo_schema_put(file, "     %s %s%s", (m_lFlags & DD_FLD_MANDATORY) ? "MANDATORY" : "OPTIONAL",
                (m_lFlags & DD_FLD_PREDEFINED) ? "PREDEFINED" : "USER_DEFINED",
                static_cast<const char*>(flag_words(m_lFlags)));
  if (m_lGenericId != DD_NO_ID) bo_schema_put(file, "\n     GEN_FIELD_ID=%ld", m_lGenericId);
  if (m_lArraySize > 0) bo_schema_put(file, "\n     ARRAY_SIZE=%ld", m_lArraySize);
  if (m_lDecPrecision > 0)
    bo_schema_put(file, "\n     DEC_PRECISION=%ld\n     DEC_SCALE=%ld", m_lDecPrecision, m_lDecScale);
  if (!m_strDefaultValue.IsEmpty())
    bo_schema_put(file, "\n     DEFAULT=\"%s\"", static_cast<const char*>(bo_schema_quoted(m_strDefaultValue)));
  // An old name is written only when there is one (an empty one would
  // take the next keyword as the name).
  if (!m_strOldName.IsEmpty() && name.Compare(m_strOldName) != 0)
    bo_schema_put(file, "\n     OLD_NAME=%s", static_cast<const char*>(m_strOldName));
  if (!m_strComment.IsEmpty())
    bo_schema_put(file, "\n     COMMENT=\"%s\"", static_cast<const char*>(bo_schema_quoted(m_strComment)));
  return 1;
}

int KDdField::WriteSchemaBinaryField(KFile& file, int first) {
  if (!first) bo_schema_put(file, ",\n");
  bo_schema_put(file, "    %s CMN_DATA_TYPE=\"array\" DB_DATA_TYPE=0\n     GEN_FIELD_ID=%ld\n     MANDATORY PREDEFINED",
                static_cast<const char*>(GetName()), m_lGenericId);
  if (!m_strComment.IsEmpty())
    bo_schema_put(file, "\n     COMMENT=\"%s\"", static_cast<const char*>(bo_schema_quoted(m_strComment)));
  return 1;
}

int KDdField::WriteSchemaViewField(IDdDataDict* dict, KFile& file) {
  IDdField* origin = GetOriginField(dict, 0);
  if (!origin) missing_origin(GetName());
  KZString source = m_strSrcAlias;
  if (source.IsEmpty()) {
    IDdTable* table = dict ? dict->FindTable(m_lOriginTableId, 0) : nullptr;
    if (!table) missing_origin(GetName());
    source = table->GetName();
  }
  KZString suffix;
  if (m_lGenericId == DD_GENID_VIEW_KEY)
    suffix = "\tUNIQUE";
  else if (m_lGenericId != DD_NO_ID)
    suffix.Format("\tGEN_FIELD_ID=%ld", m_lGenericId);
  // Names are padded to ten, never cut: a cut name would name another field.
  bo_schema_put(file, "   %-10s\tFROM\t%s.%-10s%s\n     COMMENT=\"%s\"", static_cast<const char*>(GetName()),
                static_cast<const char*>(source), static_cast<const char*>(origin->GetName()),
                static_cast<const char*>(suffix), static_cast<const char*>(bo_schema_quoted(m_strComment)));
  return 1;
}

void KDdRelation::OutputSchema(KFile& file, const KZString& prefix) {
  const char* p = prefix;
  bo_schema_put(file, "    %s%s %s %s\n", p, static_cast<const char*>(GetName()), rel_type_word(GetRelType()),
                static_cast<const char*>(m_strInverseTable));
  if (m_lFlags & DD_REL_USER_DEFINED) bo_schema_put(file, "     %sUSER_DEFINED\n", p);
  if (m_lFlags & DD_REL_REQUIRED) bo_schema_put(file, "     %sREQUIRED\n", p);
  if (m_lGenericId != DD_NO_ID) bo_schema_put(file, "     %sGEN_REL_ID=%ld\n", p, m_lGenericId);
  bo_schema_put(file, "     %sINV_REL=%s", p, static_cast<const char*>(m_strInverseName));
  bo_schema_put(file, "     %sCOMMENT=\"%s\"\n", p, static_cast<const char*>(bo_schema_quoted(m_strComment)));
}

void KDdIndex::OutputSchema(KFile& file) {
  bo_schema_put(file, "\t%s\t", static_cast<const char*>(m_strName));
  for (long i = 0;; ++i) {
    KZString part = GetFieldNameAt(i);
    if (part.IsEmpty()) break;
    IDdField* field = m_pTable ? m_pTable->FindField(part) : nullptr;
    const bool isField = field && !field->IsForeignKey(nullptr, nullptr);
    bo_schema_put(file, isField ? "FIELD=%s " : "RELATION=%s ", static_cast<const char*>(part));
  }
  if (m_lFlags & DD_IDX_UNIQUE) bo_schema_put(file, " UNIQUE");
}

void KDdJoin::OutputSchema(IDdDataDict* dict, KFile& file) {
  IDdRelation* rel = GetRel(dict);
  const KZString& primary = m_strPrimaryAlias.IsEmpty() ? rel->GetInverseTableName() : m_strPrimaryAlias;
  const KZString& foreign = m_strForeignAlias.IsEmpty() ? rel->GetFromTableName() : m_strForeignAlias;
  const bool outerPrimary = (m_lJoinFlags & DD_JOIN_OUTER_PRIMARY) != 0;
  const bool outerForeign = !outerPrimary && (m_lJoinFlags & DD_JOIN_OUTER_FOREIGN) != 0;
  bo_schema_put(file, "   %s %s.%s = %s %s.%s\n     COMMENT=\"%s\"", outerPrimary ? "OUTER" : "",
                static_cast<const char*>(primary), static_cast<const char*>(rel->GetInverseName()),
                outerForeign ? "OUTER" : "", static_cast<const char*>(foreign),
                static_cast<const char*>(rel->GetName()), static_cast<const char*>(bo_schema_quoted(m_strComment)));
}

} // namespace KCLASSIC
