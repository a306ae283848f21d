#include "kclassic/kc_tconv.h"

#include <vector>

#include "kclassic/kc_err.h"
#include "kclassic/kc_locswitch.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr const char* kParsed = "KUtlTypeConvert::ProcessParsedDate";

[[noreturn]] void bad_date(const char* method) { throw new KErr(KERR_DATE_FORMAT, method); }

bool starts_with_digit(const KZString& s) { return !s.IsEmpty() && kisdigit(kstrnextc(s)); }
bool starts_with(const KZString& s, char c) { return !s.IsEmpty() && s[0] == unsigned(static_cast<unsigned char>(c)); }

// Only white space (the thread locale's).
bool blank(const KZString& s) {
  for (const char* p = s; *p; p = kstrinc(p))
    if (!kisspace(kstrnextc(p))) return false;
  return true;
}

KZString lowered(const KZString& s) {
  KZString r = s;
  r.MakeLower();
  return r;
}

} // namespace

void KUtlTypeConvert::SetDate(KZString& text, KUtlLocale& locale) {
  KThreadLocaleSwitch use(locale);
  ParseDateString(text);
  ProcessParsedDate();
  if (!ProcessStringAsISO(m_text)) bad_date("KUtlTypeConvert::ProcessStringAsISO");
}

KOleDateTime& KUtlTypeConvert::GetDate(KOleDateTime& out) {
  out = m_date;
  return out;
}

KOleDateTime& KUtlTypeConvert::ConvertDate(KZString& text, KOleDateTime& out, KUtlLocale& locale) {
  SetDate(text, locale);
  return GetDate(out);
}

void KUtlTypeConvert::ParseDateString(KZString& text) {
  if (text.IsEmpty()) bad_date("KUtlTypeConvert::ParseDateString");
  m_tokens.RemoveAll();
  m_text.Empty();
  // Full-width forms to half-width, so full-width digits read as digits.
  std::vector<char> half(size_t(text.GetLength()) * 2 + 16);
  long n = ktohalfwidth(half.data(), text, -1, long(half.size()));
  const char* src = n > 0 ? half.data() : static_cast<const char*>(text);
  KZString token;
  int cls = -1;
  for (const char* p = src; *p; p = kstrinc(p)) {
    unsigned ch = kstrnextc(p);
    int c = kisdigit(ch) ? 1 : 0;
    if (c != cls && !token.IsEmpty()) {
      m_tokens.Add(token);
      token.Empty();
    }
    cls = c;
    token += ch;
  }
  if (!token.IsEmpty()) m_tokens.Add(token);
}

int KUtlTypeConvert::ProcessParsedDateAsISO() {
  int count = m_tokens.GetSize();
  auto len = [&](int i) { return GetCharCount(m_tokens[i]); };
  if (count < 5 || len(0) != 4 || !starts_with_digit(m_tokens[0]) || !starts_with(m_tokens[1], '-') || len(2) != 2 ||
      !starts_with(m_tokens[3], '-') || len(4) != 2)
    return 0;
  auto join = [&](int from, int to) {
    KZString s;
    for (int i = from; i <= to; ++i) s += m_tokens[i];
    return s;
  };
  int used = 5;
  if (count == 5 || !starts_with(m_tokens[5], ' ') || count == 6 || len(6) != 2 || count == 7 ||
      !starts_with(m_tokens[7], ':') || count == 8 || len(8) != 2)
    used = 5;
  else if (count == 9 || !starts_with(m_tokens[9], ':'))
    used = 9;
  else if (count == 10)
    used = 10;
  else if (len(10) != 2)
    used = 5;
  else
    used = 11;
  m_text = join(0, used - 1);
  return 1;
}

int KUtlTypeConvert::ProcessStringAsISO(KZString& text) {
  KOleDateTime d;
  bool ok = true;
  try {
    d.ParseDateTime(text);
  } catch (KErr* e) {
    delete e;
    ok = false;
  }
  m_date = d;
  if (!ok || d.GetStatus() != KOleDateTime::valid || d.m_dt == 0.0) return 0;
  if (&text != &m_text) m_text = text;
  return 1;
}

