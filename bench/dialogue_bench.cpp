// One whole run of the program as a process, from the title screen to the
// final save: both observations and the lunar distance typed once, then the
// automatic passes (the fix iterated to convergence, and more than 30
// lunar-distance passes) until the final menu reads its answer, and the stop.
// Each iteration runs in a fresh working directory, so the Delta-T table
// file and both record files are created anew.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

// Sights synthesized for 2022-05-23 16:57:48 UT at 46 deg 54.6' N,
// 141 deg 31.8' W: the Moon's lower limb and the Sun's lower limb, the Sun
// east of the Moon, the lunar distance to the Moon's near limb; Ic +1.2',
// height of eye 4.5 m, 18 C, 1021 hPa.  The navigator's reckoning is 28 miles
// off and the clock 95 seconds fast.
const char kAnswers[] =
    "\n"                        // no reset of the record files
    "\n"                        // ... hit ENTER
    "\n"                        // the EXAMPLE screen
    "2022 5 23\n"               // date
    "16 59 23\n"                // time by the clock
    "1\n69.29\n18\n1021\n\n"    // Earth conditions: Delta-T, weather
    "47 12.600000000000\n"      // dead-reckoning latitude
    "-142 4.003935182529\n"     // dead-reckoning longitude
    "2\n1.2\n4.5\n"             // Moon's lower limb, Ic, height of eye
    "31 1.144209938357\n"       // sextant altitude of the Moon
    "\n\n"                      // result screen, on to observation 2
    "0\n"                       // the Sun's lower limb
    "30 47.759969268847\n"      // sextant altitude of the Sun
    "\n\n"                      // result screen, on to the lunar distance
    "1\n1\n78 12.113917771657\n"  // near limb, Sun east, the distance
    "\n"                        // ITERATION starts
    "9\n"                       // stop at the final menu
    "\n";                       // the closing screen

// Lines in a file.
int lines_of(const fs::path& p) {
  std::ifstream in(p);
  int n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

void BM_whole_run(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string tmpl = (fs::temp_directory_path() / "ld_bench_XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr) {
      state.SkipWithError("no temporary directory");
      break;
    }
    const fs::path root = tmpl;
    fs::create_directory(root / "work");
    state.ResumeTiming();

    const testsupport::ProgramRun run =
        testsupport::run_program(LD_VELDRAMONT, root / "work", kAnswers, 0);
    const bool ok = run.ended && run.status == 0;

    state.PauseTiming();
    // The final save writes a tenth line (the lunar distance and the side)
    // into the first record file: the run went all the way to the stop.
    const bool saved = lines_of(root / "work" / "dodarivi0r1.txt") == 10;
    std::error_code ec;
    fs::remove_all(root, ec);
    if (!ok || !saved) {
      state.SkipWithError(ok ? "the run ended before the final save"
                             : "the program did not end normally");
      break;
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_whole_run)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
