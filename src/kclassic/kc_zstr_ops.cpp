// KZString: extraction, search, comparison and changes in place. Every walk
// steps by whole multibyte characters in the calling thread's locale.
#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_zstr.h"

namespace KCLASSIC {

namespace {

// Bytes of a packed character.
int packed_len(unsigned ch) {
  char bytes[5];
  return int(kputchr(bytes, ch) - bytes);
}

} // namespace

// ---------------------------------------------------------------------------
// Extraction.

KZString KZString::Left(int n) const {
  if (n < 0) n = 0;
  if (n >= GetLength()) return *this;
  KZString r;
  AllocCopy(r, n, 0, 0);
  return r;
}

KZString KZString::Right(int n) const {
  if (n < 0) n = 0;
  if (n >= GetLength()) return *this;
  KZString r;
  AllocCopy(r, n, GetLength() - n, 0);
  return r;
}

KZString KZString::Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }

KZString KZString::Mid(int first, int count) const {
  int len = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > len) count = 0;
  else if (count > len - first) count = len - first;
  if (first == 0 && count == len) return *this;
  KZString r;
  AllocCopy(r, count, first, 0);
  return r;
}

KZString KZString::SpanIncluding(const char* set) const { return Left(int(kstrspn(m_pchData, set ? set : ""))); }

KZString KZString::SpanExcluding(const char* set) const {
  return Left(int(kstrcspn(m_pchData, set ? set : "")));
}

// ---------------------------------------------------------------------------
// Search.

int KZString::Find(const char* sub, int start) const {
  if (start < 0) start = 0;
  if (!sub || start > GetLength()) return -1;
  const char* p = kstrstr(m_pchData + start, sub);
  return p ? int(p - m_pchData) : -1;
}

int KZString::Find(unsigned ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  const char* p = kstrchr(m_pchData + start, ch);
  // Searching for the NUL finds the terminator, which is not text.
  return p && p < m_pchData + GetLength() ? int(p - m_pchData) : -1;
}

int KZString::ReverseFind(unsigned ch) const {
  const char* p = kstrrchr(m_pchData, ch);
  return p && p < m_pchData + GetLength() ? int(p - m_pchData) : -1;
}

int KZString::FindOneOf(const char* set) const {
  if (!set) return -1;
  const char* p = kstrpbrk(m_pchData, set);
  return p ? int(p - m_pchData) : -1;
}

unsigned KZString::GetAt(int i) const { return kstrnextc(m_pchData + i); }

// ---------------------------------------------------------------------------
// Comparison.

int KZString::Compare(const char* s) const { return kstrcmp(m_pchData, s ? s : ""); }
int KZString::CompareNoCase(const char* s) const { return kstricmp(m_pchData, s); }
int KZString::Collate(const char* s) const { return kstrcoll(m_pchData, s ? s : ""); }
int KZString::CollateNoCase(const char* s) const { return kstricoll(m_pchData, s ? s : ""); }

// ---------------------------------------------------------------------------
// Changes in place.

int KZString::Insert(int i, unsigned ch) {
  char bytes[6];
  *kputchr(bytes, ch) = 0;
  return Insert(i, bytes);
}

int KZString::Insert(int i, const char* s) {
  int len = GetLength();
  if (i < 0) i = 0;
  if (i > len) i = len;
  int n = s ? int(std::strlen(s)) : 0;
  if (n == 0) return len;
  // The inserted text may lie in this string's own buffer.
  KZString copy;
  if (s >= m_pchData && s <= m_pchData + len) {
    copy = s;
    s = copy.m_pchData;
  }
  if (len + n > GetData()->nAllocLength) Regrow(len + n);
  std::memmove(m_pchData + i + n, m_pchData + i, size_t(len - i) + 1);
  std::memcpy(m_pchData + i, s, size_t(n));
  GetData()->nDataLength = len + n;
  return len + n;
}

