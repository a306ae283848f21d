// KAdpConnId: the locale list and the code pages of its installed locales.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_sce.h"
#include "kclassic/kc_loc.h"

namespace {

constexpr char kUtf8Locale[] = "language_neutral.UTF-8@Default";

long code_page_of(const char* locale_name) { return KCLASSIC::UtlGetLocaleRef(locale_name).GetWin32CodePage(); }

bool default_is_utf8(long* cp) {
  KCLASSIC::KUtlLocale& def = KCLASSIC::UtlGetLocaleRef("");
  KCLASSIC::KZString name;
  def.GetCrtLocaleName(name);
  *cp = def.GetWin32CodePage();
  return std::strcmp(name, kUtf8Locale) == 0;
}

}  // namespace

long KAdpConnId::SetLocale(long pos, const char* locale_name, long lcid, const char* charset_name) {
  if (pos < 0 || pos >= kMaxLocales || m_localeNames[pos] != nullptr) return 1;
  m_localeNames[pos] = strdup(locale_name != nullptr ? locale_name : "");
  m_charsetNames[pos] = strdup(charset_name != nullptr ? charset_name : "");
  m_lcids[pos] = lcid;
  return 0;
}

long KAdpConnId::GetSysInstalledCodepages() {
  if (m_localeNames[0] == nullptr) adp_db_read_locale_data(this);
  long utf8_cp = 0;
  long pos = 0;
  if (default_is_utf8(&utf8_cp)) m_codePages[pos++] = utf8_cp;
  // Every listed locale follows, each at its own entry.
  for (long i = 0; i < kMaxLocales && m_localeNames[i] != nullptr && pos < kMaxCodePages - 1; ++i) {
    m_codePages[pos++] = code_page_of(m_localeNames[i]);
  }
  m_codePages[pos] = 0;
  return 0;
}

long KAdpConnId::SetUserCodepageId(long code_page) {
  if (long st = GetSysInstalledCodepages()) return st;
  if (m_codePages[0] == 0) {
    m_codePages[0] = code_page;
    m_codePages[1] = 0;
    m_config.SetUserCodepageId(code_page);
    return 0;
  }
  for (long i = 0; m_codePages[i] != 0; ++i) {
    if (m_codePages[i] == code_page) {
      m_config.SetUserCodepageId(code_page);
      return 0;
    }
  }
  std::string text = std::to_string(code_page) + " is invalid Codepage Id, Installed Codepage Ids are\n";
  for (long i = 0; m_codePages[i] != 0; ++i) text += std::to_string(m_codePages[i]) + "\n";
  return adp_db_log_msg("%s", reinterpret_cast<long>(text.c_str()), 0, 0, 0, 0);
}

long KAdpConnId::IsDefaultCodepageId(char* out) {
  long cp = KCLASSIC::UtlGetLocaleRef("").GetWin32CodePage();
  if (out != nullptr) *out = m_config.GetUserCodepageId() == cp ? 1 : 0;
  return 0;
}
