// OLE dates and the system-time record.
#include "kclassic/kc_odt.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

KOleDateTime& KOleDateTime::operator=(const _KSYSTEMTIME& st) {
  m_status = KOleDateFromTm(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, m_dt) ? valid : invalid;
  return *this;
}

int KOleDateTime::GetAsSystemTime(_KSYSTEMTIME& st) const {
  std::tm t{};
  if (!Broken(t)) return 0;
  st.wYear = uint16_t(t.tm_year);
  st.wMonth = uint16_t(t.tm_mon);
  st.wDayOfWeek = uint16_t(t.tm_wday - 1);
  st.wDay = uint16_t(t.tm_mday);
  st.wHour = uint16_t(t.tm_hour);
  st.wMinute = uint16_t(t.tm_min);
  st.wSecond = uint16_t(t.tm_sec);
  st.wMilliseconds = 0;
  return 1;
}

} // namespace KCLASSIC
