// KCompleteErr's messages: inserts, system texts, the complete frame.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bo/bo_err.h"
#include "bo/bo_util.h"

namespace KCLASSIC {

namespace {

constexpr const char* kTruncated = "<Truncated...>";
constexpr const char* kMissingInsert = "?";
constexpr const char* kFatalSuffix = "\r\n Fatal internal error";
constexpr const char* kFrameDefault = "Source:   %s \r\nError Code:%ld \r\nMessage:   %s";
constexpr const char* kChainSeparator = "\r\n----------\r\n";
constexpr unsigned long kMaxSystemText = 255;
constexpr long kStringBuffer = 512;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// text with each %n (n of 1..5, an optional !...! after it) replaced by its
// insert; other numbers give nothing; every other '%' stays as it is. The
// text is never used as a format.
std::string apply_inserts(const char* text, const char* const* inserts) {
  std::string out;
  for (const char* p = text; *p;) {
    if (p[0] != '%' || !is_digit(p[1])) {
      out += *p++;
      continue;
    }
    long n = 0;
    for (++p; is_digit(*p); ++p) n = n < 100 ? n * 10 + (*p - '0') : n;
    if (*p == '!') {
      const char* close = std::strchr(p + 1, '!');
      if (close) p = close + 1;
    }
    if (n >= 1 && n <= BO_ERR_MAX_PARAMS) out += inserts[n - 1];
  }
  return out;
}

// The frame with its "%s", "%ld", "%s" filled in order; the default frame
// when the loaded one holds anything else.
std::string apply_frame(const char* frame, const char* method, long number, const char* text) {
  std::string out;
  int slot = 0;
  for (const char* p = frame; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    if ((slot == 0 || slot == 2) && p[1] == 's') {
      out += slot == 0 ? method : text;
      ++p;
    } else if (slot == 1 && p[1] == 'l' && p[2] == 'd') {
      out += std::to_string(number);
      p += 2;
    } else {
      return frame == kFrameDefault ? out : apply_frame(kFrameDefault, method, number, text);
    }
    ++slot;
  }
  return out;
}

// The system's text of an error number, or "" when it has none.
std::string system_text(long hresult) {
  std::vector<char> buf(kMaxSystemText + 1);
  try {
    KFormatMessage(KFORMAT_MESSAGE_FROM_SYSTEM, nullptr, (unsigned long)hresult, buf.data(), kMaxSystemText + 1,
                   nullptr);
  } catch (KErr* e) {
    delete e;
    return "";
  }
  return buf.data();
}

void copy_cut(const std::string& text, char* buf, long bufLen) {
  if (!buf || bufLen <= 0) return;
  size_t n = bufLen >= 2 ? size_t(bufLen - 2) : 0;
  if (text.size() < n) n = text.size();
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
}

} // namespace

KZString KCompleteErr::MessageText(IDdDataDict* dict, long language, long bufLen, const char* const* inserts,
                                   long& shown) {
  shown = ErrorNum;
  KZString text;
  if (m_bFatal) {
    UtlLoadString(dict, language, KERR_INTERNAL, text);
    text += kFatalSuffix;
    return text;
  }
  if (UseHresult) {
    std::string sys = system_text(HResult);
    if (!sys.empty()) return KZString(sys.c_str());
    char hex[32];
    std::snprintf(hex, sizeof hex, "%lx", (unsigned long)(uint32_t)HResult);
    const char* withHex[BO_ERR_MAX_PARAMS] = {hex, inserts[1], inserts[2], inserts[3], inserts[4]};
    shown = KERR_SYSTEM_ERROR;
    UtlLoadString(dict, language, KERR_SYSTEM_ERROR, text);
    return KZString(apply_inserts(text, withHex).c_str());
  }
  if (ErrorNum >= BO_ERR_PLAIN_FIRST && ErrorNum <= BO_ERR_PLAIN_LAST) return KZString(inserts[0]);
  UtlLoadString(dict, language, ErrorNum, text);
  if (bufLen >= 1 && text.GetLength() > bufLen - 1) text = text.Left(int(bufLen - 1));
  return KZString(apply_inserts(text, inserts).c_str());
}

const char* KCompleteErr::GetMessage(IDdDataDict* dict, long language, char* buf, long bufLen, int complete) {
  const char* inserts[BO_ERR_MAX_PARAMS];
  for (int i = 0; i < BO_ERR_MAX_PARAMS; ++i) {
    if (i >= m_params.GetSize()) {
      inserts[i] = kMissingInsert;
      continue;
    }
    if (m_params[i].GetLength() > BO_ERR_MAX_INSERT) m_params[i] = m_params[i].Left(BO_ERR_MAX_INSERT) + kTruncated;
    inserts[i] = m_params[i];
  }
  long shown = 0;
  KZString text = MessageText(dict, language, bufLen, inserts, shown);
  std::string message(static_cast<const char*>(text), size_t(text.GetLength()));
  if (complete) {
    KZString frame;
    if (!UtlLoadString(dict, language, BO_ERR_FRAME, frame)) frame = kFrameDefault;
    message = apply_frame(frame, MethodName, shown, message.c_str());
  }
  copy_cut(message, buf, bufLen);
  return buf;
}

void KCompleteErr::GetMessage(IDdDataDict* dict, long language, KZString& out, int complete) {
  char buf[kStringBuffer];
  out = GetMessage(dict, language, buf, kStringBuffer, complete);
}

const char* KCompleteErr::GetCompleteInfo(IDdDataDict* dict, long language, char* buf, long bufLen) {
  std::vector<char> one(size_t(bufLen > 2 ? bufLen : 2));
  std::string all;
  for (KCompleteErr* e = this; e; e = e->m_pChained) {
    if (e != this) all += kChainSeparator;
    all += e->GetMessage(dict, language, one.data(), long(one.size()), 1);
  }
  copy_cut(all, buf, bufLen);
  return buf;
}

} // namespace KCLASSIC
