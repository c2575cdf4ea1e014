// Readers of the fixed-column text tables: windows that take in the first
// column of the next field, the row's NUL, empty slots, and calls outside
// the callers' windows.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "texttab.h"
#include "xorshift.h"

namespace {

// A 35-column table: a nutation-style row, a row of blanks, an empty slot.
struct Table35 {
  char t[3][35];
  Table35() {
    std::memset(t, 0, sizeof t);
    std::memcpy(t[0], " 0 0 0 0 1-171996-174.2 92025 8.9 ", 34);
    std::memcpy(t[1], "          ", 10);
  }
};

TEST(Texttab, NutationRowWindows) {
  const Table35 tab;
  struct Case {
    int first, last, want;
  } ints[] = {
      {0, 2, 0},
      {8, 10, 1},
      {10, 17, -171996},
      {23, 29, 92025},
  };
  for (const auto& c : ints)
    EXPECT_EQ(iarr35(tab.t, 0, c.first, c.last), c.want)
        << c.first << ".." << c.last;
  // A' ends at the blank that starts B; B' runs past the row's text:
  // column 34 is the row's NUL, column 35 the copy's terminator.
  EXPECT_EQ(farr35(tab.t, 0, 17, 23), -174.2);
  EXPECT_EQ(farr35(tab.t, 0, 29, 35), 8.9);
  EXPECT_EQ(yarr35(tab.t, 0, 17, 23), -174.2);
  EXPECT_EQ(yarr35(tab.t, 0, 29, 35), 8.9);
  // Reals read from a copy and integers from the table agree inside the row.
  EXPECT_EQ(farr35(tab.t, 0, 10, 17), -171996.0);
  EXPECT_EQ(iarr35(tab.t, 0, 29, 33), 8);  // atoi stops at the decimal point
}

TEST(Texttab, FieldsWithoutANumberReadZero) {
  const Table35 tab;
  for (int first : {0, 5, 17, 33}) {  // empty windows: last = first - 1
    EXPECT_EQ(iarr35(tab.t, 0, first, first - 1), 0) << first;
    EXPECT_EQ(farr35(tab.t, 0, first, first - 1), 0.0) << first;
    EXPECT_EQ(yarr35(tab.t, 0, first, first - 1), 0.0) << first;
  }
  EXPECT_EQ(iarr35(tab.t, 0, 33, 33), 0);  // the blank after the row's text
  EXPECT_EQ(iarr35(tab.t, 1, 0, 9), 0);    // a window of blanks
  EXPECT_EQ(farr35(tab.t, 1, 0, 9), 0.0);
  EXPECT_EQ(iarr35(tab.t, 0, 34, 34), 0);  // wholly after the row's text
  EXPECT_EQ(farr35(tab.t, 0, 34, 35), 0.0);
  for (int col = 0; col < 35; ++col) {  // an empty slot, in every column
    EXPECT_EQ(iarr35(tab.t, 2, col, 34), 0) << col;
    EXPECT_EQ(farr35(tab.t, 2, col, 35), 0.0) << col;
    EXPECT_EQ(yarr35(tab.t, 2, 0, col), 0.0) << col;
  }
}

TEST(Texttab, SixtyColumnRows) {
  char t[2][60];
  std::memset(t, 0, sizeof t);
  const char* row = "  1 23.456789012 -0.5e+1   7.25  x9";  // 35 characters
  std::memcpy(t[0], row, std::strlen(row));
  EXPECT_EQ(farr60(t, 0, 0, 2), 1.0);
  EXPECT_EQ(farr60(t, 0, 3, 15), 23.456789012);
  EXPECT_EQ(farr60(t, 0, 3, 10), 23.4567);  // the window cuts the number
  EXPECT_EQ(farr60(t, 0, 16, 24), -5.0);
  EXPECT_EQ(farr60(t, 0, 25, 31), 7.25);
  EXPECT_EQ(farr60(t, 0, 32, 34),
            0.0);  // begins with a character that starts no number
  EXPECT_EQ(farr60(t, 0, 40, 60), 0.0);  // after the text, up to the copy's NUL
  EXPECT_EQ(farr60(t, 1, 0, 60), 0.0);
}

// Calls outside the callers' windows read nothing outside the row and never
// overrun the field buffer; integers beyond int saturate instead of
// overflowing.
TEST(Texttab, OutsideTheWindowsIsSafe) {
  char t[2][35];
  std::memset(t, 0, sizeof t);
  std::memcpy(t[0], " 99999999999 -99999999999 12", 28);
  std::memcpy(t[1], "7", 1);
  EXPECT_EQ(iarr35(t, 0, 0, 11), INT_MAX);
  EXPECT_EQ(iarr35(t, 0, 12, 24), INT_MIN);
  EXPECT_EQ(iarr35(t, 0, -5, 4), 0);  // columns before the row read as NUL
  EXPECT_EQ(iarr35(t, 0, 26, 1000),
            12);  // a window longer than the field buffer
  EXPECT_EQ(farr35(t, 0, 26, INT_MAX), 12.0);
  EXPECT_EQ(iarr35(t, 0, INT_MIN, INT_MAX), 0);
  EXPECT_EQ(iarr35(t, 0, 40, 45), 0);  // beyond the slot: not the next row
  EXPECT_EQ(farr35(t, 0, 36, 40), 0.0);
  EXPECT_EQ(iarr35(t, -1, 0, 5), 0);
  EXPECT_EQ(farr35(t, -1, 0, 5), 0.0);
  char w[1][60] = {};
  EXPECT_EQ(farr60(w, -3, 0, 59), 0.0);
}

// A row read at once in the nutation layout gives the nine fields the
// readers give through their windows, bit for bit, whatever the row holds:
// rows of the table and rows at the edges of the layout (which are read at
// their columns), fields of other forms in every position, cut rows and rows
// with single characters changed (which are read by the readers).
TEST(Texttab, NutationRowAsItsWindowsRead) {
  auto same = [](const std::string& text) -> ::testing::AssertionResult {
    char t[2][35] = {};
    std::memcpy(t[0], text.data(), std::min<size_t>(text.size(), 35));
    std::memcpy(t[1], "7777777777777777777777777777777777",
                34);  // the slot after it
    int ints[7];
    double reals[2];
    nutrow35(t, 0, ints, reals);
    const int want_i[7] = {iarr35(t, 0, 0, 2),  iarr35(t, 0, 2, 4),
                           iarr35(t, 0, 4, 6),  iarr35(t, 0, 6, 8),
                           iarr35(t, 0, 8, 10), iarr35(t, 0, 10, 17),
                           iarr35(t, 0, 23, 29)};
    const double want_r[2] = {farr35(t, 0, 17, 23), farr35(t, 0, 29, 35)};
    for (int k = 0; k < 7; ++k)
      if (ints[k] != want_i[k])
        return ::testing::AssertionFailure()
               << "integer " << k << ": " << ints[k] << " for " << want_i[k];
    for (int k = 0; k < 2; ++k)
      if (std::memcmp(&reals[k], &want_r[k], sizeof(double)) != 0 &&
          !(std::isnan(reals[k]) && std::isnan(want_r[k])))
        return ::testing::AssertionFailure()
               << "real " << k << ": " << reals[k] << " for " << want_r[k];
    return ::testing::AssertionSuccess();
  };
  const std::string rows[] = {" 0 0 0 0 1-171996-174.2 92025 8.9 ",
                              " 0 0 2-2 2 -13187  -1.6  5736-3.1 ",
                              " 0 1 0 1 0      1   0.0     0 0.0 ",
                              "-1-1 2 2 2     -3   0.0     1 0.0 ",
                              "-9-9-9-9-9-999999-999.9-99999-9.9 ",
                              " 9 9 9 9 9 999999 999.9 99999 9.9 ",
                              " 0 0 0 0 0     -0  -0.0    -0-0.0 ",
                              " 1 0 0 0 0    712   0.1    -7 0.0 ",
                              " 1 0 2 2 2     -8   0.0     3 0.0 "};
  const int first[9] = {0, 2, 4, 6, 8, 10, 17, 23, 29},
            last[9] = {1, 3, 5, 7, 9, 16, 22, 28, 32};
  const char* pieces[] = {"0",    "-0",      "+7",   "12",  "-",     "",
                          "x",    "1.5",     "--1",  "- 1", "0.0",   "-0.0",
                          "+1.5", "1e1",     ".5",   "5.",  "12.34", "inf",
                          "nan",  "1234567", "-0.05"};
  for (const std::string& row : rows) {
    ASSERT_TRUE(same(row)) << row;
    for (int f = 0; f < 9; ++f)
      for (const char* p : pieces) {
        std::string r = row;
        const std::string text = p;
        for (int k = first[f]; k <= last[f]; ++k) r[k] = ' ';
        for (int k = 0; k < static_cast<int>(text.size()) && last[f] - k >= 0;
             ++k)
          r[last[f] - k] = text[text.size() - 1 - k];
        EXPECT_TRUE(same(r)) << r;
      }
    for (size_t cut = 0; cut <= row.size(); ++cut)
      EXPECT_TRUE(same(row.substr(0, cut))) << cut;
    EXPECT_TRUE(same(row.substr(0, 33) + "7")) << "column 33";
    EXPECT_TRUE(same(row + "7")) << "column 34";
  }
  testsupport::Xorshift64 next(0x2545F4914F6CDD1DULL);
  const char alphabet[] = " -+.0123456789eEinx\t";
  for (int i = 0; i < 20000; ++i) {
    std::string r = rows[next() % 9];
    r.resize(35, '\0');
    for (int n = 1 + static_cast<int>(next() % 3); n > 0; --n)
      r[next() % 35] = alphabet[next() % (sizeof alphabet)];
    ASSERT_TRUE(same(r)) << r;
  }
}

}  // namespace
