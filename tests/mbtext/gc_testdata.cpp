#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_testdata.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <utility>
#include "testdb/testdb_tmp.h"

namespace gctest {

void put16(Bytes& b, size_t at, uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = uint8_t(v >> 8);
  b[at + 1] = uint8_t(v);
}
void put32(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}
void append16(Bytes& b, uint16_t v) { put16(b, b.size(), v); }
void append32(Bytes& b, uint32_t v) { put32(b, b.size(), v); }

std::string bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += char(c);
  return s;
}

// ---------------------------------------------------------------------------

Bytes header(int version, const std::vector<Section>& sections, uint32_t magic) {
  Bytes h(80, 0);
  put32(h, 0, magic);
  put32(h, 4, uint32_t(version & 0xF) << 28 | 0x00080000u);
  put16(h, 8, uint16_t(sections.size()));
  if (version >= 3) {
    for (size_t i = 0; i < sections.size() && i < 4; ++i) {
      put32(h, 12 + 8 * i, sections[i].size);
      put32(h, 16 + 8 * i, sections[i].offset);
    }
    std::memcpy(&h[44], "test data v3", 12);
  } else {
    static const int size_at[4] = {10, 16, 24, 32};
    static const int off_at[4] = {12, 20, 28, 36};
    for (size_t i = 0; i < sections.size() && i < 4; ++i) {
      if (sections[i].size > 0xFFFF) throw std::runtime_error("old header: section too large");
      put16(h, size_at[i], uint16_t(sections[i].size));
      put32(h, off_at[i], sections[i].offset);
    }
    std::memcpy(&h[40], "test data old", 13);
  }
  return h;
}

Bytes dataFile(const std::vector<Bytes>& sections, int version) {
  std::vector<Section> secs;
  uint32_t at = 80;
  for (const Bytes& s : sections) {
    secs.push_back({uint32_t(s.size()), s.empty() ? 0u : at});
    at += uint32_t(s.size());
  }
  Bytes f = header(version, secs);
  for (const Bytes& s : sections) f.insert(f.end(), s.begin(), s.end());
  return f;
}

Bytes directorySection(const std::vector<DirEntry>& entries) {
  Bytes d;
  for (const DirEntry& e : entries) {
    size_t at = d.size();
    d.resize(at + 60, 0);
    put16(d, at, e.id);
    d[at + 2] = e.cls;
    std::memcpy(&d[at + 4], e.name.data(), std::min<size_t>(e.name.size(), 36));
  }
  return d;
}

Bytes controlFile(const std::vector<DirEntry>& entries, int version) {
  return dataFile({directorySection(entries)}, version);
}

// ---------------------------------------------------------------------------

namespace {

uint16_t addText(Bytes& d, const std::string& s) {
  uint16_t off = uint16_t(d.size());
  for (char c : s) append16(d, uint8_t(c));
  append16(d, 0);
  return off;
}

} // namespace

Bytes languageSection(const LanguageSpec& s) {
  Bytes d(12 + 46 * 2, 0);
  put16(d, 0, s.territory);
  put16(d, 2, s.codepage);
  put16(d, 4, s.sort);
  put16(d, 6, uint16_t(s.upper.size()));
  put16(d, 8, uint16_t(s.lower.size()));
  put16(d, 10, s.langcode);
  std::vector<std::string> texts{s.abbrev, s.name};
  for (const auto& t : s.days) texts.push_back(t);
  for (const auto& t : s.abbrevDays) texts.push_back(t);
  for (const auto& t : s.months) texts.push_back(t);
  for (const auto& t : s.abbrevMonths) texts.push_back(t);
  texts.push_back(s.am);
  texts.push_back(s.pm);
  for (size_t i = 0; i < texts.size(); ++i) put16(d, 12 + 2 * i, addText(d, texts[i]));
  const std::vector<SpecialMapping>* tables[2] = {&s.upper, &s.lower};
  for (int t = 0; t < 2; ++t) {
    put16(d, 12 + 2 * (44 + t), uint16_t(d.size()));
    for (const SpecialMapping& m : *tables[t]) {
      append16(d, m.in1);
      append16(d, m.in2);
      append16(d, m.out1);
      append16(d, m.out2);
    }
  }
  return d;
}

