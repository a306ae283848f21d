#include "kclassic/kc_arch.h"
#include "kclassic/kc_arch_be.h"

#include <climits>
#include <cstring>

#include "kclassic/kc_array.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

namespace {
constexpr int kMinBuffer = 128;
constexpr unsigned kMaxMapCount = 0x3FFFFFFE;
constexpr uint16_t kNullTag = 0;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kBigTag = 0x7FFF;
constexpr uint32_t kClassTag = 0x80000000u;
constexpr unsigned kBufferCheckCommand = 3;

unsigned PlainSchema(unsigned schema) { return schema & ~KVERSIONABLE_SCHEMA; }
} // namespace

KArchive::KArchive(KFile* file, unsigned mode, int bufferSize, void* buffer)
    : m_nMode(mode), m_nBufSize(bufferSize), m_pFile(file), m_nGrowSize(IsLoading() ? 64 : 16) {
  if (m_nBufSize < kMinBuffer) {
    m_nBufSize = kMinBuffer;
    buffer = nullptr;
  }
  if (buffer) {
    m_bUserBuf = 1;
    m_lpBufStart = static_cast<uint8_t*>(buffer);
  } else {
    void* start = nullptr;
    void* end = nullptr;
    m_bDirectBuffer = file ? int(file->GetBufferPtr(kBufferCheckCommand, 0, &start, &end)) : 0;
    // Files offer no direct buffer: the archive keeps its own.
    m_lpBufStart = new uint8_t[size_t(m_nBufSize)];
  }
  m_lpBufMax = m_lpBufStart + m_nBufSize;
  m_lpBufCur = IsLoading() ? m_lpBufMax : m_lpBufStart;
}

KArchive::~KArchive() {
  if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
    try {
      Close();
    } catch (KErr* e) {
      delete e; // a destructor cannot report the failed flush
    }
  }
  Abort();
}

void KArchive::Close() {
  Flush();
  m_pFile = nullptr;
}

void KArchive::Abort() {
  m_pFile = nullptr;
  if (!m_bUserBuf) delete[] m_lpBufStart;
  m_lpBufStart = m_lpBufCur = m_lpBufMax = nullptr;
  m_bUserBuf = 1; // nothing left to free
  delete m_pLoadArray;
  m_pLoadArray = nullptr;
  delete m_pStoreMap;
  m_pStoreMap = nullptr;
  m_loadSchema.clear();
}

void KArchive::Flush() {
  if (!m_pFile || !m_lpBufStart) return;
  if (IsStoring()) {
    if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, unsigned(m_lpBufCur - m_lpBufStart));
    m_lpBufCur = m_lpBufStart;
  } else if (m_lpBufCur != m_lpBufMax) {
    // Give back what was read ahead and not consumed.
    m_pFile->Seek(-long(m_lpBufMax - m_lpBufCur), KFILE_CURRENT);
    m_lpBufCur = m_lpBufMax;
  }
}

unsigned KArchive::ReadFile(void* dst, unsigned n) {
  unsigned got = 0;
  while (got < n && m_pFile) {
    unsigned r = m_pFile->Read(static_cast<uint8_t*>(dst) + got, n - got);
    if (r == 0) break;
    got += r;
  }
  return got;
}

void KArchive::FillBuffer(unsigned missing) {
  size_t held = size_t(m_lpBufMax - m_lpBufCur);
  size_t needed = held + missing;
  if (m_lpBufCur != m_lpBufStart) std::memmove(m_lpBufStart, m_lpBufCur, held);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + held;
  while (held < needed && held < size_t(m_nBufSize) && m_pFile) {
    unsigned r = m_pFile->Read(m_lpBufStart + held, unsigned(size_t(m_nBufSize) - held));
    if (r == 0) break;
    held += r;
    m_lpBufMax = m_lpBufStart + held;
  }
  if (held < needed) throw new KErr(KERR_END_OF_FILE, "KArchive::FillBuffer");
}

