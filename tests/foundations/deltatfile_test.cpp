// The Delta-T table file: creation of the default file, interpolation of its
// rows, the order check and its wait, files of more than 40 rows, equal
// years, unreadable and junk content, a file that can be neither read nor
// created.  Every test runs in a fresh temporary directory of its own.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "as_nobody.h"
#include "console_capture.h"
#include "deltat.h"
#include "deltat_rows_written.h"
#include "temp_dir.h"
#include "textio.h"
#include "xorshift.h"

namespace {

namespace fs = std::filesystem;

const char kName[] = "dodarivi0r0.txt";
const char kUnusable[] =
    "??? dodarivi0r0.txt can be neither read nor created: Delta-T taken from the built-in model\n";

std::string wrong_sequence(int prev) {
  return "??? dodarivi0r0.txt:\n? wrong sequence:" + std::to_string(prev) +
         "\n";
}

using testsupport::slurp;

class DeltaTFile : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<testsupport::WorkInTempDir>("ld_deltat");
    home_ = work_->home();
    dir_ = work_->path();
  }
  void TearDown() override { work_.reset(); }
  static void put(const std::string& content) {
    std::ofstream out(kName, std::ios::binary);
    out << content;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(dir_))
      v.push_back(e.path().filename().string());
    return v;
  }

  fs::path home_, dir_;

 private:
  std::unique_ptr<testsupport::WorkInTempDir> work_;
};

