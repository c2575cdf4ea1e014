// The observation record files: the exact lines of every write, the reads as
// a stream of numbers (short, damaged and hostile files), and writes that
// never leave a file half written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>

#include "nav_test_util.h"
#include "records.h"

namespace {

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

TEST_F(Records, MissingFileIsNotRead) {
  RunState rs;
  rs.work.year = 1999;
  EXPECT_FALSE(read_R1(rs));
  EXPECT_FALSE(read_R2(rs));
  EXPECT_EQ(rs.work.year, 1999);
  EXPECT_EQ(rs.obs1.year, 2017);
}

TEST_F(Records, FullFirstFileWithTenthLine) {
  put(kRecordFile1,
      "2020 1 2\n3 4 5\n-10 -20.5\n100 30.25\n3 7\n40 12.5 0\n"
      "1.5 2.5\n-4 90 1\n25 990\n50.5 -1\n");
  RunState rs;
  rs.work = rs.obs1;
  ASSERT_TRUE(read_R1(rs));
  const obsrec& w = rs.obs1;
  EXPECT_EQ(w.year, 2020);
  EXPECT_EQ(w.month, 1);
  EXPECT_EQ(w.day, 2);
  EXPECT_EQ(w.hour, 3);
  EXPECT_EQ(w.minute, 4);
  EXPECT_EQ(w.second, 5);
  EXPECT_EQ(w.lat_deg, -10);
  EXPECT_EQ(w.lat_min, -20.5);
  EXPECT_EQ(w.lon_deg, 100);
  EXPECT_EQ(w.lon_min, 30.25);
  EXPECT_EQ(w.bodycode, 3);
  EXPECT_EQ(w.starno, 7);
  EXPECT_EQ(w.hs_deg, 40);
  EXPECT_EQ(w.hs_min, 12.5);
  EXPECT_EQ(rs.shared.Ic, 1.5);
  EXPECT_EQ(rs.shared.eye, 2.5);
  EXPECT_EQ(rs.calc.intercept, -4);
  EXPECT_EQ(rs.calc.Az, 90);
  EXPECT_EQ(rs.shared.spare, 1);
  EXPECT_EQ(rs.shared.temp, 25);
  EXPECT_EQ(rs.shared.press, 990);
  EXPECT_EQ(rs.ld.LD_limb, 50.5);
  EXPECT_EQ(rs.ld.side, -1);
  EXPECT_EQ(rs.work.year, 2020);
}

TEST_F(Records, NineLinesKeepTheLunarDistance) {
  put(kRecordFile1, kFresh1);
  RunState rs;
  rs.ld.LD_limb = 33;
  rs.ld.side = -1;
  rs.shared.temp = 0;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.ld.LD_limb, 33);
  EXPECT_EQ(rs.ld.side, -1);
  EXPECT_EQ(rs.shared.temp, 16.1);
  EXPECT_EQ(rs.shared.spare, 3.141593);
}

TEST_F(Records, SecondFileSetsTheRunAndIgnoresLine7) {
  put(kRecordFile2,
      "2017 6 17\n3 57 14\n44 46.99\n-17 -11.6\n8 19\n30 1.5 0\n"
      "9.5 33\n1 2 3\n45 -3\n");
  RunState rs;
  rs.work = rs.obs2;
  ASSERT_TRUE(read_R2(rs));
  EXPECT_EQ(rs.obs2.bodycode, 8);
  EXPECT_EQ(rs.obs2.starno, 19);
  EXPECT_EQ(rs.obs2.hs_deg, 30);
  EXPECT_EQ(rs.obs2.hs_min, 1.5);
  EXPECT_EQ(rs.shared.Ic, 0);
  EXPECT_EQ(rs.shared.eye, 1.83);
  EXPECT_EQ(rs.calc.intercept, 1);
  EXPECT_EQ(rs.calc.Az, 2);
  EXPECT_EQ(rs.shared.spare, 3);
  EXPECT_EQ(rs.fix.course, 45);
  EXPECT_EQ(rs.fix.velocity, -3);
  EXPECT_EQ(rs.obs1.bodycode, 2);  // the first record is untouched
}