int KZString::Delete(int i, int count) {
  int len = GetLength();
  if (i < 0) i = 0;
  if (count < 1 || i >= len) return len;
  if (count > len - i) count = len - i; // past the end: to the end
  std::memmove(m_pchData + i, m_pchData + i + count, size_t(len - (i + count)) + 1);
  GetData()->nDataLength = len - count;
  return len;
}

// The whole character at i is replaced, whatever the lengths of the old and
// the new character (deleting the new one's length could leave half a
// character behind).
void KZString::SetAt(int i, unsigned ch) {
  if (i >= 0 && i < GetLength()) Delete(i, int(kstrinc(m_pchData + i) - (m_pchData + i)));
  Insert(i, ch);
}

int KZString::Replace(unsigned oldCh, unsigned newCh) {
  if (oldCh == newCh) return 0;
  int len = GetLength();
  const char* end = m_pchData + len;
  int count = 0;
  for (const char* p = m_pchData; p < end; p = kstrinc(p))
    if (kstrnextc(p) == oldCh) ++count;
  int oldLen = packed_len(oldCh);
  int newLen = packed_len(newCh);
  char newBytes[5];
  kputchr(newBytes, newCh);
  KStringData* old = GetData();
  AllocBuffer(len + count * (newLen - oldLen));
  char* out = m_pchData;
  for (const char* p = old->data(); p < end;) {
    const char* next = kstrinc(p);
    if (next <= p) next = p + 1;
    if (kstrnextc(p) == oldCh) {
      std::memcpy(out, newBytes, size_t(newLen));
      out += newLen;
    } else {
      std::memcpy(out, p, size_t(next - p));
      out += next - p;
    }
    p = next;
  }
  SetLength(int(out - m_pchData));
  Release(old);
  return count;
}

int KZString::Replace(const char* oldText, const char* newText) {
  int oldLen = oldText ? int(std::strlen(oldText)) : 0;
  if (oldLen == 0) return 0;
  if (!newText) newText = "";
  int newLen = int(std::strlen(newText));
  int len = GetLength();
  // Occurrences in each NUL-separated piece of the text, left to right.
  KZString result;
  int count = 0;
  const char* end = m_pchData + len;
  const char* piece = m_pchData;
  while (piece < end) {
    const char* pieceEnd = piece + std::strlen(piece);
    const char* from = piece;
    for (const char* hit; (hit = kstrstr(from, oldText)) != nullptr;) {
      result.ConcatInPlace(int(hit - from), from);
      result.ConcatInPlace(newLen, newText);
      from = hit + oldLen;
      ++count;
    }
    result.ConcatInPlace(int(pieceEnd - from), from);
    if (pieceEnd < end) result.ConcatInPlace(1, pieceEnd); // the embedded NUL
    piece = pieceEnd + 1;
  }
  if (count == 0) return 0;
  int newTotal = result.GetLength();
  if (newTotal > GetData()->nAllocLength) Regrow(newTotal);
  std::memcpy(m_pchData, result.m_pchData, size_t(newTotal));
  SetLength(newTotal);
  return count;
}

int KZString::Remove(unsigned ch) {
  int len = GetLength();
  char* end = m_pchData + len;
  char* out = m_pchData;
  for (char* p = m_pchData; p < end;) {
    char* next = kstrinc(p);
    if (next <= p) next = p + 1;
    if (kstrnextc(p) != ch) {
      std::memmove(out, p, size_t(next - p));
      out += next - p;
    }
    p = next;
  }
  int removed = int(end - out);
  if (removed) SetLength(int(out - m_pchData));
  return removed;
}

