// KUtlRecord's binary image: magic, "BeginRecord", version, counts, names,
// columns, cells (nested records as complete images) and "EndRecord", every
// integer 4 bytes little-endian. Written in two passes over the same code
// (measure, then write); read without trusting any count or length.
#include <cstring>
#include <memory>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

namespace {

constexpr const char* kBegin = "BeginRecord";
constexpr const char* kEnd = "EndRecord";
constexpr long kEmptyImageSize = 47;

// Nesting level of the image being read on this thread (0 outside a read).
thread_local int t_readDepth = 0;

struct DepthGuard {
  DepthGuard() { ++t_readDepth; }
  ~DepthGuard() { --t_readDepth; }
};

// Fewest bytes an item of a column's cell type can take in a sound image;
// 0 for a code that is not one of the cell types (a cell of any other code
// would be neither released nor copied).
long minItemSize(long cellType) {
  switch (cellType) {
    case UTL_CELL_LONG: case UTL_CELL_BSTR: case UTL_CELL_EMPTY: return 4;
    case UTL_CELL_STRING: return 1;
    case UTL_CELL_RECORD: return kEmptyImageSize;
    default: return 0;
  }
}

// Reads a nested record's image; false when it does not read, whether it
// was refused or its reading threw.
bool readNested(KUtlRecord& rec, unsigned char* position, long& remaining) {
  try {
    return rec.DeserializeImp(position, remaining) != 0;
  } catch (KErr* e) {
    delete e;
    return false;
  }
}

// A text item read by LoadFromImage, freed on every path.
struct ImageText {
  char* s = nullptr;
  ~ImageText() { KBinSysFreeString(s); }
  const char* get() const { return s ? s : ""; }
};

} // namespace

long UiToImage(unsigned char* position, long cellType, long* value) {
  switch (cellType & 0x3800) {
    case 0x0800:
    case 0x3800:
      if (position) RecPutLe32(position, static_cast<uint32_t>(*value));
      return 4;
    case 0x1000: {
      const char* s = reinterpret_cast<const char*>(*value);
      if (!s) s = EMPTY_STRING;
      size_t n = std::strlen(s) + 1;
      if (position) std::memcpy(position, s, n);
      return static_cast<long>(n);
    }
    case 0x1800: {
      const auto* rec = reinterpret_cast<const KUtlRecord*>(*value);
      KUtlRecord empty;
      if (!rec) rec = &empty;
      if (!position) return rec->SerializeToBuffer(position);
      unsigned char* start = position;
      rec->SerializeToBuffer(position);
      return position - start;
    }
    case 0x3000: {
      const char* s = reinterpret_cast<const char*>(*value);
      uint32_t n = KBinSysStringByteLen(s);
      if (position) {
        RecPutLe32(position, n);
        if (n) std::memcpy(position + 4, s, n);
      }
      return 4 + static_cast<long>(n);
    }
    default:
      return -1;
  }
}

long UiFromImage(unsigned char* position, long length, long cellType, long* out) {
  switch (cellType & 0x3800) {
    case 0x0800:
    case 0x3800:
      if (length < 4) return -1;
      *out = static_cast<int32_t>(RecGetLe32(position));
      return 4;
    case 0x1000: {
      char* text = nullptr;
      if (length <= 0) {
        if (UiReAlloc(&text, 0, nullptr, 1) < 0) return -1;
        *out = reinterpret_cast<long>(text);
        return 0;
      }
      const void* nul = std::memchr(position, 0, size_t(length));
      long taken = nul ? static_cast<const unsigned char*>(nul) - position + 1 : length;
      if (UiReAlloc(&text, taken, reinterpret_cast<const char*>(position), 0) < 0) return -1;
      size_t n = std::strlen(text);
      if (n >= 1 && static_cast<unsigned char>(text[n - 1]) == 0x01) text[n - 1] = '\0';
      *out = reinterpret_cast<long>(text);
      return taken;
    }
    case 0x1800: {
      // Too deep a nesting is refused before the nested record exists.
      if (t_readDepth > UTL_IMAGE_MAX_DEPTH) return -1;
      auto rec = std::make_unique<KUtlRecord>();
      long remaining = length;
      if (!readNested(*rec, position, remaining)) return -1;
      *out = reinterpret_cast<long>(rec.release());
      return length - remaining;
    }
    case 0x3000: {
      if (length < 4) return -1;
      long n = static_cast<int32_t>(RecGetLe32(position));
      if (n < 0 || n > length - 4) return -1;
      char* s = nullptr;
      if (n >= 1) {
        s = KBinSysAllocStringByteLen(reinterpret_cast<const char*>(position + 4), static_cast<unsigned>(n));
        if (!s) return -1;
      }
      *out = reinterpret_cast<long>(s);
      return 4 + n;
    }
    default:
      return -1;
  }
}