unsigned KArchive::Read(void* dst, unsigned n) {
  if (n == 0 || !m_lpBufStart) return 0;
  auto* out = static_cast<uint8_t*>(dst);
  unsigned take = unsigned(m_lpBufMax - m_lpBufCur) < n ? unsigned(m_lpBufMax - m_lpBufCur) : n;
  std::memcpy(out, m_lpBufCur, take);
  m_lpBufCur += take;
  out += take;
  unsigned left = n - take;
  if (left == 0) return n;
  // Whole buffers go straight from the file.
  unsigned bulk = left - left % unsigned(m_nBufSize);
  unsigned got = ReadFile(out, bulk);
  if (got < bulk) return take + got;
  out += bulk;
  left -= bulk;
  if (left > 0) {
    unsigned filled = ReadFile(m_lpBufStart, unsigned(m_nBufSize));
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + filled;
    unsigned rest = filled < left ? filled : left;
    std::memcpy(out, m_lpBufCur, rest);
    m_lpBufCur += rest;
    left -= rest;
  }
  return n - left;
}

void KArchive::Write(const void* src, unsigned n) {
  if (n == 0) return;
  if (!m_pFile || !m_lpBufStart) throw new KErr(KERR_FILE_WRITE, "KArchive::Write", m_strFileName);
  auto* in = static_cast<const uint8_t*>(src);
  unsigned room = unsigned(m_lpBufMax - m_lpBufCur);
  unsigned fit = room < n ? room : n;
  std::memcpy(m_lpBufCur, in, fit);
  m_lpBufCur += fit;
  in += fit;
  unsigned left = n - fit;
  if (left == 0) return;
  Flush();
  unsigned bulk = left - left % unsigned(m_nBufSize);
  if (bulk) m_pFile->Write(in, bulk);
  in += bulk;
  left -= bulk;
  std::memcpy(m_lpBufCur, in, left);
  m_lpBufCur += left;
}

uint8_t* KArchive::Reserve(unsigned n) {
  if (size_t(m_lpBufMax - m_lpBufCur) < n) {
    Flush();
    // Closed or aborted: there is no file left to take the bytes.
    if (size_t(m_lpBufMax - m_lpBufCur) < n) throw new KErr(KERR_FILE_WRITE, "KArchive::Write", m_strFileName);
  }
  uint8_t* p = m_lpBufCur;
  m_lpBufCur += n;
  return p;
}

const uint8_t* KArchive::Take(unsigned n) {
  size_t held = size_t(m_lpBufMax - m_lpBufCur);
  if (held < n) FillBuffer(unsigned(n - held));
  const uint8_t* p = m_lpBufCur;
  m_lpBufCur += n;
  return p;
}

KArchive& KArchive::Put8(uint8_t v) {
  *Reserve(1) = v;
  return *this;
}
KArchive& KArchive::Put16(uint16_t v) {
  KArchPutBe(Reserve(2), v);
  return *this;
}
KArchive& KArchive::Put32(uint32_t v) {
  KArchPutBe(Reserve(4), v);
  return *this;
}
KArchive& KArchive::Put64(uint64_t v) {
  KArchPutBe(Reserve(8), v);
  return *this;
}
uint8_t KArchive::Get8() { return *Take(1); }
uint16_t KArchive::Get16() { return KArchGetBe<uint16_t>(Take(2)); }
uint32_t KArchive::Get32() { return KArchGetBe<uint32_t>(Take(4)); }
uint64_t KArchive::Get64() { return KArchGetBe<uint64_t>(Take(8)); }

KArchive& KArchive::operator<<(long v) {
  if (v < INT32_MIN || v > INT32_MAX) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KArchive::operator<<", "long");
  return Put32(uint32_t(v));
}

KArchive& KArchive::operator<<(unsigned long v) {
  if (v > UINT32_MAX) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KArchive::operator<<", "unsigned long");
  return Put32(uint32_t(v));
}

KArchive& KArchive::operator<<(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return Put32(bits);
}

KArchive& KArchive::operator<<(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return Put64(bits);
}

