// Fuzzer of the whole dialogue: the input is everything typed at the console,
// from the reset question to the closing key.  Each input runs the dialogue
// once, from the start, in a fresh working directory of its own; the run
// must end (libFuzzer's -timeout bounds it), print the closing screen once,
// read nothing after the end of input, and leave complete files.  The input
// ends early once the screens printed exceed the output budget of
// fuzz_run.h, so that the time of a run is bounded by the program's own
// work per answer and not by the number of answers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_run.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  (void)fuzzrun::default_deltat_table();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string cwd = fuzzrun::fs::current_path().string();
  fuzzrun::TempDir dir;
  const std::string answers(reinterpret_cast<const char*>(data), size);
  const fuzzrun::Run r =
      fuzzrun::run(answers, dir.path(), fuzzrun::kOutputBudget);
  fuzzrun::check_run(r, cwd);
  fuzzrun::check_files(dir.path(), {});
  return 0;
}