long KUtlRecord::AddToImage(unsigned char*& position, long cellType, void* value) const {
  long v = reinterpret_cast<long>(value);
  long size = UiToImage(position, cellType, &v);
  if (size < 0) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::AddToImage", "Conversion Error");
  if (!position) return size;
  position += size;
  return 0;
}

void* KUtlRecord::LoadFromImage(unsigned char*& position, long& remaining, long cellType) {
  long value = 0;
  long used = UiFromImage(position, remaining, cellType, &value);
  if (used < 0) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::LoadFromImage", "Illegal Image format");
  position += used;
  remaining -= used;
  return reinterpret_cast<void*>(value);
}

long KUtlRecord::SerializeToBuffer(unsigned char*& position) const {
  const bool measure = position == nullptr;
  long total = 0;
  auto add = [&](long cellType, const void* value) {
    total += AddToImage(position, cellType, const_cast<void*>(value));
  };
  auto addLong = [&](long cellType, long value) { add(cellType, reinterpret_cast<void*>(value)); };
  addLong(UTL_CELL_LONG, UTL_IMAGE_MAGIC);
  add(UTL_CELL_STRING, kBegin);
  addLong(UTL_CELL_LONG, UTL_IMAGE_VERSION);
  addLong(UTL_CELL_LONG, m_nRows);
  addLong(UTL_CELL_LONG, m_nColumns);
  add(UTL_CELL_STRING, m_szName);
  add(UTL_CELL_STRING, m_szTypeName);
  add(UTL_CELL_STRING, EMPTY_STRING);
  for (long c = 0; c < m_nColumns; ++c) add(UTL_CELL_STRING, m_pColumns[c].m_szTypeName);
  for (long c = 0; c < m_nColumns; ++c) addLong(UTL_CELL_LONG, m_pColumns[c].m_nCellType);
  long cells = m_nRows * m_nColumns;
  for (long k = 0; k < cells; ++k) {
    long type = m_pColumns[k % m_nColumns].m_nCellType;
    const void* v = m_pCells && k < m_pCells->GetSize() ? Cell(k) : nullptr;
    if ((type & 0x3800) == 0x0800 || (type & 0x3800) == 0x3800) addLong(type, RecCellLong(v));
    else add(type, v);
  }
  add(UTL_CELL_STRING, kEnd);
  return measure ? total : 0;
}

char* KUtlRecord::Serialize() const {
  unsigned char* none = nullptr;
  long size = SerializeToBuffer(none);
  if (size > 0x7FFFFFFF) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::Serialize", "Conversion Error");
  char* image = KBinSysAllocStringByteLen(nullptr, static_cast<unsigned>(size));
  if (!image) KAfxThrowMemoryException();
  auto* position = reinterpret_cast<unsigned char*>(image);
  SerializeToBuffer(position);
  return image;
}

