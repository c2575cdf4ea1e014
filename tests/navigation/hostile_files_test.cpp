// Files the program cannot use, end to end: the real program makes a complete
// run (complete_run.h) in a working directory it cannot write, beside record
// files that are directories or cannot be read, under a limit on the size of
// files, and on Delta-T table files of random bytes, of 10,000 rows, of rows
// out of order and of years beyond 3000.  Each run must end with exit status
// 0 and one closing screen, show the message for what it found, compute with
// a usable Delta-T, and leave what it could not use as it was.  A run that
// cannot have the thread of its dialogue ends at once, touching nothing.
// (The readers themselves are tested in deltatfile_test.cpp and
// records_test.cpp.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "complete_run.h"
#include "deltat.h"
#include "nav_test_util.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using navtest::count;
using navtest::slurp;

const char kDeltaTFile[] = "dodarivi0r0.txt";
const char kUnusableTable[] =
    "??? dodarivi0r0.txt can be neither read nor created: Delta-T taken from "
    "the built-in model\n";
const char kNotWritten1[] = " !!! file dodarivi0r1.txt could not be written\n";
const char kNotWritten2[] = " !!! file dodarivi0r2.txt could not be written\n";
const char kNotRead1[] = " !!! file dodarivi0r1.txt could not be read\n";
const char kNotRead2[] = " !!! file dodarivi0r2.txt could not be read\n";
constexpr int kHangLimit = 60;

std::string wrong_sequence(int prev) {
  return "??? dodarivi0r0.txt:\n? wrong sequence:" + std::to_string(prev) +
         "\n";
}

// The Delta-T line of the entry screens.
std::string deltat_line(double dt) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " Delta-T : %.2f sec\n", dt);
  return buf;
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testsupport::make_temp_dir("ld_hostile"); }
  void TearDown() override {
    if (!bin_.empty()) testsupport::remove_tree(bin_);
    testsupport::remove_tree(dir_);
  }

  testsupport::ProgramRun run(const std::string& answers) {
    auto r = testsupport::run_program(LD_VELDRAMONT, dir_, answers, kHangLimit);
    EXPECT_TRUE(r.ended) << "the program did not end";
    EXPECT_EQ(r.status, 0) << "signal " << r.signal;
    EXPECT_EQ(count(r.out, "--- END ---"), 1);
    return r;
  }
  // Nothing but the given names is left in the working directory (no
  // temporary file of a failed write).
  void expect_only(std::initializer_list<const char*> names) {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir_)) {
      ++n;
      bool known = false;
      for (const char* name : names)
        known = known || e.path().filename() == name;
      EXPECT_TRUE(known) << "unexpected " << e.path().filename();
    }
    EXPECT_EQ(n, names.size());
  }
  // The program where the user nobody can start it: as root, a copy in a
  // directory that nobody can reach (the build tree need not be).
  std::string program_for_nobody() {
    if (geteuid() != 0) return LD_VELDRAMONT;
    if (bin_.empty()) {
      bin_ = testsupport::make_temp_dir("ld_hostile_bin");
      fs::permissions(bin_, fs::perms::owner_all | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
      fs::copy_file(LD_VELDRAMONT, bin_ / "veldramont");
    }
    return (bin_ / "veldramont").string();
  }
  // As root, the working directory and all in it become nobody's.
  void give_dir_to_nobody() {
    if (geteuid() != 0) return;
    const uid_t nobody = testsupport::kNobody;
    EXPECT_EQ(lchown(dir_.c_str(), nobody, nobody), 0);
    for (const auto& e : fs::directory_iterator(dir_))
      EXPECT_EQ(lchown(e.path().c_str(), nobody, nobody), 0);
  }

  fs::path dir_;
  fs::path bin_;
};

