// The text form of a session context: four text fields, sixteen numbers
// and the checksum.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "bo/bo_session.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {

constexpr const char* BO_SESSION_NUMBERS_FORMAT =
    "%8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x";
constexpr const char* BO_SESSION_DESERIALIZE = "KUtlSessionContext::Deserialize";
constexpr const char* BO_SESSION_BAD_TEXT = "Bad Serialized String";

[[noreturn]] void bad_text() { throw new KErr(KERR_ILLEGAL_ARGUMENT, BO_SESSION_DESERIALIZE, BO_SESSION_BAD_TEXT); }

// The check text read as a decimal number the way atoi reads it, but
// saturating instead of overflowing.
long long check_number(const char* text) { return std::strtoll(text, nullptr, 10); }

// What a text form holds, taken apart before the session is touched.
struct SessionText {
  KZString fields[BO_SESSION_TEXT_FIELDS];
  uint32_t numbers[BO_SESSION_NUMBERS] = {};
};

void parse_text(const char* text, SessionText& out) {
  const char* blank = std::strrchr(text, ' ');
  KZString body;
  if (blank && blank > text) body = KZString(text, long(blank - text));
  const char* check = blank ? blank + 1 : text;
  if (static_cast<long long>(KUtlSessionContext::CalCheckSum(body)) != check_number(check)) bad_text();
  // Fields and numbers are taken from the body: the checksum after it is
  // no number of the session.
  const char* cursor = body;
  for (auto& field : out.fields) {
    const char* colon = std::strchr(cursor, BO_SESSION_SEPARATOR);
    if (!colon) bad_text();
    field = KZString(cursor, long(colon - cursor));
    cursor = colon + 1;
  }
  const char* end = std::strchr(cursor, BO_SESSION_SEPARATOR);
  KZString numbers = end ? KZString(cursor, long(end - cursor)) : KZString(cursor);
  unsigned n[BO_SESSION_NUMBERS] = {};
  int read = std::sscanf(numbers, BO_SESSION_NUMBERS_FORMAT, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6],
                         &n[7], &n[8], &n[9], &n[10], &n[11], &n[12], &n[13], &n[14], &n[15]);
  if (read != BO_SESSION_NUMBERS) bad_text();
  for (int i = 0; i < BO_SESSION_NUMBERS; ++i) out.numbers[i] = n[i];
}

} // namespace

unsigned long KUtlSessionContext::CalCheckSum(const char* text) {
  uint32_t sum = 0;
  for (const char* p = text; p && *p; ++p) sum += uint32_t(int32_t(static_cast<signed char>(*p)));
  return sum % BO_SESSION_CHECK_MODULUS;
}

void KUtlSessionContext::NumbersTo(uint32_t (&n)[BO_SESSION_NUMBERS]) const {
  const uint32_t values[BO_SESSION_NUMBERS] = {
      uint32_t(m_lIdentNum1), uint32_t(m_lReservedNum), uint32_t(m_lIdentNum2), uint32_t(m_lIdentNum3),
      m_tCreation,          m_tLastAccess,          m_ulSeqNum,             uint32_t(m_lTimeout),
      m_ulLanguages[0],     m_ulLanguages[1],       m_ulLanguages[2],       m_ulLanguages[3],
      m_ulLanguages[4],     m_ulLanguages[5],       m_ulLanguages[6],       m_ulLanguages[7]};
  for (int i = 0; i < BO_SESSION_NUMBERS; ++i) n[i] = values[i];
}

void KUtlSessionContext::NumbersFrom(const uint32_t (&n)[BO_SESSION_NUMBERS]) {
  m_lIdentNum1 = int32_t(n[0]);
  m_lReservedNum = int32_t(n[1]);
  m_lIdentNum2 = int32_t(n[2]);
  m_lIdentNum3 = int32_t(n[3]);
  m_tCreation = n[4];
  m_tLastAccess = n[5];
  m_ulSeqNum = n[6];
  m_lTimeout = int32_t(n[7]);
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) m_ulLanguages[kind] = n[8 + kind];
}

char* KUtlSessionContext::Serialize() const {
  uint32_t n[BO_SESSION_NUMBERS];
  NumbersTo(n);
  KZString body;
  body.Format("%s:%s:%s:%s:%8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x %8x",
              static_cast<const char*>(m_strSessionKey), static_cast<const char*>(m_strTextX),
              static_cast<const char*>(m_strTextY), static_cast<const char*>(m_strTextZ), n[0], n[1], n[2], n[3],
              n[4], n[5], n[6], n[7], n[8], n[9], n[10], n[11], n[12], n[13], n[14], n[15]);
  KZString text;
  text.Format("%s %04ld", static_cast<const char*>(body), long(CalCheckSum(body)));
  return KBinSysAllocStringByteLen(text, unsigned(text.GetLength()));
}

void KUtlSessionContext::DeSerialize(const char* text) {
  SessionText parsed;
  try {
    if (!text) bad_text();
    parse_text(text, parsed);
  } catch (KErr*) {
    throw;
  } catch (...) {
    bad_text();
  }
  m_strSessionKey = parsed.fields[0];
  m_strTextX = parsed.fields[1];
  m_strTextY = parsed.fields[2];
  m_strTextZ = parsed.fields[3];
  NumbersFrom(parsed.numbers);
}

} // namespace KCLASSIC