long KUtlTypeConvert::ValidateDateRanges(long month, long day, long& year) {
  if (year < 0 || month < 1 || month > 12) return 0;
  if (year < 30) year += 2000;
  else if (year < 100) year += 1900;
  if (year < 1753) return 0;
  static const int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long last = month == 2 && IsLeapYear(year) ? 29 : days[month];
  return day >= 1 && day <= last ? 1 : 0;
}

int KUtlTypeConvert::IsLeapYear(long year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

long KUtlTypeConvert::GetCharCount(KZString& s) { return long(kstrlen(s)); }

void KUtlTypeConvert::TimeFromTokens(long& hour, long& minute, long& second, int& last) {
  int count = m_tokens.GetSize();
  hour = katol(m_tokens[6]);
  if (hour > 23 || count <= 8) bad_date(kParsed);
  minute = katol(m_tokens[8]);
  if (minute > 59) bad_date(kParsed);
  last = 8;
  second = 0;
  if (count > 10) {
    second = katol(m_tokens[10]);
    if (second > 59) bad_date(kParsed);
    last = 10;
  }
}

void KUtlTypeConvert::ApplyDesignators(long& hour, int last) {
  KZString am, pm;
  try {
    UtlGetThreadLocale().GetS1159(am);
    UtlGetThreadLocale().GetS2359(pm);
  } catch (KErr* e) {
    delete e;
    throw new KErr(KERR_LOCALE_INFO, kParsed);
  }
  int count = m_tokens.GetSize();
  bool seenAm = false, seenPm = false;
  if (!am.IsEmpty() && !pm.IsEmpty()) {
    am = lowered(am);
    pm = lowered(pm);
    for (int i = 5; i <= last + 1 && i < count; ++i) {
      KZString t = lowered(m_tokens[i]);
      if (t.Find(am) >= 0) seenAm = true;
      if (t.Find(pm) >= 0) seenPm = true;
    }
  }
  // What follows the token after the time is not read.
  if (seenAm && seenPm) bad_date(kParsed);
  if (seenPm) {
    if (hour < 1 || hour > 12) bad_date(kParsed);
    hour = hour % 12 + 12;
  } else if (seenAm) {
    if (hour < 1 || hour > 12) bad_date(kParsed);
    if (hour == 12) hour = 0;
  }
  if (hour > 23) bad_date(kParsed);
}

void KUtlTypeConvert::ProcessParsedDate() {
  if (m_tokens.GetSize() < 5) bad_date(kParsed);
  if (ProcessParsedDateAsISO()) return;  // tokens after its fields are not read
  long order;
  try {
    order = UtlGetThreadLocale().GetIDate();
  } catch (KErr* e) {
    delete e;
    throw new KErr(KERR_LOCALE_INFO, kParsed);
  }
  if (!starts_with_digit(m_tokens[0])) {
    m_tokens.RemoveAt(0);
    if (m_tokens.GetSize() < 5) bad_date(kParsed);
  }
  if (m_tokens[3].Find(' ') >= 0 || m_tokens[1].Find(' ') >= 0) bad_date(kParsed);
  long a = katol(m_tokens[0]), b = katol(m_tokens[2]), c = katol(m_tokens[4]);
  long month, day, year;
  switch (order) {
    case 0: month = a, day = b, year = c; break;
    case 1: day = a, month = b, year = c; break;
    case 2: year = a, month = b, day = c; break;
    default: throw new KErr(KERR_LOCALE_INFO, kParsed);
  }
  if (ValidateDateRanges(month, day, year) != 1) bad_date(kParsed);
  int count = m_tokens.GetSize();
  m_text.Format("%04ld-%02ld-%02ld", year, month, day);
  if (count <= 6) {
    // A date alone; only white space may follow it.
    if (count == 6 && !blank(m_tokens[5])) bad_date(kParsed);
    m_text += " 00:00:00";
    return;
  }
  long hour, minute, second;
  int last;
  TimeFromTokens(hour, minute, second, last);
  ApplyDesignators(hour, last);
  KZString time;
  time.Format(" %02ld:%02ld:%02ld", hour, minute, second);
  m_text += time;
}

} // namespace KCLASSIC