int KUtlRecord::DeserializeImp(unsigned char* image, long& length) {
  RemoveAll(nullptr, nullptr);
  KUtlCrSync lock(g_RecCrSect);
  DepthGuard depth;
  if (!image || length < 16) return 1;
  unsigned char* p = image;
  long& left = length;
  auto readLong = [&] { return static_cast<long>(reinterpret_cast<intptr_t>(LoadFromImage(p, left, UTL_CELL_LONG))); };
  auto readText = [&](ImageText& t) { t.s = static_cast<char*>(LoadFromImage(p, left, UTL_CELL_STRING)); };

  if (readLong() != UTL_IMAGE_MAGIC) return 0;
  {
    ImageText begin;
    readText(begin);
    if (kstricmp(begin.get(), kBegin) != 0) return 0;
  }
  long version = readLong();
  long rows = readLong();
  long columns = readLong();
  {
    ImageText name, type;
    readText(name);
    readText(type);
    CopyString(m_szName, name.get(), sizeof m_szName);
    CopyString(m_szTypeName, type.get(), sizeof m_szTypeName);
  }
  ImageText spare;
  readText(spare);

  // Counts are checked against the bytes left before anything is made of
  // them: every column needs a text and a code, and the end marker 10 bytes.
  constexpr long kEndSize = 10;
  if (rows < 0 || columns < 0) return 0;
  long perColumn = version == 2 ? 6 : 5;
  if (columns > (left - kEndSize) / perColumn) return 0;
  if (version <= 2 && static_cast<long>(std::strlen(spare.get())) < columns) return 0;

  AllocColumn(columns, 0);
  for (long i = 0; i < columns; ++i) {
    ImageText text;
    readText(text);
    KUtlColumn& c = m_pColumns[i];
    if (version > 2) {
      CopyString(c.m_szTypeName, text.get(), sizeof c.m_szTypeName);
    } else {
      c.m_szTypeName[0] = static_cast<char>(spare.get()[i] - 9);
      CopyString(c.m_szTypeName + 1, text.get(), 64);
    }
    c.m_nCellType = UTL_CELL_EMPTY;
  }
  if (version == 2)
    for (long i = 0; i < columns; ++i) {
      ImageText dropped;
      readText(dropped);
    }
  long perRow = 0;
  for (long i = 0; i < columns; ++i) {
    long code = readLong();
    long least = minItemSize(code);
    if (least == 0) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::LoadFromImage", "Illegal Image format");
    m_pColumns[i].m_nCellType = code;
    perRow += least;
  }
  m_nColumns = columns;
  if (perRow > 0 && rows > (left - kEndSize) / perRow) return 0;
  if (rows * columns > 0x7FFFFFFF) return 0;

  // The rows are set before the cells are read, so a read that fails part
  // way releases what it had read with the record.
  m_pCells->SetSize(static_cast<int>(rows * columns));
  m_nRows = rows;
  for (long k = 0; k < rows * columns; ++k) {
    long type = m_pColumns[k % columns].m_nCellType;
    void* v = LoadFromImage(p, left, type);
    if ((type & 0x3800) == 0x0800 || (type & 0x3800) == 0x3800) v = RecLongCell(reinterpret_cast<intptr_t>(v));
    Cell(k) = v;
  }
  ImageText end;
  readText(end);
  return kstricmp(end.get(), kEnd) == 0;
}

void KUtlRecord::Deserialize(char* image) {
  long length = image ? static_cast<long>(KBinSysStringByteLen(image)) : 0;
  if (!DeserializeImp(reinterpret_cast<unsigned char*>(image), length))
    RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::Deserialize", "Illegal image");
}

void KUtlRecord::DeserializeAndFree(char* image) {
  long length = image ? static_cast<long>(KBinSysStringByteLen(image)) : 0;
  int ok = 0;
  try {
    ok = DeserializeImp(reinterpret_cast<unsigned char*>(image), length);
  } catch (...) {
    KBinSysFreeString(image);
    throw;
  }
  KBinSysFreeString(image);
  if (!ok) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::Deserialize", "Illegal image");
}

} // namespace KCLASSIC
