// Conversion rows: code-page text to UCS-2 and back, Latin1 to UTF-8
// between locales (against iconv), and upper-casing UCS-2 text (against a
// towupper_l loop).
#include <iconv.h>
#include <wctype.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>

#include "gc_bench.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_map.h"

namespace gcbench {

namespace {

using U16 = std::u16string;

// One iconv descriptor per direction, opened once as a program would.
struct Iconv {
  iconv_t cd;
  Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {
    if (cd == iconv_t(-1)) {
      std::perror("iconv_open");
      std::abort();
    }
  }
  ~Iconv() { iconv_close(cd); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  // Converts n bytes of in into out (room enough); bytes written.
  size_t run(const void* in, size_t n, void* out, size_t room) const {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* ip = const_cast<char*>(static_cast<const char*>(in));
    char* op = static_cast<char*>(out);
    size_t left = room;
    iconv(cd, &ip, &n, &op, &left);
    return room - left;
  }
};

std::vector<std::string> texts(size_t bytes, bool utf8) {
  std::vector<std::string> v;
  int count = bytes <= 64 ? 16 : 2;
  for (int i = 0; i < count; ++i) v.push_back(utf8 ? utf8Text(bytes, 11 + i) : latin1Text(bytes, 11 + i));
  return v;
}

std::string sizeName(size_t bytes) { return bytes >= 1024 ? std::to_string(bytes / 1024) + " KB" : std::to_string(bytes) + " B"; }

void toUcs2Rows(const char* page, GCLocale* loc, const char* ic, bool utf8, size_t bytes) {
  auto in = std::make_shared<std::vector<std::string>>(texts(bytes, utf8));
  auto out = std::make_shared<std::vector<GCUChar>>(bytes + 8);
  auto cd = std::make_shared<Iconv>("UCS-2LE", ic);
  const GCObj* cp = loc->codepage;
  std::string n = std::string(page) + " -> UCS-2 " + sizeName(bytes);
  addRow({n, 1.0,
          [=] {
            std::vector<GCUChar> a(bytes + 8), b(bytes + 8);
            for (const std::string& s : *in) {
              int32_t k = GCCpStrToUnicode(cp, s.data(), int32_t(s.size()), a.data());
              size_t m = cd->run(s.data(), s.size(), b.data(), b.size() * 2) / 2;
              if (k < 0 || size_t(k) != m || std::memcmp(a.data(), b.data(), m * 2) != 0) return std::string("differs");
            }
            return std::string();
          },
          [=] {
            for (const std::string& s : *in) sink(GCCpStrToUnicode(cp, s.data(), int32_t(s.size()), out->data()));
          },
          [=] {
            for (const std::string& s : *in) sink(long(cd->run(s.data(), s.size(), out->data(), out->size() * 2)));
          }});
  // And back: the UCS-2 form of the same texts.
  auto u = std::make_shared<std::vector<U16>>();
  for (const std::string& s : *in) {
    std::vector<GCUChar> a(bytes + 8);
    int32_t k = GCCpStrToUnicode(cp, s.data(), int32_t(s.size()), a.data());
    u->push_back(U16(a.begin(), a.begin() + k));
  }
  auto back = std::make_shared<Iconv>(ic, "UCS-2LE");
  auto bytesOut = std::make_shared<std::string>(bytes * 4 + 8, '\0');
  addRow({std::string("UCS-2 -> ") + page + " " + sizeName(bytes), 1.0,
          [=] {
            std::string a(bytes * 4 + 8, '\0'), b(bytes * 4 + 8, '\0');
            for (const U16& s : *u) {
              int32_t k = GCCpUnicodeToStr(cp, reinterpret_cast<const GCUChar*>(s.data()), 0, int32_t(s.size()), a.data());
              size_t m = back->run(s.data(), s.size() * 2, b.data(), b.size());
              if (k < 0 || size_t(k) != m || a.compare(0, m, b, 0, m) != 0) return std::string("differs");
            }
            return std::string();
          },
          [=] {
            for (const U16& s : *u)
              sink(GCCpUnicodeToStr(cp, reinterpret_cast<const GCUChar*>(s.data()), 0, int32_t(s.size()),
                                    bytesOut->data()));
          },
          [=] {
            for (const U16& s : *u) sink(long(back->run(s.data(), s.size() * 2, bytesOut->data(), bytesOut->size())));
          }});
}

void convertRow(size_t bytes) {
  auto in = std::make_shared<std::vector<std::string>>(texts(bytes, false));
  auto cd = std::make_shared<Iconv>("UTF-8", "ISO-8859-1");
  auto out = std::make_shared<std::string>(bytes * 3 + 8, '\0');
  const Locales& L = locales();
  GCLocale* dst = L.utf8;
  GCLocale* src = L.latin1;
  addRow({"Latin1 -> UTF-8 (GCConvertString) " + sizeName(bytes), 1.0,
          [=] {
            std::string a(bytes * 3 + 8, '\0'), b(bytes * 3 + 8, '\0');
            for (const std::string& s : *in) {
              int32_t k = GCConvertString(dst, a.data(), int32_t(a.size()), src, s.data(), int32_t(s.size()), 0);
              size_t m = cd->run(s.data(), s.size(), b.data(), b.size());
              if (k < 0 || size_t(k) != m || a.compare(0, m, b, 0, m) != 0) return std::string("differs");
            }
            return std::string();
          },
          [=] {
            for (const std::string& s : *in)
              sink(GCConvertString(dst, out->data(), int32_t(out->size()), src, s.data(), int32_t(s.size()), 0));
          },
          [=] {
            for (const std::string& s : *in) sink(long(cd->run(s.data(), s.size(), out->data(), out->size())));
          }});
}

void upperRow(size_t bytes) {
  auto u = std::make_shared<std::vector<U16>>();
  for (const std::string& s : texts(bytes, false)) {
    U16 w;
    for (unsigned char c : s)
      if (c != 0xDF && c != 0xFF) w += char16_t(c); // no one-to-one upper case in the C library
    u->push_back(w);
  }
  auto out = std::make_shared<std::vector<GCUChar>>(bytes + 8);
  GCLocale* loc = locales().latin1;
  locale_t nat = locales().deUtf8;
  auto ref = [nat](const U16& s, GCUChar* o) {
    for (size_t i = 0; i < s.size(); ++i) o[i] = GCUChar(towupper_l(wint_t(s[i]), nat));
    return long(s.size());
  };
  addRow({"upper case UCS-2 (GCMapStringU) " + sizeName(bytes), 1.0,
          [=] {
            std::vector<GCUChar> a(bytes + 8), b(bytes + 8);
            for (const U16& s : *u) {
              int32_t k = GCMapStringU(loc, a.data(), int32_t(a.size()), reinterpret_cast<const GCUChar*>(s.data()),
                                       int32_t(s.size()), GC_MAP_UPPER);
              long m = ref(s, b.data());
              if (k != m || std::memcmp(a.data(), b.data(), size_t(m) * 2) != 0) return std::string("differs");
            }
            return std::string();
          },
          [=] {
            for (const U16& s : *u)
              sink(GCMapStringU(loc, out->data(), int32_t(out->size()), reinterpret_cast<const GCUChar*>(s.data()),
                                int32_t(s.size()), GC_MAP_UPPER));
          },
          [=] {
            for (const U16& s : *u) sink(ref(s, out->data()));
          }});
}

// Upper case of UTF-8 text against converting to wide characters, towupper
// and back. The texts mix ASCII words and ideographs (the test UTF-8 page
// leaves Latin1 letters as they are, the C library does not).
void upperUtf8Row(size_t bytes) {
  auto in = std::make_shared<std::vector<std::string>>();
  for (unsigned i = 0; i < 16; ++i) in->push_back(utf8AsciiText(bytes, 11 + i));
  auto out = std::make_shared<std::string>(4 * bytes + 8, '\0');
  GCLocale* loc = locales().utf8;
  locale_t nat = locales().deUtf8;
  auto ref = [nat](const std::string& s, char* o) {
    locale_t old = uselocale(nat);
    std::mbstate_t in{}, outState{};
    size_t n = 0;
    for (size_t i = 0; i < s.size();) {
      wchar_t w;
      size_t k = std::mbrtowc(&w, s.data() + i, s.size() - i, &in);
      if (k == 0 || k > s.size()) break;
      n += std::wcrtomb(o + n, wchar_t(towupper_l(wint_t(w), nat)), &outState);
      i += k;
    }
    uselocale(old);
    return long(n);
  };
  addRow({"upper case UTF-8 (GCMapString) " + sizeName(bytes), 1.0,
          [=] {
            std::string a(4 * bytes + 8, '\0'), b(4 * bytes + 8, '\0');
            for (const std::string& s : *in) {
              int32_t k = GCMapString(loc, a.data(), int32_t(a.size()), s.data(), int32_t(s.size()), GC_MAP_UPPER);
              long m = ref(s, b.data());
              if (k != m || a.compare(0, size_t(m), b, 0, size_t(m)) != 0) {
                size_t at = 0;
                while (at < size_t(m) && a[at] == b[at]) ++at;
                char where[96];
                std::snprintf(where, sizeof where, "at byte %zu: %02x %02x / %02x %02x (lengths %d, %ld)", at,
                              unsigned(uint8_t(a[at])), unsigned(uint8_t(a[at + 1])), unsigned(uint8_t(b[at])),
                              unsigned(uint8_t(b[at + 1])), int(k), m);
                return std::string(where);
              }
            }
            return std::string();
          },
          [=] {
            for (const std::string& s : *in)
              sink(GCMapString(loc, out->data(), int32_t(out->size()), s.data(), int32_t(s.size()), GC_MAP_UPPER));
          },
          [=] {
            for (const std::string& s : *in) sink(ref(s, out->data()));
          }});
}

} // namespace

void addConvRows() {
  const Locales& L = locales();
  for (size_t n : {size_t(64), size_t(4096)}) {
    toUcs2Rows("Latin1", L.latin1, "ISO-8859-1", false, n);
    toUcs2Rows("UTF-8", L.utf8, "UTF-8", true, n);
    convertRow(n);
    upperRow(n);
  }
  upperUtf8Row(64);
}

} // namespace gcbench
