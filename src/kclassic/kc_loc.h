// Locale objects (KUtlLocale) over the multibyte library's locales, and the
// process-wide registry: one locale per name, one per Windows-style LCID and
// the binding of each thread to its current locale. The registry starts the
// multibyte library on first use and is guarded by one recursive section.
#pragma once

#include <ctime>

#include "kclassic/kc_zstr.h"
#include "orb_api.h"

struct GCLocale;

namespace KCLASSIC {

class ORB_API KUtlLocale {
 public:
  KUtlLocale();
  explicit KUtlLocale(const char* name);
  KUtlLocale(KUtlLocale& other);
  ~KUtlLocale();
  KUtlLocale& operator=(const KUtlLocale&) = delete;

  void CreateFromCRTLocale(const char* name);
  GCLocale* GetHandle() const { return m_hLocale; }
  void GetCrtLocaleName(KZString& out) const;
  const KZString& GetName() const { return m_name; }

  unsigned long GetWin32Lcid() const;
  long GetWin32CodePage() const;
  void GetLocaleInfo(long type, KZString& out) const;

  void GetLocaleLanguage(KZString& out) const;
  void GetLocaleCountry(KZString& out) const;
  void GetCharsetName(KZString& out) const;
  void GetSMonthName13(KZString& out) const;
  void GetGrouping(KZString& out) const;
  void GetSShortDate(KZString& out) const;
  void GetJNIChsetName(KZString& out) const;
  void GetSMonThousandsSep(KZString& out) const;
  void GetSDecimal(KZString& out) const;
  void GetS1159(KZString& out) const;
  void GetS2359(KZString& out) const;
  void GetSTimeFormat(KZString& out) const;
  void GetSLongDate(KZString& out) const;

  long GetIIntlCurDigits() const;
  long GetIDigits() const;
  long GetINegNumber() const { return 1; }
  long GetICurrency() const;
  long GetINegCurr() const;
  // The Windows negative-currency format of the three conventions.
  static long GetNegCur(long precedes, long space, long signPosition);
  long GetIDate() const;
  // Writes time with a Windows-style date picture (rewritten in place into
  // the library's codes); at most 100 bytes.
  void DateToString(std::tm time, KZString& format, KZString& out) const;

 private:
  GCLocale* m_hLocale = nullptr;
  KZString m_name;

  void TextItem(int item, const char* getter, KZString& out) const;
  long NumItem(int item, const char* getter) const;
};

class ORB_API KUtlLocaleManager {
 public:
  KUtlLocaleManager() = default;
  // GCInit over path; 1 once the library is started.
  int Init(char* path);
  int IsInitialized() const { return m_bInit; }

 private:
  int m_bInit = 0;
  friend KUtlLocale* AddLocale(const char* name);
};

ORB_API KUtlLocale& UtlGetLocaleRef(const char* name);
ORB_API KUtlLocale& UtlGetLocale(const char* name);
ORB_API KUtlLocale& UtlGetLocale(unsigned long lcid);
ORB_API KUtlLocale* UtlGetSystemLocale();
ORB_API KUtlLocale* AddLocale(const char* name);
ORB_API void LocaleMapGetSet(const char* name, KUtlLocale*& locale);
ORB_API KUtlLocale& UtlGetThreadLocale();
ORB_API void UtlSetThreadLocale(const char* name);
ORB_API KUtlLocale& UpdateCreateLocale(const char* name);
ORB_API KUtlLocaleManager& KGetLocaleManager();

// A new 1000-byte buffer: this library's directory and "/Locale" (delete[]).
ORB_API char* GetInstalledLocalePath();
// Cuts path after its directory (the last '\', '/' or ':'; a ':' stays).
ORB_API void GetCurrentDir(char* path);

} // namespace KCLASSIC
