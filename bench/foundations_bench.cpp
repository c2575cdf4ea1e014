// Per-call cost of the foundations: the cosine of a series term at J2000.0,
// in the year -700 and ten times as far back (the same cost for all three),
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

// The main term of the Earth's longitude, phase 4.66925680417 rad, frequency
// 6283.0758499914 rad per millennium.  At J2000.0 its argument is the phase
// itself; 2700 years (and 27000 years) earlier it lies some 2700 (27000) turns
// below zero and is lifted to the same angle.  The three cost the same: the
// lifting is one remainder, computed for every argument.
constexpr double kPhase = 4.66925680417;
constexpr double kTurn = 6.283185307179586;

void BM_cost_year_2000(benchmark::State& state) {
  double x = kPhase;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_year_2000);

void BM_cost_year_minus700(benchmark::State& state) {
  double x = kPhase - 2700.0 * kTurn;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_year_minus700);

void BM_cost_27000_years_before(benchmark::State& state) {
  double x = kPhase - 27000.0 * kTurn;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(cost(x));
  }
}
BENCHMARK(BM_cost_27000_years_before);

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
