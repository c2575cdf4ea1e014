// Per-call time of the foundations at changing dates from 1800 to 2200:
// the cosine of a series term (cost) beside the library cosine of the same
// lifted arguments, nutation with its table rebuilt and parsed, the Julian
// Day, the Delta-T model, and the Delta-T table file (read, checked and
// interpolated on every call; its first call creates it).
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "angles.h"
#include "calendar.h"
#include "deltat.h"
#include "nutation.h"
#include "spread.h"
#include "vsop87d_tables.h"

namespace {

using benchspread::date;

// The arguments C tau + B of the Earth's periodic terms at every date of the
// spread, as the series hand them to cost (most of them negative before
// 2000).
const std::vector<double>& earth_arguments() {
  static const std::vector<double> args = [] {
    std::vector<double> v;
    for (const auto& d : benchspread::dates())
      for (const VsopSeries* s :
           {&vsop87d_earth_L, &vsop87d_earth_B, &vsop87d_earth_R})
        for (int k = 0; k < s->npowers; ++k)
          for (int i = 0; i < s->powers[k].count; ++i) {
            const VsopTerm& t = s->powers[k].terms[i];
            if (vsop_is_constant(t)) continue;
            double x = t.C * d.tau;
            x = x + t.B;
            v.push_back(x);
          }
    return v;
  }();
  return args;
}

void BM_cost(benchmark::State& state) {
  const std::vector<double>& args = earth_arguments();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(cost(args[i]));
    if (++i == args.size()) i = 0;
  }
}
BENCHMARK(BM_cost);

// The floor of BM_cost: the library cosine of the lifted arguments.
void BM_cost_floor(benchmark::State& state) {
  std::vector<double> args = earth_arguments();
  for (double& x : args) x = norm2pi(x);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::cos(args[i]));
    if (++i == args.size()) i = 0;
  }
}
BENCHMARK(BM_cost_floor);

void BM_Nutation(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    double dpsi, deps, eps0, eps;
    Nutation(date(i++).T, &dpsi, &deps, &eps0, &eps);
    benchmark::DoNotOptimize(dpsi);
    benchmark::DoNotOptimize(eps);
  }
}
BENCHMARK(BM_Nutation)->Unit(benchmark::kMicrosecond);

void BM_julday(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& d = date(i++);
    benchmark::DoNotOptimize(
        julday(d.year, d.month, d.day, d.hour, d.minute, d.second));
  }
}
BENCHMARK(BM_julday);

void BM_deltatime(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(deltatime(date(i++).year));
}
BENCHMARK(BM_deltatime);

// The program asks the Delta-T table file for the years after 2020: those of
// the spread, moved into 2021 to 2200.
int file_year(std::size_t i) {
  return 2021 + (date(i).year - 1800) * 180 / 401;
}

// A temporary working directory of its own for the Delta-T table file.
class TempCwd {
 public:
  TempCwd() : home_(std::filesystem::current_path()) {
    std::string dir =
        (std::filesystem::temp_directory_path() / "ld_bench_XXXXXX").string();
    if (mkdtemp(dir.data()) != nullptr) {
      dir_ = dir;
      std::filesystem::current_path(dir_);
    }
  }
  ~TempCwd() {
    if (dir_.empty()) return;
    std::filesystem::current_path(home_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempCwd(const TempCwd&) = delete;
  TempCwd& operator=(const TempCwd&) = delete;
  bool ok() const { return !dir_.empty(); }

 private:
  std::filesystem::path home_, dir_;
};

// Every timed call reads the file whole, checks its order and interpolates;
// the first call, which creates the file, is left out (BM_delta0x_first_call).
void BM_delta0x(benchmark::State& state) {
  TempCwd cwd;
  if (!cwd.ok()) {
    state.SkipWithError("no temporary directory");
    return;
  }
  delta0x(2025);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(delta0x(file_year(i++)));
}
BENCHMARK(BM_delta0x)->Unit(benchmark::kMicrosecond);

// The first call of a run in a fresh directory: the file is missing, is
// created with its default content and then read.
void BM_delta0x_first_call(benchmark::State& state) {
  TempCwd cwd;
  if (!cwd.ok()) {
    state.SkipWithError("no temporary directory");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code ec;
    std::filesystem::remove("dodarivi0r0.txt", ec);
    state.ResumeTiming();
    benchmark::DoNotOptimize(delta0x(file_year(i++)));
  }
}
BENCHMARK(BM_delta0x_first_call)->Unit(benchmark::kMicrosecond);

}  // namespace