TEST_F(Records, ShortFileKeepsWhatItDoesNotReach) {
  put(kRecordFile1, "2019 2 3 \n1 2 3 \n10 5 \n20 6 \n3 9 \n");
  RunState rs;
  rs.shared.Ic = 1.25;
  rs.work = rs.obs1;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.year, 2019);
  EXPECT_EQ(rs.obs1.bodycode, 3);
  EXPECT_EQ(rs.obs1.starno, 9);
  EXPECT_EQ(rs.obs1.hs_deg, 24);  // built-in
  EXPECT_EQ(rs.obs1.hs_min, 14.0);
  EXPECT_EQ(rs.shared.Ic, 1.25);
  EXPECT_EQ(rs.shared.eye, 1.83);
  EXPECT_EQ(rs.calc.Az, 180.0);
  EXPECT_EQ(rs.shared.temp, 16.1);
  EXPECT_EQ(rs.ld.LD_limb, 48.11666666666667);
}

TEST_F(Records, EmptyFileChangesNothing) {
  put(kRecordFile1, "");
  RunState rs;
  const RunState before = rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.year, before.obs1.year);
  EXPECT_EQ(rs.obs1.hs_min, before.obs1.hs_min);
  EXPECT_EQ(rs.shared.Ic, before.shared.Ic);
  EXPECT_EQ(rs.ld.side, before.ld.side);
}

TEST_F(Records, FractionInAnIntegerPlaceIsTheNextValue) {
  // "44.5" in the latitude degrees: 44, then .5 as the minutes, and so on.
  put(kRecordFile1, "2017 6 17\n3 57 14\n44.5 46.99\n-17 -11.6\n");
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.lat_deg, 44);
  EXPECT_EQ(rs.obs1.lat_min, 0.5);
  EXPECT_EQ(rs.obs1.lon_deg, 46);
  EXPECT_EQ(rs.obs1.lon_min, 0.99);
  EXPECT_EQ(rs.obs1.bodycode, -17);
  EXPECT_EQ(rs.obs1.starno, -11);
  // ".6" cannot be an integer: the read ends there.
  EXPECT_EQ(rs.obs1.hs_deg, 24);
  EXPECT_EQ(rs.obs1.hs_min, 14.0);
}

TEST_F(Records, TextEndsTheRead) {
  put(kRecordFile1, "2018 x 17\n3 57 14\n");
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.year, 2018);
  EXPECT_EQ(rs.obs1.month, 6);
  EXPECT_EQ(rs.obs1.day, 17);
  EXPECT_EQ(rs.obs1.hour, 3);
}

TEST_F(Records, ExtremeNumbers) {
  const std::string zeros(1500, '0');
  const std::string nines(1500, '9');
  put(kRecordFile1, "99999999999 -99999999999 " + zeros + "5\n+2147483647 " +
                        nines + " -" + nines + "\n" +
                        "1 1e999 2 -1e999\n3 nan\n4 -0 \n-0 inf\n");
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  const obsrec& w = rs.obs1;
  EXPECT_EQ(w.year, INT_MAX);
  EXPECT_EQ(w.month, INT_MIN);
  EXPECT_EQ(w.day, 5);
  EXPECT_EQ(w.hour, INT_MAX);
  EXPECT_EQ(w.minute, INT_MAX);
  EXPECT_EQ(w.second, INT_MIN);
  EXPECT_EQ(w.lat_deg, 1);
  EXPECT_TRUE(std::isinf(w.lat_min) && w.lat_min > 0);
  EXPECT_EQ(w.lon_deg, 2);
  EXPECT_TRUE(std::isinf(w.lon_min) && w.lon_min < 0);
  EXPECT_EQ(w.bodycode, 3);
  EXPECT_EQ(w.starno, 33);  // "nan" is no integer: the read ends
}

TEST_F(Records, NanAndNegativeZeroInRealPlaces) {
  put(kRecordFile1,
      "2017 6 17 3 57 14 44 nan -17 -0 2 33 24 -nan 0 inf -inf 1 2 3 "
      "0x10 1e-400 48 -0\n");
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_TRUE(std::isnan(rs.obs1.lat_min));
  EXPECT_EQ(rs.obs1.lon_min, 0.0);
  EXPECT_TRUE(std::signbit(rs.obs1.lon_min));
  EXPECT_TRUE(std::isnan(rs.obs1.hs_min));
  EXPECT_TRUE(std::isinf(rs.shared.Ic));
  EXPECT_TRUE(std::isinf(rs.shared.eye) && rs.shared.eye < 0);
  EXPECT_EQ(rs.shared.temp, 16.0);  // hexadecimal
  EXPECT_EQ(rs.shared.press, 0.0);  // underflows to 0
  EXPECT_EQ(rs.ld.LD_limb, 48);
  EXPECT_EQ(rs.ld.side, 0);
}

