// Runs every row: first the agreement checks, then the timings, then the
// ratio table (ours / reference, real time per pass over the row's inputs).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>

#include "gc_bench.h"
#include "gc_testloc.h"
#include "gc_testsort.h"
#include "mbtext/gc_locobj.h"

namespace gcbench {

namespace {

std::vector<Row>& rows() {
  static std::vector<Row> r;
  return r;
}

locale_t native(const char* name) {
  locale_t l = newlocale(LC_ALL_MASK, name, nullptr);
  if (!l) {
    std::fprintf(stderr, "native locale %s is missing (the locales package builds it)\n", name);
    std::exit(2);
  }
  return l;
}

// Collects the time of each benchmark by name: the median when the runs
// are repeated (--benchmark_repetitions), else the one run.
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ns, median;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration) ns[r.run_name.function_name] = r.GetAdjustedRealTime();
      else if (r.aggregate_name == "median") median[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& times() const { return median.empty() ? ns : median; }
};

} // namespace

void addRow(Row row) { rows().push_back(std::move(row)); }

void sink(long v) { benchmark::DoNotOptimize(v); }

const Locales& locales() {
  // The library and the locales live for the whole run.
  struct Owner {
    gctest::SortLib lib;
    Locales l{lib.get("English"),
              lib.get("English_UnitedStates.Latin1"),
              lib.get("English_UnitedStates.UTF-8"),
              lib.get("German_Germany.Latin1"),
              lib.get("German_Germany.UTF-8"),
              native("C.utf8"),
              native("de_DE.iso88591"),
              native("de_DE.utf8")};
    ~Owner() {
      for (locale_t n : {l.cUtf8, l.deLatin1, l.deUtf8}) freelocale(n);
    }
  };
  static Owner owner;
  return owner.l;
}

namespace {

const char* const kWords[] = {"the", "and", "des", "und", "Stra\xDF" "e", "caf\xE9", "na\xEFve", "\xC4rger",
                              "M\xFCller", "\xE9t\xE9", "Ni\xF1o", "data", "Z\xFCrich", "Gr\xF6\xDF" "e",
                              "lorem", "ipsum", "\xC5ngstr\xF6m", "fa\xE7" "ade", "sample", "text"};

std::string build(size_t bytes, unsigned seed, bool latin) {
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < bytes) {
    std::string w = kWords[rng() % (sizeof kWords / sizeof kWords[0])];
    if (!latin)
      for (char& c : w)
        if (static_cast<unsigned char>(c) >= 0x80) c = char('a' + (static_cast<unsigned char>(c) % 26));
    if (rng() % 5 == 0) w[0] = char(w[0] >= 'a' && w[0] <= 'z' ? w[0] - 32 : w[0]);
    s += w;
    s += rng() % 9 == 0 ? ", " : " ";
  }
  s.resize(bytes);
  return s;
}

void appendUtf8(std::string& s, uint32_t c) {
  if (c < 0x80) {
    s += char(c);
  } else if (c < 0x800) {
    s += char(0xC0 | (c >> 6));
    s += char(0x80 | (c & 0x3F));
  } else {
    s += char(0xE0 | (c >> 12));
    s += char(0x80 | ((c >> 6) & 0x3F));
    s += char(0x80 | (c & 0x3F));
  }
}

} // namespace

std::string latin1Text(size_t bytes, unsigned seed) { return build(bytes, seed, true); }
std::string asciiText(size_t bytes, unsigned seed) { return build(bytes, seed, false); }

std::string utf8Text(size_t bytes, unsigned seed) { return utf8Mix(bytes, seed, true); }
std::string utf8AsciiText(size_t bytes, unsigned seed) { return utf8Mix(bytes, seed, false); }

std::string utf8Mix(size_t bytes, unsigned seed, bool latin1) {
  std::string latin = build(bytes, seed, latin1);
  std::mt19937 rng(seed * 7 + 1);
  std::string s;
  for (unsigned char c : latin) {
    std::string ch;
    if (rng() % 6 == 0) appendUtf8(ch, 0x4E00 + rng() % 0x5000); // CJK ideograph
    else appendUtf8(ch, c);
    if (s.size() + ch.size() > bytes) break;
    s += ch;
  }
  return s;
}

} // namespace gcbench

int main(int argc, char** argv) {
  using namespace gcbench;
  benchmark::Initialize(&argc, argv);
  locales();
  addConvRows();
  addFmtRows();
  addNumRows();
  addCmpRows();
  int bad = 0;
  for (const Row& r : rows()) {
    std::string why = r.check();
    if (!why.empty()) {
      std::fprintf(stderr, "MISMATCH %s: %s\n", r.name.c_str(), why.c_str());
      ++bad;
    }
  }
  if (bad) {
    rows().clear();
    return 1;
  }
  std::printf("all %zu rows agree with the C library on every input\n", rows().size());
  for (const Row& r : rows()) {
    auto ours = r.ours;
    auto ref = r.ref;
    benchmark::RegisterBenchmark((r.name + "/ours").c_str(), [ours](benchmark::State& st) {
      for (auto _ : st) ours();
    });
    benchmark::RegisterBenchmark((r.name + "/ref").c_str(), [ref](benchmark::State& st) {
      for (auto _ : st) ref();
    });
  }
  Collector c;
  benchmark::RunSpecifiedBenchmarks(&c);
  std::printf("\n%-44s %12s %12s %8s %8s\n", "row", "ours ns", "ref ns", "ratio", "target");
  int miss = 0;
  for (const Row& r : rows()) {
    const auto& t = c.times();
    auto a = t.find(r.name + "/ours"), b = t.find(r.name + "/ref");
    if (a == t.end() || b == t.end()) continue;
    double ratio = a->second / b->second;
    bool ok = ratio <= r.target;
    miss += !ok;
    std::printf("%-44s %12.0f %12.0f %7.2fx %7.1fx %s\n", r.name.c_str(), a->second, b->second, ratio,
                r.target, ok ? "" : "MISS");
  }
  std::printf("%d row(s) above target\n", miss);
  benchmark::ClearRegisteredBenchmarks();
  benchmark::Shutdown();
  return 0;
}
