// KZString: the buffer primitives, construction, assignment, concatenation
// and direct buffer access.
#include "kclassic/kc_zstr.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_plex.h"

namespace KCLASSIC {

namespace {

// The shared empty datum: constant-initialised, so it is ready before any
// static initialiser runs, and never written.
struct NilDatum {
  KStringData hdr;
  char text[4];
};
constinit NilDatum kafx_init_data = {{-1, 0, 0}, {0, 0, 0, 0}};

constexpr int kPoolCaps[4] = {64, 128, 256, 512};

// Element size: header, capacity and NUL, rounded up to 16 bytes.
constexpr unsigned pool_element(int cap) { return unsigned((sizeof(KStringData) + cap + 1 + 15) / 16 * 16); }

// The pools are made on first use and never destroyed, so that strings of
// any static object can be built and freed whatever the order of static
// construction and destruction.
KFixedAlloc* const* pools() {
  static KFixedAlloc* const p[4] = {
      new KFixedAlloc(pool_element(64), 64), new KFixedAlloc(pool_element(128), 64),
      new KFixedAlloc(pool_element(256), 64), new KFixedAlloc(pool_element(512), 64)};
  return p;
}

int capacity_class(int n) {
  for (int cap : kPoolCaps)
    if (n <= cap) return cap;
  return n;
}

} // namespace

KStringData* KGetAfxDataNil() { return &kafx_init_data.hdr; }
const char* KGetAfxPchNil() { return kafx_init_data.text; }

KFixedAlloc* KAfxStringPool(int capacity) {
  for (int i = 0; i < 4; ++i)
    if (kPoolCaps[i] == capacity) return pools()[i];
  return nullptr;
}

const KZString& KGetEmptyString() {
  static const KZString empty;
  return empty;
}

// ---------------------------------------------------------------------------
// Buffer primitives.

void KZString::Init() { m_pchData = kafx_init_data.text; }

void KZString::AllocBuffer(int n) {
  if (n <= 0) {
    Init();
    return;
  }
  int cap = capacity_class(n);
  KStringData* d;
  if (KFixedAlloc* pool = KAfxStringPool(cap)) d = static_cast<KStringData*>(pool->Alloc());
  else d = static_cast<KStringData*>(::operator new(sizeof(KStringData) + size_t(cap) + 1));
  d->nRefs = 1;
  d->nDataLength = n;
  d->nAllocLength = cap;
  d->data()[n] = 0;
  m_pchData = d->data();
}

void KZString::FreeData(KStringData* data) {
  if (KFixedAlloc* pool = KAfxStringPool(data->nAllocLength)) pool->Free(data);
  else ::operator delete(data);
}

void KZString::Release() {
  if (!IsNil()) FreeData(GetData());
  Init();
}

void KZString::Release(KStringData* data) {
  if (data != KGetAfxDataNil()) FreeData(data);
}

void KZString::SetLength(int n) {
  if (IsNil()) return; // the empty datum already holds length 0 and its NUL
  GetData()->nDataLength = n;
  m_pchData[n] = 0;
}

void KZString::AllocBeforeWrite(int n) {
  if (n > GetData()->nAllocLength) {
    Release();
    AllocBuffer(n);
  }
}

void KZString::AllocCopy(KZString& dest, int count, int index, int extra) const {
  int n = count + extra;
  if (n == 0) {
    dest.Init();
    return;
  }
  dest.AllocBuffer(n);
  std::memcpy(dest.m_pchData, m_pchData + index, size_t(count));
  dest.SetLength(count);
}

void KZString::AssignCopy(int n, const char* src) {
  AllocBeforeWrite(n);
  if (n > 0) std::memmove(m_pchData, src, size_t(n));
  SetLength(n);
}

void KZString::ConcatCopy(int firstLen, const char* first, int secondLen, const char* second) {
  int n = firstLen + secondLen;
  if (n == 0) return;
  AllocBuffer(n);
  if (firstLen > 0) std::memcpy(m_pchData, first, size_t(firstLen));
  if (secondLen > 0) std::memcpy(m_pchData + firstLen, second, size_t(secondLen));
}

void KZString::ConcatInPlace(int n, const char* s) {
  if (n == 0) return;
  KStringData* old = GetData();
  if (n > INT_MAX - old->nDataLength) KAfxThrowMemoryException();
  if (old->nDataLength + n > old->nAllocLength) {
    ConcatCopy(old->nDataLength, m_pchData, n, s);
    Release(old);
  } else {
    std::memmove(m_pchData + old->nDataLength, s, size_t(n));
    SetLength(old->nDataLength + n);
  }
}

void KZString::PutLChar(unsigned ch) {
  char bytes[5];
  int n = int(kputchr(bytes, ch) - bytes);
  ConcatInPlace(n, bytes);
}

unsigned KZString::LastChar() const { return klastchr(m_pchData); }

void KZString::Regrow(int n) {
  KStringData* old = GetData();
  int len = old->nDataLength;
  AllocBuffer(n < len ? len : n);
  std::memcpy(m_pchData, old->data(), size_t(len) + 1);
  SetLength(len);
  Release(old);
}

// ---------------------------------------------------------------------------
// Construction and assignment.

KZString::KZString() { Init(); }

KZString::KZString(const KZString& other) {
  Init();
  AssignCopy(other.GetLength(), other.m_pchData);
}

KZString::KZString(char ch, long n) {
  Init();
  if (n < 1) return;
  AllocBuffer(int(n));
  std::memset(m_pchData, ch, size_t(n));
}

KZString::KZString(const char* text, long len, const char* codePage) {
  Init();
  if (!text) return;
  if (len < 0) len = long(kstrlen(text));
  if (!codePage) {
    AssignCopy(int(len), text);
    return;
  }
  long need = kstrconvert(nullptr, text, len, 0, codePage, nullptr);
  if (need <= 0) return;
  AllocBuffer(int(need));
  long got = kstrconvert(m_pchData, text, len, need, codePage, nullptr);
  if (got < 0) got = 0;
  m_pchData[got < need ? got : need] = 0;
  SetLength(int(std::strlen(m_pchData)));
}

namespace {

// Wide text (one Unicode character per wchar_t) as UTF-16 units.
std::vector<unsigned short> utf16_of(const wchar_t* text, long len) {
  std::vector<unsigned short> u;
  for (long i = 0; len < 0 ? text[i] != 0 : i < len; ++i) {
    auto c = static_cast<uint32_t>(text[i]);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      u.push_back(static_cast<unsigned short>(0xD800 | (c >> 10)));
      u.push_back(static_cast<unsigned short>(0xDC00 | (c & 0x3FF)));
    } else {
      u.push_back(static_cast<unsigned short>(c > 0x10FFFF ? 0xFFFD : c));
    }
  }
  return u;
}

} // namespace

