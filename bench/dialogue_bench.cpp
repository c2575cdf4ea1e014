// Whole runs of the program as a process, from the title screen to the final
// save: both observations and the lunar distance answered once, then the
// automatic passes (the fix iterated to convergence, and more than 30
// lunar-distance passes) until the final menu reads its answer, and the stop.
// Each iteration runs in a fresh working directory, so the Delta-T table
// file and both record files are created anew.
//
// The headline is BM_whole_run: the example, every answer taken from its
// default (the Moon and Venus on 2017-06-17).  Such a run computes 66 places
// of the Moon, 100 of the Sun and 66 of Venus, which take the Earth's three
// series 166 times and those of Venus 132 times, and 300 nutations; it saves
// a record file 72 times and reads the Delta-T table file twice.
// BM_whole_run_floor is its floor: the library trigonometry of those 66
// lunar series and 298 series triples at the run's date (floors.h).
//
// BM_record_save times one save of a record file as the automatic passes
// make it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "complete_run.h"
#include "console.h"
#include "floors.h"
#include "program_run.h"
#include "records.h"
#include "runstate.h"
#include "spread.h"

namespace {

namespace fs = std::filesystem;

// Sights synthesized for 2022-05-23 16:57:48 UT at 46 deg 54.6' N,
// 141 deg 31.8' W: the Moon's lower limb and the Sun's lower limb, the Sun
// east of the Moon, the lunar distance to the Moon's near limb; Ic +1.2',
// height of eye 4.5 m, 18 C, 1021 hPa.  The navigator's reckoning is 28 miles
// off and the clock 95 seconds fast.
const char kSunRun[] =
    "\n"                          // no reset of the record files
    "\n"                          // ... hit ENTER
    "\n"                          // the EXAMPLE screen
    "2022 5 23\n"                 // date
    "16 59 23\n"                  // time by the clock
    "1\n69.29\n18\n1021\n\n"      // Earth conditions: Delta-T, weather
    "47 12.600000000000\n"        // dead-reckoning latitude
    "-142 4.003935182529\n"       // dead-reckoning longitude
    "2\n1.2\n4.5\n"               // Moon's lower limb, Ic, height of eye
    "31 1.144209938357\n"         // sextant altitude of the Moon
    "\n\n"                        // result screen, on to observation 2
    "0\n"                         // the Sun's lower limb
    "30 47.759969268847\n"        // sextant altitude of the Sun
    "\n\n"                        // result screen, on to the lunar distance
    "1\n1\n78 12.113917771657\n"  // near limb, Sun east, the distance
    "\n"                          // ITERATION starts
    "9\n"                         // stop at the final menu
    "\n";                         // the closing screen

// Lines in a file.
int lines_of(const fs::path& p) {
  std::ifstream in(p);
  int n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

// One run per iteration on the answers given, in real time; the counter
// cpu_ms is the processor time of the program itself.
void BM_run(benchmark::State& state, const std::string& answers) {
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const testsupport::TempDir work("ld_bench");
    state.ResumeTiming();

    const testsupport::ProgramRun r =
        testsupport::run_program(LD_VELDRAMONT, work.path(), answers, 0);

    state.PauseTiming();
    cpu += r.cpu_seconds;
    // The final save writes a tenth line (the lunar distance and the side)
    // into the first record file: the run went all the way to the stop.
    const bool ok = r.ended && r.status == 0;
    const bool saved = lines_of(work.path() / "dodarivi0r1.txt") == 10;
    if (!ok || !saved) {
      state.SkipWithError(ok ? "the run ended before the final save"
                             : "the program did not end normally");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["cpu_ms"] =
      benchmark::Counter(cpu * 1e3, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_run, whole_run, ldtest::kCompleteRun)
    ->Name("BM_whole_run")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor of BM_whole_run: the 66 lunar series (8,050 sines and cosines
// each) and the 166 triples of the Earth's series and 132 of Venus (2,413 and
// 1,665 cosines) of such a run.  The run computes its places at two instants
// a second apart (the time of the first lunar-distance step and its
// refinement), at the second nearly always, and Venus alternately at the
// instant of the place and 405 s earlier, when the light left it; so does
// BM_whole_run_floor.  Timed alone, the same arguments over and over, the
// library's sines and cosines run faster than anywhere else: the branch
// predictor learns their paths.  BM_whole_run_floor_changing takes the same
// counts at changing dates from 1800 to 2200 instead, as the routines'
// floors do (floors.h).
void BM_whole_run_floor(benchmark::State& state, bool changing) {
  const double jde = 2457921.6655276157;  // 2017-06-17 03:58:21.6 TT
  auto instants = [&](int n, int at_first, bool tau, double light_time = 0) {
    std::vector<double> v;
    for (int k = 0; k < n; ++k) {
      double t = jde + (k < at_first ? 0.0 : 1.0 / 86400) -
                 (k % 2) * light_time / 86400;
      if (changing) t = benchspread::date(static_cast<std::size_t>(k)).jde;
      v.push_back(tau ? (t - 2451545.0) / 365250 : t);
    }
    return v;
  };
  const benchfloor::Trig moon = benchfloor::moon_trig(instants(66, 3, false));
  const benchfloor::Trig earth = benchfloor::series_cosines(
      {&vsop87d_earth_L, &vsop87d_earth_B, &vsop87d_earth_R},
      instants(166, 8, true));
  const benchfloor::Trig venus = benchfloor::series_cosines(
      {&vsop87d_venus_L, &vsop87d_venus_B, &vsop87d_venus_R},
      instants(132, 8, true, 405.2));
  for (auto _ : state) {
    double s = 0;
    for (std::size_t i = 0; i < moon.dates; ++i) s += benchfloor::take(moon, i);
    for (std::size_t i = 0; i < earth.dates; ++i)
      s += benchfloor::take(earth, i);
    for (std::size_t i = 0; i < venus.dates; ++i)
      s += benchfloor::take(venus, i);
    benchmark::DoNotOptimize(s);
  }
  state.counters["trig_calls"] = static_cast<double>(
      moon.dates * moon.per_date + earth.dates * earth.per_date +
      venus.dates * venus.per_date);
}
BENCHMARK_CAPTURE(BM_whole_run_floor, run, false)
    ->Name("BM_whole_run_floor")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_whole_run_floor, changing, true)
    ->Name("BM_whole_run_floor_changing")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_CAPTURE(BM_run, whole_run_sun, std::string(kSunRun))
    ->Name("BM_whole_run_sun")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One save of a record file through the program's own write, as the
// automatic passes make it after each observation's computation: the two
// files in turn, each with a new intercept.  Unchanged, the same content is
// saved again.
void BM_record_save(benchmark::State& state, bool changing) {
  const testsupport::TempDir dir("ld_bench");
  const int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    state.SkipWithError("no temporary directory");
    return;
  }
  const int previous = con_dir();
  con_bind_dir(fd);
  RunState rs;
  rs.flow.obsno = 1;
  rs.work = rs.obs1;
  write_W3(rs);
  rs.flow.obsno = 2;
  rs.work = rs.obs2;
  write_W3(rs);
  std::size_t i = 0;
  for (auto _ : state) {
    rs.flow.obsno = 1 + static_cast<int>(i & 1);
    rs.work = rs.flow.obsno == 1 ? rs.obs1 : rs.obs2;
    if (changing) rs.calc.intercept = 0.001 * static_cast<double>(i % 1000);
    write_W3(rs);
    ++i;
  }
  con_bind_dir(previous);
  close(fd);
}
BENCHMARK_CAPTURE(BM_record_save, changed, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_record_save, unchanged, false)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