namespace {

// Case mapping through a scratch buffer that holds any growth of the text.
void map_case(KZString& s, char* (*mapper)(char*, long, const char*, long, long*)) {
  int len = s.GetLength();
  if (len == 0) return;
  long room = 4L * len + 16;
  for (;;) {
    char* scratch = new char[size_t(room)];
    long written = 0;
    try {
      mapper(scratch, room, s, len, &written);
    } catch (...) {
      delete[] scratch;
      throw;
    }
    if (written < room - 8) {
      s.GetBufferSetLength(int(written));
      std::memcpy(s.GetBuffer(0), scratch, size_t(written));
      delete[] scratch;
      s.ReleaseBuffer(int(written));
      return;
    }
    delete[] scratch;
    room *= 2;
  }
}

} // namespace

void KZString::MakeUpper() { map_case(*this, kstrupper); }
void KZString::MakeLower() { map_case(*this, kstrlower); }

void KZString::MakeReverse() {
  int len = GetLength();
  if (len == 0) return;
  KStringData* old = GetData();
  AllocBuffer(len);
  char* out = m_pchData + len;
  const char* end = old->data() + len;
  for (const char* p = old->data(); p < end;) {
    const char* next = kstrinc(p);
    if (next <= p) next = p + 1;
    if (next > end) next = end;
    out -= next - p;
    std::memcpy(out, p, size_t(next - p));
    p = next;
  }
  m_pchData[len] = 0;
  Release(old);
  SetLength(int(std::strlen(m_pchData)));
}

namespace {

// The start of the trailing run of characters that trim() accepts, or end
// when there is none.
template <class Pred>
const char* trailing_run(const char* s, const char* end, Pred trim) {
  const char* run = nullptr;
  for (const char* p = s; p < end;) {
    const char* next = kstrinc(p);
    if (next <= p) next = p + 1;
    if (trim(p)) {
      if (!run) run = p;
    } else {
      run = nullptr;
    }
    p = next;
  }
  return run ? run : end;
}

// The first character that trim() does not accept.
template <class Pred>
const char* leading_run_end(const char* s, const char* end, Pred trim) {
  const char* p = s;
  while (p < end && trim(p)) {
    const char* next = kstrinc(p);
    p = next <= p ? p + 1 : next;
  }
  return p;
}

} // namespace

void KZString::CutFront(const char* p) {
  int n = int(p - m_pchData);
  if (n == 0) return;
  int left = GetLength() - n;
  std::memmove(m_pchData, p, size_t(left) + 1);
  SetLength(left);
}

void KZString::CutBack(const char* p) {
  if (p < m_pchData + GetLength()) SetLength(int(p - m_pchData));
}

namespace {

// White space is tested on the whole character: the lead byte of a
// double-byte space alone is no space.
bool is_space_char(const char* c) { return kisspace(kstrnextc(c)) != 0; }

bool first_byte_in(const char* c, const char* set) {
  unsigned byte = static_cast<unsigned char>(*c);
  return byte != 0 && kstrchr(set, byte) != nullptr;
}

} // namespace

void KZString::TrimLeft() { CutFront(leading_run_end(m_pchData, m_pchData + GetLength(), is_space_char)); }

void KZString::TrimRight() { CutBack(trailing_run(m_pchData, m_pchData + GetLength(), is_space_char)); }

void KZString::TrimLeft(unsigned ch) {
  CutFront(leading_run_end(m_pchData, m_pchData + GetLength(), [ch](const char* c) { return kstrnextc(c) == ch; }));
}

void KZString::TrimRight(unsigned ch) {
  CutBack(trailing_run(m_pchData, m_pchData + GetLength(), [ch](const char* c) { return kstrnextc(c) == ch; }));
}

void KZString::TrimLeft(const char* set) {
  if (!set || !*set) return;
  CutFront(leading_run_end(m_pchData, m_pchData + GetLength(),
                           [set](const char* c) { return first_byte_in(c, set); }));
}

void KZString::TrimRight(const char* set) {
  if (!set || !*set) return;
  CutBack(trailing_run(m_pchData, m_pchData + GetLength(), [set](const char* c) { return first_byte_in(c, set); }));
}

} // namespace KCLASSIC