KZString::KZString(const wchar_t* text, long len, const char* codePage) {
  Init();
  if (!text) return;
  std::vector<unsigned short> u = utf16_of(text, len);
  if (u.empty()) return;
  long n = long(u.size());
  long need = kunicodetostr(nullptr, u.data(), n, 0, codePage);
  if (need <= 0) return;
  AllocBuffer(int(need));
  long got = kunicodetostr(m_pchData, u.data(), n, need, codePage);
  if (got < 0) got = 0;
  m_pchData[got < need ? got : need] = 0;
  SetLength(int(std::strlen(m_pchData)));
}

KZString& KZString::operator=(const wchar_t* text) {
  KZString converted(text);
  AssignCopy(converted.GetLength(), converted.m_pchData);
  return *this;
}

KZString::~KZString() { Release(); }

KZString& KZString::operator=(const KZString& other) {
  if (m_pchData != other.m_pchData) AssignCopy(other.GetLength(), other.m_pchData);
  return *this;
}

KZString& KZString::operator=(const char* text) {
  if (!text) {
    SetLength(0);
    return *this;
  }
  AssignCopy(int(std::strlen(text)), text);
  return *this;
}

KZString& KZString::operator=(unsigned ch) {
  Empty();
  SetLength(0);
  PutLChar(ch);
  return *this;
}

void KZString::Empty() {
  if (GetLength() != 0) Release();
}