Bytes territorySection(const TerritorySpec& s) {
  Bytes d(24 + 12 * 2, 0);
  for (int i = 0; i < 5; ++i) put16(d, 2 * i, s.separators[i]);
  put16(d, 10, s.digits);
  put16(d, 12, s.currDigits);
  put16(d, 14, s.intlDigits);
  d[16] = s.posSignPosn;
  d[17] = s.negSignPosn;
  put16(d, 18, s.value84);
  put16(d, 20, s.flags);
  put16(d, 22, s.sublang);
  const std::string* texts[11] = {&s.abbrev,   &s.name,       &s.grouping, &s.monGrouping,
                                  &s.currency, &s.intlCurrency, &s.posSign,  &s.negSign,
                                  &s.timeFmt,  &s.shortDate,  &s.longDate};
  for (int i = 0; i < 11; ++i) put16(d, 24 + 2 * i, addText(d, *texts[i]));
  put16(d, 24 + 2 * 11, uint16_t(d.size()));
  return d;
}

// ---------------------------------------------------------------------------

namespace {

// The classes of the built-in US-ASCII page: type bits, bidirectional
// category and width bits.
uint32_t asciiClass(int b) {
  uint32_t t = 0, bidi = 0, w = 0x040;
  if (b >= 'A' && b <= 'Z') t = b <= 'F' ? 0x213 : 0x203, bidi = 1;
  else if (b >= 'a' && b <= 'z') t = b <= 'f' ? 0x215 : 0x205, bidi = 1;
  else if (b >= '0' && b <= '9') t = 0x218, bidi = 3;
  else if (b == ' ') t = 0x2C0, bidi = 10, w |= 8;
  else if (b == '\t') t = 0x3C0, bidi = 9, w |= 8;
  else if (b >= 0x0A && b <= 0x0D) t = 0x340, bidi = (b == 0x0A || b == 0x0D) ? 8 : b == 0x0B ? 9 : 10, w |= 8;
  else if (b < 0x20 || b == 0x7F) t = 0x300, bidi = 0;
  else {
    t = 0x220, w |= 8;
    if (b == '+' || b == '-') bidi = 4;
    else if (b == '#' || b == '$' || b == '%') bidi = 5;
    else if (b == ',' || b == '.' || b == '/' || b == ':') bidi = 7;
    else bidi = 11;
  }
  return t | ((1u << bidi) << 10) | (w << 22);
}

uint8_t maskFor(int span) {
  int m = 0;
  while (m < span) m = m * 2 + 1;
  return uint8_t(m);
}

uint8_t distinctMask(const std::set<uint8_t>& bytes) {
  for (int k = 0; k <= 8; ++k) {
    int m = (1 << k) - 1;
    std::set<int> seen;
    bool ok = true;
    for (uint8_t b : bytes) ok = ok && seen.insert(b & m).second;
    if (ok) return uint8_t(m);
  }
  return 0xFF;
}

struct Entry {
  Bytes bytes;
  uint16_t u;
  uint32_t cls;
  int32_t delta;
};

// Multibyte trie: 6-byte nodes (leaf, mask, lo, hi, index) and values.
struct MbTrie {
  Bytes nodes;
  std::vector<uint16_t> values;
  size_t count() const { return nodes.size() / 6; }
  size_t addDummies(size_t n) {
    size_t first = count();
    for (size_t i = 0; i < n; ++i) nodes.insert(nodes.end(), {1, 0, 1, 0, 0, 0});
    return first;
  }
  void fill(size_t node, const std::vector<const Entry*>& es, size_t depth) {
    std::set<uint8_t> bs;
    bool leaf = true;
    for (const Entry* e : es) {
      bs.insert(e->bytes[depth]);
      if (e->bytes.size() > depth + 1) leaf = false;
    }
    uint8_t lo = *bs.begin(), hi = *bs.rbegin();
    uint8_t mask = maskFor(hi - lo);
    uint8_t* n = &nodes[node * 6];
    if (leaf) {
      size_t base = values.size();
      values.resize(base + mask + 1, 0xFFFD);
      for (const Entry* e : es) values[base + (e->bytes[depth] & mask)] = e->u;
      n[0] = 1, n[1] = mask, n[2] = lo, n[3] = hi, n[4] = uint8_t(base >> 8), n[5] = uint8_t(base);
      return;
    }
    size_t base = addDummies(mask + 1u);
    n = &nodes[node * 6];
    n[0] = 0, n[1] = mask, n[2] = lo, n[3] = hi, n[4] = uint8_t(base >> 8), n[5] = uint8_t(base);
    for (uint8_t b : bs) {
      std::vector<const Entry*> sub;
      for (const Entry* e : es)
        if (e->bytes[depth] == b) sub.push_back(e);
      fill(base + (b & mask), sub, depth + 1);
    }
  }
};

// Class trie: 4-byte nodes (leaf, mask, index) and 8-byte records; record 0
// is the empty record that unused slots point to.
struct ClassTrie {
  Bytes nodes;
  Bytes records = Bytes(8, 0);
  size_t count() const { return nodes.size() / 4; }
  void fill(size_t node, const std::vector<const Entry*>& es, size_t depth) {
    std::set<uint8_t> bs;
    bool leaf = true;
    for (const Entry* e : es) {
      bs.insert(e->bytes[depth]);
      if (e->bytes.size() > depth + 1) leaf = false;
    }
    uint8_t mask = distinctMask(bs);
    if (leaf) {
      size_t base = records.size() / 8;
      records.resize(records.size() + 8 * (mask + 1u), 0);
      for (const Entry* e : es) {
        size_t r = (base + (e->bytes[depth] & mask)) * 8;
        put32(records, r, e->cls);
        put32(records, r + 4, uint32_t(e->delta));
      }
      uint8_t* n = &nodes[node * 4];
      n[0] = 1, n[1] = mask, n[2] = uint8_t(base >> 8), n[3] = uint8_t(base);
      return;
    }
    size_t base = count();
    for (unsigned i = 0; i <= mask; ++i) nodes.insert(nodes.end(), {1, 0, 0, 0});
    uint8_t* n = &nodes[node * 4];
    n[0] = 0, n[1] = mask, n[2] = uint8_t(base >> 8), n[3] = uint8_t(base);
    for (uint8_t b : bs) {
      std::vector<const Entry*> sub;
      for (const Entry* e : es)
        if (e->bytes[depth] == b) sub.push_back(e);
      fill(base + (b & mask), sub, depth + 1);
    }
  }
};

uint32_t packBytes(const Bytes& b) {
  uint32_t v = 0;
  for (uint8_t x : b) v = (v << 8) | x;
  return v;
}

// Pads block so that a run written at its end can be addressed as
// offset + scale * lo with a non-negative offset; returns the offset.
uint16_t place(Bytes& block, uint32_t scale, uint8_t lo) {
  while (block.size() < size_t(scale) * lo) block.push_back(0);
  return uint16_t(block.size() - size_t(scale) * lo);
}

} // namespace

