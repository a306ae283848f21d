#include "kclassic/kc_quote.h"

#include <cstring>

#include "kclassic/kc_sys.h"

namespace KCLASSIC {

const char* UtlDelimitString(KZString& text, char quote) {
  if (quote != '\'' && quote != '"') return nullptr;
  const char* s = text;
  int n = text.GetLength();
  int quotes = 0;
  for (int i = 0; i < n; ++i)
    if (s[i] == quote) ++quotes;
  KZString out;
  char* p = out.GetBuffer(n + quotes + 2);
  *p++ = quote;
  for (int i = 0; i < n; ++i) {
    *p++ = s[i];
    if (s[i] == quote) *p++ = quote;
  }
  *p++ = quote;
  out.ReleaseBuffer(n + quotes + 2);
  text = out;
  return text;
}

const char* UtlStripDelimiter(KZString& text, char quote) {
  int n = text.GetLength();
  const char* s = text;
  if (n < 2 || s[0] != quote) return text;
  if (n == 2) {
    text.Empty();
    return text;
  }
  KZString out;
  char* p = out.GetBuffer(n);
  int len = 0;
  for (int i = 1; i < n; ++i) {
    if (s[i] == quote) {
      if (i + 1 < n && s[i + 1] == quote) {
        p[len++] = quote;
        ++i;
        continue;
      }
      break; // the closing quote
    }
    p[len++] = s[i];
  }
  out.ReleaseBuffer(len);
  text = out;
  return text;
}

void KStopTimer::Start(int clearFirst) {
  if (clearFirst) Clear();
  if (++m_nesting == 1) m_start = KGetPerfCounter();
}

void KStopTimer::Stop() {
  if (m_nesting == 0) return;
  if (--m_nesting == 0) {
    m_last = KGetPerfCounter() - m_start;
    m_accumulated += m_last;
  }
}

namespace {
double CounterFrequency() {
  int64_t f = KGetPerfCounterFreq();
  return f ? double(f) : 1.0;
}
} // namespace

double KStopTimer::ElapsedTime(long long counts) const {
  return double(counts) * 1000.0 / (m_frequency != 0 ? m_frequency : CounterFrequency());
}

void KStopTimer::Clear() {
  m_nesting = 0;
  m_accumulated = 0;
  m_last = 0;
  if (m_frequency == 0) m_frequency = CounterFrequency();
}

} // namespace KCLASSIC
