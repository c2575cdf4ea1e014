// End-to-end transcripts: the real program is run in a fresh temporary
// directory on a scripted standard input, and its standard output and the
// files it leaves are compared byte for byte with the expected ones.
//
// Each case is a folder under tests/navigation/golden/:
//   input    the answers, fed to standard input
//   stdout   the expected standard output
//   setup/   files put into the working directory before the run (optional);
//            a folder there is copied with the files it holds, so that a
//            name the program uses can be a directory instead of a file
//   files/   every regular file the working directory must hold after the
//            run (directories are not compared)
//
// To regenerate the expected output after a deliberate change of the
// screens, run the test with LD_REGENERATE_GOLDEN=1 in the environment: the
// folders then receive what the program printed and left instead of being
// compared.  A regenerated transcript proves nothing by itself: read it line
// by line against the screens it is meant to show before committing it.
//
// Some cases are also driven in process through run_dialogue, on streams in
// memory, and must print the same transcript: also twice in one process.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "dialogue.h"
#include "nav_test_util.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using navtest::slurp;

const fs::path kGolden = LD_GOLDEN_DIR;

bool regenerate() {
  const char* v = std::getenv("LD_REGENERATE_GOLDEN");
  return v != nullptr && *v != '\0' && std::string(v) != "0";
}

std::vector<std::string> cases() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(kGolden, ec))
    if (e.is_directory()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The regular files of a directory, by name, with their contents.
using testsupport::files_of;

// A fresh working directory with the case's setup files.
class WorkDir {
 public:
  explicit WorkDir(const fs::path& setup) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(setup, ec))
      fs::copy(e.path(), dir_.path() / e.path().filename(), ec);
  }
  const fs::path& path() const { return dir_.path(); }

 private:
  testsupport::TempDir dir_{"ld_golden"};
};

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, Transcript) {
  const fs::path folder = kGolden / GetParam();
  ASSERT_TRUE(fs::exists(folder / "input")) << folder;
  WorkDir work(folder / "setup");
  const testsupport::ProgramRun run = testsupport::run_program(
      LD_VELDRAMONT, work.path(), slurp(folder / "input"), 120);
  ASSERT_TRUE(run.ended) << "the program did not end";
  EXPECT_EQ(run.status, 0);
  const std::string& got = run.out;
  const auto got_files = files_of(work.path());

  if (regenerate()) {
    navtest::put(folder / "stdout", got);
    std::error_code ec;
    fs::remove_all(folder / "files", ec);
    if (!got_files.empty()) fs::create_directory(folder / "files");
    for (const auto& [name, content] : got_files)
      navtest::put(folder / "files" / name, content);
    GTEST_SKIP() << "regenerated " << folder;
  }

  const std::string want = slurp(folder / "stdout");
  if (got != want) {
    // Point at the first line that differs.
    size_t at = 0, line = 1;
    while (at < got.size() && at < want.size() && got[at] == want[at]) {
      if (got[at] == '\n') ++line;
      ++at;
    }
    const size_t from = got.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t start = from == std::string::npos ? 0 : from + 1;
    ADD_FAILURE() << "standard output differs from " << folder / "stdout"
                  << " at line " << line << ":\n  want: "
                  << want.substr(start, want.find('\n', start) - start)
                  << "\n  got:  "
                  << got.substr(start, got.find('\n', start) - start);
  }
  const auto want_files = files_of(folder / "files");
  for (const auto& [name, content] : want_files) {
    const auto it = got_files.find(name);
    if (it == got_files.end()) {
      ADD_FAILURE() << "missing file " << name;
    } else {
      EXPECT_EQ(it->second, content) << "file " << name;
    }
  }
  for (const auto& [name, content] : got_files)
    EXPECT_TRUE(want_files.count(name)) << "unexpected file " << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<std::string>& i) {
                           return i.param;
                         });

// The same dialogue in process: run_dialogue on streams in memory prints the
// transcript of the real program.
TEST(GoldenInProcess, SameTranscript) {
  for (const char* name : {"obs2_star_and_codes", "earth_conditions_changed"}) {
    const fs::path folder = kGolden / name;
    ASSERT_TRUE(fs::exists(folder / "stdout")) << folder;
    WorkDir work(folder / "setup");
    const std::string input = slurp(folder / "input");
    ConsoleCapture con(input);
    EXPECT_EQ(run_dialogue(con.in(), con.out(), work.path().c_str()), 0);
    EXPECT_TRUE(con.output() == slurp(folder / "stdout")) << name;
    EXPECT_EQ(files_of(work.path()), files_of(folder / "files")) << name;
  }
}

// One run of a case in process, in a fresh directory of its own: what it
// printed and the files it left.
struct InProcessRun {
  std::string out;
  std::map<std::string, std::string> files;
};

InProcessRun run_in_process(const std::string& name) {
  const fs::path folder = kGolden / name;
  WorkDir work(folder / "setup");
  ConsoleCapture con(slurp(folder / "input"));
  InProcessRun r;
  if (run_dialogue(con.in(), con.out(), work.path().c_str()) == 0) {
    r.out = con.output();
    r.files = files_of(work.path());
  }
  return r;
}

// The case whose Earth conditions are changed: the Delta-T typed is
// remembered for the whole run, and must not reach another run.
const char kRemembering[] = "earth_conditions_changed";