CodePageBuilder::CodePageBuilder() {
  for (int b = 0; b < 256; ++b) {
    lead_[b] = 1;
    upper_[b] = uint8_t(b >= 'a' && b <= 'z' ? b - 32 : b);
    lower_[b] = uint8_t(b >= 'A' && b <= 'Z' ? b + 32 : b);
    toU_[b] = b < 0x80 ? uint16_t(b) : 0xFFFD;
    cls_[b] = b < 0x80 ? asciiClass(b) : 0;
  }
}

CodePageBuilder& CodePageBuilder::defaultChar(uint8_t b) { defchar_ = b; return *this; }
CodePageBuilder& CodePageBuilder::ebcdicBased() { flags_ &= uint16_t(~0x0001); return *this; }
CodePageBuilder& CodePageBuilder::shiftState(uint8_t so, uint8_t si) {
  so_ = so, si_ = si;
  flags_ |= 0x0002;
  if (maxlen_ < 2) maxlen_ = 2;
  return *this;
}
CodePageBuilder& CodePageBuilder::maxLen(uint8_t n) { maxlen_ = n; return *this; }
CodePageBuilder& CodePageBuilder::windowsNumber(uint16_t n) { wincp_ = n; return *this; }
CodePageBuilder& CodePageBuilder::eol(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  eol_[0] = a, eol_[1] = b, eol_[2] = c, eol_[3] = d;
  return *this;
}
CodePageBuilder& CodePageBuilder::single(uint8_t byte, GCUChar u, uint32_t cls) {
  toU_[byte] = u;
  cls_[byte] = cls;
  lead_[byte] = 1;
  return *this;
}
CodePageBuilder& CodePageBuilder::unmapSingle(uint8_t byte) {
  toU_[byte] = 0xFFFD;
  cls_[byte] = 0;
  return *this;
}
CodePageBuilder& CodePageBuilder::caseBytes(uint8_t up, uint8_t low) {
  upper_[low] = up;
  lower_[up] = low;
  return *this;
}
CodePageBuilder& CodePageBuilder::leadLen(uint8_t byte, uint8_t len) { lead_[byte] = len; return *this; }
CodePageBuilder& CodePageBuilder::multi(const Bytes& bytes, GCUChar u, uint32_t cls, int32_t delta) {
  multi_.push_back({bytes, u, true, cls, delta});
  if (!(flags_ & 0x0002)) lead_[bytes[0]] = uint8_t(bytes.size());
  if (bytes.size() > maxlen_) maxlen_ = uint8_t(bytes.size());
  return *this;
}
CodePageBuilder& CodePageBuilder::classOnly(const Bytes& bytes, uint32_t cls, int32_t delta) {
  multi_.push_back({bytes, 0, false, cls, delta});
  return *this;
}
CodePageBuilder& CodePageBuilder::widthPair(uint32_t half, uint32_t full) {
  pairs_.push_back({half, full});
  return *this;
}
CodePageBuilder& CodePageBuilder::fullWidthOfByte(uint8_t byte, uint32_t full) {
  fullw_[byte] = full;
  return *this;
}
CodePageBuilder& CodePageBuilder::rawPage(uint8_t page, uint8_t type, uint8_t mask, uint8_t lo,
                                          uint8_t hi, const Bytes& low, const Bytes& high) {
  raw_[page] = {type, mask, lo, hi, low, high};
  return *this;
}