TEST_F(DeltaTFile, MissingFileIsCreatedWithTheDefaultContent) {
  ConsoleCapture con;
  EXPECT_EQ(delta0x(2020), 69.36);
  EXPECT_EQ(con.output(), "");
  const std::string expected =
      slurp(fs::path(LD_TEST_DATA_DIR) / "default_deltat_table.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(slurp(kName), expected);
  EXPECT_EQ(names(),
            std::vector<std::string>{kName});  // no temporary file left behind
}

// The parts of the default content on their own: the 21 years, the known
// values and the eleven pieces of text.
TEST_F(DeltaTFile, DefaultContentPieces) {
  delta0x(2500);
  std::ifstream in(kName);
  const int years[21] = {2020, 2025, 2035, 2050, 2070, 2095, 2125,
                         2160, 2200, 2245, 2295, 2350, 2410, 2475,
                         2545, 2620, 2700, 2785, 2875, 2970, 3000};
  std::string line;
  for (int i = 0; i < 21; ++i) {
    ASSERT_TRUE(std::getline(in, line));
    int y = 0;
    double v = 0;
    char tail[8] = "";
    ASSERT_EQ(std::sscanf(line.c_str(), "    %d   %lf%7s", &y, &v, tail), 2)
        << line;
    EXPECT_EQ(y, years[i]);
    char want[64];
    std::snprintf(want, sizeof want, "    %d   %.1f ", years[i],
                  deltatime(years[i]));
    EXPECT_EQ(line, want);
  }
  const std::string text = slurp(kName);
  for (const char* row :
       {"    2020   69.4 \n", "    2025   68.7 \n", "    2035   67.8 \n",
        "    2050   70.0 \n", "    2200   160.0 \n", "    3000   3638.0 \n",
        "    2410   644.1 \n", "    2475   892.8 \n"})
    EXPECT_NE(text.find(row), std::string::npos) << row;
  const char* pieces[11] = {
      "  'YEAR'  'DELTA_T(seconds)' \n\n",
      " DELTA_T = TT-UT1 is obtained (after year 2020)\n",
      " from THIS FILE via local quadratic interpolation,\n",
      " and then entered into program Veldramont-nn.exe - \n\n",
      " Data given by UKHO in 2021 (also see JPL-DE441),\n",
      " up to year 2500, see: https://astro.ukho.gov.uk/nao/lvm/\n",
      " (beyond that by quadratic extrapolation).\n",
      " You may change the entries of the file as you like,\n",
      " but YEARS must be between 2020 and 3000. -\n",
      " If the file gets corrupted, just erase it completely,\n",
      " the program next time will rebuild it in original form.\n",
  };
  std::string all;
  for (const char* p : pieces) all += p;
  ASSERT_GE(text.size(), all.size());
  EXPECT_EQ(text.substr(text.size() - all.size()), all);
  EXPECT_EQ(text.find("    3000   3638.0 \n") + 19, text.size() - all.size());
}

TEST_F(DeltaTFile, ValuesFromTheDefaultContent) {
  ConsoleCapture con;
  struct Case {
    int year;
    double want;
  } cases[] = {
      {2020, 69.36},
      {2022, quadipola(2010, 66.1, 2020, 69.36, 2025, 68.7, 2022)},
      {2023, quadipola(2010, 66.1, 2020, 69.36, 2025, 68.7, 2023)},
      {2025, 68.7},
      {2030, quadipola(2020, 69.36, 2025, 68.7, 2035, 67.8, 2030)},
      {2200, 160.0},
      {2450, quadipola(2350, 456.1, 2410, 644.1, 2475, 892.8, 2450)},
      {2999, quadipola(2875, 2833.4, 2970, 3436.1, 3000, 3638.0, 2999)},
      {3000, 3638.0},
      {2019, 0.0},
      {-5, 0.0},
      {INT_MIN, 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(delta0x(c.year), c.want) << c.year;
  EXPECT_EQ(con.output(), "");
}

TEST_F(DeltaTFile, AfterTheYear3000NoFileIsCreated) {
  EXPECT_EQ(delta0x(3001), 0.0);
  EXPECT_EQ(delta0x(INT_MAX), 0.0);
  EXPECT_TRUE(names().empty());
}

TEST_F(DeltaTFile, AnExistingFileIsNeverChanged) {
  const std::string mine =
      "2020 1.0\n2040 72.5\n2100 95\n3000 4000.25 \n and some notes\n";
  put(mine);
  EXPECT_EQ(delta0x(2040), 72.5);
  EXPECT_EQ(delta0x(2101),
            quadipola(2040, 72.5, 2100, 95, 3000, 4000.25, 2101));
  EXPECT_EQ(slurp(kName), mine);
  EXPECT_EQ(names(), std::vector<std::string>{kName});
}

TEST_F(DeltaTFile, TheFirstRowStandsFor2020) {
  const std::string rest = "2025 68.7\n2035 67.8\n3000 3638.0\n";
  for (const char* first :
       {"2020 69.4\n", "1999 5.0\n", "2999 -7\n", "-40 1e9\n"}) {
    put(first + rest);
    EXPECT_EQ(delta0x(2020), 69.36) << first;
    EXPECT_EQ(delta0x(2022),
              quadipola(2010, 66.1, 2020, 69.36, 2025, 68.7, 2022))
        << first;
    EXPECT_EQ(delta0x(2030),
              quadipola(2020, 69.36, 2025, 68.7, 2035, 67.8, 2030))
        << first;
  }
  put("3000 1.0\n" + rest);  // ends the reading at once: no interval at all
  EXPECT_EQ(delta0x(2020), 0.0);
  EXPECT_EQ(delta0x(2030), 0.0);
}

TEST_F(DeltaTFile, RowsOutOfOrderPrintTheMessageAndWaitForOneCharacter) {
  put("2020 69.4\n2030 69.0\n2025 70.0\n");
  {
    ConsoleCapture con("xy\n");
    EXPECT_EQ(delta0x(2022),
              quadipola(2010, 66.1, 2020, 69.36, 2030, 69.0, 2022));
    EXPECT_EQ(con.output(), "");  // the search stops before the bad row
    EXPECT_EQ(con.unread(), "xy\n");
  }
  {
    ConsoleCapture con("xy\n");
    EXPECT_EQ(delta0x(2031), 0.0);
    EXPECT_EQ(con.output(), wrong_sequence(2030));
    EXPECT_EQ(con.unread(), "y\n");  // exactly one character was read
  }
  {
    ConsoleCapture con("\n");  // the message comes again on every call
    EXPECT_EQ(delta0x(2031), 0.0);
    EXPECT_EQ(con.output(), wrong_sequence(2030));
  }
  {
    ConsoleCapture con("");  // end of input during the wait
    EXPECT_THROW(delta0x(2031), EndOfInput);
    EXPECT_EQ(con.output(), wrong_sequence(2030));
  }
}

TEST_F(DeltaTFile, LastNodeIsNotCompared) {
  std::string rows;
  for (int y = 2020; y < 2059; ++y)
    rows += std::to_string(y) + " " + std::to_string(y - 1950) + "\n";
  rows += "2000 5\n";  // the 40th row, smaller than the one before it
  put(rows);
  ConsoleCapture con("");
  EXPECT_EQ(delta0x(2058), 108.0);
  EXPECT_EQ(delta0x(2070), 0.0);
  EXPECT_EQ(con.output(), "");
}

TEST_F(DeltaTFile, OnlyTheFirst40RowsCount) {
  std::string rows;
  for (int y = 2020; y < 2070; ++y)
    rows += std::to_string(y) + "   " + std::to_string(y - 1950) + ".5 \n";
  put(rows);
  ConsoleCapture con("");
  EXPECT_EQ(delta0x(2059), 109.5);  // the 40th row
  EXPECT_EQ(delta0x(2058), 108.5);
  EXPECT_EQ(delta0x(2060), 0.0);
  EXPECT_EQ(delta0x(2069), 0.0);
  EXPECT_EQ(con.output(), "");
}

TEST_F(DeltaTFile, AShortFileRepeatsItsLastRow) {
  put("2020 69.4\n2025 68.7\n2035 67.8\n");
  ConsoleCapture con("");
  EXPECT_EQ(delta0x(2035), 67.8);
  EXPECT_EQ(delta0x(2030),
            quadipola(2020, 69.36, 2025, 68.7, 2035, 67.8, 2030));
  EXPECT_EQ(delta0x(2036), 0.0);
  EXPECT_EQ(con.output(), "");
}

TEST_F(DeltaTFile, EqualYearsNeverDivideByZero) {
  put("2020 1\n2030 69.0\n2030 69.5\n2040 70.0\n3000 3000\n");
  EXPECT_EQ(delta0x(2030),
            69.0);  // the first row for 2030 ends the first interval
  EXPECT_EQ(delta0x(2035), 69.75);  // linear from the second 2030 row to 2040
  EXPECT_EQ(delta0x(2040), 70.0);
  EXPECT_EQ(delta0x(2041), quadipola(2030, 69.5, 2040, 70.0, 3000, 3000, 2041));

  put("2020 1\n2020 75.0\n2030 69.0\n");  // a second row for 2020
  EXPECT_EQ(delta0x(2020), 69.36);        // node 1, the interval's first end
  EXPECT_EQ(delta0x(2025), 72.0);  // linear from (2020, 75.0) to (2030, 69.0)
  EXPECT_EQ(delta0x(2030), 69.0);

  put("2020 1\n2020 75.0\n");  // nothing but 2020
  EXPECT_EQ(delta0x(2020), 69.36);
  EXPECT_EQ(delta0x(2021), 0.0);
}

TEST_F(DeltaTFile, UnreadableRows) {
  {
    put("");  // not even the first row: every node from 2 on has the year 0
    ConsoleCapture con("\n\n");
    EXPECT_EQ(delta0x(2025), 0.0);
    EXPECT_EQ(con.output(), wrong_sequence(2020));
    EXPECT_EQ(con.unread(), "\n");
  }
  {
    put("2020 1\n2030 abc\n2040 70\n");  // the year is read, the value kept
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(2030), 1.0);
    EXPECT_EQ(delta0x(2035), 0.0);  // "abc" stops the rows after it
    EXPECT_EQ(con.output(), "");
  }
  {
    put(std::string("2020 1\n\0\0\0 2030 5\n", 17));  // NUL bytes
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(2020), 69.36);
    EXPECT_EQ(delta0x(2030), 0.0);
    EXPECT_EQ(con.output(), "");
  }
}

TEST_F(DeltaTFile, JunkContentIsReadSafely) {
  struct Case {
    std::string content;
    int year;
    double want;
    bool message;
  } cases[] = {
      // one line, no line ends, other white space
      {"2020 69.4 2025 68.7\t2035 67.8 3000 3638", 2025, 68.7, false},
      {"2020 69.4\r\n2025 68.7\r\n2035 67.8\r\n", 2035, 67.8, false},
      {"\n\n   2020\n69.4\n\n2025\n\n\n68.7", 2025, 68.7, false},
      // numbers written in other ways
      {"+2020 69.4\n2025 +687e-1\n2035 .678E+2\n", 2025, 68.7, false},
      {"2020 69.4\n2025 68.\n2035 67.8\n", 2025, 68.0, false},
      {"2020 69.4\n02025 0068.70000000000000000000000000000000001\n", 2025,
       68.7, false},
      // not finite: no value is known
      {"2020 1\n2030 nan\n2040 70\n", 2035, 0.0, false},
      {"2020 1\n2030 -INF\n2040 70\n", 2035, 0.0, false},
      {"2020 1\n2030 Infinity\n2040 70\n", 2030, 0.0, false},
      {"2020 1\n2030 1e999999999999999999999\n", 2025, 0.0, false},
      // numbers as the C library reads them: a year beyond int is converted
      // as a long (saturated) and stored as its low 32 bits, so
      // 99999999999 is 1215752191 (it ends the reading), the largest long is
      // -1 and the smallest 0 (both out of order); hexadecimal values count
      {"2020 1\n99999999999 5\n", 2025,
       quadipola(2010, 66.1, 2020, 69.36, 1215752191, 5, 2025), false},
      {"2020 1\n99999999999999999999999 5\n", 2025, 0.0, true},
      {"2020 1\n-99999999999999999999999 5\n2030 6\n", 2025, 0.0, true},
      {"2020 69.4\n2025 68.7\n2035 0x1p6\n", 2035, 64.0, false},
      {"2020 69.4\n2025 68.7\n2035 0x1p6\n", 2030,
       quadipola(2020, 69.36, 2025, 68.7, 2035, 64.0, 2030), false},
      // an unfinished "infinity" cannot be read: the row keeps the value
      // before it, and the reading goes on after the letters taken
      {"2020 1\n2030 4\n2040 infin\n2050 70\n", 2040, 4.0, false},
      {"2020 1\n2030 4\n2040 infin\n2050 70\n", 2045,
       quadipola(2030, 4, 2040, 4, 2050, 70, 2045), false},
      {"2020 1\n2030 1e-999999999999\n", 2030, 0.0, false},
      // text where the year should be, at the start
      {"YEAR DELTA\n2020 1\n", 2025, 0.0, true},
      {"\x7f\x80\xff\xfe 2020 1\n", 2020, 0.0, true},
  };
  for (const auto& c : cases) {
    put(c.content);
    ConsoleCapture con(std::string(3, '\n'));
    EXPECT_EQ(delta0x(c.year), c.want) << c.content;
    EXPECT_EQ(con.output().find("wrong sequence") != std::string::npos,
              c.message)
        << c.content;
  }

  // A value of a thousand digits is rounded as strtod rounds it.
  const std::string digits = "2.5" + std::string(997, '3') + "e1";
  put("2020 1\n2030 " + digits + "\n");
  EXPECT_EQ(delta0x(2030), std::strtod(digits.c_str(), nullptr));
  const std::string tiny = "0." + std::string(2000, '0') + "17e2002";
  put("2020 1\n2030 " + tiny + "\n");
  EXPECT_EQ(delta0x(2030), 17.0);

  // Binary junk and ten thousand rows: any value or 0, never a fault.
  std::mt19937 rng(20240611);
  for (int k = 0; k < 20; ++k) {
    std::string junk(4096, '\0');
    for (auto& ch : junk) ch = static_cast<char>(rng());
    put((k % 2 ? "2020 69.4\n2030 68.0\n" : "") + junk);
    ConsoleCapture con(std::string(8, '\n'));
    EXPECT_TRUE(std::isfinite(delta0x(2021 + k)));
  }
  std::string many;
  for (int i = 0; i < 10000; ++i)
    many += std::to_string(2020 + i / 10) + " " + std::to_string(i) + "\n";
  put(many);
  ConsoleCapture con("\n");
  EXPECT_TRUE(std::isfinite(delta0x(2022)));
}

// Tables written from known rows in the layouts that the reading allows
// (deltat_rows_written.h): the nodes read from the file are the rows
// written, to the last bit, and the nodes after the last are not touched.
TEST_F(DeltaTFile, TablesWrittenFromKnownRowsGiveTheirNodes) {
  testsupport::Xorshift64 rng(20240611);
  auto pick = [&rng](std::uint64_t n) { return rng() % n; };
  constexpr int kUntouched = -7777;
  for (int table = 0; table < 1000; ++table) {
    const ldtest::WrittenDeltaT w = ldtest::write_deltat_table(pick);
    put(w.text);
    FILE* f = std::fopen(kName, "r");
    ASSERT_NE(f, nullptr);
    int yrs[ldtest::kDeltaTNodes];
    double vals[ldtest::kDeltaTNodes];
    std::fill(std::begin(yrs), std::end(yrs), kUntouched);
    std::fill(std::begin(vals), std::end(vals), kUntouched);
    const int n = deltat_read_nodes(f, yrs, vals);
    std::fclose(f);
    ASSERT_EQ(n, w.count) << w.text;
    for (int k = 0; k < ldtest::kDeltaTNodes; ++k) {
      const bool reached = k <= n;
      ASSERT_EQ(yrs[k], reached ? w.years[k] : kUntouched)
          << "node " << k << " in:\n"
          << w.text;
      ASSERT_EQ(vals[k], reached ? w.values[k] : kUntouched)
          << "node " << k << " in:\n"
          << w.text;
    }
  }
}

TEST_F(DeltaTFile, ADirectoryOfTheNameCanBeNeitherReadNorCreated) {
  fs::create_directory(kName);
  for (int year : {2019, 2020, 2025, 2410}) {
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(year), deltatime(year)) << year;
    EXPECT_EQ(con.output(), kUnusable) << year;
  }
  // Before the model's span the model gives 0, and its own two lines are not
  // printed beside the one message.
  for (int year : {-701, INT_MIN}) {
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(year), 0.0) << year;
    EXPECT_EQ(con.output(), kUnusable) << year;
  }
  {
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(-700), 20500.0);
    EXPECT_EQ(con.output(), kUnusable);
  }
  EXPECT_TRUE(fs::is_directory(kName));
}

