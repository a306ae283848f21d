// Path, text, file, hexadecimal and date helpers.
#include <cstring>

#include "bo/bo_util.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_fcall.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

namespace {

constexpr unsigned long kShareRead = 1;
constexpr unsigned long kSeekBegin = 0;
constexpr unsigned long kSeekEnd = 2;
constexpr unsigned long kSeekFailed = 0xFFFFFFFF;
// Room a file buffer gets beyond the file's bytes (two NULs and spare).
constexpr unsigned long kReadSlack = 10;
constexpr unsigned char kBlank = ' ';
constexpr const char* kHexDigits = "0123456789ABCDEF";
constexpr int kDaysBeforeYear = 1900;

struct HandleCloser {
  KBaseHandle* h;
  ~HandleCloser() {
    if (h) KCloseHandle(h);
  }
};

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

} // namespace

void UtlGetDirFromPath(char* path) {
  if (!path) return;
  char* last = nullptr;
  for (char* p = path; *p; p = kstrinc(p)) {
    unsigned c = kstrnextc(p);
    if (c == '\\' || c == '/' || c == ':') last = p;
  }
  if (!last) return;
  if (*last == ':') last[1] = '\0';
  else *last = '\0';
}

int UtlIsEmpty(const char* text) {
  if (!text) return 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p > kBlank) return 1;
  }
  return 0;
}

void UtlMakeString(KZString& out, const char* a, long number1, const char* b, long number2) {
  out = a;
  out.MakeUpper();
  KZString part;
  if (number1 != 0) {
    part.Format("-%ld", number1);
    out += part;
  }
  if (b) {
    part = b;
    part.MakeUpper();
    out += "-";
    out += part;
  }
  if (number2 != 0) {
    part.Format("-%ld", number2);
    out += part;
  }
}

char* UtlReadFromFile(const char* path, unsigned long& len) {
  len = 0;
  if (!path) return nullptr;
  HandleCloser file{KCreateFile(path, KGENERIC_READ, kShareRead, nullptr, KOPEN_EXISTING, KFILE_ATTRIBUTE_NORMAL,
                                nullptr)};
  if (!file.h) return nullptr;
  unsigned long size = KSetFilePointer(file.h, 0, nullptr, kSeekEnd);
  if (size == kSeekFailed || KSetFilePointer(file.h, 0, nullptr, kSeekBegin) == kSeekFailed) return nullptr;
  char* buffer = KBinSysAllocStringByteLen(nullptr, unsigned(size + kReadSlack));
  if (!buffer) return nullptr;
  unsigned long done = 0;
  if (!KReadFile(file.h, buffer, size, &done, nullptr) || done > size) done = 0;
  buffer[done] = '\0';
  buffer[done + 1] = '\0';
  len = done;
  return buffer;
}

int UtlWriteToFile(const char* path, void* data, unsigned long& len) {
  if (!path) {
    len = 0;
    return 0;
  }
  HandleCloser file{KCreateFile(path, KGENERIC_WRITE, kShareRead, nullptr, KCREATE_ALWAYS, KFILE_ATTRIBUTE_NORMAL,
                                nullptr)};
  if (!file.h) {
    len = 0;
    return 0;
  }
  unsigned long done = 0;
  if (len > 0 && !KWriteFile(file.h, data, len, &done, nullptr)) done = 0;
  len = done;
  return 1;
}

void UtlBinToHex(const char* bin, unsigned long len, char* out) {
  for (unsigned long i = 0; i < len; ++i) {
    auto b = static_cast<unsigned char>(bin[i]);
    out[2 * i] = kHexDigits[b >> 4];
    out[2 * i + 1] = kHexDigits[b & 0xF];
  }
  out[2 * len] = '\0';
}

void UtlHexToBin(const char* hex, unsigned long len, char* out) {
  if (len < 2) return;
  for (unsigned long i = 0; i < len / 2; ++i)
    out[i] = static_cast<char>((hex_value(hex[2 * i]) << 4) | hex_value(hex[2 * i + 1]));
}

int UtlTmFromOleDate(double date, std::tm& tm) {
  _KSYSTEMTIME st{};
  if (!KOleDateTime(date).GetAsSystemTime(st)) return 0;
  tm.tm_sec = st.wSecond;
  tm.tm_min = st.wMinute;
  tm.tm_hour = st.wHour;
  tm.tm_mday = st.wDay;
  tm.tm_mon = st.wMonth - 1;
  tm.tm_year = st.wYear - kDaysBeforeYear;
  tm.tm_wday = st.wDayOfWeek;
  tm.tm_yday = g_aMonthDays[st.wMonth - 1] + st.wDay - 1 + (st.wMonth > 2 && is_leap(st.wYear) ? 1 : 0);
  tm.tm_isdst = -1;
  return 1;
}

} // namespace KCLASSIC