KArchive& KArchive::operator>>(float& v) {
  uint32_t bits = Get32();
  std::memcpy(&v, &bits, 4);
  return *this;
}

KArchive& KArchive::operator>>(double& v) {
  uint64_t bits = Get64();
  std::memcpy(&v, &bits, 8);
  return *this;
}

void KArchive::WriteCount(unsigned long count) {
  if (count < 0xFFFF) {
    Put16(uint16_t(count));
    return;
  }
  if (count > UINT32_MAX) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KArchive::WriteCount", "count");
  Put16(0xFFFF);
  Put32(uint32_t(count));
}

unsigned long KArchive::ReadCount() {
  uint16_t w = Get16();
  return w != 0xFFFF ? w : Get32();
}

void KArchive::CheckCount() {
  if (m_nMapCount >= kMaxMapCount) throw new KErr(KERR_BAD_INDEX, "KArchive::CheckCount", m_strFileName);
}

unsigned KArchive::GetObjectSchema() {
  unsigned s = m_nObjectSchema;
  m_nObjectSchema = 0xFFFFFFFF;
  return s;
}

void KArchive::LoadEntry(void* entry, uint32_t schema) {
  m_pLoadArray->SetAtGrow(int(m_nMapCount), entry);
  if (m_loadSchema.size() <= m_nMapCount) m_loadSchema.resize(size_t(m_nMapCount) + 1, uint32_t{KNOT_A_CLASS});
  m_loadSchema[m_nMapCount] = schema;
  ++m_nMapCount;
}

void KArchive::MapObject(const KObject* object) {
  if (IsStoring()) {
    if (!m_pStoreMap) {
      m_pStoreMap = new KMapPtrToPtr(int(m_nGrowSize));
      m_pStoreMap->InitHashTable(m_nHashSize);
      m_nMapCount = 1;
    }
    if (object) {
      CheckCount();
      (*m_pStoreMap)[const_cast<KObject*>(object)] = reinterpret_cast<void*>(uintptr_t(m_nMapCount++));
    }
  } else {
    if (!m_pLoadArray) {
      m_pLoadArray = new KPtrArray;
      m_pLoadArray->SetSize(int(m_nGrowSize), int(m_nGrowSize));
      m_pLoadArray->SetSize(1);
      m_pLoadArray->SetAt(0, nullptr);
      m_loadSchema.assign(1, uint32_t{KNOT_A_CLASS});
      m_nMapCount = 1;
    }
    if (object) {
      CheckCount();
      LoadEntry(const_cast<KObject*>(object), KNOT_A_CLASS);
    }
  }
}

void KArchive::ThrowBadIndex(const char* method) { throw new KErr(KERR_BAD_INDEX, method, m_strFileName); }

void KArchive::WriteClass(const KRuntimeClass* cls) {
  if (PlainSchema(cls->m_wSchema) == KSCHEMA_NONE) KAfxThrowNotSupportedException();
  MapObject(nullptr);
  void*& slot = (*m_pStoreMap)[const_cast<KRuntimeClass*>(cls)];
  uint32_t index = uint32_t(reinterpret_cast<uintptr_t>(slot));
  if (index != 0) {
    if (index < kBigTag) {
      Put16(uint16_t(0x8000 | index));
    } else {
      Put16(kBigTag);
      Put32(kClassTag | index);
    }
    return;
  }
  Put16(kNewClassTag);
  cls->Store(*this);
  CheckCount();
  (*m_pStoreMap)[const_cast<KRuntimeClass*>(cls)] = reinterpret_cast<void*>(uintptr_t(m_nMapCount++));
}

void KArchive::WriteObject(const KObject* object) {
  MapObject(nullptr);
  if (!object) {
    Put16(kNullTag);
    return;
  }
  uint32_t index = uint32_t(reinterpret_cast<uintptr_t>((*m_pStoreMap)[const_cast<KObject*>(object)]));
  if (index != 0) {
    if (index < kBigTag) {
      Put16(uint16_t(index));
    } else {
      Put16(kBigTag);
      Put32(index);
    }
    return;
  }
  WriteClass(object->GetRuntimeClass());
  CheckCount();
  (*m_pStoreMap)[const_cast<KObject*>(object)] = reinterpret_cast<void*>(uintptr_t(m_nMapCount++));
  const_cast<KObject*>(object)->Serialize(*this);
}