// Runs the program in a directory it cannot write.  As root, whom
// permissions do not bind, the program runs as the user nobody: the
// directory and a copy of the program are then made reachable for nobody.
// False when the child could not become nobody or start the program.
class ReadOnlyDir : public HostileFiles {
 protected:
  bool run_read_only(const std::string& answers, testsupport::ProgramRun* r) {
    const bool root = geteuid() == 0;
    const auto r_x = fs::perms::owner_read | fs::perms::owner_exec |
                     fs::perms::group_read | fs::perms::group_exec |
                     fs::perms::others_read | fs::perms::others_exec;
    const std::string exe = program_for_nobody();
    for (const auto& e : fs::directory_iterator(dir_))
      fs::permissions(e.path(), fs::perms::owner_read | fs::perms::group_read |
                                    fs::perms::others_read);
    fs::permissions(dir_, r_x);
    *r = testsupport::run_program(exe, dir_, answers, kHangLimit, root);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    if (r->ended && (r->status == 126 || r->status == 127)) return false;
    EXPECT_TRUE(r->ended) << "the program did not end";
    EXPECT_EQ(r->status, 0) << "signal " << r->signal;
    EXPECT_EQ(count(r->out, "--- END ---"), 1);
    return true;
  }
};

const char kNoNobody[] =
    "the program could not be started as the user nobody (uid 65534), whom "
    "permissions and limits bind, which the test needs when the tests run as "
    "root";

TEST_F(ReadOnlyDir, WithoutFiles) {
  // The Delta-T table can be neither read nor created: the built-in model
  // gives Delta-T, also after 2020; no record file can be written, and the
  // run goes on with the values in memory.
  testsupport::ProgramRun r;
  if (!run_read_only(ldtest::complete_run("2030"), &r))
    GTEST_SKIP() << kNoNobody;
  EXPECT_GE(count(r.out, kUnusableTable), 2);  // at start-up and for 2030
  EXPECT_NE(r.out.find(deltat_line(deltatime(2030))), std::string::npos);
  EXPECT_GE(count(r.out, kNotWritten1), 2);  // at LOOP_TOP, after obs. 1, ...
  EXPECT_GE(count(r.out, kNotWritten2), 2);
  EXPECT_NE(r.out.find(">> fixed: write dodarivi0r2.txt \n" +
                       std::string(kNotWritten2)),
            std::string::npos);
  expect_only({});
}