// Two runs one after the other in one process print the same transcript
// and leave the same files as the real program; the process's working
// directory is the same before and after.
TEST(GoldenInProcess, TwoRunsOneAfterTheOther) {
  const fs::path cwd = fs::current_path();
  const fs::path folder = kGolden / kRemembering;
  for (int i = 0; i < 2; ++i) {
    const InProcessRun r = run_in_process(kRemembering);
    EXPECT_TRUE(r.out == slurp(folder / "stdout")) << "run " << i;
    EXPECT_EQ(r.files, files_of(folder / "files")) << "run " << i;
    EXPECT_EQ(fs::current_path(), cwd);
  }
}

// Two runs at once on two threads: each has its session (console, kept
// lines, remembered Delta-T) and its directory, and prints the transcript of
// the real program.  The threads have the stack the program gives its
// dialogue.
TEST(GoldenInProcess, TwoRunsAtOnceOnTwoThreads) {
  const fs::path cwd = fs::current_path();
  const char* const names[2] = {kRemembering, "run_mars_south_east"};
  InProcessRun got[2];
  struct Job {
    const char* name;
    InProcessRun* result;
  } jobs[2] = {{names[0], &got[0]}, {names[1], &got[1]}};
  pthread_t threads[2];
  bool started[2] = {false, false};
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 8u << 20), 0);
  for (int i = 0; i < 2; ++i)
    started[i] = pthread_create(
                     &threads[i], &attr,
                     [](void* p) -> void* {
                       auto* job = static_cast<Job*>(p);
                       *job->result = run_in_process(job->name);
                       return nullptr;
                     },
                     &jobs[i]) == 0;
  pthread_attr_destroy(&attr);
  for (int i = 0; i < 2; ++i)
    if (started[i]) pthread_join(threads[i], nullptr);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(started[i]);
    const fs::path folder = kGolden / names[i];
    EXPECT_TRUE(got[i].out == slurp(folder / "stdout")) << names[i];
    EXPECT_EQ(got[i].files, files_of(folder / "files")) << names[i];
  }
  EXPECT_EQ(fs::current_path(), cwd);
}

// The lines of a text, without their line ends.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

// Both sights are taken at one time, so a positive velocity on line 9 of
// the second record file, a speed in knots, runs the ship over no time and
// moves nothing.  The run with course 045 and 12 knots prints what the same
// run with 0 and 0 prints, line for line, but for the three lines that echo
// line 9 (the summary of observation 2, the FINAL screen, ITERATE), and
// leaves the same files but for that line.
TEST(GoldenBetweenSights, SpeedMovesNothing) {
  const fs::path folder = kGolden / "run_between_sights_speed";
  const std::string answers = slurp(folder / "input");
  const std::string record = slurp(folder / "setup" / "dodarivi0r2.txt");
  const std::string speed = "45.000000 12.000000\n";
  ASSERT_GE(record.size(), speed.size());
  const std::string head = record.substr(0, record.size() - speed.size());
  ASSERT_EQ(head + speed, record);

  struct Run {
    std::string out;
    std::map<std::string, std::string> files;
  };
  const auto run_with = [&](const std::string& line9) {
    WorkDir work(folder / "setup");
    navtest::put(work.path() / "dodarivi0r2.txt", head + line9);
    const testsupport::ProgramRun run =
        testsupport::run_program(LD_VELDRAMONT, work.path(), answers, 120);
    EXPECT_TRUE(run.ended && run.status == 0) << line9;
    return Run{run.out, files_of(work.path())};
  };
  const Run moving = run_with(speed);
  const Run still = run_with("0.000000 0.000000\n");

  // Each echo of line 9 in the run with 0 and 0, and what it must read with
  // 45 and 12 (the course back of 045 is 225).
  const std::map<std::string, std::string> echoes = {
      {" Course: 0.00  Velocity: 0.00", " Course: 45.00  Velocity: 12.00"},
      {" Course was:     0  Velocity: 0.00 ",
       " Course was:    45  Velocity: 12.00 "},
      {"kursav0 kursbak, velav 0.000000 180.000000 0.000000",
       "kursav0 kursbak, velav 45.000000 225.000000 12.000000"}};
  const std::vector<std::string> got = lines_of(moving.out);
  const std::vector<std::string> want = lines_of(still.out);
  ASSERT_EQ(got.size(), want.size());
  std::map<std::string, int> seen;
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i] == want[i]) continue;
    const auto echo = echoes.find(want[i]);
    ASSERT_TRUE(echo != echoes.end() && echo->second == got[i])
        << "line " << i + 1 << "\n  with 0 0:   " << want[i]
        << "\n  with 45 12: " << got[i];
    ++seen[want[i]];
  }
  EXPECT_EQ(seen.size(), echoes.size()) << "an echo of line 9 is missing";

  // The final save writes line 9 back as it was read.
  std::map<std::string, std::string> files = moving.files;
  std::string& second = files["dodarivi0r2.txt"];
  const std::string saved = "45.000000 12.000000 \n";
  ASSERT_GE(second.size(), saved.size());
  ASSERT_EQ(second.substr(second.size() - saved.size()), saved);
  second.replace(second.size() - saved.size(), saved.size(),
                 "0.000000 0.000000 \n");
  EXPECT_EQ(files, still.files);
}

}  // namespace