std::vector<Bytes> CodePageBuilder::sections() const {
  Bytes m(4412, 0);
  m[0] = defchar_;
  std::memcpy(&m[1], eol_, 4);
  m[5] = maxlen_;
  put16(m, 6, uint16_t(pairs_.size()));
  m[8] = so_;
  m[9] = si_;
  for (int b = 0; b < 256; ++b) {
    m[10 + b] = lead_[b];
    m[266 + b] = upper_[b];
    m[522 + b] = lower_[b];
    put16(m, 778 + 2 * b, toU_[b]);
    put32(m, 1292 + 4 * b, cls_[b]);
  }
  put16(m, 4364, flags_);
  put16(m, 4366, wincp_);

  std::vector<Entry> entries;
  for (const Multi& x : multi_) entries.push_back({x.bytes, x.u, x.cls, x.delta});

  // Multibyte trie.
  Bytes trie;
  std::vector<const Entry*> mapped;
  for (size_t i = 0; i < multi_.size(); ++i)
    if (multi_[i].mapped) mapped.push_back(&entries[i]);
  if (!mapped.empty()) {
    MbTrie t;
    t.addDummies(1);
    t.fill(0, mapped, 0);
    trie = t.nodes;
    put16(m, 4408, uint16_t(t.nodes.size()));
    for (uint16_t v : t.values) append16(trie, v);
  }

  // Variable part: full-width table, width pairs, class trie.
  bool variable = maxlen_ >= 2 || !pairs_.empty() || !fullw_.empty() || !entries.empty();
  if (variable) {
    put16(m, 4400, uint16_t(m.size()));
    for (int b = 0; b < 256; ++b) {
      auto it = fullw_.find(uint8_t(b));
      append32(m, it == fullw_.end() ? 0 : it->second);
    }
    auto pairs = pairs_;
    std::sort(pairs.begin(), pairs.end());
    put16(m, 4402, uint16_t(m.size()));
    for (auto& p : pairs) {
      append32(m, p.first);
      append32(m, p.second);
    }
    ClassTrie ct;
    ct.nodes.insert(ct.nodes.end(), {1, 0, 0, 0});
    std::vector<const Entry*> all;
    for (const Entry& e : entries) all.push_back(&e);
    if (!all.empty()) ct.fill(0, all, 0);
    put16(m, 4404, uint16_t(m.size()));
    m.insert(m.end(), ct.nodes.begin(), ct.nodes.end());
    put16(m, 4406, uint16_t(m.size()));
    m.insert(m.end(), ct.records.begin(), ct.records.end());
    if (m.size() > 0xFFFF) throw std::runtime_error("code page main table too large");
  }

  // UCS-2 pages.
  std::map<uint8_t, std::map<uint8_t, uint32_t>> pages; // page -> low -> packed
  std::map<uint8_t, bool> multiOnPage;
  for (int b = 255; b >= 0; --b)
    if (toU_[b] != 0xFFFD) pages[toU_[b] >> 8][toU_[b] & 0xFF] = uint32_t(b);
  for (const Multi& x : multi_) {
    if (!x.mapped) continue;
    pages[x.u >> 8][x.u & 0xFF] = packBytes(x.bytes);
    multiOnPage[x.u >> 8] = true;
  }
  Bytes low, high;
  for (int p = 0; p < 256; ++p) {
    uint8_t* r = &m[2316 + 8 * p];
    auto raw = raw_.find(uint8_t(p));
    if (raw != raw_.end()) {
      r[0] = raw->second.type, r[1] = raw->second.mask, r[2] = raw->second.lo, r[3] = raw->second.hi;
      put16(m, 2316 + 8 * p + 4, uint16_t(low.size()));
      put16(m, 2316 + 8 * p + 6, uint16_t(high.size()));
      low.insert(low.end(), raw->second.low.begin(), raw->second.low.end());
      high.insert(high.end(), raw->second.high.begin(), raw->second.high.end());
      continue;
    }
    auto it = pages.find(uint8_t(p));
    if (it == pages.end()) {
      r[2] = 1, r[3] = 0; // nothing on this page
      continue;
    }
    const auto& vals = it->second;
    uint8_t lo = vals.begin()->first, hi = vals.rbegin()->first;
    uint32_t maxv = 0;
    for (auto& kv : vals) maxv = std::max(maxv, kv.second);
    r[1] = 0xFF, r[2] = lo, r[3] = hi;
    if (!multiOnPage[uint8_t(p)]) {
      r[0] = 0;
      uint16_t off = place(low, 1, lo);
      for (int i = lo; i <= hi; ++i) {
        auto v = vals.find(uint8_t(i));
        low.push_back(v == vals.end() ? defchar_ : uint8_t(v->second));
      }
      put16(m, 2316 + 8 * p + 4, off);
    } else if (maxv <= 0xFFFF) {
      r[0] = 1;
      uint16_t off = place(low, 2, lo);
      for (int i = lo; i <= hi; ++i) {
        auto v = vals.find(uint8_t(i));
        append16(low, v == vals.end() ? defchar_ : uint16_t(v->second));
      }
      put16(m, 2316 + 8 * p + 4, off);
    } else {
      r[0] = 3;
      uint16_t loff = place(low, 2, lo), hoff = place(high, 2, lo);
      for (int i = lo; i <= hi; ++i) {
        auto v = vals.find(uint8_t(i));
        uint32_t x = v == vals.end() ? defchar_ : v->second;
        append16(low, uint16_t(x));
        append16(high, uint16_t(x >> 16));
      }
      put16(m, 2316 + 8 * p + 4, loff);
      put16(m, 2316 + 8 * p + 6, hoff);
    }
  }
  return {m, trie, low, high};
}

