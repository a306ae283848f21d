// The host's message over a byte buffer.
#include "bohost_msg.h"

#include <cstring>

#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {
constexpr size_t kWordBytes = 4;
} // namespace

void KHostMsg::Fail(const char* method, const char* why) const { throw new KErr(BOHOST_ERR_MESSAGE, method, why); }

void KHostMsg::PutWord(uint32_t w) {
  for (int shift = 24; shift >= 0; shift -= 8) m_bytes.push_back(uint8_t(w >> shift));
}

void KHostMsg::TakeTag(uint8_t tag, const char* method) {
  if (m_readPos >= m_bytes.size()) Fail(method, "read past the end of the message");
  if (m_bytes[m_readPos] != tag) Fail(method, "next item is of another kind");
  ++m_readPos;
}

uint32_t KHostMsg::TakeWord(const char* method) {
  if (m_bytes.size() - m_readPos < kWordBytes) Fail(method, "read past the end of the message");
  uint32_t w = 0;
  for (size_t i = 0; i < kWordBytes; ++i) w = (w << 8) | m_bytes[m_readPos + i];
  m_readPos += kWordBytes;
  return w;
}

void KHostMsg::WriteLong(long value) {
  if (value < INT32_MIN || value > INT32_MAX) Fail("KHostMsg::WriteLong", "value does not fit 32 bits");
  m_bytes.push_back(BOHOST_TAG_LONG);
  PutWord(uint32_t(int32_t(value)));
}

void KHostMsg::ReadLong(long& value) {
  // Nothing is consumed when the read fails.
  size_t start = m_readPos;
  try {
    TakeTag(BOHOST_TAG_LONG, "KHostMsg::ReadLong");
    value = long(int32_t(TakeWord("KHostMsg::ReadLong")));
  } catch (...) {
    m_readPos = start;
    throw;
  }
}

void KHostMsg::WriteString(const KZString& text) {
  auto n = size_t(text.GetLength());
  if (n > INT32_MAX) Fail("KHostMsg::WriteString", "text too long for the message");
  m_bytes.push_back(BOHOST_TAG_STRING);
  PutWord(uint32_t(n));
  const char* p = text;
  m_bytes.insert(m_bytes.end(), p, p + n);
}

void KHostMsg::ReadString(KZString& text) {
  size_t start = m_readPos;
  try {
    TakeTag(BOHOST_TAG_STRING, "KHostMsg::ReadString");
    uint32_t n = TakeWord("KHostMsg::ReadString");
    if (n > m_bytes.size() - m_readPos) Fail("KHostMsg::ReadString", "text length beyond the message");
    text = KZString(reinterpret_cast<const char*>(m_bytes.data() + m_readPos), long(n));
    m_readPos += n;
  } catch (...) {
    m_readPos = start;
    throw;
  }
}

} // namespace KCLASSIC
