// The host's message: KMsg over a byte buffer. Each item is a one-byte tag
// followed by its value: a long as a 32-bit big-endian word, a string as a
// 32-bit big-endian length and its bytes. Writing appends; reading walks
// the buffer from the start (or from a buffer handed over). A read of the
// wrong kind, past the end, or with a length beyond the buffer throws a
// KErr; so does writing a long that does not fit 32 bits (never cut).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bo/bo_msg.h"

namespace KCLASSIC {

inline constexpr uint8_t BOHOST_TAG_LONG = 'L';
inline constexpr uint8_t BOHOST_TAG_STRING = 'S';
// The code every failure of the message throws.
inline constexpr long BOHOST_ERR_MESSAGE = 0x8B000C9;

class KHostMsg : public KMsg {
 public:
  KHostMsg() = default;
  explicit KHostMsg(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

  void WriteLong(long value) override;
  void ReadLong(long& value) override;
  void WriteString(const KZString& text) override;
  void ReadString(KZString& text) override;

  const std::vector<uint8_t>& Bytes() const { return m_bytes; }
  size_t ReadPosition() const { return m_readPos; }
  // Reading starts again from the first item.
  void Rewind() { m_readPos = 0; }

 private:
  void PutWord(uint32_t w);
  // The next item's tag must be tag; throws from method otherwise.
  void TakeTag(uint8_t tag, const char* method);
  uint32_t TakeWord(const char* method);
  [[noreturn]] void Fail(const char* method, const char* why) const;

  std::vector<uint8_t> m_bytes;
  size_t m_readPos = 0;
};

} // namespace KCLASSIC
