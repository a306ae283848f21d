// Locales of table_locale and the look-ups on them, the thread locale, the
// code pages of the current connection, the code page chosen from the
// command line, and the texts handed between local and server code page.
#include "adapter/adp_loc.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_sql.h"
#include "core/osl/osl_sys_cfg.h"
#include "kclassic/kc_loc.h"

namespace {

constexpr long kUtf8CodePage = 65001;
constexpr char kUtf8Locale[] = "language_neutral.UTF-8@Default";
constexpr long kLocaleNameSize = 512;
constexpr long kNoConvertBool = 7;

KAdpConnId* cur() { return adp_db_get_conn(); }

// Position of the first listed locale that passes the test, or -1.
template <class Pred>
long find_locale(Pred pred) {
  KAdpConnId* c = cur();
  if (c == nullptr) return -1;
  char* const* names = c->GetLocaleNames();
  for (long i = 0; i < KAdpConnId::kMaxLocales && names[i] != nullptr; ++i)
    if (pred(i, names[i])) return i;
  return -1;
}

long by_lcid(long lcid) {
  if (lcid == 0) return -1;
  return find_locale([&](long i, const char*) { return cur()->GetLcids()[i] == lcid; });
}

KCLASSIC::KUtlLocale& default_locale() { return KCLASSIC::UtlGetLocaleRef(""); }

// The text of a look-up: the found one, else the default locale's.
const char* text_or_default(const char* found, void (KCLASSIC::KUtlLocale::*getter)(KCLASSIC::KZString&) const,
                            KCLASSIC::KZString& keep) {
  if (found != nullptr && found[0] != '\0') return found;
  (default_locale().*getter)(keep);
  return keep;
}

// One direction's buffer for the converted texts.
long convert(KAdpConnId* cid, const char* text, const char** out, std::string& buffer, bool to_server) {
  KAdpConnId* c = cid != nullptr ? cid : cur();
  if (c != nullptr && c->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(kNoConvertBool))) {
    *out = text;
    return 0;
  }
  if (text == nullptr || text[0] == '\0') {
    buffer.clear();
    *out = to_server ? buffer.c_str() : text;
    return 0;
  }
  buffer = text;
  *out = buffer.c_str();
  return 0;
}

}  // namespace

long adp_db_read_locale_data(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  KAdpSqlBatch* b = cid->GetSqlBatch(1);
  long lcid = 0;
  char name[kLocaleNameSize] = "";
  *b << "select win32_lcid, crt_locale from table_locale " << KAdpBindCol(lcid) << KAdpBindCol(name, kLocaleNameSize);
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  for (long pos = 0; b->GetNextRow() == 1; ++pos) {
    // Rows past the list's end are skipped; a listed position stays.
    if (pos >= KAdpConnId::kMaxLocales || cid->GetLocaleNames()[pos] != nullptr) continue;
    KCLASSIC::KZString charset;
    KCLASSIC::UtlGetLocaleRef(name).GetCharsetName(charset);
    cid->SetLocale(pos, name, lcid, charset);
  }
  long st = b->GetStatus();
  adp_sql_free(cid, b);
  b->Reset();
  return st;
}

long adp_db_get_globalc_charset_name(long locale_id, const char** out) {
  static KCLASSIC::KZString keep;
  long i = by_lcid(locale_id);
  *out = text_or_default(i >= 0 ? cur()->GetCharsetNames()[i] : nullptr, &KCLASSIC::KUtlLocale::GetCharsetName,
                         keep);
  return 0;
}

long adp_db_get_globalc_locale_name(long locale_id, const char** out) {
  static KCLASSIC::KZString keep;
  long i = by_lcid(locale_id);
  *out = text_or_default(i >= 0 ? cur()->GetLocaleNames()[i] : nullptr, &KCLASSIC::KUtlLocale::GetCrtLocaleName,
                         keep);
  return 0;
}

long adp_db_get_code_page_from_lcid(long locale_id, long* out) {
  long i = by_lcid(locale_id);
  long cp = i >= 0 ? KCLASSIC::UtlGetLocaleRef(cur()->GetLocaleNames()[i]).GetWin32CodePage() : 0;
  *out = cp != 0 ? cp : default_locale().GetWin32CodePage();
  return 0;
}