std::vector<Bytes> CodePageBuilder::sectionsV1() const {
  std::vector<Bytes> s = sections();
  const Bytes& m = s[0];
  uint16_t var_at = uint16_t((m[4400] << 8) | m[4401]);
  Bytes v1(4372, 0);
  std::memcpy(&v1[0], &m[0], 8);
  std::memcpy(&v1[8], &m[10], 768);
  std::memcpy(&v1[776], &m[778], 512);
  std::memcpy(&v1[1288], &m[1292], 1024);
  std::memcpy(&v1[2312], &m[2316], 2048);
  std::memcpy(&v1[4360], &m[4364], 2);
  if (var_at != 0) {
    for (int k = 0; k < 4; ++k) {
      uint16_t off = uint16_t((m[4400 + 2 * k] << 8) | m[4401 + 2 * k]);
      put16(v1, 4362 + 2 * k, k < 4 ? uint16_t(off - 4412 + 4372) : 0);
    }
    v1.insert(v1.end(), m.begin() + 4412, m.end());
  }
  Bytes t1;
  if (!s[1].empty()) {
    size_t valoff = size_t((m[4408] << 8) | m[4409]);
    size_t nodes = valoff / 6;
    for (size_t i = 0; i < nodes; ++i) {
      const uint8_t* n = &s[1][6 * i];
      t1.insert(t1.end(), {n[0], n[1], n[4], n[5]});
    }
    put16(v1, 4370, uint16_t(t1.size()));
    t1.insert(t1.end(), s[1].begin() + valoff, s[1].end());
  }
  return {v1, t1, s[2], s[3]};
}

