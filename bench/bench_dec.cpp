// Decimal operations on 30-digit values (15 integer and 15 fraction digits)
// beside two references on the same values: the compiler's _Decimal128
// (34 digits) and GMP integers scaled by 10^15. Each benchmark does one
// operation per iteration; the ratios of our time to each reference's are
// printed at the end.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_dec_d128.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_val.h"

namespace {

constexpr int kValues = 64;
constexpr int kScale = 15;

struct operand {
  cmn_ty_decimal dec;
  d128_cell d128;
  mpz_t gmp;
};

struct data_set {
  std::vector<operand> a, b;
  mpz_t pow_scale, pow38, half_cut, pow_cut, tmp, result;
  data_set() : a(kValues), b(kValues) {
    std::mt19937_64 rng(20261210);
    auto fill = [&](operand& o) {
      long long hi = static_cast<long long>(rng() % 900000000000000ULL) + 100000000000000LL;
      long long lo = static_cast<long long>(rng() % 1000000000000000ULL);
      bool negative = (rng() & 1) != 0;
      char digits[40];
      std::snprintf(digits, sizeof digits, "%s%lld%015lld", negative ? "-" : "", hi, lo);
      std::snprintf(o.dec.text, sizeof o.dec.text, "%s%lld.%015lld", negative ? "-" : "", hi, lo);
      o.dec.precision = 30;
      o.dec.scale = kScale;
      d128_make(&o.d128, negative, hi, lo, kScale);
      mpz_init_set_str(o.gmp, digits, 10);
    };
    for (int i = 0; i < kValues; ++i) {
      fill(a[i]);
      fill(b[i]);
    }
    mpz_init(pow_scale);
    mpz_ui_pow_ui(pow_scale, 10, kScale);
    mpz_init(pow38);
    mpz_ui_pow_ui(pow38, 10, 38);
    // Rounding to 2 places cuts 13 digits.
    mpz_init(pow_cut);
    mpz_ui_pow_ui(pow_cut, 10, kScale - 2);
    mpz_init(half_cut);
    mpz_tdiv_q_ui(half_cut, pow_cut, 2);
    mpz_init(tmp);
    mpz_init(result);
  }
};

data_set& data() {
  static data_set d;
  return d;
}

using dec_fn = long (*)(const cmn_ty_decimal*, const cmn_ty_decimal*, cmn_ty_decimal*);

void ours(benchmark::State& state, dec_fn op) {
  data_set& d = data();
  cmn_ty_decimal r;
  int i = 0;
  for (auto _ : state) {
    op(&d.a[i].dec, &d.b[i].dec, &r);
    benchmark::DoNotOptimize(r);
    i = (i + 1) % kValues;
  }
}

void d128(benchmark::State& state, void (*op)(const d128_cell*, const d128_cell*, d128_cell*)) {
  data_set& d = data();
  d128_cell r;
  int i = 0;
  for (auto _ : state) {
    op(&d.a[i].d128, &d.b[i].d128, &r);
    benchmark::DoNotOptimize(r);
    i = (i + 1) % kValues;
  }
}

void BM_cmn_dec_plus(benchmark::State& s) { ours(s, cmn_dec_plus); }
void BM_cmn_dec_multiply(benchmark::State& s) { ours(s, cmn_dec_multiply); }
void BM_cmn_dec_divide(benchmark::State& s) { ours(s, cmn_dec_divide); }
void BM_d128_plus(benchmark::State& s) { d128(s, d128_add); }
void BM_d128_multiply(benchmark::State& s) { d128(s, d128_mul); }
void BM_d128_divide(benchmark::State& s) { d128(s, d128_div); }

void BM_cmn_round(benchmark::State& state) {
  data_set& d = data();
  char buf[48];
  int i = 0;
  for (auto _ : state) {
    std::memcpy(buf, d.a[i].dec.text, sizeof buf);
    cmn_round(buf, 2);
    benchmark::DoNotOptimize(buf);
    i = (i + 1) % kValues;
  }
}

void BM_d128_round(benchmark::State& state) {
  data_set& d = data();
  d128_cell r;
  int i = 0;
  for (auto _ : state) {
    d128_round(&d.a[i].d128, 2, &r);
    benchmark::DoNotOptimize(r);
    i = (i + 1) % kValues;
  }
}

void BM_gmp_plus(benchmark::State& state) {
  data_set& d = data();
  int i = 0;
  for (auto _ : state) {
    mpz_add(d.result, d.a[i].gmp, d.b[i].gmp);
    benchmark::DoNotOptimize(d.result);
    i = (i + 1) % kValues;
  }
}

void BM_gmp_multiply(benchmark::State& state) {
  data_set& d = data();
  int i = 0;
  for (auto _ : state) {
    mpz_mul(d.tmp, d.a[i].gmp, d.b[i].gmp);
    mpz_tdiv_q(d.result, d.tmp, d.pow_scale);  // back to 15 places
    benchmark::DoNotOptimize(d.result);
    i = (i + 1) % kValues;
  }
}

void BM_gmp_divide(benchmark::State& state) {
  data_set& d = data();
  int i = 0;
  for (auto _ : state) {
    mpz_mul(d.tmp, d.a[i].gmp, d.pow38);  // 38 places in the quotient
    mpz_tdiv_q(d.result, d.tmp, d.b[i].gmp);
    benchmark::DoNotOptimize(d.result);
    i = (i + 1) % kValues;
  }
}

void BM_gmp_round(benchmark::State& state) {
  data_set& d = data();
  int i = 0;
  for (auto _ : state) {
    const mpz_t& v = d.a[i].gmp;
    if (mpz_sgn(v) < 0)
      mpz_sub(d.tmp, v, d.half_cut);
    else
      mpz_add(d.tmp, v, d.half_cut);
    mpz_tdiv_q(d.result, d.tmp, d.pow_cut);
    benchmark::DoNotOptimize(d.result);
    i = (i + 1) % kValues;
  }
}

BENCHMARK(BM_cmn_dec_plus);
BENCHMARK(BM_d128_plus);
BENCHMARK(BM_gmp_plus);
BENCHMARK(BM_cmn_dec_multiply);
BENCHMARK(BM_d128_multiply);
BENCHMARK(BM_gmp_multiply);
BENCHMARK(BM_cmn_dec_divide);
BENCHMARK(BM_d128_divide);
BENCHMARK(BM_gmp_divide);
BENCHMARK(BM_cmn_round);
BENCHMARK(BM_d128_round);
BENCHMARK(BM_gmp_round);

// Keeps each benchmark's time per iteration for the ratio table.
class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  struct row {
    const char* ours;
    const char* d128;
    const char* gmp;
  } rows[] = {{"cmn_dec_plus", "BM_d128_plus", "BM_gmp_plus"},
              {"cmn_dec_multiply", "BM_d128_multiply", "BM_gmp_multiply"},
              {"cmn_dec_divide", "BM_d128_divide", "BM_gmp_divide"},
              {"cmn_round", "BM_d128_round", "BM_gmp_round"}};
  std::printf("\nratio = our time / reference time (30-digit values; below 1 is faster)\n");
  for (const row& r : rows) {
    auto ours = reporter.times.find(std::string("BM_") + r.ours);
    if (ours == reporter.times.end()) continue;
    for (auto [name, ref] : {std::pair{"_Decimal128", r.d128}, std::pair{"GMP mpz (scaled integers)", r.gmp}}) {
      auto it = reporter.times.find(ref);
      if (it == reporter.times.end() || it->second <= 0) continue;
      std::printf("%-17s vs %-26s ratio %.2f\n", r.ours, name, ours->second / it->second);
    }
  }
  benchmark::Shutdown();
  return 0;
}
