// KArchive, the buffered binary serialiser of the class layers over a
// KFile. The byte stream is big-endian and packed: numbers of their exact
// widths (a long takes 4 bytes), counts, strings, and object references
// with class tags and back references. KRuntimeClass::Store/Load write and
// find class records (classes are registered by name through
// KAFX_CLASSINIT).
#pragma once

#include <cstdint>
#include <vector>

#include "kclassic/kc_file.h"
#include "kclassic/kc_obj.h"
#include "orb_api.h"

namespace KCLASSIC {

class KMapPtrToPtr;
class KPtrArray;
class KStringArray;
class KDWordArray;
class KMapStringToString;
class KStringList;

// Bit 31 of a schema number: objects of another stored schema may be read.
inline constexpr unsigned KVERSIONABLE_SCHEMA = 0x80000000u;

class ORB_API KArchive {
 public:
  enum Mode : unsigned { store = 0, load = 1, bNoFlushOnDelete = 2 };

  // A buffer size below 128 becomes 128 (and the caller's buffer is then
  // not used).
  KArchive(KFile* file, unsigned mode, int bufferSize = 4096, void* buffer = nullptr);
  KArchive(const KArchive&) = delete;
  KArchive& operator=(const KArchive&) = delete;
  ~KArchive();

  int IsLoading() const { return (m_nMode & load) != 0; }
  int IsStoring() const { return (m_nMode & load) == 0; }
  KFile* GetFile() const { return m_pFile; }
  int GetBufferSize() const { return m_nBufSize; }

  void Close();
  void Abort();
  void Flush();
  void FillBuffer(unsigned missing);
  unsigned Read(void* dst, unsigned n);
  void Write(const void* src, unsigned n);

  void WriteCount(unsigned long count);
  unsigned long ReadCount();
  void WriteObject(const KObject* object);
  KObject* ReadObject(const KRuntimeClass* expected);
  void WriteClass(const KRuntimeClass* cls);
  KRuntimeClass* ReadClass(const KRuntimeClass* expected = nullptr, unsigned* schema = nullptr,
                           unsigned* tag = nullptr);
  void SerializeClass(const KRuntimeClass* cls);
  void MapObject(const KObject* object);
  // The schema of the object being loaded; reset to 0xFFFFFFFF.
  unsigned GetObjectSchema();
  void SetObjectSchema(unsigned schema) { m_nObjectSchema = schema; }
  void CheckCount();

  KArchive& operator<<(char v) { return Put8(uint8_t(v)); }
  KArchive& operator<<(signed char v) { return Put8(uint8_t(v)); }
  KArchive& operator<<(unsigned char v) { return Put8(v); }
  KArchive& operator<<(short v) { return Put16(uint16_t(v)); }
  KArchive& operator<<(unsigned short v) { return Put16(v); }
  KArchive& operator<<(int v) { return Put32(uint32_t(v)); }
  KArchive& operator<<(unsigned v) { return Put32(v); }
  // Values outside 32 bits are refused (0x8B000C9), never cut.
  KArchive& operator<<(long v);
  KArchive& operator<<(unsigned long v);
  KArchive& operator<<(float v);
  KArchive& operator<<(double v);

  KArchive& operator>>(char& v) { return v = char(Get8()), *this; }
  KArchive& operator>>(signed char& v) { return v = static_cast<signed char>(Get8()), *this; }
  KArchive& operator>>(unsigned char& v) { return v = Get8(), *this; }
  KArchive& operator>>(short& v) { return v = short(Get16()), *this; }
  KArchive& operator>>(unsigned short& v) { return v = Get16(), *this; }
  KArchive& operator>>(int& v) { return v = int(Get32()), *this; }
  KArchive& operator>>(unsigned& v) { return v = Get32(), *this; }
  KArchive& operator>>(long& v) { return v = long(int32_t(Get32())), *this; }
  KArchive& operator>>(unsigned long& v) { return v = Get32(), *this; }
  KArchive& operator>>(float& v);
  KArchive& operator>>(double& v);

  KArchive& operator<<(const KObject* object) {
    WriteObject(object);
    return *this;
  }
  KArchive& operator>>(KObject*& object) {
    object = ReadObject(nullptr);
    return *this;
  }

  // Raw big-endian values (through the buffer).
  KArchive& Put8(uint8_t v);
  KArchive& Put16(uint16_t v);
  KArchive& Put32(uint32_t v);
  KArchive& Put64(uint64_t v);
  uint8_t Get8();
  uint16_t Get16();
  uint32_t Get32();
  uint64_t Get64();

 private:
  int m_bDirectBuffer = 0;
  unsigned m_nObjectSchema = 0xFFFFFFFF;
  KZString m_strFileName;
  unsigned m_nMode;
  int m_bUserBuf = 0;
  int m_nBufSize;
  KFile* m_pFile;
  uint8_t* m_lpBufCur = nullptr;
  uint8_t* m_lpBufMax = nullptr; // store: start + size; load: end of the read-ahead
  uint8_t* m_lpBufStart = nullptr;
  unsigned m_nMapCount = 0;
  KPtrArray* m_pLoadArray = nullptr;
  KMapPtrToPtr* m_pStoreMap = nullptr;
  unsigned m_nGrowSize;
  unsigned m_nHashSize = 137;
  // Load mode, by index: the stored schema where the load array holds a
  // class record (so later objects of a versionable class read with the
  // schema they were written with), KNOT_A_CLASS where it holds an object
  // (so a damaged stream cannot make one pass for the other).
  static constexpr uint32_t KNOT_A_CLASS = 0xFFFFFFFF;
  std::vector<uint32_t> m_loadSchema;

  // Room for n bytes at the current position (flushing or refilling).
  uint8_t* Reserve(unsigned n);
  const uint8_t* Take(unsigned n);
  // Reads from the file into dst until n bytes or the file ends.
  unsigned ReadFile(void* dst, unsigned n);
  void LoadEntry(void* entry, uint32_t schema);
  void ThrowBadIndex(const char* method);
};

// Strings in the archive's string form. Wide text in a stream is converted
// into the thread locale's code page.
ORB_API KArchive& operator<<(KArchive& ar, const KZString& s);
ORB_API KArchive& operator>>(KArchive& ar, KZString& s);

// Extraction of the serialisable classes through ReadObject.
ORB_API KArchive& operator>>(KArchive& ar, KStringArray*& p);
ORB_API KArchive& operator>>(KArchive& ar, KDWordArray*& p);
ORB_API KArchive& operator>>(KArchive& ar, KMapStringToString*& p);
ORB_API KArchive& operator>>(KArchive& ar, KStringList*& p);

} // namespace KCLASSIC