TEST_F(DeltaTFile, APipeOfTheNameIsUnusableAndDoesNotWait) {
  // Opening a pipe that nobody writes to would wait for ever.
  ASSERT_EQ(mkfifo(kName, 0600), 0);
  ConsoleCapture con("");
  EXPECT_EQ(delta0x(2030), deltatime(2030));
  EXPECT_EQ(con.output(), kUnusable);
}

// Entries planted under the names that the temporary file of the save tries
// first: a pipe, a link to a file outside and a directory.  The save passes
// them by without opening, following or waiting on them.
bool planted_names(const char* name, int attempt, char* out, size_t size) {
  if (attempt >= 3) return false;
  std::snprintf(out, size, "%s.planted%d", name, attempt);
  return true;
}

TEST_F(DeltaTFile, CreationPassesEntriesPlantedUnderTemporaryNames) {
  const fs::path outside = dir_.string() + "_outside";
  { std::ofstream(outside) << "outside\n"; }
  ASSERT_EQ(mkfifo("dodarivi0r0.txt.planted0", 0600), 0);
  fs::create_symlink(outside, "dodarivi0r0.txt.planted1");
  fs::create_directory("dodarivi0r0.txt.planted2");
  textio_test::set_temp_name_hook(planted_names);
  EXPECT_EQ(delta0x(2020), 69.36);
  textio_test::set_temp_name_hook(nullptr);
  EXPECT_EQ(slurp(kName),
            slurp(fs::path(LD_TEST_DATA_DIR) / "default_deltat_table.txt"));
  EXPECT_TRUE(fs::is_fifo("dodarivi0r0.txt.planted0"));
  EXPECT_TRUE(fs::is_symlink("dodarivi0r0.txt.planted1"));
  EXPECT_TRUE(fs::is_directory("dodarivi0r0.txt.planted2"));
  EXPECT_EQ(slurp(outside), "outside\n");
  EXPECT_EQ(names().size(), 4u);  // no temporary file left behind
  fs::remove(outside);
}

