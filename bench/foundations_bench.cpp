// Per-call cost of the foundations: the cosine of a series term for a date
// long before J2000.0 against one at J2000.0 (the lifting of a negative
// argument takes one remainder, whose cost does not grow with the distance
// from J2000.0: compare the year -700 with a date ten times as far back),
// nutation with its table rebuilt and parsed, the Julian Day, the Delta-T
// model and the Delta-T table file (read, checked and interpolated on every
// call).
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "angles.h"
#include "calendar.h"
#include "deltat.h"
#include "nutation.h"

namespace {

// A term of frequency 327574.5 radians per millennium: at tau = -2.7 (the
// year -700) its argument lies some 140,000 turns below zero.
void BM_cost_year_minus700(benchmark::State& state) {
  double x = -2.7 * 327574.5 + 1.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_year_minus700);

void BM_cost_tau_minus27(benchmark::State& state) {
  double x = -27.0 * 327574.5 + 1.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_tau_minus27);

void BM_cost_year_2000(benchmark::State& state) {
  double x = 0.0 * 327574.5 + 1.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_year_2000);

void BM_Nutation(benchmark::State& state) {
  double T = 0.2345;
  for (auto _ : state) {
    double dpsi, deps, eps0, eps;
    benchmark::DoNotOptimize(T);
    Nutation(T, &dpsi, &deps, &eps0, &eps);
    benchmark::DoNotOptimize(dpsi);
    benchmark::DoNotOptimize(eps);
  }
}
BENCHMARK(BM_Nutation);

void BM_julday(benchmark::State& state) {
  int year = 2024, month = 2, day = 29, hour = 13, minute = 45, second = 30;
  for (auto _ : state) {
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(month);
    benchmark::DoNotOptimize(julday(year, month, day, hour, minute, second));
  }
}
BENCHMARK(BM_julday);

void BM_deltatime(benchmark::State& state) {
  int year = 2017;
  for (auto _ : state) {
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(deltatime(year));
  }
}
BENCHMARK(BM_deltatime);

// In a temporary directory of its own; the first call creates the default
// file, every timed call reads it whole, checks its order and interpolates.
void BM_delta0x(benchmark::State& state) {
  const std::filesystem::path home = std::filesystem::current_path();
  std::string dir = (std::filesystem::temp_directory_path() / "ld_bench_XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) {
    state.SkipWithError("no temporary directory");
    return;
  }
  std::filesystem::current_path(dir);
  delta0x(2025);
  int year = 2437;
  for (auto _ : state) {
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(delta0x(year));
  }
  std::filesystem::current_path(home);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_delta0x);

}  // namespace
