// Per-call time of the lunar series and of the apparent-place routines at
// changing dates from 1800 to 2200, the Moon's beside its floor: the 8,050
// library sines and cosines of its series at the same dates (floors.h).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "floors.h"
#include "moon.h"
#include "planets.h"
#include "spread.h"
#include "stars.h"
#include "sun.h"

namespace {

using benchspread::date;

void BM_LEA406(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    double lon, lat, dist;
    LEA406(date(i++).jde, &lon, &lat, &dist);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(dist);
  }
}
BENCHMARK(BM_LEA406)->Unit(benchmark::kMicrosecond);

void BM_mooneph(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& d = date(i++);
    double Dec, GHA, GAST, RA, HP, SD;
    mooneph(d.deltaT, d.year, d.month, d.day, d.hour, d.minute, d.second, &Dec,
            &GHA, &GAST, &RA, &HP, &SD);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
  }
}
BENCHMARK(BM_mooneph)->Unit(benchmark::kMicrosecond);

// The floor of BM_LEA406 and BM_mooneph.
void BM_moon_trig_floor(benchmark::State& state) {
  std::vector<double> jdes;
  for (const auto& d : benchspread::dates()) jdes.push_back(d.jde);
  const benchfloor::Trig trig = benchfloor::moon_trig(jdes);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(benchfloor::take(trig, i++));
  state.counters["sines_cosines"] = static_cast<double>(trig.per_date);
}
BENCHMARK(BM_moon_trig_floor)->Unit(benchmark::kMicrosecond);

void BM_suneph(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& d = date(i++);
    double Dec, GHA, GAST, RA, HP, SD, JDE;
    suneph(d.deltaT, d.year, d.month, d.day, d.hour, d.minute, d.second, &Dec,
           &GHA, &GAST, &RA, &HP, &SD, &JDE);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
  }
}
BENCHMARK(BM_suneph)->Unit(benchmark::kMicrosecond);

void BM_starseph(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& d = date(i);
    const int starno = static_cast<int>(i++ % 58);
    double Dec, GHA, GAST, RA, SHA;
    starseph(starno, d.deltaT, d.year, d.month, d.day, d.hour, d.minute,
             d.second, &Dec, &GHA, &GAST, &RA, &SHA);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
  }
}
BENCHMARK(BM_starseph)->Unit(benchmark::kMicrosecond);

// One benchmark per planet: bodycode 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn.
void BM_planeteph(benchmark::State& state) {
  const int bodycode = static_cast<int>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& d = date(i++);
    double Dec, GHA, GAST, RA, HP;
    planeteph(bodycode, d.deltaT, d.year, d.month, d.day, d.hour, d.minute,
              d.second, &Dec, &GHA, &GAST, &RA, &HP);
    benchmark::DoNotOptimize(Dec);
    benchmark::DoNotOptimize(RA);
  }
}
BENCHMARK(BM_planeteph)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(7)
    ->ArgName("bodycode")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
