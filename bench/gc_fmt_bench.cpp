// Formatting rows (GCVsprintf against snprintf) and number parsing rows
// (GCStringToDouble against strtod, GCStringToLong against strtol).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "gc_bench.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_strto.h"

namespace gcbench {

namespace {

int gcf(char* buf, int32_t size, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  int n = GCVsprintf(locales().ascii, buf, size, fmt, -1, 0, ap);
  va_end(ap);
  return n;
}

// One formatting row: call(fn, buf, size, i) formats input i with fn
// (gcf or snprintf).
using Fmt = int (*)(char*, int32_t, const char*, ...);
int cf(char* buf, int32_t size, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, size_t(size), fmt, ap);
  va_end(ap);
  return n;
}

template <class Call>
void fmtRow(const std::string& name, int inputs, int32_t room, Call call) {
  auto buf = std::make_shared<std::string>(size_t(room), '\0');
  addRow({name, 1.2,
          [=] {
            std::string a(size_t(room), '\0'), b(size_t(room), '\0');
            for (int i = 0; i < inputs; ++i) {
              int k = call(Fmt(gcf), a.data(), room, i);
              int m = call(Fmt(cf), b.data(), room, i);
              if (k != m || a.compare(0, size_t(m), b, 0, size_t(m)) != 0)
                return "input " + std::to_string(i) + ": \"" + a.substr(0, size_t(k > 0 ? k : 0)) + "\" vs \"" +
                       b.substr(0, size_t(m)) + "\"";
            }
            return std::string();
          },
          [=] {
            for (int i = 0; i < inputs; ++i) sink(call(Fmt(gcf), buf->data(), room, i));
          },
          [=] {
            for (int i = 0; i < inputs; ++i) sink(call(Fmt(cf), buf->data(), room, i));
          }});
}

struct Vals {
  int d[8];
  double f;
  const char* s;
};

std::vector<Vals> values() {
  std::mt19937 rng(5);
  static const char* const words[] = {"alpha", "b", "gamma delta", "", "x y z", "epsilon", "pi", "omega"};
  std::vector<Vals> v(8);
  for (int i = 0; i < 8; ++i) {
    for (int& d : v[i].d) d = int(rng()) >> (rng() % 28);
    v[i].f = double(int(rng() % 2000001) - 1000000) / double(1 + rng() % 997);
    v[i].s = words[i];
  }
  return v;
}

template <class T>
std::shared_ptr<std::vector<T>> shared(std::vector<T> v) {
  return std::make_shared<std::vector<T>>(std::move(v));
}

void numRows() {
  std::mt19937_64 rng(3);
  std::vector<std::string> dbl, lng;
  char b[64];
  for (int i = 0; i < 16; ++i) {
    double x = std::ldexp(double(rng() >> 11), int(rng() % 80) - 60) * (i % 3 == 0 ? -1 : 1);
    if (i % 4 == 0) std::snprintf(b, sizeof b, "%.17g", x);
    else if (i % 4 == 1) std::snprintf(b, sizeof b, "%.6f", x);
    else if (i % 4 == 2) std::snprintf(b, sizeof b, "%.3f", double(int64_t(rng() % 200000) - 100000) / 7.0);
    else std::snprintf(b, sizeof b, "%d.%d", int(rng() % 1000), int(rng() % 100));
    dbl.push_back(b);
    std::snprintf(b, sizeof b, "%d", int32_t(uint32_t(rng())) >> (rng() % 31)); // a 32-bit reader
    lng.push_back(i % 5 == 0 ? std::string("  ") + b : std::string(b));
  }
  GCLocale* loc = locales().ascii;
  auto d = shared(dbl), l = shared(lng);
  addRow({"GCStringToDouble / strtod", 1.5,
          [=] {
            for (const std::string& s : *d) {
              const char *e1, *e2;
              char* e;
              double a = GCStringToDouble(loc, s.c_str(), int32_t(s.size()), &e1, 0);
              double r = std::strtod(s.c_str(), &e);
              e2 = e;
              if (std::memcmp(&a, &r, sizeof a) != 0 || e1 != e2) return "\"" + s + "\"";
            }
            return std::string();
          },
          [=] {
            for (const std::string& s : *d) {
              const char* e;
              sink(long(GCStringToDouble(loc, s.c_str(), int32_t(s.size()), &e, 0)));
            }
          },
          [=] {
            for (const std::string& s : *d) {
              char* e;
              sink(long(std::strtod(s.c_str(), &e)));
            }
          }});
  addRow({"GCStringToLong / strtol", 1.5,
          [=] {
            for (const std::string& s : *l) {
              const char* e1;
              char* e;
              long a = GCStringToLong(loc, s.c_str(), int32_t(s.size()), &e1, 10, 0);
              long r = std::strtol(s.c_str(), &e, 10);
              if (a != r || e1 != e) return "\"" + s + "\"";
            }
            return std::string();
          },
          [=] {
            for (const std::string& s : *l) {
              const char* e;
              sink(GCStringToLong(loc, s.c_str(), int32_t(s.size()), &e, 10, 0));
            }
          },
          [=] {
            for (const std::string& s : *l) {
              char* e;
              sink(std::strtol(s.c_str(), &e, 10));
            }
          }});
}

} // namespace

void addFmtRows() {
  auto v = shared(values());
  fmtRow("\"%d %s %.2f %x\"", 8, 256, [v](Fmt f, char* b, int32_t n, int i) {
    const Vals& x = (*v)[size_t(i)];
    return f(b, n, "%d %s %.2f %x", x.d[0], x.s, x.f, unsigned(x.d[1]));
  });
  fmtRow("eight \"%d\"", 8, 256, [v](Fmt f, char* b, int32_t n, int i) {
    const int* d = (*v)[size_t(i)].d;
    return f(b, n, "%d %d %d %d %d %d %d %d", d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  });
  fmtRow("mixed flags", 8, 256, [v](Fmt f, char* b, int32_t n, int i) {
    const Vals& x = (*v)[size_t(i)];
    return f(b, n, "%-8d|%+5d|%05x|%#o|%10.3s|%c|%-12.3f|%ld|%%", x.d[2], x.d[3], unsigned(x.d[4]),
             unsigned(x.d[5] & 0xFFFF), x.s, 'A' + i, x.f, long(x.d[6]) * 1000);
  });
  auto big = std::make_shared<std::string>(asciiText(4096, 9));
  fmtRow("\"[%s]\" 4 KB", 1, 4200, [big](Fmt f, char* b, int32_t n, int) { return f(b, n, "[%s]", big->c_str()); });
}

void addNumRows() { numRows(); }

} // namespace gcbench