KRuntimeClass* KArchive::ReadClass(const KRuntimeClass* expected, unsigned* schema, unsigned* tagOut) {
  if (expected && PlainSchema(expected->m_wSchema) == KSCHEMA_NONE) KAfxThrowNotSupportedException();
  MapObject(nullptr);
  uint16_t w = Get16();
  uint32_t tag = w == kBigTag ? Get32() : ((uint32_t(w) & 0x8000) << 16) | (w & 0x7FFF);
  KRuntimeClass* cls = nullptr;
  unsigned classSchema = 0;
  if (w == kNewClassTag) {
    unsigned stored = 0;
    cls = KRuntimeClass::Load(*this, &stored);
    if (!cls) throw new KErr(KERR_BAD_CLASS, "KArchive::ReadClass", m_strFileName);
    if (stored != PlainSchema(cls->m_wSchema) && !(cls->m_wSchema & KVERSIONABLE_SCHEMA))
      throw new KErr(KERR_BAD_SCHEMA, "KArchive::ReadClass", m_strFileName);
    CheckCount();
    LoadEntry(cls, stored);
    classSchema = stored;
  } else if (!(tag & kClassTag)) {
    if (!tagOut) ThrowBadIndex("KArchive::ReadClass");
    *tagOut = tag;
    return nullptr;
  } else {
    uint32_t index = tag & ~kClassTag;
    if (index == 0 || index > unsigned(m_pLoadArray->GetUpperBound()) || m_loadSchema[index] == KNOT_A_CLASS)
      ThrowBadIndex("KArchive::ReadClass");
    cls = static_cast<KRuntimeClass*>(m_pLoadArray->GetAt(int(index)));
    classSchema = m_loadSchema[index];
  }
  if (expected && !cls->IsDerivedFrom(expected)) throw new KErr(KERR_BAD_CLASS, "KArchive::ReadClass", m_strFileName);
  if (schema) *schema = classSchema;
  else m_nObjectSchema = classSchema;
  if (tagOut) *tagOut = tag;
  return cls;
}

void KArchive::SerializeClass(const KRuntimeClass* cls) {
  if (IsLoading()) ReadClass(cls);
  else WriteClass(cls);
}

KObject* KArchive::ReadObject(const KRuntimeClass* expected) {
  unsigned schema = 0;
  unsigned tag = 0;
  KRuntimeClass* cls = ReadClass(expected, &schema, &tag);
  if (!cls) {
    if (tag > unsigned(m_pLoadArray->GetUpperBound())) ThrowBadIndex("KArchive::ReadObject");
    if (m_loadSchema[tag] != KNOT_A_CLASS) ThrowBadIndex("KArchive::ReadObject"); // a class, not an object
    auto* object = static_cast<KObject*>(m_pLoadArray->GetAt(int(tag)));
    if (object && expected && !object->IsKindOf(expected))
      throw new KErr(KERR_BAD_CLASS, "KArchive::ReadObject", m_strFileName);
    return object;
  }
  KObject* object = cls->CreateObject();
  if (!object) KAfxThrowMemoryException();
  CheckCount();
  unsigned index = m_nMapCount;
  LoadEntry(object, KNOT_A_CLASS);
  unsigned saved = m_nObjectSchema;
  m_nObjectSchema = schema;
  try {
    object->Serialize(*this);
  } catch (...) {
    // The half-read object is nobody's: drop it from the table and free it.
    m_pLoadArray->SetAt(int(index), nullptr);
    delete object;
    m_nObjectSchema = saved;
    throw;
  }
  m_nObjectSchema = saved;
  return object;
}

} // namespace KCLASSIC
