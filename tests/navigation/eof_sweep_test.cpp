// End of input after every byte of a complete run.  The answers of a complete
// run (complete_run.h: every answer a default, and typed answers) are cut
// after each byte position in turn; for every
// cut the program must end by itself with exit status 0, print the closing
// screen once and as its last text, and leave only complete record files.
// The real program runs as a child in a fresh directory for each cut; the
// same cuts run in process on an input stream that counts the reads
// attempted after its end was found, which must be none: the dialogue stops
// at the first read that finds the end and never asks again.
#include <gtest/gtest.h>

#include <string>

#include "complete_run.h"
#include "fuzz_run.h"
#include "nav_test_util.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using navtest::count;

const std::string kClosing = fuzzrun::kClosingLine;

// A child that runs longer than this is taken as hanging; a complete run
// takes about a second.
constexpr int kHangLimit = 60;

bool ends_with_closing(const std::string& out) {
  return out.size() >= kClosing.size() &&
         out.compare(out.size() - kClosing.size(), kClosing.size(), kClosing) ==
             0;
}

// The record files left in dir are complete, as the program writes them.
void expect_complete_records(const fs::path& dir, size_t cut) {
  for (int file : {1, 2}) {
    const fs::path p = dir / fuzzrun::kFileNames[file];
    if (!fs::exists(p)) continue;
    EXPECT_EQ(fuzzrun::record_shape_error(navtest::slurp(p), file), "")
        << fuzzrun::kFileNames[file] << " after the cut at " << cut;
  }
}

// The scripts swept: every answer a default, and typed answers.
class EndOfInputSweep : public ::testing::TestWithParam<const std::string*> {
 protected:
  const std::string& kScript = *GetParam();
};

INSTANTIATE_TEST_SUITE_P(Scripts, EndOfInputSweep,
                         ::testing::Values(&ldtest::kCompleteRun,
                                           &ldtest::kTypedRun),
                         [](const auto& info) {
                           return info.param == &ldtest::kCompleteRun
                                      ? "Defaults"
                                      : "Typed";
                         });

TEST_P(EndOfInputSweep, TheCompleteRunIsComplete) {
  // The whole script reaches the final save: both files are written with the
  // final lines, and the closing key is its last character.
  const fs::path dir = testsupport::make_temp_dir("ld_sweep");
  const auto r =
      testsupport::run_program(LD_VELDRAMONT, dir, kScript, kHangLimit);
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(count(r.out, "\n>> fixed: write dodarivi0r1.txt \n"), 1);
  EXPECT_EQ(count(r.out, "--- END ---"), 1);
  EXPECT_EQ(count(navtest::slurp(dir / "dodarivi0r1.txt"), "\n"), 10);
  testsupport::remove_tree(dir);
}

TEST_P(EndOfInputSweep, TheProgramEndsAtEveryCut) {
  for (size_t cut = 0; cut <= kScript.size(); ++cut) {
    const fs::path dir = testsupport::make_temp_dir("ld_sweep");
    const auto r = testsupport::run_program(LD_VELDRAMONT, dir,
                                            kScript.substr(0, cut), kHangLimit);
    EXPECT_TRUE(r.ended) << "no end after the cut at " << cut;
    EXPECT_EQ(r.status, 0) << "cut at " << cut << " signal " << r.signal;
    EXPECT_EQ(count(r.out, "--- END ---"), 1) << "cut at " << cut;
    EXPECT_TRUE(ends_with_closing(r.out)) << "cut at " << cut;
    expect_complete_records(dir, cut);
    testsupport::remove_tree(dir);
  }
}

TEST_P(EndOfInputSweep, NothingIsReadAfterTheEnd) {
  const std::string cwd = fs::current_path().string();
  for (size_t cut = 0; cut <= kScript.size(); ++cut) {
    fuzzrun::TempDir dir;
    const fuzzrun::Run r = fuzzrun::run(kScript.substr(0, cut), dir.path());
    EXPECT_EQ(r.status, 0) << "cut at " << cut;
    // Every cut short of the whole script ends at the end of input; the
    // whole script ends with its closing key.
    EXPECT_EQ(r.input_ended, cut < kScript.size()) << "cut at " << cut;
    EXPECT_EQ(r.reads_after_end, 0) << "cut at " << cut;
    EXPECT_EQ(count(r.out, "--- END ---"), 1) << "cut at " << cut;
    EXPECT_TRUE(ends_with_closing(r.out)) << "cut at " << cut;
    EXPECT_EQ(fs::current_path().string(), cwd);
    expect_complete_records(dir.path(), cut);
  }
}

}  // namespace