TEST_F(ReadOnlyDir, WithFilesOfAnEarlierRun) {
  // The files are read; every write fails, is reported and leaves them.
  run(ldtest::kCompleteRun);
  const std::string f0 = slurp(dir_ / kDeltaTFile);
  const std::string f1 = slurp(dir_ / "dodarivi0r1.txt");
  const std::string f2 = slurp(dir_ / "dodarivi0r2.txt");
  testsupport::ProgramRun r;
  if (!run_read_only(ldtest::kCompleteRun, &r)) GTEST_SKIP() << kNoNobody;
  EXPECT_EQ(count(r.out, kUnusableTable), 0);
  EXPECT_GE(count(r.out, kNotWritten1), 2);  // after obs. 1, at the save
  EXPECT_GE(count(r.out, kNotWritten2), 2);
  EXPECT_EQ(slurp(dir_ / kDeltaTFile), f0);
  EXPECT_EQ(slurp(dir_ / "dodarivi0r1.txt"), f1);
  EXPECT_EQ(slurp(dir_ / "dodarivi0r2.txt"), f2);
  expect_only({kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt"});
}

TEST_F(HostileFiles, RecordFilesThatAreDirectories) {
  // Such a file cannot be read, which is reported; writing it fails and is
  // reported, and the directories stay as they are.
  fs::create_directory(dir_ / "dodarivi0r1.txt");
  fs::create_directory(dir_ / "dodarivi0r2.txt");
  const auto r = run(ldtest::kCompleteRun);
  EXPECT_EQ(count(r.out, kNotRead1), 1);     // LOOP_TOP
  EXPECT_EQ(count(r.out, kNotRead2), 1);     // OBS2_FILE
  EXPECT_GE(count(r.out, kNotWritten1), 2);  // obs. 1, save
  EXPECT_GE(count(r.out, kNotWritten2), 2);  // obs. 2, save
  EXPECT_NE(r.out.find(" >skip> "), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "dodarivi0r1.txt"));
  EXPECT_TRUE(fs::is_directory(dir_ / "dodarivi0r2.txt"));
  expect_only({kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt"});
}

TEST_F(HostileFiles, RecordThatCannotBeReadIsKept) {
  // A first record that its user may write but not read, and a second one
  // that is a link to a medium not mounted now: each read says so, and no
  // save of a whole run writes the built-in record over them.
  const std::string record =
      "2020 1 2 \n1 2 3 \n10 5.000000 \n20 6.000000 \n2 33 \n"
      "24 14.000000 0 \n0.000000 1.830000 \n0.000000 0.000000 0.000000 \n"
      "16.100000 1026.400000 \n";
  navtest::put(dir_ / "dodarivi0r1.txt", record);
  ASSERT_EQ(chmod((dir_ / "dodarivi0r1.txt").c_str(), 0200), 0);
  fs::create_symlink("/media/records/dodarivi0r2.txt",
                     dir_ / "dodarivi0r2.txt");
  const std::string exe = program_for_nobody();
  give_dir_to_nobody();
  const auto r = testsupport::run_program(exe, dir_, ldtest::kCompleteRun,
                                          kHangLimit, geteuid() == 0);
  if (r.ended && (r.status == 126 || r.status == 127))
    GTEST_SKIP() << kNoNobody;
  EXPECT_TRUE(r.ended) << "the program did not end";
  EXPECT_EQ(r.status, 0) << "signal " << r.signal;
  EXPECT_EQ(count(r.out, "--- END ---"), 1);
  EXPECT_EQ(count(r.out, kNotRead1), 1);     // LOOP_TOP
  EXPECT_EQ(count(r.out, kNotRead2), 1);     // OBS2_FILE
  EXPECT_GE(count(r.out, kNotWritten1), 2);  // obs. 1, final save
  EXPECT_GE(count(r.out, kNotWritten2), 2);  // obs. 2, final save
  ASSERT_EQ(chmod((dir_ / "dodarivi0r1.txt").c_str(), 0600), 0);
  EXPECT_EQ(slurp(dir_ / "dodarivi0r1.txt"), record);
  EXPECT_TRUE(fs::is_symlink(dir_ / "dodarivi0r2.txt"));
  EXPECT_EQ(fs::read_symlink(dir_ / "dodarivi0r2.txt"),
            "/media/records/dodarivi0r2.txt");
  expect_only({kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt"});
}

// The standard output of a program run, through a pipe that a thread of the
// test reads: a limit on the size of files does not bind a pipe.
class PipedOutput {
 public:
  PipedOutput() {
    if (pipe2(fds_, O_CLOEXEC) != 0) std::abort();
    reader_ = std::thread([this] {
      char buf[4096];
      ssize_t n;
      while ((n = read(fds_[0], buf, sizeof buf)) > 0)
        text_.append(buf, static_cast<size_t>(n));
    });
  }
  // In the child: its standard output into the pipe.
  bool attach() const { return dup2(fds_[1], 1) == 1; }
  // Once the program has ended: all it wrote.
  std::string finish() {
    close(fds_[1]);
    reader_.join();
    close(fds_[0]);
    return text_;
  }

 private:
  int fds_[2] = {-1, -1};
  std::thread reader_;
  std::string text_;
};

TEST_F(HostileFiles, FileSizeLimit) {
  // Under a limit of 0 bytes on the size of files every save that writes
  // fails, is reported and leaves the files of an earlier run and no
  // temporary file; the run is not ended by the limit's signal.
  run(ldtest::kCompleteRun);
  const std::string f0 = slurp(dir_ / kDeltaTFile);
  const std::string f1 = slurp(dir_ / "dodarivi0r1.txt");
  const std::string f2 = slurp(dir_ / "dodarivi0r2.txt");
  PipedOutput out;
  const auto r = testsupport::run_program(
      LD_VELDRAMONT, dir_, ldtest::kCompleteRun, kHangLimit, false, 0, [&] {
        const rlimit none{0, 0};
        return out.attach() && setrlimit(RLIMIT_FSIZE, &none) == 0;
      });
  const std::string text = out.finish();
  EXPECT_TRUE(r.ended) << "the program did not end";
  EXPECT_EQ(r.status, 0) << "signal " << r.signal;
  EXPECT_EQ(count(text, "--- END ---"), 1);
  EXPECT_GE(count(text, kNotWritten1), 2);  // after obs. 1, at the save
  EXPECT_GE(count(text, kNotWritten2), 2);
  EXPECT_EQ(slurp(dir_ / kDeltaTFile), f0);
  EXPECT_EQ(slurp(dir_ / "dodarivi0r1.txt"), f1);
  EXPECT_EQ(slurp(dir_ / "dodarivi0r2.txt"), f2);
  expect_only({kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt"});
}

TEST_F(HostileFiles, NoThreadForTheDialogue) {
  // No thread can be created (no process is left to the user) and the stack
  // limit of 256 KB is too small for the Moon's series: the run ends at once
  // with a message on standard error and a status of failure, before it
  // touches any file, instead of running the dialogue on the main thread.
  const std::string exe = program_for_nobody();
  give_dir_to_nobody();
  const auto r = testsupport::run_program(
      exe, dir_, ldtest::kCompleteRun, kHangLimit, geteuid() == 0, 256, [] {
        const rlimit none{0, 0};
        return setrlimit(RLIMIT_NPROC, &none) == 0;
      });
  if (r.ended && (r.status == 126 || r.status == 127))
    GTEST_SKIP() << kNoNobody;
  EXPECT_TRUE(r.ended) << "the program did not end";
  EXPECT_EQ(r.signal, 0);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("the dialogue cannot start"), std::string::npos)
      << r.err;
  EXPECT_TRUE(r.out.empty()) << "it printed " << r.out.size() << " bytes";
  expect_only({});
}

TEST_F(HostileFiles, EntriesUnderTheOldTemporaryNames) {
  // A pipe and a link to a file outside the directory under the names that
  // the saves of earlier versions wrote to: the run neither waits on the
  // pipe nor writes through the link, and its records are those of a run in
  // a clean directory.
  const testsupport::TempDir clean_dir("ld_hostile_clean");
  const fs::path clean = clean_dir.path();
  testsupport::run_program(LD_VELDRAMONT, clean, ldtest::kCompleteRun,
                           kHangLimit);
  const fs::path outside = dir_.string() + "_outside.txt";
  testsupport::put(outside, "elsewhere\n");
  ASSERT_EQ(mkfifo((dir_ / "dodarivi0r1.txt.tmp").c_str(), 0600), 0);
  fs::create_symlink(outside, dir_ / "dodarivi0r2.txt.tmp");
  const auto r = run(ldtest::kCompleteRun);
  EXPECT_EQ(count(r.out, "could not be written"), 0);
  EXPECT_EQ(slurp(outside), "elsewhere\n");
  for (const char* name : {kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt"})
    EXPECT_EQ(slurp(dir_ / name), slurp(clean / name)) << name;
  EXPECT_TRUE(fs::is_fifo(dir_ / "dodarivi0r1.txt.tmp"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dodarivi0r2.txt.tmp"));
  expect_only({kDeltaTFile, "dodarivi0r1.txt", "dodarivi0r2.txt",
               "dodarivi0r1.txt.tmp", "dodarivi0r2.txt.tmp"});
  fs::remove(outside);
}

// The value that a parabola through three nodes gives at x.
double parabola(double x0, double y0, double x1, double y1, double x2,
                double y2, double x) {
  return y0 * (x - x1) * (x - x2) / ((x0 - x1) * (x0 - x2)) +
         y1 * (x - x0) * (x - x2) / ((x1 - x0) * (x1 - x2)) +
         y2 * (x - x0) * (x - x1) / ((x2 - x0) * (x2 - x1));
}

std::string random_bytes() {
  std::mt19937 gen(4242);
  std::string s(8192, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xff);
  s[0] = '\xff';  // no number can be read from the first row
  return s;
}

std::string rows_10000() {
  std::string s;
  for (int i = 0; i < 10000; ++i)
    s += std::to_string(2020 + i) + " " + std::to_string(70 + 0.5 * i) + "\n";
  return s;
}

struct TableCase {
  const char* name;
  std::string content;
  const char* date;    // the answer to the date prompt
  int order_messages;  // times the out-of-order message is shown
  int message_year;    // the year it names
  double deltat;       // the Delta-T of the sights
};

TEST_F(HostileFiles, DeltaTTables) {
  const TableCase cases[] = {
      // A first row that cannot be read gives every node after 2020 the
      // year 0: out of order, so 0 for every year, and a message each call.
      {"random bytes", random_bytes(), "2030", 2, 2020, 0.0},
      // Only the first 40 rows count: 2030 is the row of its own, 2100 lies
      // beyond the rows read.
      {"10,000 rows", rows_10000(), "2030", 0, 0, 75.0},
      {"10,000 rows, beyond row 40", rows_10000(), "2100", 0, 0, 0.0},
      // 2025 after 2030: every call that reaches it reports 2030.
      {"rows out of order", "2020 69.4\n2030 70\n2025 71\n2040 72\n", "2031", 2,
       2030, 0.0},
      // Reading stops after the first row of 3000 or later; that row is the
      // last node.
      {"a year beyond 3000", "2020 69.4\n3500 100\n", "2030", 0, 0,
       parabola(2010, 66.1, 2020, 69.36, 3500, 100, 2030)},
      // A first row of 3000 or later ends the reading at once: no interval,
      // 0 for every year.
      {"only years beyond 3000", "3500 100\n4000 200\n", "2030", 0, 0, 0.0},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir_))
      fs::remove_all(e.path(), ec);
    navtest::put(dir_ / kDeltaTFile, c.content);
    const auto r = run(ldtest::complete_run(c.date, c.order_messages > 0));
    EXPECT_EQ(count(r.out, "??? dodarivi0r0.txt"), c.order_messages);
    if (c.order_messages > 0) {
      EXPECT_EQ(count(r.out, wrong_sequence(c.message_year)), c.order_messages);
    }
    EXPECT_EQ(count(r.out, kUnusableTable), 0);
    EXPECT_NE(r.out.find(deltat_line(c.deltat)), std::string::npos)
        << deltat_line(c.deltat);
    // The sights were computed with it (they do not fit the date, so where
    // the run goes from there is of no concern here), and the table is left
    // as it was.
    EXPECT_NE(r.out.find(" ### ENTER: 1=repeat 9=stop, or hit RETURN "),
              std::string::npos);
    EXPECT_EQ(slurp(dir_ / kDeltaTFile), c.content);
  }
}

}  // namespace

namespace {

// The Moon's series needs about 1.15 MB of automatic storage; the program
// reserves the stack of its dialogue itself, so a complete run also ends
// normally when it is started with a stack limit of 512 KB.
TEST(SmallStack, CompleteRunUnderAStackLimitOf512KB) {
  const fs::path dir = testsupport::make_temp_dir("ld_small_stack");
  const auto r = testsupport::run_program(
      LD_VELDRAMONT, dir, ldtest::kCompleteRun, kHangLimit, false, 512);
  testsupport::remove_tree(dir);
  EXPECT_TRUE(r.ended) << "the program did not end";
  EXPECT_EQ(r.status, 0) << "signal " << r.signal;
  EXPECT_EQ(count(r.out, "--- END ---"), 1);
  EXPECT_GE(count(r.out, "LUNAR RESULT"), 31);
}

}  // namespace
