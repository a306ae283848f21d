// Comparison rows: GCStrcmp by value and ignoring case, GCStrcoll and
// GCStrxfrm in a locale with a sort object, against strcmp, strcasecmp_l,
// strcoll_l and strxfrm_l.
#include <strings.h>

#include <cstring>
#include <memory>

#include "gc_bench.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_str.h"

namespace gcbench {

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

int sign(long v) { return v < 0 ? -1 : v > 0; }

// Pairs of texts of n bytes that differ only in the last byte (or in case,
// when caseOnly), and the same text twice.
Pairs pairs(size_t n, bool latin, bool caseOnly, bool lower) {
  Pairs p;
  for (unsigned i = 0; i < 8; ++i) {
    std::string a = latin ? latin1Text(n, 30 + i) : asciiText(n, 30 + i);
    if (lower)
      for (char& c : a)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    std::string b = a;
    if (caseOnly) {
      for (char& c : b)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
      if (i % 2) b.back() = 'q';
    } else if (i % 3 != 2) {
      a.back() = char('a' + i);
      b.back() = char('a' + (i * 5) % 9);
    }
    p.emplace_back(a, b);
  }
  return p;
}

// Pairs whose first characters decide.
Pairs firstDecides(size_t n) {
  Pairs p;
  for (unsigned i = 0; i < 8; ++i) {
    std::string a = asciiText(n, 50 + i), b = asciiText(n, 60 + i);
    for (std::string* s : {&a, &b})
      for (char& c : *s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    a[0] = char('a' + i);
    b[0] = char('m' + i);
    if (i % 2) std::swap(a, b);
    p.emplace_back(a, b);
  }
  return p;
}

template <class Ours, class Ref>
void cmpRow(const std::string& name, double target, std::shared_ptr<Pairs> p, Ours ours, Ref ref) {
  addRow({name, target,
          [=] {
            for (size_t i = 0; i < p->size(); ++i) {
              const auto& [a, b] = (*p)[i];
              if (sign(ours(a, b)) != sign(ref(a, b)) || sign(ours(b, a)) != sign(ref(b, a)))
                return "pair " + std::to_string(i) + ": " + std::to_string(ours(a, b)) + " vs " +
                       std::to_string(ref(a, b)) + " \"" + a.substr(0, 20) + "\" \"" + b.substr(0, 20) + "\"";
            }
            return std::string();
          },
          [=] {
            for (const auto& [a, b] : *p) sink(ours(a, b));
          },
          [=] {
            for (const auto& [a, b] : *p) sink(ref(a, b));
          }});
}

// UTF-8 pairs of n bytes (ASCII, Latin1 letters and ideographs, in lower
// case) that differ only in their last character, an ASCII letter.
Pairs utf8Pairs(size_t n) {
  Pairs p;
  for (unsigned i = 0; i < 8; ++i) {
    std::string a = utf8Text(n - 1, 70 + i);
    for (char& c : a)
      if (c >= 'A' && c <= 'Z') c = char(c + 32);
    std::string b = a;
    a += char('a' + i);
    b += char('a' + (i * 5) % 9);
    p.emplace_back(a, b);
  }
  return p;
}

int keyCmp(const std::string& a, const std::string& b) {
  int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return c ? c : a.size() < b.size() ? -1 : a.size() > b.size();
}

// Sort keys of n-byte texts in the sorted locale against strxfrm_l: the
// keys of each pair must order as the C library's do. The key buffer has
// sixteen bytes for each byte of text (our key's bound), as a caller sizes
// it; the key fills the rest of it with zeros.
void xfrmRow(size_t n) {
  const Locales& L = locales();
  GCLocale* sorted = L.sorted;
  locale_t de = L.deLatin1;
  auto xp = std::make_shared<Pairs>(pairs(n, false, false, true));
  auto buf = std::make_shared<std::string>(16 * n, '\0');
  auto key = [sorted](const std::string& s, std::string& out) {
    int32_t k = GCStrxfrm(sorted, out.data(), int32_t(out.size()), s.c_str(), -1, 0);
    return k < 0 ? std::string() : out.substr(0, size_t(k));
  };
  auto ckey = [de](const std::string& s, std::string& out) {
    size_t k = strxfrm_l(out.data(), s.c_str(), out.size(), de);
    return out.substr(0, k);
  };
  addRow({"GCStrxfrm / strxfrm_l " + std::string(n >= 1024 ? "4 KB" : "64 B"), 1.0,
          [=] {
            std::string o(64 * 1024, '\0');
            for (size_t i = 0; i < xp->size(); ++i) {
              const auto& [a, b] = (*xp)[i];
              if (sign(keyCmp(key(a, o), key(b, o))) != sign(keyCmp(ckey(a, o), ckey(b, o))))
                return "pair " + std::to_string(i);
            }
            return std::string();
          },
          [=] {
            for (const auto& [a, b] : *xp) sink(GCStrxfrm(sorted, buf->data(), int32_t(buf->size()), a.c_str(), -1, 0));
          },
          [=] {
            for (const auto& [a, b] : *xp) sink(long(strxfrm_l(buf->data(), a.c_str(), buf->size(), de)));
          }});
}

} // namespace

void addCmpRows() {
  const Locales& L = locales();
  GCLocale* latin = L.latin1;
  GCLocale* sorted = L.sorted;
  locale_t de = L.deLatin1;
  cmpRow("GCStrcmp / strcmp 64 B", 1.2, std::make_shared<Pairs>(pairs(64, true, false, false)),
         [latin](const std::string& a, const std::string& b) {
           return GCStrcmp(latin, a.c_str(), -1, b.c_str(), -1, 0);
         },
         [](const std::string& a, const std::string& b) { return std::strcmp(a.c_str(), b.c_str()); });
  cmpRow("GCStrcmp / strcasecmp_l 64 B", 1.5, std::make_shared<Pairs>(pairs(64, true, true, false)),
         [latin](const std::string& a, const std::string& b) {
           return GCStrcmp(latin, a.c_str(), -1, b.c_str(), -1, GC_FL_EXTENDED | GC_FL_ICASE);
         },
         [de](const std::string& a, const std::string& b) { return strcasecmp_l(a.c_str(), b.c_str(), de); });
  auto coll = [sorted](const std::string& a, const std::string& b) {
    return GCStrcoll(sorted, a.c_str(), -1, b.c_str(), -1, 0);
  };
  auto ccoll = [de](const std::string& a, const std::string& b) { return strcoll_l(a.c_str(), b.c_str(), de); };
  cmpRow("GCStrcoll first character decides 4 KB", 1.0, std::make_shared<Pairs>(firstDecides(4096)), coll, ccoll);
  cmpRow("GCStrcoll / strcoll_l 4 KB", 1.0, std::make_shared<Pairs>(pairs(4096, false, false, true)), coll, ccoll);
  cmpRow("GCStrcmp / strcmp 4 KB", 1.2, std::make_shared<Pairs>(pairs(4096, true, false, false)),
         [latin](const std::string& a, const std::string& b) {
           return GCStrcmp(latin, a.c_str(), -1, b.c_str(), -1, 0);
         },
         [](const std::string& a, const std::string& b) { return std::strcmp(a.c_str(), b.c_str()); });
  cmpRow("GCStrcoll Latin1 decided late 64 B", 1.0, std::make_shared<Pairs>(pairs(64, true, false, true)), coll,
         ccoll);
  GCLocale* sortedU = L.sortedUtf8;
  locale_t deU = L.deUtf8;
  cmpRow("GCStrcoll UTF-8 / strcoll_l 64 B", 1.0, std::make_shared<Pairs>(utf8Pairs(64)),
         [sortedU](const std::string& a, const std::string& b) {
           return GCStrcoll(sortedU, a.c_str(), -1, b.c_str(), -1, 0);
         },
         [deU](const std::string& a, const std::string& b) { return strcoll_l(a.c_str(), b.c_str(), deU); });
  for (size_t n : {size_t(64), size_t(4096)}) xfrmRow(n);
}

} // namespace gcbench
