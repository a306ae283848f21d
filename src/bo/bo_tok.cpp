// The delimiter tokenizer and the owned malloc pointer.
#include <cstdlib>

#include "bo/bo_util.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

KCharPtr::~KCharPtr() {
  if (m_p) std::free(m_p);
}

KUtlTokStr::KUtlTokStr() : m_text(","), m_delim(',') {}
KUtlTokStr::KUtlTokStr(const char* text, char delim) : m_text(text), m_delim(delim) {}
KUtlTokStr::KUtlTokStr(wchar_t* text, char delim) : m_text(text), m_delim(delim) {}

int KUtlTokStr::GetNextToken(KZString& token) {
  if (m_text.IsEmpty()) {
    token = m_text;
    return 0;
  }
  int p = m_text.Find(m_delim);
  if (p < 0) {
    token = m_text;
    m_text.Empty();
    return 1;
  }
  token = m_text.Left(p);
  m_text = m_text.Mid(p + 1);
  return 1;
}

namespace {

bool same_ignoring_case(const char* a, const char* b, int n) {
  for (int i = 0; i < n; ++i) {
    if (ktoupper(static_cast<unsigned char>(a[i])) != ktoupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

} // namespace

long KUtlTokStr::FindTok(const char* tok) {
  if (!tok) return -1;
  const char* text = m_text;
  int len = m_text.GetLength();
  int n = int(kstrlen(tok));
  for (int p = 0; p + n <= len; ++p) {
    bool starts = p == 0 || text[p - 1] == m_delim;
    bool ends = p + n == len || text[p + n] == m_delim;
    if (starts && ends && same_ignoring_case(text + p, tok, n)) return p;
  }
  return -1;
}

void KUtlTokStr::RemoveTok(const char* tok) {
  long p = FindTok(tok);
  if (p < 0) return;
  int n = int(kstrlen(tok));
  int len = m_text.GetLength();
  KZString rest = p + n < len ? m_text.Mid(int(p) + n + 1) : KZString();
  KZString kept = p > 0 ? m_text.Left(int(p) - 1) : KZString();
  if (!rest.IsEmpty()) {
    if (!kept.IsEmpty()) kept += m_delim;
    kept += rest;
  }
  m_text = kept;
}

} // namespace KCLASSIC
