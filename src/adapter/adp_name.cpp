// KAdpNameMapper: logical to physical names by convert type.
#include "adapter/adp_name.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "adapter/adp_db.h"
#include "schema/typ_acc.h"

using KCLASSIC::KZString;

namespace {

enum : long {
  kTable = 0,
  kIndex = 1,
  kSearchIndex = 2,
  kColumn = 3,
  kSearchColumn = 4,
  kRelColumn = 5,
  kArrayTable = 6,
  kTempTable = 7,
  kShortIndex = 8,
  kArrayIndex = 9,
  kLinkIndex = 10,
};

constexpr long kShortIndexKeep = 16;  // type 8 trims names longer than this

bool is_link_table(const char* name) {
  return std::strncmp(name, "MTM_", 4) == 0 || std::strncmp(name, "mtm_", 4) == 0;
}

std::string type_name_of(const typ_sch_srec* record) {
  const char* name = record != nullptr ? typ_sch_get_nameP(record) : nullptr;
  return name != nullptr ? name : "";
}

bool header_has_upper_columns() {
  char set = 0;
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HEAD_UPPER_COLUMNS, &set);
  return set != 0;
}

std::string index_name(const std::string& l, const std::string& type) {
  if (adp_db_is_db_mssql()) return l == "objid" ? "objindex" : l;
  if (adp_db_is_db_oracle()) return l == "objid" ? type + "_objindex" : type + "_" + l;
  return "";
}

std::string temp_table(const std::string& l) {
  if (adp_db_is_db_mssql()) return "t_" + l;
  if (adp_db_is_db_oracle()) return "table_" + l + "_TEMP";
  return "";
}

std::string short_index(const std::string& l, short max_len) {
  // "i", the first max-2 characters and the last one: max characters.
  if (static_cast<long>(l.size()) > max_len - 1) return "i" + l.substr(0, max_len - 2) + l.back();
  return "i" + l;
}

std::string array_table(const std::string& l, long number) {
  char buf[64 + 256];
  std::snprintf(buf, sizeof buf, "table_%.256s_array_%.1ld", l.c_str(), number);
  return buf;
}

}  // namespace

KAdpNameMapper::KAdpNameMapper() = default;

KZString KAdpNameMapper::GetPhys(KZString logical, convert_type type, long number,
                                 typ_sch_srec* type_record) const {
  const std::string l = static_cast<const char*>(logical);
  std::string out;
  switch (static_cast<long>(type)) {
    case kTable: out = is_link_table(l.c_str()) ? l : "table_" + l; break;
    case kIndex: out = index_name(l, type_name_of(type_record)); break;
    case kSearchIndex:
      if (adp_db_is_db_oracle()) out = "S_" + type_name_of(type_record) + "_" + l;
      break;
    case kColumn:
    case kRelColumn: out = l; break;
    case kSearchColumn:
      if (header_has_upper_columns()) out = "S_" + l;
      break;
    case kArrayTable: out = array_table(l, number); break;
    case kTempTable: out = temp_table(l); break;
    case kShortIndex:
      out = static_cast<long>(l.size()) > kShortIndexKeep ? "i_" + l.substr(2) : "i_" + l;
      break;
    case kArrayIndex:
    case kLinkIndex: out = short_index(l, m_maxIndexLength); break;
    default: break;
  }
  return KZString(out.c_str());
}

KCLASSIC::KMapStringToString* KAdpNameMapper::map_of(convert_type type) {
  return const_cast<KCLASSIC::KMapStringToString*>(std::as_const(*this).map_of(type));
}

const KCLASSIC::KMapStringToString* KAdpNameMapper::map_of(convert_type type) const {
  switch (static_cast<long>(type)) {
    case kTable: return &m_tables;
    case kIndex: return &m_indexes;
    case kColumn:
    case kRelColumn: return &m_columns;
    default: return nullptr;
  }
}

void KAdpNameMapper::AddLogPhysPair(KZString logical, KZString physical, convert_type type) {
  if (KCLASSIC::KMapStringToString* map = map_of(type)) map->SetAt(physical, logical);
}

KZString KAdpNameMapper::GetLog(KZString physical, convert_type type) const {
  KZString out;
  if (const KCLASSIC::KMapStringToString* map = map_of(type)) {
    if (!map->Lookup(physical, out)) out.Empty();
  }
  return out;
}
