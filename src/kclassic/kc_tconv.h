// KUtlTypeConvert: a date, or a date and time, typed in a locale's
// conventions (its date order, two-digit years, 12-hour times with its AM
// and PM designators, full-width digits), or ISO text, made into an OLE date.
// The text is cut into runs of digits and of non-digits, rewritten into the
// canonical "YYYY-MM-DD hh:mm:ss" and parsed by the OLE date parser.
//
// Threads: one thread at a time per object; SetDate switches only the calling
// thread's locale and restores it however it ends.
#pragma once

#include "kclassic/kc_array.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

inline constexpr long KERR_DATE_FORMAT = 0x8B000E6;

class ORB_API KUtlTypeConvert {
 public:
  KUtlTypeConvert() = default;
  virtual ~KUtlTypeConvert() = default;
  KUtlTypeConvert(const KUtlTypeConvert&) = delete;
  KUtlTypeConvert& operator=(const KUtlTypeConvert&) = delete;

  // Parses text under locale (made the thread's locale for the time of the
  // call); throws KErr 0x8B000E6 or 0x8B000E5 on failure.
  void SetDate(KZString& text, KUtlLocale& locale);
  KOleDateTime& GetDate(KOleDateTime& out);
  KOleDateTime& ConvertDate(KZString& text, KOleDateTime& out, KUtlLocale& locale);

  // The steps, each under the thread's current locale.
  void ParseDateString(KZString& text);
  void ProcessParsedDate();
  int ProcessParsedDateAsISO();
  int ProcessStringAsISO(KZString& text);
  long ValidateDateRanges(long month, long day, long& year);
  int IsLeapYear(long year);
  long GetCharCount(KZString& s);

  const KZString& GetText() const { return m_text; }
  const KStringArray& GetTokens() const { return m_tokens; }

 private:
  KZString m_text;
  KStringArray m_tokens;
  KOleDateTime m_date;

  void TimeFromTokens(long& hour, long& minute, long& second, int& last);
  void ApplyDesignators(long& hour, int last);
};

} // namespace KCLASSIC
