// Per-call time of the VSOP87D series at changing dates from 1800 to 2200,
// each body's three coordinates beside their floor: the library cosines of
// their periodic terms at the same dates (floors.h).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "floors.h"
#include "spread.h"
#include "vsop87d.h"
#include "vsop87d_tables.h"

namespace {

using SeriesFn = double (*)(double);

void BM_series(benchmark::State& state, SeriesFn f) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(f(benchspread::date(i++).tau));
}

// The three coordinates of one body at one date, as a place needs them.
void BM_body(benchmark::State& state, SeriesFn l, SeriesFn b, SeriesFn r) {
  std::size_t i = 0;
  for (auto _ : state) {
    const double tau = benchspread::date(i++).tau;
    benchmark::DoNotOptimize(l(tau));
    benchmark::DoNotOptimize(b(tau));
    benchmark::DoNotOptimize(r(tau));
  }
}

// The floor of BM_body: the library cosines of the same three series at the
// same dates.
void BM_body_floor(benchmark::State& state, const VsopSeries* l,
                   const VsopSeries* b, const VsopSeries* r) {
  std::vector<double> taus;
  for (const auto& d : benchspread::dates()) taus.push_back(d.tau);
  const benchfloor::Trig trig = benchfloor::series_cosines({l, b, r}, taus);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(benchfloor::take(trig, i++));
  state.counters["cosines"] = static_cast<double>(trig.per_date);
}

#define BODY_BENCH(body, L, B, R)                                           \
  BENCHMARK_CAPTURE(BM_body, body##_LBR, L, B, R)                           \
      ->Unit(benchmark::kMicrosecond);                                      \
  BENCHMARK_CAPTURE(BM_body_floor, body##_LBR_cosines, &vsop87d_##body##_L, \
                    &vsop87d_##body##_B, &vsop87d_##body##_R)               \
      ->Unit(benchmark::kMicrosecond)

BODY_BENCH(earth, Learth, Bearth, Rearth);
BODY_BENCH(venus, Lvenus, Bvenus, Rvenus);
BODY_BENCH(mars, Lmars, Bmars, Rmars);
BODY_BENCH(jupiter, Ljupiter, Bjupiter, Rjupiter);
BODY_BENCH(saturn, Lsaturn, Bsaturn, Rsaturn);

#define SERIES_BENCH(fn) \
  BENCHMARK_CAPTURE(BM_series, fn, fn)->Unit(benchmark::kMicrosecond)

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