// A table that the user (or another run) puts in place while the default one
// is being created is never replaced by it.
TEST_F(DeltaTFile, ATableThatAppearsDuringCreationIsKept) {
  textio_test::set_pause_hook([](const char*) { put("2020 1\n2030 75\n"); });
  const double v = delta0x(2030);
  textio_test::set_pause_hook(nullptr);
  EXPECT_EQ(v, 75.0);
  EXPECT_EQ(slurp(kName), "2020 1\n2030 75\n");
  EXPECT_EQ(names(), std::vector<std::string>{kName});
}

TEST_F(DeltaTFile, AReadOnlyDirectoryWithoutTheFile) {
  const bool ran = ldtest::run_as_nobody(dir_, [&] {
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(2025), deltatime(2025));
    EXPECT_EQ(con.output(), kUnusable);
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_TRUE(names().empty());
  });
  if (!ran) GTEST_SKIP() << ldtest::kNoNobody;
}

TEST_F(DeltaTFile, AnExistingFileThatCannotBeReadIsLeftAlone) {
  put("2020 1\n2030 2\n");
  const bool ran = ldtest::run_as_nobody(dir_, [&] {
    fs::permissions(kName, fs::perms::owner_write);
    ConsoleCapture con("");
    EXPECT_EQ(delta0x(2025), deltatime(2025));
    EXPECT_EQ(con.output(), kUnusable);
    fs::permissions(kName, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(slurp(kName), "2020 1\n2030 2\n");
  });
  if (!ran) GTEST_SKIP() << ldtest::kNoNobody;
}

}  // namespace
