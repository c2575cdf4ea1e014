// Per-call time of the VSOP87D series functions at J2000.0 (tau 0) and at
// the year -700 (tau -2.7), where most cosine arguments are negative and are
// lifted into one turn before the cosine.
#include <benchmark/benchmark.h>

#include "vsop87d.h"

namespace {

using SeriesFn = double (*)(double);

void BM_series(benchmark::State& state, SeriesFn f, double tau) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(tau);
    benchmark::DoNotOptimize(f(tau));
  }
}

// The three coordinates of one body at one date, as a place needs them.
void BM_body(benchmark::State& state, SeriesFn l, SeriesFn b, SeriesFn r, double tau) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(tau);
    benchmark::DoNotOptimize(l(tau));
    benchmark::DoNotOptimize(b(tau));
    benchmark::DoNotOptimize(r(tau));
  }
}

#define SERIES_BENCH(fn)                                                              \
  BENCHMARK_CAPTURE(BM_series, fn##_tau_0, fn, 0.0)->Unit(benchmark::kMicrosecond);   \
  BENCHMARK_CAPTURE(BM_series, fn##_tau_m2_7, fn, -2.7)->Unit(benchmark::kMicrosecond)

#define BODY_BENCH(body, l, b, r)                                                          \
  BENCHMARK_CAPTURE(BM_body, body##_LBR_tau_0, l, b, r, 0.0)->Unit(benchmark::kMicrosecond); \
  BENCHMARK_CAPTURE(BM_body, body##_LBR_tau_m2_7, l, b, r, -2.7)->Unit(benchmark::kMicrosecond)

BODY_BENCH(earth, Learth, Bearth, Rearth);
BODY_BENCH(venus, Lvenus, Bvenus, Rvenus);
BODY_BENCH(mars, Lmars, Bmars, Rmars);
BODY_BENCH(jupiter, Ljupiter, Bjupiter, Rjupiter);
BODY_BENCH(saturn, Lsaturn, Bsaturn, Rsaturn);

SERIES_BENCH(Learth);
SERIES_BENCH(Bearth);
SERIES_BENCH(Rearth);
SERIES_BENCH(Lvenus);
SERIES_BENCH(Bvenus);
SERIES_BENCH(Rvenus);
SERIES_BENCH(Lmars);
SERIES_BENCH(Bmars);
SERIES_BENCH(Rmars);
SERIES_BENCH(Ljupiter);
SERIES_BENCH(Bjupiter);
SERIES_BENCH(Rjupiter);
SERIES_BENCH(Lsaturn);
SERIES_BENCH(Bsaturn);
SERIES_BENCH(Rsaturn);

}  // namespace