long adp_db_get_lcid_from_code_page(long code_page, long* out) {
  long i = code_page == 0 ? -1 : find_locale([&](long, const char* name) {
    return KCLASSIC::UtlGetLocaleRef(name).GetWin32CodePage() == code_page;
  });
  long lcid = i >= 0 ? cur()->GetLcids()[i] : 0;
  *out = lcid != 0 ? lcid : static_cast<long>(default_locale().GetWin32Lcid());
  return 0;
}

long adp_db_set_user_locale(void* /*ignored*/, long locale_id) {
  if (locale_id == kUtf8CodePage) {
    KCLASSIC::UtlSetThreadLocale(kUtf8Locale);
    return 0;
  }
  const char* name = nullptr;
  adp_db_get_globalc_locale_name(locale_id, &name);
  KCLASSIC::UtlSetThreadLocale(name);
  return 0;
}

long adp_db_get_thread_lcid() { return static_cast<long>(KCLASSIC::UtlGetThreadLocale().GetWin32Lcid()); }

char* const* adp_db_get_lcid_charactersetname_list(long** lcids) {
  KAdpConnId* c = cur();
  if (c == nullptr) {
    if (lcids != nullptr) *lcids = nullptr;
    return nullptr;
  }
  if (lcids != nullptr) *lcids = const_cast<long*>(c->GetLcids());
  return c->GetCharsetNames();
}

long adp_db_set_db_codepage(const char* name) {
  if (KAdpConnId* c = cur()) c->GetConfig().SetDBCodepageID(name);
  return 0;
}

long adp_db_convert_str_to_local(KAdpConnId* cid, const char* text, const char** out) {
  static std::string buffer;
  return convert(cid, text, out, buffer, false);
}

long adp_db_convert_str_to_server(KAdpConnId* cid, const char* text, const char** out) {
  static std::string buffer;
  return convert(cid, text, out, buffer, true);
}

long adp_sch_is_db_unicode_enabled(char* out) {
  adp_db_dhead* h = adp_db_get_head_addr();
  if (out != nullptr) *out = h != nullptr && (h->flags & ADP_HEAD_UNICODE) != 0 ? 1 : 0;
  return 0;
}

long adp_main_user_codepage_id_get() {
  KAdpConnId* c = cur();
  return c != nullptr ? c->GetConfig().GetUserCodepageId() : 0;
}

long adp_main_is_codepage_sys_default(char* out) {
  KAdpConnId* c = cur();
  if (c == nullptr) return adp_db_check_conn(c);
  return c->IsDefaultCodepageId(out);
}

long adp_main_set_user_codepage_id(long code_page) {
  if (KAdpConnId* c = cur()) c->SetUserCodepageId(code_page);
  return 0;
}

long adp_main_get_app_codepage() {
  KAdpConnId* c = cur();
  if (c == nullptr) return 0;
  if (long cp = c->GetConfig().GetUserCodepageId()) return cp;
  long cp = default_locale().GetWin32CodePage();
  if (long st = c->SetUserCodepageId(cp)) return st;
  return cp;
}

long adp_main_set_globlac_codepage(long code_page) {
  long i = find_locale([&](long, const char* name) {
    return KCLASSIC::UtlGetLocaleRef(name).GetWin32CodePage() == code_page;
  });
  if (i >= 0) KCLASSIC::UtlSetThreadLocale(cur()->GetLocaleNames()[i]);
  return 0;
}

long adp_main_set_cmdline_codepage() {
  char unicode = 0;
  adp_sch_is_db_unicode_enabled(&unicode);
  if (!unicode) return 0;
  KAdpConnId* c = cur();
  if (c != nullptr) adp_db_read_locale_data(c);
  const char start_utf8 = c != nullptr ? c->GetStartAppInUTF8Flag() : 0;
  char* arg = nullptr;
  if (osl_sys_has_arg("-lcid", 0, &arg)) {
    char* value = nullptr;
    osl_sys_has_arg_and_value("-lcid", 0, &arg, &value);
    if (value == nullptr || value[0] == '\0' || c == nullptr) return 0;
    adp_db_set_user_locale(nullptr, std::atol(value));
    c->SetUserCodepageId(KCLASSIC::UtlGetThreadLocale().GetWin32CodePage());
    c->SetUTF8Flag(0);
    return 0;
  }
  if (c != nullptr && (osl_sys_has_arg("-unicode", 0, &arg) || start_utf8 == 1)) {
    adp_db_set_user_locale(nullptr, kUtf8CodePage);
    c->SetUserCodepageId(KCLASSIC::UtlGetThreadLocale().GetWin32CodePage());
    c->SetUTF8Flag(1);
  }
  return 0;
}
