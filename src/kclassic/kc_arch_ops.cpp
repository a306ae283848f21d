// Strings in the archive and the Serialize operations of the serialisable
// containers, with their extraction operators.
#include <climits>
#include <vector>

#include "kclassic/kc_arch.h"
#include "kclassic/kc_arch_be.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_list.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr uint32_t kWideMark = 0xFFFE;
// Elements an array read from an archive grows by at a time.
constexpr int kArrayStep = 4096;

// The narrow string length form (0xFFFE here is a plain length).
uint32_t ReadPlainLength(KArchive& ar, uint8_t first) {
  if (first < 0xFF) return first;
  uint16_t w = ar.Get16();
  return w < 0xFFFF ? w : ar.Get32();
}

// The string length form; wide is set by the 0xFF 0xFFFE marker, after
// which the length of the wide text follows in the narrow form.
uint32_t ReadStringLength(KArchive& ar, bool& wide) {
  wide = false;
  uint8_t b = ar.Get8();
  if (b < 0xFF) return b;
  uint16_t w = ar.Get16();
  if (w == kWideMark) {
    wide = true;
    return ReadPlainLength(ar, ar.Get8());
  }
  return w < 0xFFFF ? w : ar.Get32();
}

void ReadExact(KArchive& ar, void* dst, unsigned n) {
  if (ar.Read(dst, n) != n) throw new KErr(KERR_END_OF_FILE, "KArchive::Read");
}

// A count of elements of size bytes that the heap could hold at all.
int CheckedCount(unsigned long n, size_t size) {
  if (n > static_cast<unsigned long>(INT_MAX) / size) throw new KErr(KERR_BAD_INDEX, "KArchive::ReadCount");
  return int(n);
}

} // namespace

KArchive& operator<<(KArchive& ar, const KZString& s) {
  uint32_t n = uint32_t(s.GetLength());
  if (n < 0xFF) {
    ar.Put8(uint8_t(n));
  } else if (n < kWideMark) {
    ar.Put8(0xFF);
    ar.Put16(uint16_t(n));
  } else {
    ar.Put8(0xFF);
    ar.Put16(0xFFFF);
    ar.Put32(n);
  }
  ar.Write(static_cast<const char*>(s), n);
  return ar;
}

KArchive& operator>>(KArchive& ar, KZString& s) {
  bool wide = false;
  uint32_t n = ReadStringLength(ar, wide);
  if (n > uint32_t(INT_MAX) / 4 - 16) throw new KErr(KERR_BAD_INDEX, "KArchive::operator>>", "string length");
  if (!wide) {
    if (n == 0) {
      s.Empty();
      return ar;
    }
    char* p = s.GetBufferSetLength(int(n));
    unsigned got = ar.Read(p, n);
    s.ReleaseBuffer(int(got));
    if (got != n) throw new KErr(KERR_END_OF_FILE, "KArchive::operator>>");
    return ar;
  }
  // Two-byte units, big-endian, converted into the thread locale's code page.
  std::vector<uint8_t> bytes(size_t(n) * 2);
  ReadExact(ar, bytes.data(), unsigned(bytes.size()));
  if (n == 0) {
    s.Empty();
    return ar;
  }
  std::vector<unsigned short> units(n);
  for (uint32_t i = 0; i < n; ++i) units[i] = static_cast<unsigned short>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
  std::vector<char> text(size_t(n) * 4 + 16);
  long written = kunicodetostr(text.data(), units.data(), long(n), long(text.size()), nullptr);
  if (written <= 0) s.Empty();
  else s = KZString(text.data(), written - 1);
  return ar;
}

void KDWordArray::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<unsigned long>(m_nSize));
    for (int i = 0; i < m_nSize; ++i) ar.Put32(m_pData[i]);
    return;
  }
  int n = CheckedCount(ar.ReadCount(), 4);
  SetSize(0, -1);
  // Read and grown a block at a time, so a damaged count meets the end of
  // the file before it can claim the heap.
  uint8_t block[4 * kArrayStep];
  for (int done = 0; done < n;) {
    const int next = n - done > kArrayStep ? done + kArrayStep : n;
    ReadExact(ar, block, unsigned(4 * (next - done)));
    SetSize(next, -1);
    for (int i = done; i < next; ++i) m_pData[i] = KArchGetBe<uint32_t>(block + 4 * size_t(i - done));
    done = next;
  }
}

void KStringArray::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<unsigned long>(m_nSize));
    for (int i = 0; i < m_nSize; ++i) ar << m_pData[i];
    return;
  }
  int n = CheckedCount(ar.ReadCount(), sizeof(KZString));
  SetSize(0, -1);
  // Grown a step at a time, so a damaged count meets the end of the file
  // before it can claim the heap.
  for (int done = 0; done < n;) {
    int next = n - done > kArrayStep ? done + kArrayStep : n;
    SetSize(next, -1);
    for (; done < next; ++done) ar >> m_pData[done];
  }
}

void KMapStringToString::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<unsigned long>(m_nCount));
    KPOSITION pos = GetStartPosition();
    while (pos) {
      KZString key, value;
      GetNextAssoc(pos, key, value);
      ar << key << value;
    }
    return;
  }
  for (unsigned long n = ar.ReadCount(); n > 0; --n) {
    KZString key, value;
    ar >> key >> value;
    (*this)[key] = value;
  }
}

void KStringList::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<unsigned long>(m_nCount));
    for (CNode* n = m_pNodeHead; n; n = n->pNext) ar << n->data;
    return;
  }
  for (unsigned long n = ar.ReadCount(); n > 0; --n) {
    KZString text;
    ar >> text;
    AddTail(text);
  }
}

namespace {
template <class T>
KArchive& Extract(KArchive& ar, T*& p) {
  p = static_cast<T*>(ar.ReadObject(KRUNTIME_CLASS(T)));
  return ar;
}
} // namespace

KArchive& operator>>(KArchive& ar, KStringArray*& p) { return Extract(ar, p); }
KArchive& operator>>(KArchive& ar, KDWordArray*& p) { return Extract(ar, p); }
KArchive& operator>>(KArchive& ar, KMapStringToString*& p) { return Extract(ar, p); }
KArchive& operator>>(KArchive& ar, KStringList*& p) { return Extract(ar, p); }

} // namespace KCLASSIC
