// KErr, the resource-string look-ups and the throw and check helpers.
#include "kclassic/kc_err.h"

#include <cstring>
#include <initializer_list>

#include "kclassic/kc_mb.h"
#include "kclassic/kc_res.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

// ---------------------------------------------------------------------------
// The error object.

KErr::KErr() { KErr::InitParams(0, nullptr); }

KErr::KErr(long code, const char* method, const char* p1, const char* p2, const char* p3, const char* p4,
           const char* p5) {
  KErr::InitParams(code, method, p1, p2, p3, p4, p5);
}

KErr::KErr(long code, const char* method, long osError, const char* p1, const char* p2, const char* p3,
           const char* p4, const char* p5) {
  KErr::InitParams(code, method, p1, p2, p3, p4, p5);
  HResult = osError;
  UseHresult = 1;
}

KErr::KErr(long code, const char* method, KErr* inner, const char* p1, const char* p2, const char* p3,
           const char* p4, const char* p5) {
  KErr::InitParams(code, method, p1, p2, p3, p4, p5);
  m_pNext = inner;
}

KErr::KErr(const KErr& other) { CopyFrom(other); }

KErr& KErr::operator=(const KErr& other) {
  if (&other != this) {
    Clear();
    CopyFrom(other);
  }
  return *this;
}

void KErr::CopyFrom(const KErr& other) {
  const char* p[5] = {};
  for (int i = 0; i < 5 && i < other.GetParamCount(); ++i) p[i] = other.m_params[i];
  KErr::InitParams(other.ErrorNum, other.MethodName, p[0], p[1], p[2], p[3], p[4]);
  HResult = other.HResult;
  UseHresult = other.UseHresult;
  m_strText1 = other.m_strText1;
  m_strText2 = other.m_strText2;
  if (other.m_pNext) m_pNext = new KErr(*other.m_pNext);
}

KErr::~KErr() { Clear(); }

void KErr::Clear() {
  delete m_pNext;
  m_pNext = nullptr;
  ErrorNum = 0;
  m_params.SetSize(0);
  MethodName.Empty();
}

void KErr::Initialize(long code, const char* method, const char* p1, const char* p2, const char* p3,
                      const char* p4, const char* p5) {
  Clear();
  InitParams(code, method, p1, p2, p3, p4, p5);
}

void KErr::InitParams(long code, const char* method, const char* p1, const char* p2, const char* p3,
                      const char* p4, const char* p5) {
  m_pNext = nullptr;
  ErrorNum = code;
  MethodName = method;
  for (const char* p : {p1, p2, p3, p4, p5}) {
    if (!p) break;
    m_params.Add(p);
  }
}

KErr* KErr::ChainError(KErr* e) {
  if (!e) return this;
  for (KErr* c = this; c; c = c->m_pNext)
    if (c == e) return this; // already chained here
  for (KErr* c = e; c; c = c->m_pNext)
    if (c == this) return this; // this error is part of e's chain: linking would close a loop
  KErr* last = this;
  while (last->m_pNext) last = last->m_pNext;
  last->m_pNext = e;
  return this;
}

// ---------------------------------------------------------------------------
// String tables.

const char* KGetResourceString(int id, unsigned long language) {
  for (const KResStrLocale& loc : g_ResStrByLocale) {
    if (loc.language != language) continue;
    for (int i = 0; i < KRESOURCE_STRING_COUNT; ++i)
      if (loc.table[i].id == id) return loc.table[i].text;
  }
  throw new KErr(KERR_ILLEGAL_ARGUMENT, "KGetResourceString", "Invalid MsgId or LanguageId");
}

int KAfxLoadStringInternal(unsigned id, char* buffer, unsigned size) {
  if (!buffer || size == 0) return 0;
  const char* text = nullptr;
  for (const KAfxString& s : aStrings)
    if (s.id == id) text = s.text;
  char missing[64];
  if (!text) {
    ksprintf(missing, "KAfx error string not found %lu.", static_cast<unsigned long>(id));
    text = missing;
  }
  size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(buffer, text, n);
  buffer[n] = 0;
  return int(n);
}

int KAfxLoadString(unsigned id, char* buffer, unsigned size) {
  (void)KAfxIsValidAddress(buffer, size);
  return KAfxLoadStringInternal(id, buffer, size);
}

// ---------------------------------------------------------------------------
// Throw and check helpers.

void KAfxThrowMemoryException() { throw new KErr(KERR_MEMORY, "KAfxThrowMemoryException", "Out of memory"); }

void KAfxThrowNotSupportedException() {
  throw new KErr(KERR_NOT_SUPPORTED, "KAfxThrowNotSupportedException", "Not Supported");
}

void KAfxCheckError(long result) {
  if (result >= 0) return;
  if (result == long(int32_t(0x8007000E))) KAfxThrowMemoryException();
  throw new KErr(KERR_UNKNOWN_EXCEPTION, "KAfxCheckError", "Ole Exception");
}

int KAfxIsValidAddress(const void* p, unsigned size, int writable) {
  if (!p || KIsBadReadPtr(p, size)) return 0;
  if (!writable) return 1;
  return KIsBadWritePtr(const_cast<void*>(p), size) ? 0 : 1;
}

int KAfxIsValidString(const char* s, int length) {
  if (!s) return 0;
  return KIsBadStringPtrA(s, unsigned(length)) ? 0 : 1;
}

} // namespace KCLASSIC
