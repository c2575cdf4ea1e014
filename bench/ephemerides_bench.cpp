// Per-call cost of the apparent-place routines and of the lunar series.
#include <benchmark/benchmark.h>

#include "moon.h"
#include "planets.h"
#include "stars.h"
#include "sun.h"

namespace {

void BM_LEA406(benchmark::State& state) {
  double jde = 2460000.5;
  for (auto _ : state) {
    double lon, lat, dist;
    LEA406(jde, &lon, &lat, &dist);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(dist);
    jde += 0.37;
  }
}
BENCHMARK(BM_LEA406)->Unit(benchmark::kMicrosecond);

#ifndef LD_BENCH_LEA406_ONLY
void BM_mooneph(benchmark::State& state) {
  int minute = 0;
  for (auto _ : state) {
    double Dec, GHA, GAST, RA, HP, SD;
    mooneph(69.2, 2024, 3, 15, 20, minute, 17, &Dec, &GHA, &GAST, &RA, &HP, &SD);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
    minute = (minute + 1) % 60;
  }
}
BENCHMARK(BM_mooneph)->Unit(benchmark::kMicrosecond);

void BM_suneph(benchmark::State& state) {
  int minute = 0;
  for (auto _ : state) {
    double Dec, GHA, GAST, RA, HP, SD, JDE;
    suneph(69.2, 2024, 3, 15, 20, minute, 17, &Dec, &GHA, &GAST, &RA, &HP, &SD, &JDE);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
    minute = (minute + 1) % 60;
  }
}
BENCHMARK(BM_suneph)->Unit(benchmark::kMicrosecond);

void BM_starseph(benchmark::State& state) {
  int starno = 0;
  for (auto _ : state) {
    double Dec, GHA, GAST, RA, SHA;
    starseph(starno, 69.2, 2024, 3, 15, 20, 30, 17, &Dec, &GHA, &GAST, &RA, &SHA);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
    starno = (starno + 1) % 58;
  }
}
BENCHMARK(BM_starseph)->Unit(benchmark::kMicrosecond);

// One benchmark per planet: bodycode 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn.
void BM_planeteph(benchmark::State& state) {
  const int bodycode = static_cast<int>(state.range(0));
  int minute = 0;
  for (auto _ : state) {
    double Dec, GHA, GAST, RA, HP;
    planeteph(bodycode, 69.2, 2024, 3, 15, 20, minute, 17, &Dec, &GHA, &GAST, &RA, &HP);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
    minute = (minute + 1) % 60;
  }
}
BENCHMARK(BM_planeteph)->Arg(4)->Arg(5)->Arg(6)->Arg(7)->ArgName("bodycode")->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
