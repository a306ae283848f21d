// The dialect base: phrase table access, the shared phrases and the
// operations not yet built by a dialect.
#include "adapter/dialects/adp_dbop.h"

#include <cstring>


using KCLASSIC::KZString;

KAdpDbOperation::KAdpDbOperation() { base_initialize(); }

KAdpDbOperation::~KAdpDbOperation() = default;

KZString* KAdpDbOperation::slot(long i) {
  if (i == 0) return &m_str0;
  if (i == 34) return &m_str34;
  if (i == 35) return &m_str35;
  if (i >= 56 && i <= 58) return &m_roles[i - 56];
  if (i == 59) return &m_str59;
  if (i >= 1 && i <= 10) return &m_strA[i - 1];
  if (i >= 60 && i <= 62) return &m_strA[10 + i - 60];
  if (i >= 11 && i <= 29) return &m_strA[13 + i - 11];
  if (i == 36) return &m_strA[32];
  if (i >= 38 && i <= 52) return &m_strB[i - 38];
  if (i >= 30 && i <= 33) return &m_strB[15 + i - 30];
  if (i >= 53 && i <= 55) return &m_str53to55[i - 53];
  return nullptr;  // 37 is a buffer; anything else is no phrase
}

const KZString* KAdpDbOperation::slot(long i) const { return const_cast<KAdpDbOperation*>(this)->slot(i); }

long* KAdpDbOperation::lslot(long i) {
  if (i >= 0 && i <= 5) return &m_long0to5[i];
  if (i == 10) return &m_long10;
  if (i >= 6 && i <= 8) return &m_long6to8[i - 6];
  if (i == 11) return &m_long11_12_9[0];
  if (i == 12) return &m_long11_12_9[1];
  if (i == 9) return &m_long11_12_9[2];
  return nullptr;
}

const char* KAdpDbOperation::GetDbSpecificStr(str_type index) const {
  long i = index;
  if (i == 37) return m_str37;
  const KZString* s = slot(i);
  return s != nullptr ? static_cast<const char*>(*s) : "";
}

long KAdpDbOperation::GetDbSpecificLong(long_type index) const {
  long* p = const_cast<KAdpDbOperation*>(this)->lslot(index);
  return p != nullptr ? *p : 0;
}

void KAdpDbOperation::put_str(long index, const char* text) {
  if (text == nullptr) text = "";
  if (index == 37) {
    std::strncpy(m_str37, text, kPhrase37Size - 1);
    m_str37[kPhrase37Size - 1] = '\0';
    return;
  }
  if (KZString* s = slot(index)) *s = text;
}

void KAdpDbOperation::put_long(long index, long value) {
  if (long* p = lslot(index)) *p = value;
}

void KAdpDbOperation::SetDbSpecificStr(str_type index, const char* text) {
  long i = index;
  if ((i >= 0 && i <= 55) || i == 59) put_str(i, text);
}

void KAdpDbOperation::SetDbSpecificLong(long_type index, long value) { put_long(index, value); }

const char* KAdpDbOperation::GetUsrGroup(long role) const {
  if (role < 0 || role > 2) return "";
  return m_roles[role];
}

void KAdpDbOperation::Initialize() { base_initialize(); }

void KAdpDbOperation::base_initialize() {
  static const char* const kDeUpdates =
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, dev+1, dev, ";
  put_str(53, "tta");
  put_str(54, "wta");
  m_strDdlFile = "sql.ddl";
  put_str(20, kDeUpdates);
  put_str(21, kDeUpdates);
  put_str(23,
          " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, "
          "dev+1+%ld, dev+%ld, ");
  put_str(24, kDeUpdates);
  put_str(26, " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) VALUES ( ");
  put_str(27,
          "INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, dev + "
          "1, dev, ");
  put_str(28, "UPDATE %s SET dev = dev + 1, ");
  put_str(29, "UPDATE %s SET dev = dev + %d, ");
  put_str(36,
          ";\nif SQL%ROWCOUNT <=0 THEN \nraise_application_error(-20899,'The record may have been changed, please "
          "refresh and try again.');\nEND IF");
  put_str(37, "");
  put_long(10, -1);
}

long KAdpDbOperation::ObjNotUniqueByMsg(char* /*message*/, long* type_id, char** columns, char** index_name) {
  static char empty[1] = "";
  if (type_id != nullptr) *type_id = -1;
  if (columns != nullptr) *columns = empty;
  if (index_name != nullptr) *index_name = empty;
  return 0;
}

long KAdpDbOperation::OpenDdlFile(FILE** out) {
  FILE* f = std::fopen(m_strDdlFile, "w");
  if (out != nullptr) *out = f;
  if (f == nullptr) return 1;
  if (out == nullptr) std::fclose(f);
  return 0;
}
