// The observation record files: the exact lines of every write, the reads as
// a stream of numbers (short, damaged and hostile files), and writes that
// never leave a file half written.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "as_nobody.h"
#include "complete_run.h"
#include "dialogue.h"
#include "nav_test_util.h"
#include "records.h"
#include "textio.h"

namespace {

namespace fs = std::filesystem;
using navtest::put;
using navtest::slurp;

// The first file of a fresh directory: observation 1's built-in record and
// the initial shared values.
const char kFresh1[] =
    "2017 6 17 \n"
    "3 57 14 \n"
    "44 46.990000 \n"
    "-17 -11.600000 \n"
    "2 33 \n"
    "24 14.000000 0 \n"
    "0.000000 1.830000 \n"
    "0.000000 180.000000 3.141593 \n"
    "16.100000 1026.400000 \n";

// The second file from observation 2's built-in record: lines 8 and 9
// without a blank before the line end.
const char kFresh2[] =
    "2017 6 17 \n"
    "3 57 14 \n"
    "44 46.990000 \n"
    "-17 -11.600000 \n"
    "4 33 \n"
    "7 47.800000 0 \n"
    "0.000000 1.830000 \n"
    "0.000000 180.000000 3.141593\n"
    "0.000000 0.000000\n";

class Records : public navtest::InTempDir {};

TEST_F(Records, BuiltInValuesAsWrittenIntoMissingFiles) {
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  write_W2(rs);
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  EXPECT_EQ(slurp(kRecordFile2), kFresh2);
  EXPECT_EQ(con.output(), "");
  EXPECT_FALSE(navtest::fs::exists("dodarivi0r1.txt.tmp"));
}

TEST_F(Records, ResultWriteTakesWorkAndUpdatesTheRecord) {
  RunState rs;
  ConsoleCapture con;
  rs.work.hs_deg = 30;
  rs.work.hs_min = -0.5;
  rs.calc.intercept = -3.25;
  rs.calc.Az = 271.5;
  rs.fix.course = 45;
  rs.fix.velocity = -3;
  rs.flow.obsno = 1;
  write_W3(rs);
  EXPECT_EQ(slurp(kRecordFile1),
            "2017 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n2 33 \n"
            "30 -0.500000 0 \n0.000000 1.830000 \n"
            "-3.250000 271.500000 3.141593 \n16.100000 1026.400000 \n");
  EXPECT_EQ(rs.obs1.hs_deg, 30);
  rs.flow.obsno = 2;
  rs.work = rs.obs2;
  rs.work.bodycode = 8;
  rs.work.starno = 12;
  write_W3(rs);
  EXPECT_EQ(slurp(kRecordFile2),
            "2017 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n8 12 \n"
            "7 47.800000 0 \n0.000000 1.830000 \n"
            "-3.250000 271.500000 3.141593 \n45.000000 -3.000000 \n");
  EXPECT_EQ(rs.obs2.starno, 12);
}

TEST_F(Records, FinalSave) {
  RunState rs;
  ConsoleCapture con;
  rs.calc.intercept = 2.5;
  rs.sight1.Az = 123.25;
  rs.sight2.Az = 222.5;
  rs.work = rs.obs2;
  rs.work.year = 2018;
  rs.work.starno = 41;
  rs.obs1.hour = 4;
  write_W4(rs, 1);
  write_W4(rs, 2);
  EXPECT_EQ(slurp(kRecordFile1),
            "2018 6 17 \n4 57 14 \n44 46.990000 \n-17 -11.600000 \n2 41 \n"
            "24 14.000000 0 \n0.000000 1.830000 \n"
            "0.000000 123.250000 0.000000 \n16.100000 1026.400000 \n"
            "48.116667 1 \n");
  EXPECT_EQ(slurp(kRecordFile2),
            "2018 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n4 41 \n"
            "7 47.800000 0 \n0.000000 1.830000 \n"
            "0.000000 222.500000 0.000000 \n0.000000 0.000000 \n");
  EXPECT_EQ(rs.calc.intercept, 0.0);
  EXPECT_EQ(rs.shared.spare, 0.0);
}

// The values of lines 7 to 10 of the first file, in the order of the file.
auto first_file_lines_7_to_10(RunState& s) {
  return std::tie(s.shared.Ic, s.shared.eye, s.calc.intercept, s.calc.Az,
                  s.shared.spare, s.shared.temp, s.shared.press, s.ld.LD_limb,
                  s.ld.side);
}

// W1 and W2 write their own record, not the one in hand, with the shared
// values as they stand and the last result's azimuth (not one kept for a
// sight).
TEST_F(Records, FileWritesTakeTheirRecordAndTheSharedValues) {
  RunState rs;
  first_file_lines_7_to_10(rs) =
      std::tuple(-1.5, 3, 0.25, 95.5, 2, -5, 999.5, 0, 0);
  std::tie(rs.fix.course, rs.fix.velocity) = std::tuple(270, -12.5);
  rs.obs1.day = 18;
  rs.obs2.starno = 7;
  // Neither the record in hand nor the azimuths kept for the sights.
  rs.work.bodycode = 5;
  rs.sight1.Az = 11;
  rs.sight2.Az = 22;
  ConsoleCapture con;
  write_W1(rs);
  write_W2(rs);
  EXPECT_EQ(slurp(kRecordFile1),
            "2017 6 18 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n2 33 \n"
            "24 14.000000 0 \n-1.500000 3.000000 \n"
            "0.250000 95.500000 2.000000 \n-5.000000 999.500000 \n");
  EXPECT_EQ(slurp(kRecordFile2),
            "2017 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n4 7 \n"
            "7 47.800000 0 \n-1.500000 3.000000 \n"
            "0.250000 95.500000 2.000000\n270.000000 -12.500000\n");
}

TEST_F(Records, MissingFileIsNotRead) {
  RunState rs;
  rs.work.year = 1999;
  EXPECT_FALSE(read_R1(rs));
  EXPECT_FALSE(read_R2(rs));
  EXPECT_EQ(rs.work.year, 1999);
  EXPECT_EQ(rs.obs1.year, 2017);
}

// Every value that the record files carry, as it stands in memory, by name
// (the integers are exact as doubles).
std::vector<std::pair<std::string, double>> record_values(const RunState& s) {
  std::vector<std::pair<std::string, double>> v;
  const std::pair<std::string, const obsrec*> records[] = {
      {"obs1.", &s.obs1}, {"obs2.", &s.obs2}, {"work.", &s.work}};
  for (const auto& [n, r] : records)
    v.insert(v.end(), {{n + "year", r->year},
                       {n + "month", r->month},
                       {n + "day", r->day},
                       {n + "hour", r->hour},
                       {n + "minute", r->minute},
                       {n + "second", r->second},
                       {n + "lat_deg", r->lat_deg},
                       {n + "lat_min", r->lat_min},
                       {n + "lon_deg", r->lon_deg},
                       {n + "lon_min", r->lon_min},
                       {n + "bodycode", r->bodycode},
                       {n + "starno", r->starno},
                       {n + "hs_deg", r->hs_deg},
                       {n + "hs_min", r->hs_min}});
  v.insert(v.end(), {{"Ic", s.shared.Ic},
                     {"eye", s.shared.eye},
                     {"intercept", s.calc.intercept},
                     {"Az", s.calc.Az},
                     {"spare", s.shared.spare},
                     {"temp", s.shared.temp},
                     {"press", s.shared.press},
                     {"course", s.fix.course},
                     {"velocity", s.fix.velocity},
                     {"LD_limb", s.ld.LD_limb},
                     {"side", s.ld.side}});
  return v;
}

// A record file read by R1 (file 1) or R2 (file 2): its content, the values
// in memory before the read where they are not the initial ones, and what
// the read makes of the record of the file's observation and of the shared
// values.  Every other value must stay as it was.
struct ReadCase {
  const char* name;
  int file;
  std::string content;
  void (*before)(RunState&);
  void (*read)(obsrec& record, RunState& state);
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const ReadCase kReadCases[] = {
    {"FullFirstFileWithTenthLine", 1,
     "2020 1 2\n3 4 5\n-10 -20.5\n100 30.25\n3 7\n40 12.5 0\n"
     "1.5 2.5\n-4 90 1\n25 990\n50.5 -1\n",
     nullptr,
     [](obsrec& r, RunState& s) {
       r = {2020, 1, 2, 3, 4, 5, -10, -20.5, 100, 30.25, 3, 7, 40, 12.5};
       first_file_lines_7_to_10(s) =
           std::tuple(1.5, 2.5, -4, 90, 1, 25, 990, 50.5, -1);
     }},
    // Nine lines: the lunar distance and side in memory stay.
    {"NineLinesKeepTheLunarDistance", 1, kFresh1,
     [](RunState& s) {
       s.ld.LD_limb = 33;
       s.ld.side = -1;
       s.shared.temp = 0;
     },
     [](obsrec&, RunState& s) {
       s.shared.temp = 16.1;
       s.shared.spare = 3.141593;
     }},
    // The second file's line 7 is read and dropped; its line 9 is the run
    // between the sights.  The first record is untouched.
    {"SecondFileSetsTheRunAndIgnoresLine7", 2,
     "2017 6 17\n3 57 14\n44 46.99\n-17 -11.6\n8 19\n30 1.5 0\n"
     "9.5 33\n1 2 3\n45 -3\n",
     nullptr,
     [](obsrec& r, RunState& s) {
       r.bodycode = 8;
       r.starno = 19;
       r.hs_deg = 30;
       r.hs_min = 1.5;
       s.calc.intercept = 1;
       s.calc.Az = 2;
       s.shared.spare = 3;
       s.fix.course = 45;
       s.fix.velocity = -3;
     }},
    // Cut after line 5: the sextant altitude and every shared value stay.
    {"ShortFileKeepsWhatItDoesNotReach", 1,
     "2019 2 3 \n1 2 3 \n10 5 \n20 6 \n3 9 \n",
     [](RunState& s) { s.shared.Ic = 1.25; },
     [](obsrec& r, RunState&) {
       r = {2019, 2, 3, 1, 2, 3, 10, 5, 20, 6, 3, 9, r.hs_deg, r.hs_min};
     }},
    {"EmptyFileChangesNothing", 1, "", nullptr, [](obsrec&, RunState&) {}},
    // "44.5" in the latitude degrees: 44, then .5 as the minutes, and so on,
    // until ".6" in the altitude degrees, which cannot be an integer: the
    // read ends there.
    {"FractionInAnIntegerPlaceIsTheNextValue", 1,
     "2017 6 17\n3 57 14\n44.5 46.99\n-17 -11.6\n", nullptr,
     [](obsrec& r, RunState&) {
       r = {2017, 6,  17,   3,   57,  14,       44,
            0.5,  46, 0.99, -17, -11, r.hs_deg, r.hs_min};
     }},
    {"TextEndsTheRead", 1, "2018 x 17\n3 57 14\n", nullptr,
     [](obsrec& r, RunState&) { r.year = 2018; }},
    // Numbers as the C library's fscanf reads them: an integer beyond int is
    // converted as a long (saturated at its limits) and stored as its low 32
    // bits, so 99999999999 is 1215752191, the largest long -1 and the
    // smallest 0; reals beyond the range are infinite, and "nan" is no
    // integer: the read ends at the star number.
    {"ExtremeNumbers", 1,
     "99999999999 -99999999999 " + std::string(1500, '0') + "5\n" +
         "+2147483647 " + std::string(1500, '9') + " -" +
         std::string(1500, '9') + "\n" +
         "1 1e999 2 -1e999\n3 nan\n4 -0 \n-0 inf\n",
     nullptr,
     [](obsrec& r, RunState&) {
       r = {1215752191, -1215752191, 5, INT_MAX,  -1,       0,       1, kInf,
            2,          -kInf,       3, r.starno, r.hs_deg, r.hs_min};
     }},
    // NaN, infinities, a negative zero, a hexadecimal real (0x10 is 16) and
    // one that underflows to 0.
    {"NanAndNegativeZeroInRealPlaces", 1,
     "2017 6 17 3 57 14 44 nan -17 -0 2 33 24 -nan 0 inf -inf 1 2 3 "
     "0x10 1e-400 48 -0\n",
     nullptr,
     [](obsrec& r, RunState& s) {
       r = {2017, 6, 17, 3, 57, 14, 44, kNaN, -17, -0.0, 2, 33, 24, kNaN};
       first_file_lines_7_to_10(s) =
           std::tuple(kInf, -kInf, 1, 2, 3, 16, 0, 48, 0);
     }},
    // A real of 3001 digits, 1.111...1, is rounded once: to the double
    // nearest 10/9.
    {"AVeryLongRealIsReadWhole", 1,
     "2017 6 17 3 57 14 44 1." + std::string(3000, '1') + " -17 -11.5\n",
     nullptr,
     [](obsrec& r, RunState&) {
       r.lat_min = 10.0 / 9.0;
       r.lon_min = -11.5;
     }},
};

class RecordReads : public navtest::InTempDir,
                    public ::testing::WithParamInterface<ReadCase> {};

TEST_P(RecordReads, SetWhatTheFileReachesAndKeepTheRest) {
  const ReadCase& c = GetParam();
  put(c.file == 1 ? kRecordFile1 : kRecordFile2, c.content);
  RunState rs;
  if (c.before != nullptr) c.before(rs);
  // The dialogue fills work from the file's record just before the read.
  rs.work = c.file == 1 ? rs.obs1 : rs.obs2;
  RunState want = rs;
  obsrec& record = c.file == 1 ? want.obs1 : want.obs2;
  c.read(record, want);
  want.work = record;

  ASSERT_TRUE(c.file == 1 ? read_R1(rs) : read_R2(rs));
  const auto got = record_values(rs);
  const auto wanted = record_values(want);
  for (size_t i = 0; i < got.size(); ++i) {
    const double g = got[i].second, w = wanted[i].second;
    // NaN is NaN whatever its sign; the sign of a zero counts.
    const bool same = std::isnan(w)
                          ? std::isnan(g)
                          : g == w && std::signbit(g) == std::signbit(w);
    EXPECT_TRUE(same) << got[i].first << " is " << g << ", expected " << w;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, RecordReads, ::testing::ValuesIn(kReadCases),
                         [](const ::testing::TestParamInfo<ReadCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(Records, NulBytesAndBinaryJunk) {
  put(kRecordFile1, std::string("2018\0 7 1\n", 10));
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.year, 2018);
  EXPECT_EQ(rs.obs1.month, 6);  // the NUL byte is no number

  // Random bytes, and random mixes of number-like pieces: every read ends
  // cleanly (the sanitizer build checks the memory and the arithmetic).
  std::mt19937 gen(12345);
  const char* pieces[] = {"1",     "-",          "+",  ".",
                          "e",     "9999999999", "0x", "inf",
                          "nan",   " ",          "\n", "\t",
                          "(",     ")",          "\0", "00000000000000000000",
                          "1e309", "-0",         "p",  "E-"};
  for (int round = 0; round < 400; ++round) {
    std::string junk;
    const int len = static_cast<int>(gen() % 3000);
    if (round % 2 == 0) {
      for (int i = 0; i < len; ++i) junk.push_back(static_cast<char>(gen()));
    } else {
      while (static_cast<int>(junk.size()) < len) {
        const char* p = pieces[gen() % 20];
        junk.append(p, *p ? std::char_traits<char>::length(p) : 1);
      }
    }
    put(kRecordFile1, junk);
    put(kRecordFile2, junk);
    RunState r;
    ASSERT_TRUE(read_R1(r));
    ASSERT_TRUE(read_R2(r));
  }
}

// The opens of entries of the working directory, by name, that inotify saw
// since the watch was set.
std::string opened_names(int watch_fd) {
  std::string names;
  alignas(inotify_event) char buf[4096];
  for (;;) {
    const ssize_t n = read(watch_fd, buf, sizeof buf);
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
      if (e->len > 0) names += std::string(e->name) + " ";
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  return names;
}

TEST_F(Records, DirectoryOrPipeIsReportedNeitherOpenedNorReplaced) {
  // A directory and a pipe stand under the names: each read says so in one
  // line and changes nothing, and neither entry is opened (opening the pipe
  // would release a program waiting to write to it).
  ASSERT_EQ(mkdir(kRecordFile1, 0700), 0);
  ASSERT_EQ(mkfifo(kRecordFile2, 0600), 0);
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, ".", IN_OPEN), 0);
  RunState rs;
  rs.shared.eye = 2.5;
  ConsoleCapture con;
  EXPECT_TRUE(read_R1(rs));  // there is something under the name
  EXPECT_TRUE(read_R2(rs));
  EXPECT_EQ(opened_names(watch), "");
  close(watch);
  EXPECT_EQ(con.output(),
            " !!! file dodarivi0r1.txt could not be read\n"
            " !!! file dodarivi0r2.txt could not be read\n");
  EXPECT_EQ(rs.shared.eye, 2.5);
  EXPECT_EQ(rs.obs1.year, 2017);
  EXPECT_TRUE(fs::is_directory(kRecordFile1));
  EXPECT_TRUE(fs::is_fifo(kRecordFile2));
  // The run's saves leave both as they are, each saying so.
  write_W1(rs);
  write_W2(rs);
  EXPECT_TRUE(fs::is_directory(kRecordFile1));
  EXPECT_TRUE(fs::is_fifo(kRecordFile2));
  EXPECT_EQ(con.output(),
            " !!! file dodarivi0r1.txt could not be read\n"
            " !!! file dodarivi0r2.txt could not be read\n"
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r2.txt could not be written\n");
}

// Every name the save tries for its temporary file is taken (by a planted
// directory): the save gives up after a bounded number of names.
bool always_taken(const char*, int, char* out, size_t size) {
  std::snprintf(out, size, "dodarivi0r1.txt.taken");
  return true;
}

TEST_F(Records, FailedWriteLeavesTheOldFile) {
  put(kRecordFile1, "old contents\n");
  ASSERT_EQ(mkdir("dodarivi0r1.txt.taken", 0700), 0);
  textio_test::set_temp_name_hook(always_taken);
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  write_W4(rs, 1);
  rs.flow.obsno = 1;
  rs.work.year = 1990;
  write_W3(rs);
  textio_test::set_temp_name_hook(nullptr);
  EXPECT_EQ(slurp(kRecordFile1), "old contents\n");
  EXPECT_EQ(con.output(),
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r1.txt could not be written\n");
  EXPECT_EQ(rs.obs1.year, 1990);  // the run goes on with the values in memory
}

// A pipe, a link to a file outside the directory and a directory planted
// under the names the temporary file tries first (the fixed name of earlier
// versions among them), and a link under the record's own name: the save
// neither opens, follows nor waits on any of them, and the record becomes a
// regular file of its own.
bool planted_names(const char* name, int attempt, char* out, size_t size) {
  if (attempt >= 4) return false;
  if (attempt == 0)
    std::snprintf(out, size, "%s.tmp", name);
  else
    std::snprintf(out, size, "%s.planted%d", name, attempt);
  return true;
}

TEST_F(Records, SavePassesPlantedEntries) {
  const fs::path outside = dir_.string() + "_outside";
  put(outside, "outside\n");
  ASSERT_EQ(mkfifo("dodarivi0r1.txt.tmp", 0600), 0);
  fs::create_symlink(outside, "dodarivi0r1.txt.planted1");
  fs::create_directory("dodarivi0r1.txt.planted2");
  ASSERT_EQ(mkfifo("dodarivi0r1.txt.planted3", 0600), 0);
  fs::create_symlink(outside, kRecordFile2);
  textio_test::set_temp_name_hook(planted_names);
  alarm(60);  // a save that waits on a pipe ends the test here
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  write_W2(rs);
  alarm(0);
  textio_test::set_temp_name_hook(nullptr);
  EXPECT_EQ(con.output(), "");
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  EXPECT_EQ(slurp(kRecordFile2), kFresh2);
  EXPECT_FALSE(fs::is_symlink(kRecordFile2));
  EXPECT_EQ(slurp(outside), "outside\n");
  EXPECT_TRUE(fs::is_fifo("dodarivi0r1.txt.tmp"));
  EXPECT_TRUE(fs::is_symlink("dodarivi0r1.txt.planted1"));
  EXPECT_TRUE(fs::is_directory("dodarivi0r1.txt.planted2"));
  EXPECT_TRUE(fs::is_fifo("dodarivi0r1.txt.planted3"));
  // No temporary file is left: the four planted entries and the two records.
  EXPECT_EQ(
      std::distance(fs::directory_iterator("."), fs::directory_iterator()), 6);
  fs::remove(outside);
}

// A file that already holds what a save would write is left as it is (same
// inode, not rewritten); any change replaces it.
TEST_F(Records, UnchangedRecordIsNotRewritten) {
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  struct stat before {};
  ASSERT_EQ(stat(kRecordFile1, &before), 0);
  write_W1(rs);
  struct stat after {};
  ASSERT_EQ(stat(kRecordFile1, &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  rs.obs1.day = 18;
  write_W1(rs);
  ASSERT_EQ(stat(kRecordFile1, &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(slurp(kRecordFile1).substr(0, 11), "2017 6 18 \n");
  EXPECT_EQ(con.output(), "");
}

// The permission bits of the file a save replaces are kept; a new file gets
// those of any newly created file.
TEST_F(Records, SaveKeepsThePermissionBits) {
  const mode_t mask = umask(027);
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  struct stat st {};
  ASSERT_EQ(stat(kRecordFile1, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  ASSERT_EQ(chmod(kRecordFile1, 0604), 0);
  rs.obs1.day = 18;
  write_W1(rs);
  ASSERT_EQ(stat(kRecordFile1, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0604u);
  umask(mask);
}

// Saves of one record file by several programs at overlapping moments: each
// save pauses, once its temporary file is complete, until the test lets it
// go on, so every order of the renames is taken on purpose.  Whatever the
// order, the file is always one complete record, the one saved last.
int g_ready_fd = -1;  // the paused save says so here
int g_go_fd = -1;     // and waits for a byte here

void pause_until_released(const char*) {
  const char c = 'r';
  if (write(g_ready_fd, &c, 1) != 1) _exit(3);
  char go = 0;
  if (read(g_go_fd, &go, 1) != 1) _exit(4);
}

struct PausedSave {
  pid_t pid = -1;
  int go = -1;  // write a byte to let it rename
};

// Starts a child that saves with the given write, pausing before its rename;
// returns once it has paused.  The child exits 0 when it printed nothing.
template <typename Save>
PausedSave start_paused_save(Save save) {
  int ready[2], go[2];
  if (pipe(ready) != 0 || pipe(go) != 0) std::abort();
  std::fflush(nullptr);
  PausedSave p;
  p.pid = fork();
  if (p.pid == 0) {
    close(ready[0]);
    close(go[1]);
    g_ready_fd = ready[1];
    g_go_fd = go[0];
    textio_test::set_pause_hook(pause_until_released);
    ConsoleCapture con;
    save();
    _exit(con.output().empty() ? 0 : 1);
  }
  close(ready[1]);
  close(go[0]);
  char c = 0;
  EXPECT_EQ(read(ready[0], &c, 1), 1) << "the save did not pause";
  close(ready[0]);
  p.go = go[1];
  return p;
}

void release(PausedSave& p) {
  const char c = 'g';
  EXPECT_EQ(write(p.go, &c, 1), 1);
  close(p.go);
  int st = 0;
  ASSERT_EQ(waitpid(p.pid, &st, 0), p.pid);
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << "status " << st;
}

TEST_F(Records, OverlappingSavesLeaveOneCompleteRecord) {
  // Three saves of the first file, each a different record: the final save
  // (ten lines), a result write and a file created from the built-in values.
  RunState a;
  a.work = a.obs2;
  a.work.year = 2021;
  a.sight1.Az = 99.5;
  RunState b;
  b.flow.obsno = 1;
  b.work.hs_deg = 55;
  RunState c;
  const auto save_a = [&] { write_W4(a, 1); };
  const auto save_b = [&] { write_W3(b); };
  const auto save_c = [&] { write_W1(c); };

  // What each one writes on its own.
  std::string want[3];
  {
    ConsoleCapture con;
    RunState a2 = a, b2 = b, c2 = c;
    write_W4(a2, 1);
    want[0] = slurp(kRecordFile1);
    write_W3(b2);
    want[1] = slurp(kRecordFile1);
    write_W1(c2);
    want[2] = slurp(kRecordFile1);
    ASSERT_EQ(fs::remove(kRecordFile1), true);
  }
  ASSERT_EQ(std::count(want[0].begin(), want[0].end(), '\n'), 10);

  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                            {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& order : orders) {
    SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
    PausedSave p[3] = {start_paused_save(save_a), start_paused_save(save_b),
                       start_paused_save(save_c)};
    // All three temporary files are complete; the record is not there yet.
    EXPECT_FALSE(fs::exists(kRecordFile1));
    for (int k = 0; k < 3; ++k) {
      release(p[order[k]]);
      EXPECT_EQ(slurp(kRecordFile1), want[order[k]]);
    }
    EXPECT_EQ(
        std::distance(fs::directory_iterator("."), fs::directory_iterator()),
        1);
    fs::remove(kRecordFile1);
  }

  // One save pauses while another one goes through from start to end.
  PausedSave slow = start_paused_save(save_a);
  {
    ConsoleCapture con;
    RunState b2 = b;
    write_W3(b2);
    EXPECT_EQ(con.output(), "");
  }
  EXPECT_EQ(slurp(kRecordFile1), want[1]);
  release(slow);
  EXPECT_EQ(slurp(kRecordFile1), want[0]);
}

TEST_F(Records, WriteProtectedFileIsLeftAlone) {
  put(kRecordFile1, "kept\n");
  put(kRecordFile2, kFresh2);
  const bool ran = ldtest::run_as_nobody(dir_, [&] {
    chmod(kRecordFile1, 0444);
    chmod(kRecordFile2, 0444);
    RunState rs;
    ConsoleCapture con;
    write_W1(rs);
    write_W2(rs);  // the same content: reported all the same
    EXPECT_EQ(slurp(kRecordFile1), "kept\n");
    EXPECT_EQ(slurp(kRecordFile2), kFresh2);
    EXPECT_EQ(con.output(),
              " !!! file dodarivi0r1.txt could not be written\n"
              " !!! file dodarivi0r2.txt could not be written\n");
  });
  if (!ran) GTEST_SKIP() << ldtest::kNoNobody;
}

TEST_F(Records, UnwritableDirectory) {
  put(kRecordFile2, kFresh2);
  const bool ran = ldtest::run_as_nobody(dir_, [&] {
    chmod(".", 0500);
    RunState rs;
    ConsoleCapture con;
    EXPECT_FALSE(read_R1(rs));
    write_W1(rs);
    EXPECT_TRUE(read_R2(rs));
    write_W2(rs);  // the same content as the file holds
    rs.flow.obsno = 2;
    write_W3(rs);
    chmod(".", 0700);
    EXPECT_EQ(con.output(),
              " !!! file dodarivi0r1.txt could not be written\n"
              " !!! file dodarivi0r2.txt could not be written\n"
              " !!! file dodarivi0r2.txt could not be written\n");
    EXPECT_EQ(slurp(kRecordFile2), kFresh2);
  });
  if (!ran) GTEST_SKIP() << ldtest::kNoNobody;
}

// The line of each save that a record which could not be read skips.
const char kNotWritten1[] = " !!! file dodarivi0r1.txt could not be written\n";
const char kNotWritten2[] = " !!! file dodarivi0r2.txt could not be written\n";
const char kNotRead1[] = " !!! file dodarivi0r1.txt could not be read\n";
const char kNotRead2[] = " !!! file dodarivi0r2.txt could not be read\n";

// Every save of the run, in the order a run makes them: W3 after each
// observation, the final save W4 of both files, and W1 and W2.
void every_save(RunState& rs) {
  rs.flow.obsno = 1;
  write_W3(rs);
  rs.flow.obsno = 2;
  write_W3(rs);
  write_W4(rs, 1);
  write_W4(rs, 2);
  write_W1(rs);
  write_W2(rs);
}

// A record that stands under its name but cannot be read (no read
// permission, a link that leads nowhere) is reported and left alone; it is
// not taken for a missing one, whose values the built-in ones would replace.
// No save of the run writes over it, each saying so, until a read of it
// succeeds: the run reads the first file again at its restart.
TEST_F(Records, RecordThatCannotBeReadIsReportedAndKept) {
  put(kRecordFile1, "2020 1 2 \n1 2 3 \n");
  fs::create_symlink("nowhere", kRecordFile2);
  const bool ran = ldtest::run_as_nobody(dir_, [&] {
    ASSERT_EQ(chmod(kRecordFile1, 0200), 0);  // may be written, not read
    RunState rs;
    ConsoleCapture con;
    EXPECT_TRUE(read_R1(rs));
    EXPECT_TRUE(read_R2(rs));
    EXPECT_EQ(con.output(), std::string(kNotRead1) + kNotRead2);
    EXPECT_EQ(rs.obs1.year, 2017);
    EXPECT_EQ(rs.work.year, 2017);
    every_save(rs);
    EXPECT_EQ(con.output(), std::string(kNotRead1) + kNotRead2 + kNotWritten1 +
                                kNotWritten2 + kNotWritten1 + kNotWritten2 +
                                kNotWritten1 + kNotWritten2);
    ASSERT_EQ(chmod(kRecordFile1, 0600), 0);
    EXPECT_EQ(slurp(kRecordFile1), "2020 1 2 \n1 2 3 \n");
    EXPECT_TRUE(fs::is_symlink(kRecordFile2));
    EXPECT_FALSE(fs::exists(kRecordFile2));

    // Readable again: read again, it is saved again; the link still is not.
    EXPECT_TRUE(read_R1(rs));
    EXPECT_EQ(rs.obs1.year, 2020);
    const std::string before = con.output();
    write_W1(rs);
    write_W2(rs);
    EXPECT_EQ(slurp(kRecordFile1).substr(0, 18), "2020 1 2 \n1 2 3 \n4");
    EXPECT_TRUE(fs::is_symlink(kRecordFile2));
    EXPECT_EQ(con.output(), before + kNotWritten2);
  });
  if (!ran) GTEST_SKIP() << ldtest::kNoNobody;
}

// Reads of the files named by g_fault_names fail with EIO after
// g_fault_after bytes.
const char* g_fault_names[2] = {nullptr, nullptr};
size_t g_fault_after = 0;
bool failing_reads(const char* name, size_t* after) {
  for (const char* n : g_fault_names)
    if (n != nullptr && std::strcmp(n, name) == 0) {
      *after = g_fault_after;
      return true;
    }
  return false;
}

// A read error, at the start of a record or in its middle, is not the end of
// a short record: the record counts as one that cannot be read.  It is
// reported, nothing read before the error is taken, and no save replaces it;
// read again without the error, it gives its values.
TEST_F(Records, ReadErrorCountsAsUnreadable) {
  RunState written;
  written.obs1.hour = 5;
  written.shared.Ic = -1.5;
  written.fix.course = 45;
  written.fix.velocity = -20;
  ConsoleCapture con;
  write_W4(written, 1);
  write_W2(written);
  const std::string file1 = slurp(kRecordFile1);
  const std::string file2 = slurp(kRecordFile2);
  ASSERT_EQ(con.output(), "");
  g_fault_names[0] = kRecordFile1;
  g_fault_names[1] = kRecordFile2;
  textio_test::set_read_fault_hook(failing_reads);
  for (const size_t after :
       {size_t{0}, size_t{1}, size_t{40}, file2.size() - 4}) {
    SCOPED_TRACE(testing::Message()
                 << "reads fail after " << after << " bytes");
    g_fault_after = after;
    ConsoleCapture run;
    RunState rs;
    EXPECT_TRUE(read_R1(rs));
    EXPECT_TRUE(read_R2(rs));
    EXPECT_EQ(run.output(), std::string(kNotRead1) + kNotRead2);
    const RunState fresh;
    EXPECT_EQ(rs.obs1.hour, fresh.obs1.hour);
    EXPECT_EQ(rs.work.hour, fresh.work.hour);
    EXPECT_EQ(rs.shared.Ic, fresh.shared.Ic);
    EXPECT_EQ(rs.fix.course, fresh.fix.course);
    EXPECT_EQ(rs.fix.velocity, fresh.fix.velocity);
    every_save(rs);
    EXPECT_EQ(slurp(kRecordFile1), file1);
    EXPECT_EQ(slurp(kRecordFile2), file2);
  }

  // A whole run: each file is reported where it is read, and kept.
  g_fault_after = 40;
  const std::string out = [] {
    ConsoleCapture run(ldtest::kCompleteRun);
    EXPECT_EQ(run_dialogue(run.in(), run.out(), "."), 0);
    return run.output();
  }();
  EXPECT_EQ(navtest::count(out, kNotRead1), 1);
  EXPECT_EQ(navtest::count(out, kNotRead2), 1);
  EXPECT_GE(navtest::count(out, kNotWritten1), 2);
  EXPECT_GE(navtest::count(out, kNotWritten2), 2);
  EXPECT_EQ(slurp(kRecordFile1), file1);
  EXPECT_EQ(slurp(kRecordFile2), file2);

  textio_test::set_read_fault_hook(nullptr);
  RunState rs;
  EXPECT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.hour, 5);
  EXPECT_EQ(rs.shared.Ic, -1.5);
  EXPECT_TRUE(read_R2(rs));
  EXPECT_EQ(rs.fix.velocity, -20);
  EXPECT_EQ(con.output(), "");
}

// The permission bits of each temporary file when it is created, and when
// the first byte of the record is about to be written into it.
mode_t g_created_perm = 0;
mode_t g_writing_perm = 0;
mode_t perm_of(int dir, const char* tmp) {
  struct stat st {};
  return fstatat(dir, tmp, &st, AT_SYMLINK_NOFOLLOW) == 0 ? st.st_mode & 07777
                                                          : 0;
}
void note_created_perm(int dir, const char* tmp) {
  g_created_perm = perm_of(dir, tmp);
}
void note_writing_perm(int dir, const char* tmp) {
  g_writing_perm = perm_of(dir, tmp);
}

// A temporary file is the user's alone until it has its final permission
// bits (the old file's, or 0666 less the umask), and it has them before the
// first byte of the record goes into it: no one can open it early and read
// a record that the saved file would not show them.
TEST_F(Records, TemporaryFileIsTheUsersAloneUntilItIsComplete) {
  struct PermCase {
    mode_t umask;
    mode_t old;  // 0: no file yet
    mode_t final;
  };
  const PermCase cases[] = {
      {022, 0644, 0644}, {022, 0, 0644},    {0, 0, 0666},
      {077, 0666, 0666}, {027, 0604, 0604}, {077, 0, 0600},
  };
  textio_test::set_created_hook(note_created_perm);
  textio_test::set_writing_hook(note_writing_perm);
  for (const PermCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::oct << "umask " << c.umask << ", old " << c.old);
    fs::remove(kRecordFile1);
    if (c.old != 0) {
      put(kRecordFile1, "old\n");
      ASSERT_EQ(chmod(kRecordFile1, c.old), 0);
    }
    const mode_t mask = umask(c.umask);
    g_created_perm = g_writing_perm = 0;
    RunState rs;
    ConsoleCapture con;
    write_W1(rs);
    umask(mask);
    EXPECT_EQ(con.output(), "");
    EXPECT_EQ(g_created_perm, 0600u);
    EXPECT_EQ(g_writing_perm, c.final);
    struct stat st {};
    ASSERT_EQ(stat(kRecordFile1, &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.final);
    EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  }
  textio_test::set_created_hook(nullptr);
  textio_test::set_writing_hook(nullptr);
  EXPECT_EQ(
      std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

// A user other than root and nobody, and two groups that are neither root's,
// nor nogroup, nor that user's own group, from the system's user and group
// databases; false when there are none.
bool second_user_and_groups(ldtest::Identity* user, gid_t* crew, gid_t* other) {
  bool found = false;
  setpwent();
  while (const passwd* p = getpwent()) {
    if (p->pw_uid != 0 && p->pw_uid != ldtest::kNobodyUid &&
        p->pw_gid != ldtest::kNobodyGid) {
      user->uid = p->pw_uid;
      user->gid = p->pw_gid;
      found = true;
      break;
    }
  }
  endpwent();
  if (!found) return false;
  std::vector<gid_t> groups;
  setgrent();
  while (const struct group* g = getgrent()) {
    if (g->gr_gid != 0 && g->gr_gid != ldtest::kNobodyGid &&
        g->gr_gid != user->gid && groups.size() < 2)
      groups.push_back(g->gr_gid);
  }
  endgrent();
  if (groups.size() < 2) return false;
  *crew = groups[0];
  *other = groups[1];
  return true;
}

// The bytes of an access or default ACL: entries of tag, permission and id
// after the version, all little-endian, as the kernel keeps them.
struct AclEntry {
  uint16_t tag;  // 0x01 owner, 0x02 a named user, 0x04 the owning group,
                 // 0x10 the mask, 0x20 others
  uint16_t perm;
  uint32_t id;
};
std::string acl_bytes(std::initializer_list<AclEntry> entries) {
  std::string b;
  const auto put_le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
  };
  put_le(2, 4);
  for (const AclEntry& e : entries) {
    put_le(e.tag, 2);
    put_le(e.perm, 2);
    put_le(e.id, 4);
  }
  return b;
}
constexpr uint32_t kNoId = 0xFFFFFFFF;
constexpr uint32_t kNamedUser = 1001;

// Owner rw, user 1001 rw, the owning group `group`, mask rw, others nothing.
std::string named_user_acl(uint16_t group) {
  return acl_bytes({{0x01, 6, kNoId},
                    {0x02, 6, kNamedUser},
                    {0x04, group, kNoId},
                    {0x10, 6, kNoId},
                    {0x20, 0, kNoId}});
}

// The access ACL of a file; empty when it has none.
std::string access_acl(const char* name) {
  char buf[256];
  const ssize_t n = getxattr(name, "system.posix_acl_access", buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool set_acl(const char* name, const char* which, const std::string& acl) {
  return setxattr(name, which, acl.data(), acl.size(), 0) == 0;
}

// A save gives the new file the access ACL of the one it replaces, or none
// where that had none: the named user keeps access, the owning group gains
// none through the mask, and a directory's default ACL grants nothing that
// the old file did not.  Where the group cannot be kept, the owning group's
// entry passes to the new group empty.
TEST_F(Records, SaveKeepsTheAccessAcl) {
  const std::string acl = named_user_acl(4);
  put(kRecordFile1, "old\n");
  ASSERT_EQ(chmod(kRecordFile1, 0660), 0);
  if (!set_acl(kRecordFile1, "system.posix_acl_access", acl)) {
    ASSERT_EQ(errno, ENOTSUP);
    GTEST_SKIP() << "the file system of the test directory has no ACLs";
  }
  struct stat st {};
  {
    RunState rs;
    ConsoleCapture con;
    write_W1(rs);
    EXPECT_EQ(con.output(), "");
  }
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  EXPECT_EQ(access_acl(kRecordFile1), acl);
  ASSERT_EQ(stat(kRecordFile1, &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0660u);

  // A record without an ACL, in a directory whose default ACL would give a
  // new file to user 1001.
  fs::remove(kRecordFile1);
  put(kRecordFile2, "old\n");
  ASSERT_EQ(chmod(kRecordFile2, 0640), 0);
  ASSERT_EQ(access_acl(kRecordFile2), "");
  ASSERT_TRUE(set_acl(".", "system.posix_acl_default",
                      acl_bytes({{0x01, 7, kNoId},
                                 {0x02, 6, kNamedUser},
                                 {0x04, 5, kNoId},
                                 {0x10, 7, kNoId},
                                 {0x20, 0, kNoId}})));
  {
    RunState rs;
    ConsoleCapture con;
    write_W2(rs);
    EXPECT_EQ(con.output(), "");
  }
  EXPECT_EQ(slurp(kRecordFile2), kFresh2);
  EXPECT_EQ(access_acl(kRecordFile2), "");
  ASSERT_EQ(stat(kRecordFile2, &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  ASSERT_EQ(removexattr(".", "system.posix_acl_default"), 0);
  fs::remove(kRecordFile2);

  // The owner, outside the file's group.
  if (geteuid() != 0) return;
  ldtest::Identity saver;
  gid_t crew = 0;
  gid_t other = 0;
  if (!second_user_and_groups(&saver, &crew, &other)) return;
  ASSERT_EQ(chmod(".", 0777), 0);
  put(kRecordFile1, "old\n");
  ASSERT_EQ(chown(kRecordFile1, saver.uid, crew), 0);
  ASSERT_TRUE(set_acl(kRecordFile1, "system.posix_acl_access", acl));
  ASSERT_TRUE(ldtest::run_as(saver, [] {
    RunState rs;
    ConsoleCapture con;
    write_W1(rs);
    EXPECT_EQ(con.output(), "");
  }));
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  EXPECT_EQ(access_acl(kRecordFile1), named_user_acl(0));
  ASSERT_EQ(stat(kRecordFile1, &st), 0);
  EXPECT_EQ(st.st_gid, saver.gid);
}

// The permission bits and the access ACL of the temporary file when the
// first byte of the record is about to be written into it.
struct Access {
  mode_t perm = 0;
  std::string acl;
  bool operator==(const Access&) const = default;
};
Access g_writing_access;
Access access_of(int dir, const char* name) {
  Access a;
  const int fd = openat(dir, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return a;
  struct stat st {};
  if (fstat(fd, &st) == 0) a.perm = st.st_mode & 07777;
  char buf[256];
  const ssize_t n = fgetxattr(fd, "system.posix_acl_access", buf, sizeof buf);
  if (n > 0) a.acl.assign(buf, static_cast<size_t>(n));
  close(fd);
  return a;
}
void note_writing_access(int dir, const char* tmp) {
  g_writing_access = access_of(dir, tmp);
}

// In a directory whose default ACL gives user 1001 a new file, a save's
// temporary file already has the saved file's permission bits and ACL when
// the record goes into it: user 1001 can open it then only where it may
// read the saved record.  The record with an ACL of its own grants user
// 1002 alone; the new record takes the default ACL.
TEST_F(Records, TemporaryFileHasItsFinalAccessBeforeTheRecordGoesIn) {
  const std::string own_acl = acl_bytes({{0x01, 6, kNoId},
                                         {0x02, 4, 1002},
                                         {0x04, 4, kNoId},
                                         {0x10, 4, kNoId},
                                         {0x20, 0, kNoId}});
  if (!set_acl(".", "system.posix_acl_default",
               acl_bytes({{0x01, 7, kNoId},
                          {0x02, 7, kNamedUser},
                          {0x04, 5, kNoId},
                          {0x10, 7, kNoId},
                          {0x20, 0, kNoId}}))) {
    ASSERT_EQ(errno, ENOTSUP);
    GTEST_SKIP() << "the file system of the test directory has no ACLs";
  }
  struct AccessCase {
    const char* name;
    bool old;  // a record to replace, 0640, with `acl` if any
    std::string acl;
  };
  const AccessCase cases[] = {
      {"a record without an ACL", true, ""},
      {"a record with an ACL of its own", true, own_acl},
      {"a new record", false, ""},
  };
  textio_test::set_writing_hook(note_writing_access);
  for (const AccessCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(kRecordFile1);
    if (c.old) {
      put(kRecordFile1, "old\n");  // the default ACL it takes is removed
      ASSERT_EQ(removexattr(kRecordFile1, "system.posix_acl_access"), 0);
      ASSERT_EQ(chmod(kRecordFile1, 0640), 0);
      if (!c.acl.empty()) {
        ASSERT_TRUE(set_acl(kRecordFile1, "system.posix_acl_access", c.acl));
      }
    }
    g_writing_access = Access{};
    RunState rs;
    ConsoleCapture con;
    write_W1(rs);
    EXPECT_EQ(con.output(), "");
    EXPECT_EQ(slurp(kRecordFile1), kFresh1);
    const Access saved = access_of(AT_FDCWD, kRecordFile1);
    if (c.old) {
      EXPECT_EQ(saved, (Access{0640, c.acl}));
    }
    EXPECT_EQ(g_writing_access.perm, saved.perm);
    EXPECT_EQ(g_writing_access.acl, saved.acl);
  }
  textio_test::set_writing_hook(nullptr);
  ASSERT_EQ(removexattr(".", "system.posix_acl_default"), 0);
}

// Saves the first record file with W1: it is written, or it is reported as
// not written.
void save_first_record(bool saved) {
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  EXPECT_EQ(con.output(),
            saved ? "" : " !!! file dodarivi0r1.txt could not be written\n");
}

// A record that is a symbolic link to a regular file (a record kept in a
// private folder) is saved like that file: the link becomes a file of its
// own with that file's permission bits, ACL, owner and group, by the rules
// of any save, and the file it led to is never written.  The umask would
// give a new file 0644.
TEST_F(Records, LinkedRecordTakesTheAccessOfItsFile) {
  struct LinkCase {
    const char* name;
    mode_t perm;        // the file the link leads to
    bool acl;           // it has named_user_acl(4)
    bool other_user;    // it is nobody's, in nogroup (root only)
    bool saver_nobody;  // nobody saves it, a file that is root's (root only)
    bool saved;
  };
  const LinkCase cases[] = {
      {"a private file", 0600, false, false, false, true},
      {"a file with an ACL", 0660, true, false, false, true},
      {"another user's file, saved by root", 0640, false, true, false, true},
      {"a file whose owner and group the saver cannot keep", 0666, false, false,
       true, false},
  };
  const mode_t mask = umask(022);
  fs::create_directory("private");
  ASSERT_EQ(chmod(".", 0777), 0);
  ASSERT_EQ(chmod("private", 0777), 0);
  const char kTarget[] = "private/r1.txt";
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.name);
    if ((c.other_user || c.saver_nobody) && geteuid() != 0) continue;
    fs::remove(kRecordFile1);
    fs::remove(kTarget);
    put(kTarget, "old\n");
    ASSERT_EQ(chmod(kTarget, c.perm), 0);
    if (c.acl &&
        !set_acl(kTarget, "system.posix_acl_access", named_user_acl(4))) {
      ASSERT_EQ(errno, ENOTSUP);
      continue;  // a file system without ACLs
    }
    if (c.other_user) {
      ASSERT_EQ(chown(kTarget, ldtest::kNobodyUid, ldtest::kNobodyGid), 0);
    }
    fs::create_symlink(kTarget, kRecordFile1);
    const Access before = access_of(AT_FDCWD, kTarget);
    struct stat target_before {};
    ASSERT_EQ(stat(kTarget, &target_before), 0);
    const auto save = [&] { save_first_record(c.saved); };
    if (c.saver_nobody) {
      ASSERT_TRUE(ldtest::run_as(ldtest::Identity{}, save));
    } else {
      save();
    }
    EXPECT_EQ(slurp(kTarget), "old\n");
    EXPECT_EQ(access_of(AT_FDCWD, kTarget), before);
    EXPECT_EQ(fs::is_symlink(kRecordFile1), !c.saved);
    if (c.saved) {
      EXPECT_EQ(slurp(kRecordFile1), kFresh1);
      EXPECT_EQ(access_of(AT_FDCWD, kRecordFile1), before);
      struct stat st {};
      ASSERT_EQ(lstat(kRecordFile1, &st), 0);
      EXPECT_EQ(st.st_uid, target_before.st_uid);
      EXPECT_EQ(st.st_gid, target_before.st_gid);
    }
    EXPECT_EQ(
        std::distance(fs::directory_iterator("."), fs::directory_iterator()),
        2);
  }
  umask(mask);
}

// A save keeps the owner and the group of the record it replaces where the
// system allows: root keeps both (a run with sudo in a navigator's folder
// leaves the records the navigator's); a member of the file's group keeps
// the group (the crew's shared folder); a user who can keep neither does not
// save, so the file never passes to a stranger.  Where only the owner is
// kept, the group the file passes to (the owner's own, or a setgid
// directory's) gets no access.
TEST_F(Records, SaveKeepsTheOwnerAndTheGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "changing owners needs root";
  ldtest::Identity saver;
  gid_t crew = 0;
  gid_t other = 0;
  if (!second_user_and_groups(&saver, &crew, &other))
    GTEST_SKIP() << "no second user and two groups in the system's databases";
  struct OwnerCase {
    const char* name;
    bool saver_owns;  // the file is the saver's (else nobody's)
    bool in_crew;     // the saver is a member of the file's group
    bool setgid_dir;  // the directory is setgid, of the group `other`, of
                      // which the saver is a member
    bool as_root;     // the save runs as root
    mode_t perm;
    bool saved;
    uid_t uid;  // owner, group and permission bits afterwards
    gid_t gid;
    mode_t perm_after;
  };
  const OwnerCase cases[] = {
      {"root", false, false, false, true, 0640, true, ldtest::kNobodyUid, crew,
       0640},
      {"a member of the group", false, true, false, false, 0660, true,
       saver.uid, crew, 0660},
      {"the owner, outside the group", true, false, false, false, 0666, true,
       saver.uid, saver.gid, 0606},
      {"the owner, outside the group, in a setgid directory", true, false, true,
       false, 0640, true, saver.uid, other, 0600},
      {"neither owner nor member", false, false, false, false, 0666, false,
       ldtest::kNobodyUid, crew, 0666},
  };
  for (const OwnerCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(chown(".", 0, c.setgid_dir ? other : 0), 0);
    ASSERT_EQ(chmod(".", c.setgid_dir ? 02777 : 0777), 0);
    put(kRecordFile1, "old\n");
    ASSERT_EQ(chown(kRecordFile1, c.saver_owns ? saver.uid : ldtest::kNobodyUid,
                    crew),
              0);
    ASSERT_EQ(chmod(kRecordFile1, c.perm), 0);
    struct stat before {};
    ASSERT_EQ(stat(kRecordFile1, &before), 0);
    const auto save = [&] { save_first_record(c.saved); };
    ldtest::Identity who = saver;
    if (c.in_crew) who.groups = {crew};
    if (c.setgid_dir) who.groups = {other};
    if (c.as_root)
      save();
    else
      ASSERT_TRUE(ldtest::run_as(who, save));
    struct stat st {};
    ASSERT_EQ(stat(kRecordFile1, &st), 0);
    EXPECT_EQ(slurp(kRecordFile1), c.saved ? kFresh1 : "old\n");
    EXPECT_EQ(st.st_ino == before.st_ino, !c.saved);
    EXPECT_EQ(st.st_uid, c.uid);
    EXPECT_EQ(st.st_gid, c.gid);
    EXPECT_EQ(st.st_mode & 07777, c.perm_after);
    EXPECT_EQ(
        std::distance(fs::directory_iterator("."), fs::directory_iterator()),
        1);
  }
}

}  // namespace
