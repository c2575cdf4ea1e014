// Fuzzer of the three files the program reads: the Delta-T table file
// "dodarivi0r0.txt" and the record files "dodarivi0r1.txt" and
// "dodarivi0r2.txt".  The input holds their contents in this order, each
// ended by a line "@@@@" (the last one may end with the input instead):
//
//       <contents of dodarivi0r0.txt>
//   @@@@
//       <contents of dodarivi0r1.txt>
//   @@@@
//       <contents of dodarivi0r2.txt>
//
// The Delta-T table file is always there (empty for an empty input); a
// record file whose part is missing (fewer "@@@@" lines) is not there.
// The dialogue then runs once on a fixed answer script, that of a complete
// run taking every default (complete_run.h), in a fresh directory that holds
// the files.  The run must end, print the closing screen once, leave the
// Delta-T table file unchanged and write only complete record files.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "complete_run.h"
#include "fuzz_run.h"

namespace {

// The parts of the input: up to three, each ended by a line "@@@@".
std::map<std::string, std::string> split(const std::string& input) {
  std::map<std::string, std::string> files;
  const std::string sep = "@@@@";
  size_t part = 0;
  size_t start = 0;
  size_t at = 0;
  while (part < 3) {
    const size_t nl = input.find('\n', at);
    const size_t end = nl == std::string::npos ? input.size() : nl;
    if (input.compare(at, end - at, sep) == 0 && end - at == sep.size()) {
      files[fuzzrun::kFileNames[part++]] = input.substr(start, at - start);
      start = at = (nl == std::string::npos ? input.size() : nl + 1);
      if (nl == std::string::npos) break;
      continue;
    }
    if (nl == std::string::npos) {
      files[fuzzrun::kFileNames[part]] = input.substr(start);
      break;
    }
    at = nl + 1;
  }
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  (void)fuzzrun::default_deltat_table();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string cwd = fuzzrun::fs::current_path().string();
  fuzzrun::TempDir dir;
  const auto files =
      split(std::string(reinterpret_cast<const char*>(data), size));
  for (const auto& [name, content] : files)
    fuzzrun::put(fuzzrun::fs::path(dir.path()) / name, content);
  const fuzzrun::Run r =
      fuzzrun::run(ldtest::kCompleteRun, dir.path(), fuzzrun::kOutputBudget);
  fuzzrun::check_run(r, cwd);
  fuzzrun::check_files(dir.path(), files);
  return 0;
}