// ---------------------------------------------------------------------------
// Concatenation.

KZString& KZString::operator+=(const char* text) {
  if (text) ConcatInPlace(int(std::strlen(text)), text);
  return *this;
}

KZString& KZString::operator+=(const KZString& text) {
  if (&text == this) {
    KZString copy(text);
    ConcatInPlace(copy.GetLength(), copy.m_pchData);
  } else {
    ConcatInPlace(text.GetLength(), text.m_pchData);
  }
  return *this;
}

KZString& KZString::operator+=(char ch) {
  ConcatInPlace(1, &ch);
  return *this;
}

KZString& KZString::operator+=(unsigned ch) {
  PutLChar(ch);
  return *this;
}

KZString operator+(const KZString& a, const KZString& b) {
  KZString r;
  r.ConcatCopy(a.GetLength(), a.m_pchData, b.GetLength(), b.m_pchData);
  return r;
}

KZString operator+(const KZString& a, const char* b) {
  KZString r;
  r.ConcatCopy(a.GetLength(), a.m_pchData, b ? int(std::strlen(b)) : 0, b);
  return r;
}

KZString operator+(const char* a, const KZString& b) {
  KZString r;
  r.ConcatCopy(a ? int(std::strlen(a)) : 0, a, b.GetLength(), b.m_pchData);
  return r;
}

KZString operator+(const KZString& a, char ch) {
  KZString r(a);
  r += ch;
  return r;
}

KZString operator+(char ch, const KZString& a) {
  KZString r;
  r.ConcatCopy(1, &ch, a.GetLength(), a.m_pchData);
  return r;
}

KZString operator+(unsigned ch, const KZString& a) {
  KZString r;
  r.PutLChar(ch);
  r += a;
  return r;
}

// ---------------------------------------------------------------------------
// Direct buffer access.

char* KZString::GetBuffer(int n) {
  if (n > GetData()->nAllocLength) Regrow(n);
  return m_pchData;
}

void KZString::ReleaseBuffer(int n) {
  if (n < 0) n = int(std::strlen(m_pchData));
  if (n > GetData()->nAllocLength) n = GetData()->nAllocLength; // never past the buffer
  SetLength(n);
}

char* KZString::GetBufferSetLength(int n) {
  GetBuffer(n);
  SetLength(n);
  return m_pchData;
}

void KZString::FreeExtra() {
  KStringData* old = GetData();
  if (IsNil() || old->nDataLength == old->nAllocLength) return;
  if (capacity_class(old->nDataLength) == old->nAllocLength) return;
  if (old->nDataLength == 0) {
    Release();
    return;
  }
  AllocBuffer(old->nDataLength);
  std::memcpy(m_pchData, old->data(), size_t(old->nDataLength) + 1);
  Release(old);
}

char* KZString::LockBuffer() {
  char* p = GetBuffer(0);
  if (!IsNil()) GetData()->nRefs = -1;
  return p;
}

void KZString::UnlockBuffer() {
  if (!IsNil()) GetData()->nRefs = 1;
}

char* KZString::AllocString() const {
  char* p = new char[size_t(GetLength()) + 1];
  std::memcpy(p, m_pchData, size_t(GetLength()) + 1);
  return p;
}

// ---------------------------------------------------------------------------
// Collection helpers.

void KConstructElements(KZString* p, int n) {
  for (int i = 0; i < n; ++i) ::new (static_cast<void*>(p + i)) KZString();
}

void KDestructElements(KZString* p, int n) {
  for (int i = 0; i < n; ++i) p[i].~KZString();
}

void KCopyElements(KZString* dest, const KZString* src, int n) {
  for (int i = 0; i < n; ++i) dest[i] = src[i];
}

unsigned KHashKey(const char* key) {
  uint32_t h = 0;
  for (const signed char* p = reinterpret_cast<const signed char*>(key); *p; ++p)
    h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(*p));
  return h;
}

unsigned KHashKey(const wchar_t* key) {
  uint32_t h = 0;
  for (; *key; ++key) h = h * 33u + static_cast<uint32_t>(*key);
  return h;
}

} // namespace KCLASSIC