Bytes CodePageBuilder::file(int version) const {
  return dataFile(version == 1 ? sectionsV1() : sections(), version);
}

// ---------------------------------------------------------------------------

namespace {

void appendRecords(Bytes& d, const SortSpec& s, size_t* w, size_t* e, size_t* c) {
  *w = d.size();
  for (const SortWeight& x : s.weights) {
    append16(d, x.primary);
    d.push_back(x.secondary);
    d.push_back(x.tertiary);
    append16(d, x.flags);
  }
  *e = d.size();
  for (const SortExpansion& x : s.expansions) {
    append16(d, x.ch);
    append16(d, x.p1);
    d.push_back(x.s1);
    d.push_back(x.t1);
    append16(d, x.p2);
    d.push_back(x.s2);
    d.push_back(x.t2);
    append32(d, 0);
  }
  *c = d.size();
  for (const SortCombination& x : s.combinations) {
    append16(d, x.first);
    append16(d, x.second);
    append16(d, x.primary);
    d.push_back(x.secondary);
    d.push_back(x.tertiary);
    append16(d, x.flags);
  }
}

} // namespace

Bytes sortSectionV3(const SortSpec& s) {
  Bytes d(2068, 0);
  d[0] = s.defSecondary;
  d[1] = s.defTertiary;
  put16(d, 2, uint16_t(s.expansions.size()));
  put16(d, 4, uint16_t(s.combinations.size()));
  for (int p = 0; p < 256; ++p) {
    d[8 + 8 * p] = s.pages[p].flags;
    d[9 + 8 * p] = s.pages[p].order;
    put32(d, 12 + 8 * p, s.pages[p].base);
  }
  size_t w, e, c;
  appendRecords(d, s, &w, &e, &c);
  put32(d, 2056, uint32_t(w));
  put32(d, 2060, uint32_t(e));
  put32(d, 2064, uint32_t(c));
  return d;
}

