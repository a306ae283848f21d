// KUtlLocale: one locale of the multibyte library and the Windows-style
// locale queries answered from its items.
#include "kclassic/kc_loc.h"

#include <cstring>
#include <initializer_list>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_time.h"

namespace KCLASSIC {

namespace {

// Library item numbers.
enum : int {
  kItemLanguage = 2,
  kItemCountry = 6,
  kItemCharset = 10,
  kItemMonth13 = 42,
  kItemAm = 56,
  kItemPm = 57,
  kItemDecimal = 59,
  kItemGrouping = 62,
  kItemDigits = 63,
  kItemMonThousands = 67,
  kItemIntlCurDigits = 69,
  kItemCurPrecedesPos = 73,
  kItemCurSpacePos = 74,
  kItemCurPrecedesNeg = 75,
  kItemCurSpaceNeg = 76,
  kItemNegSignPosn = 78,
  kItemTimeFormat = 79,
  kItemShortDate = 80,
  kItemLongDate = 81,
  kItemPrimaryLang = 91,
  kItemSubLang = 92,
  kItemCodePage = 93,
  kItemJavaCharset = 94,
};

constexpr int kItemBuffer = 100;

[[noreturn]] void throw_info(const char* getter) {
  KZString method("KUtlLocale::");
  method += getter;
  throw new KErr(KERR_LOCALE_INFO, method);
}

} // namespace

KUtlLocale::KUtlLocale() { CreateFromCRTLocale(""); }
KUtlLocale::KUtlLocale(const char* name) { CreateFromCRTLocale(name); }
KUtlLocale::KUtlLocale(KUtlLocale& other) { CreateFromCRTLocale(other.m_name); }

KUtlLocale::~KUtlLocale() {
  if (m_hLocale) GCReleaseLocale(m_hLocale, 0);
}

void KUtlLocale::CreateFromCRTLocale(const char* name) {
  uint32_t status = 0;
  const bool user = !name || !*name;
  GCLocale* h = GCGetLocale(name, user ? 6 : 4, &status);
  if (status != 0 || !h) {
    if (h) GCReleaseLocale(h, 0);
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KUtlLocale::CreateFromCRTLocale", name ? name : "");
  }
  if (m_hLocale) GCReleaseLocale(m_hLocale, 0);
  m_hLocale = h;
  m_name = name;
}

void KUtlLocale::GetCrtLocaleName(KZString& out) const { out = m_name; }

void KUtlLocale::TextItem(int item, const char* getter, KZString& out) const {
  char* buf = out.GetBuffer(kItemBuffer);
  int32_t n = GCGetLocaleTextInfo(m_hLocale, item, buf, kItemBuffer, 1);
  if (n == -1) {
    buf[0] = 0;
    out.ReleaseBuffer(-1);
    throw_info(getter);
  }
  out.ReleaseBuffer(-1);
}

long KUtlLocale::NumItem(int item, const char* getter) const {
  int32_t v = GCGetLocaleNumInfo(m_hLocale, item, 1);
  if (v == -1) throw_info(getter);
  return v;
}

unsigned long KUtlLocale::GetWin32Lcid() const {
  long sub = NumItem(kItemSubLang, "GetWin32Lcid");
  long primary = NumItem(kItemPrimaryLang, "GetWin32Lcid");
  return (static_cast<unsigned long>(sub) << 10) | static_cast<unsigned long>(primary);
}

long KUtlLocale::GetWin32CodePage() const { return NumItem(kItemCodePage, "GetWin32CodePage"); }

void KUtlLocale::GetLocaleInfo(long type, KZString& out) const {
  switch (type) {
    case 14: GetSDecimal(out); break;
    case 17: out.Format("%ld", GetIDigits()); break;
    case 23: GetSMonThousandsSep(out); break;
    case 26: out.Format("%ld", GetIIntlCurDigits()); break;
    case 27: out.Format("%ld", GetICurrency()); break;
    case 28: out.Format("%ld", GetINegCurr()); break;
    case 4112: out.Format("%ld", GetINegNumber()); break;
    default: break;
  }
}

void KUtlLocale::GetLocaleLanguage(KZString& out) const { TextItem(kItemLanguage, "GetLocaleLanguage", out); }
void KUtlLocale::GetLocaleCountry(KZString& out) const { TextItem(kItemCountry, "GetLocaleCountry", out); }
void KUtlLocale::GetCharsetName(KZString& out) const { TextItem(kItemCharset, "GetCharsetName", out); }
void KUtlLocale::GetSMonthName13(KZString& out) const { TextItem(kItemMonth13, "GetSMonthName13", out); }
void KUtlLocale::GetGrouping(KZString& out) const { TextItem(kItemGrouping, "GetGrouping", out); }
void KUtlLocale::GetSShortDate(KZString& out) const { TextItem(kItemShortDate, "GetSShortDate", out); }
void KUtlLocale::GetJNIChsetName(KZString& out) const { TextItem(kItemJavaCharset, "GetJNIChsetName", out); }
void KUtlLocale::GetSMonThousandsSep(KZString& out) const {
  TextItem(kItemMonThousands, "GetSMonThousandsSep", out);
}
void KUtlLocale::GetSDecimal(KZString& out) const { TextItem(kItemDecimal, "GetSDecimal", out); }
void KUtlLocale::GetS1159(KZString& out) const { TextItem(kItemAm, "GetS1159", out); }
void KUtlLocale::GetS2359(KZString& out) const { TextItem(kItemPm, "GetS2359", out); }
void KUtlLocale::GetSTimeFormat(KZString& out) const { TextItem(kItemTimeFormat, "GetSTimeFormat", out); }
void KUtlLocale::GetSLongDate(KZString& out) const { TextItem(kItemLongDate, "GetSLongDate", out); }

long KUtlLocale::GetIIntlCurDigits() const { return NumItem(kItemIntlCurDigits, "GetIIntlCurDigits"); }
long KUtlLocale::GetIDigits() const { return NumItem(kItemDigits, "GetIDigits"); }

long KUtlLocale::GetICurrency() const {
  bool precedes = NumItem(kItemCurPrecedesPos, "GetICurrency") != 0;
  bool space = NumItem(kItemCurSpacePos, "GetICurrency") != 0;
  if (precedes) return space ? 2 : 0;
  return space ? 3 : 1;
}

long KUtlLocale::GetINegCurr() const {
  long precedes = NumItem(kItemCurPrecedesNeg, "GetINegCurr");
  long space = NumItem(kItemCurSpaceNeg, "GetINegCurr");
  long sign = NumItem(kItemNegSignPosn, "GetINegCurr");
  return GetNegCur(precedes, space, sign);
}

long KUtlLocale::GetNegCur(long precedes, long space, long signPosition) {
  static const long table[4][5] = {
      {4, 5, 7, 6, 1},   // follows, no space
      {15, 8, 10, 13, 1}, // follows, space
      {0, 1, 3, 1, 2},   // precedes, no space
      {14, 9, 11, 1, 12}, // precedes, space
  };
  if (signPosition < 0 || signPosition > 4) return 1;
  return table[(precedes ? 2 : 0) + (space ? 1 : 0)][signPosition];
}

namespace {

// Position of the first of the markers found in text, -1 when none.
long marker_at(const char* text, std::initializer_list<const char*> markers) {
  for (const char* m : markers)
    if (const char* p = kstrstr(text, m)) return long(p - text);
  return -1;
}

} // namespace

long KUtlLocale::GetIDate() const {
  KZString fmt;
  GetSShortDate(fmt);
  long day = marker_at(fmt, {"%d", "%#d"});
  long month = marker_at(fmt, {"%m", "%#m"});
  long year = marker_at(fmt, {"%y", "%#y", "%Y", "%#Y"});
  if (day < 0 || month < 0 || year < 0) return 0;
  if (day < month && month < year) return 1;
  if (year < month && month < day) return 2;
  return 0;
}

void KUtlLocale::DateToString(std::tm time, KZString& format, KZString& out) const {
  out.Empty();
  if (format.IsEmpty()) return;
  static const char* const steps[][2] = {
      // Codes already in the text are parked.
      {"%d", "%1"}, {"%#d", "%2"}, {"%m", "%3"}, {"%#m", "%4"}, {"%y", "%5"}, {"%#y", "%6"}, {"%M", "%7"},
      {"%#M", "%8"}, {"%H", "%9"}, {"%#H", "%0"}, {"%h", "%$"}, {"%#h", "%$"}, {"%z", "%@"}, {"%t", "%&"},
      // Picture tokens, longest first.
      {"dddd", "%A"}, {"ddd", "%a"}, {"dd", "%1"}, {"d", "%2"}, {"MMMM", "%B"}, {"MMM", "%b"}, {"MM", "%3"},
      {"M", "%4"}, {"yyyy", "%Y"}, {"yy", "%5"}, {"y", "%6"}, {"mm", "%7"}, {"m", "%8"}, {"HH", "%9"},
      {"H", "%0"}, {"hh", "%I"}, {"h", "%#I"}, {"ss", "%S"}, {"s", "%#S"}, {"tt", "%p"}, {"t", "%p"},
      {"z", "%z"},
      // Parked codes restored.
      {"%1", "%d"}, {"%2", "%#d"}, {"%3", "%m"}, {"%4", "%#m"}, {"%5", "%y"}, {"%6", "%#y"}, {"%7", "%M"},
      {"%8", "%#M"}, {"%9", "%H"}, {"%0", "%#H"}, {"%$", "%h"}, {"%@", "%z"}, {"%&", "%t"}};
  for (const auto& s : steps) format.Replace(s[0], s[1]);
  char* buf = out.GetBuffer(kItemBuffer);
  buf[0] = 0;
  int n = GCTimeToString(m_hLocale, &time, buf, kItemBuffer, format, -1, 8);
  buf[kItemBuffer] = 0;
  out.ReleaseBuffer(-1);
  if (n == -1 || n == -2) throw new KErr(KERR_INVALID_FORMAT, "KUtlLocale::DateToString");
}

} // namespace KCLASSIC