TEST_F(Records, TooLongRealEndsTheRead) {
  put(kRecordFile1, "2017 6 17 3 57 14 44 1." + std::string(3000, '1') +
                        " -17 -11.6\n");
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.lat_deg, 44);
  EXPECT_EQ(rs.obs1.lat_min, 46.99);
  EXPECT_EQ(rs.obs1.lon_deg, -17);  // not reached
}

TEST_F(Records, NulBytesAndBinaryJunk) {
  put(kRecordFile1, std::string("2018\0 7 1\n", 10));
  RunState rs;
  ASSERT_TRUE(read_R1(rs));
  EXPECT_EQ(rs.obs1.year, 2018);
  EXPECT_EQ(rs.obs1.month, 6);  // the NUL byte is no number

  // Random bytes, and random mixes of number-like pieces: every read ends
  // cleanly (the sanitizer build checks the memory and the arithmetic).
  std::mt19937 gen(12345);
  const char* pieces[] = {"1", "-", "+", ".", "e", "9999999999", "0x",
                          "inf", "nan", " ", "\n", "\t", "(", ")", "\0",
                          "00000000000000000000", "1e309", "-0", "p", "E-"};
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

TEST_F(Records, DirectoryOrPipeCountsAsMissing) {
  ASSERT_EQ(mkdir(kRecordFile1, 0700), 0);
  ASSERT_EQ(mkfifo(kRecordFile2, 0600), 0);
  RunState rs;
  EXPECT_FALSE(read_R1(rs));  // a directory
  EXPECT_FALSE(read_R2(rs));  // a pipe: no wait for a writer
  ConsoleCapture con;
  write_W1(rs);  // a file cannot replace a directory
  EXPECT_EQ(con.output(), " !!! file dodarivi0r1.txt could not be written\n");
  write_W2(rs);  // but it replaces the pipe
  EXPECT_EQ(slurp(kRecordFile2), kFresh2);
  EXPECT_EQ(con.output(), " !!! file dodarivi0r1.txt could not be written\n");
}

TEST_F(Records, FailedWriteLeavesTheOldFile) {
  put(kRecordFile1, "old contents\n");
  ASSERT_EQ(mkdir("dodarivi0r1.txt.tmp", 0700), 0);  // no room for the new one
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  write_W4(rs, 1);
  rs.flow.obsno = 1;
  rs.work.year = 1990;
  write_W3(rs);
  EXPECT_EQ(slurp(kRecordFile1), "old contents\n");
  EXPECT_EQ(con.output(),
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r1.txt could not be written\n");
  EXPECT_EQ(rs.obs1.year, 1990);  // the run goes on with the values in memory
}

TEST_F(Records, WriteProtectedFileIsLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  put(kRecordFile1, "kept\n");
  chmod(kRecordFile1, 0444);
  RunState rs;
  ConsoleCapture con;
  write_W1(rs);
  EXPECT_EQ(slurp(kRecordFile1), "kept\n");
  EXPECT_EQ(con.output(), " !!! file dodarivi0r1.txt could not be written\n");
}

TEST_F(Records, UnwritableDirectory) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  put(kRecordFile2, kFresh2);
  chmod(".", 0500);
  RunState rs;
  ConsoleCapture con;
  EXPECT_FALSE(read_R1(rs));
  write_W1(rs);
  EXPECT_TRUE(read_R2(rs));
  rs.flow.obsno = 2;
  write_W3(rs);
  chmod(".", 0700);
  EXPECT_EQ(con.output(),
            " !!! file dodarivi0r1.txt could not be written\n"
            " !!! file dodarivi0r2.txt could not be written\n");
  EXPECT_EQ(slurp(kRecordFile2), kFresh2);
}

}  // namespace