Bytes sortSectionV1(const SortSpec& s) {
  Bytes d(1036, 0);
  d[0] = s.defSecondary;
  d[1] = s.defTertiary;
  put16(d, 2, uint16_t(s.expansions.size()));
  put16(d, 4, uint16_t(s.combinations.size()));
  for (int p = 0; p < 256; ++p) {
    d[6 + 4 * p] = s.pages[p].flags;
    d[7 + 4 * p] = s.pages[p].order;
    put16(d, 8 + 4 * p, uint16_t(s.pages[p].base));
  }
  size_t w, e, c;
  appendRecords(d, s, &w, &e, &c);
  put16(d, 1030, uint16_t(w));
  put16(d, 1032, uint16_t(e));
  put16(d, 1034, uint16_t(c));
  return d;
}

// ---------------------------------------------------------------------------

DataDir::DataDir() {
  path_ = testdb::tmp_folder("gcdata");
  if (path_.empty()) throw std::runtime_error("mkdtemp failed");
}

DataDir::~DataDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void DataDir::write(const std::string& name, const Bytes& data) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + name);
}

void DataDir::remove(const std::string& name) const { std::remove(file(name).c_str()); }

void DataDir::writeControl(const std::vector<DirEntry>& entries, int version) const {
  write("control.nls", controlFile(entries, version));
}

std::string DataDir::objectName(uint8_t cls, uint16_t id) {
  static const char* const prefix[4] = {"la", "te", "cp", "so"};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s_%04d.nls", prefix[cls & 3], int(id));
  return buf;
}

void DataDir::writeObject(uint8_t cls, uint16_t id, const Bytes& data) const {
  write(objectName(cls, id), data);
}

void DataDir::writeStandard() const {
  writeControl({{1, GC_CLASS_LANGUAGE, "English"},
                {1, GC_CLASS_TERRITORY, "UnitedStates"},
                {1, GC_CLASS_CODEPAGE, "US-ASCII"}});
  writeObject(GC_CLASS_LANGUAGE, 1, dataFile({languageSection({})}));
  writeObject(GC_CLASS_TERRITORY, 1, dataFile({territorySection({})}));
  writeObject(GC_CLASS_CODEPAGE, 1, CodePageBuilder::ascii().file());
}

MemObject::MemObject(uint8_t cls, uint16_t id, std::vector<Bytes> sections)
    : sections_(std::move(sections)) {
  obj_.id = id;
  obj_.cls = cls;
  obj_.version = 3;
  std::snprintf(obj_.name, sizeof obj_.name, "mem%u", unsigned(id));
  for (size_t i = 0; i < sections_.size() && i < 4; ++i) {
    if (sections_[i].empty()) continue;
    obj_.sect[i] = sections_[i].data();
    obj_.sect_size[i] = uint32_t(sections_[i].size());
  }
}

Bytes readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

PageLocale::PageLocale(uint16_t id, const CodePageBuilder& b, uint16_t flags)
    : cp(GC_CLASS_CODEPAGE, id, b.sections()) {
  loc.language = gcBuiltinLanguage();
  loc.territory = gcBuiltinTerritory();
  loc.codepage = cp.get();
  loc.flags = static_cast<uint16_t>(GC_LF_NOSORT | flags);
  loc.status = 99;
}

} // namespace gctest
