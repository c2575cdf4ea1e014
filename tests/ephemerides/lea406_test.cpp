// LEA-406b: the Moon's geometric ecliptic place against an independent
// ephemeris (JPL DE431 through the Swiss Ephemeris files, mean ecliptic and
// equinox of date), the validity warning with the offset of the series' own
// time scale, and the layout of the generated table.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ios>
#include <string>

#include "console.h"
#include "console_capture.h"
#include "instants.h"
#include "leascan.h"
#include "leatab.h"
#include "moon.h"
#include "xorshift.h"

namespace {

constexpr double arcsec = 1.0 / 3600;  // degrees

bool same_bits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Runs LEA406 with the console output caught; returns what it printed.
std::string lea406_printing(double jd, double* lon, double* lat, double* dist) {
  ConsoleCapture con;
  LEA406(jd, lon, lat, dist);
  return con.output();
}

std::string warning(const char* tdb) {
  return std::string(
             " the input epoch is outside the time interval\n"
             " where the LEA406b series are precise.\n"
             " range 625674..2816787, tdb[1]]=") +
         tdb + "\n";
}

// The offset of the series' time scale from the date given, as the series
// defines it: 0 from 2195773.5 to 2720304.5, rising to +40 s at 2999498.5
// and constant after, falling by 28 s per 292000 days before 2195773.5.
double series_time(double jd) {
  const double P = 40.0 / 86400.0, Q = 28.0 / 86400.0;
  double dt = (jd - 2720304.5) * P / (2999498.5 - 2720304.5);
  if (jd < 2720304.5) dt = 0;
  if (jd > 2999498.5) dt = P;
  if (jd < 2195773.5) dt = (jd - 2195773.5) * (-Q) / (1903773.5 - 2195773.5);
  return jd + dt;
}

// The last date whose series time lies below the limit (strict) or at most
// at it; the next double after it is the first date on the other side.
double last_date(double limit, bool strict) {
  auto on_side = [&](double jd) {
    return strict ? series_time(jd) < limit : series_time(jd) <= limit;
  };
  double jd = limit;
  for (int i = 0; i < 5; ++i)
    jd -= series_time(jd) - limit;  // close to the limit
  while (!on_side(jd)) jd = std::nextafter(jd, -1e300);
  while (on_side(std::nextafter(jd, 1e300))) jd = std::nextafter(jd, 1e300);
  return jd;
}

TEST(LEA406, AgreesWithJplGeometricMoonOfDate) {
  swe_set_ephe_path(const_cast<char*>(SWE_EPHE_PATH));
  // Measured offline over 20000 and 100000 dates of the same sequence
  // (LD_ACCURACY_INSTANTS=20000, =100000) and 20000 random dates: 0.0815" in
  // longitude, 0.0772" in latitude, 71.8 m in distance.  The differences
  // scatter like noise (the small terms the series leaves out, and the
  // reference's own interpolation), so their largest value grows slowly with
  // the number of dates (longitude: 0.072", 0.073" and 0.082" over three sets
  // of 20000); the tolerances lie about 5 % above the largest.
  const double tol_lon = 0.086 * arcsec, tol_lat = 0.081 * arcsec,
               tol_dist = 0.076;  // km
  double worst[3] = {};
  int south = 0;
  const int n = instants::count(3000);
  for (int i = 0; i < n; ++i) {
    const double jd = instants::jd(i);  // 1801 to 2200, at any time of day
    double lon, lat, dist;
    EXPECT_EQ(lea406_printing(jd, &lon, &lat, &dist), "") << jd;
    double x[6];
    char err[256];
    const int flags = SEFLG_SWIEPH | SEFLG_TRUEPOS | SEFLG_NOABERR |
                      SEFLG_NOGDEFL | SEFLG_NONUT;
    ASSERT_EQ(swe_calc(jd, SE_MOON, flags, x, err) & SEFLG_SWIEPH, SEFLG_SWIEPH)
        << err;
    ASSERT_GE(lon, 0.0);
    ASSERT_LT(lon, 360.0);
    ASSERT_GE(lat, 0.0);
    ASSERT_LT(lat, 360.0);
    // A southern latitude comes back as 360 minus its size.
    if (x[1] < 0) {
      ++south;
      EXPECT_GT(lat, 180.0) << jd;
    }
    const double signed_lat = lat > 180 ? lat - 360 : lat;
    const double d[3] = {std::remainder(lon - x[0], 360.0), signed_lat - x[1],
                         dist - x[2] * 149597870.7};
    EXPECT_NEAR(d[0], 0, tol_lon) << jd;
    EXPECT_NEAR(d[1], 0, tol_lat) << jd;
    EXPECT_NEAR(d[2], 0, tol_dist) << jd;
    EXPECT_GT(dist, 356000.0);
    EXPECT_LT(dist, 407000.0);
    for (int k = 0; k < 3; ++k) worst[k] = std::fmax(worst[k], std::fabs(d[k]));
  }
  EXPECT_GT(south, n / 3);
  std::printf("LEA406 - DE431: lon %.4f\"  lat %.4f\"  dist %.4f km\n",
              worst[0] * 3600, worst[1] * 3600, worst[2]);
}

// The series to the last bit at three dates: 1801; 2024, with a southern
// latitude; and 2200 at the moment the Moon crosses the ecliptic, where the
// latitude sum is so small (0.009") that even the order of the products of
// the amplitudes with the time (A1 tau, A2 tau tau) shows in its last bits.
// The figures are exact to the bit.  They were checked by a separate
// step-by-step evaluation of the method: the term rows read with the C
// library's scan and the row format's own directives, every constant as
// written there (the rounded pi 3.1415926535898 of the last step among them)
// and every operation in its order, which gave the same bits.
TEST(LEA406, ExactToTheLastBit) {
  constexpr struct {
    double jd, lon, lat, dist;
  } kPins[] = {
      {2378970.123456789, 0x1.97d435bbaf017p+6, 0x1.4f2e1b4cc91a4p+2,
       0x1.8b183410c6dd7p+18},
      {2460534.9057, 0x1.c720b639ffee2p+7, 0x1.64af84b36f311p+8,
       0x1.858ecda935329p+18},
      {2524697.6031012419, 0x1.ecd1d01703a42p+4, 0x1.573319f803e2fp-19,
       0x1.6e24b793cfc27p+18},
  };
  for (const auto& p : kPins) {
    double lon, lat, dist;
    LEA406(p.jd, &lon, &lat, &dist);
    EXPECT_TRUE(same_bits(lon, p.lon))
        << p.jd << ": " << std::hexfloat << lon << ", expected " << p.lon;
    EXPECT_TRUE(same_bits(lat, p.lat))
        << p.jd << ": " << std::hexfloat << lat << ", expected " << p.lat;
    EXPECT_TRUE(same_bits(dist, p.dist))
        << p.jd << ": " << std::hexfloat << dist << ", expected " << p.dist;
  }
}

TEST(LEA406, SilentInsideTheValidityInterval) {
  double lon, lat, dist;
  for (double jd :
       {700000.5, 1903773.5, 2195773.5, 2451545.0, 2720304.5, 2816787.0})
    EXPECT_EQ(lea406_printing(jd, &lon, &lat, &dist), "") << jd;
}

TEST(LEA406, WarnsAtTheLimitsOfItsSeriesTime) {
  double lon, lat, dist;
  // The warning follows the series time, not the date: at the lower limit
  // the series time runs 150 s behind the date, at the upper limit 14 s
  // ahead of it; both tests are strict.
  const double lo = last_date(625673.5, true);  // last date below the limit
  EXPECT_EQ(lea406_printing(lo, &lon, &lat, &dist), warning("625673.5"));
  EXPECT_EQ(lea406_printing(std::nextafter(lo, 1e300), &lon, &lat, &dist), "");
  const double hi = last_date(2816787.5, false);  // last date not above it
  EXPECT_EQ(lea406_printing(hi, &lon, &lat, &dist), "");
  EXPECT_EQ(lea406_printing(std::nextafter(hi, 1e300), &lon, &lat, &dist),
            warning("2816787.5"));
  // Where a date gives a series time of exactly a limit, it is inside.
  int exact = 0;
  for (double jd : {std::nextafter(lo, 1e300), hi}) {
    const double t = series_time(jd);
    if (t == 625673.5 || t == 2816787.5) {
      ++exact;
      EXPECT_EQ(lea406_printing(jd, &lon, &lat, &dist), "") << jd;
    }
  }
  EXPECT_EQ(exact, 2);
  // Dates on the inner side of a limit whose series time lies outside it.
  EXPECT_EQ(lea406_printing(625673.5 + 0.001, &lon, &lat, &dist),
            warning("625673.5"));
  EXPECT_EQ(lea406_printing(2816787.5 - 0.0001, &lon, &lat, &dist),
            warning("2816787.5"));
}

TEST(LEA406, SeriesTimeOffsetShowsInTheWarning) {
  double lon, lat, dist;
  // Far before the interval the offset keeps falling at 28 s per 292000
  // days (here -153 s): the date 600000.0508 is evaluated at 600000.0490.
  EXPECT_EQ(lea406_printing(600000.0508, &lon, &lat, &dist),
            warning("600000.0"));
  // From 2999498.5 on the offset is +40 s (0.000463 day).
  EXPECT_EQ(lea406_printing(2999498.5498, &lon, &lat, &dist),
            warning("2999498.6"));
  EXPECT_EQ(lea406_printing(3500000.0498, &lon, &lat, &dist),
            warning("3500000.1"));
  // The place outside the interval is still computed.
  EXPECT_GE(lon, 0.0);
  EXPECT_LT(lon, 360.0);
  EXPECT_GT(dist, 350000.0);
  EXPECT_LT(dist, 410000.0);
}

// The generated table: its slots, the row layout, and the fields as the scan
// format of a term row reads them.  Every term row stands in the fixed
// columns, so the series reads each of them at its columns.
TEST(LEA406, TableLayout) {
  EXPECT_EQ(std::strncmp(leatab[0], " 1029 1753 1089 ", 16), 0);
  EXPECT_NE(std::strstr(leatab[0], "LEA-406b"), nullptr);
  EXPECT_STREQ(leatab[3873], "  0  ");
  const int first[3] = {1, 1030, 2783}, count[3] = {1029, 1753, 1089};
  const int a1_pos[3] = {553, 1152, 662}, a2_pos[3] = {431, 892, 489};
  for (int b = 0; b < 3; ++b) {
    int n1 = 0, n2 = 0;
    for (int i = 0; i < count[b]; ++i) {
      const char* row = leatab[first[b] + i];
      ASSERT_EQ(std::strlen(row), 154u) << first[b] + i;
      for (int c = 154; c < 160; ++c) ASSERT_EQ(row[c], '\0');
      int v[15];
      double r[6];
      ASSERT_EQ(leascan::scan_row(row, v, r), 21);
      EXPECT_EQ(v[0], i + 1);
      EXPECT_EQ(v[12], 0);  // Ur
      EXPECT_EQ(v[13], 0);  // Ne
      n1 += r[1] > 0;
      n2 += r[2] > 0;
      // The fixed columns give the very values of the scan.
      int x[15];
      double y[6];
      ASSERT_TRUE(leascan::read_fixed(row, x, y)) << first[b] + i;
      for (int k = 0; k < 15; ++k)
        EXPECT_EQ(x[k], v[k]) << first[b] + i << " field " << k + 1;
      for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(same_bits(y[k], r[k]))
            << first[b] + i << " field " << 16 + k;
    }
    EXPECT_EQ(n1, a1_pos[b]);
    EXPECT_EQ(n2, a2_pos[b]);
  }
}

// A slot of the table holding the text s (cut to the slot), NUL-padded.
struct Slot {
  char c[leascan::kWidth] = {};
  explicit Slot(const std::string& s) {
    std::memcpy(c, s.data(), std::min(s.size(), sizeof c));
  }
};

// The row reader against the C library's scan on the same slot (with a NUL
// after it): the same count, and every field the same, bit for bit (NaN by
// its class), including the fields that neither reaches.
::testing::AssertionResult reads_as_the_scan(const Slot& slot) {
  int f[15], g[15];
  double v[6], w[6];
  for (int k = 0; k < 15; ++k) f[k] = g[k] = -7;
  for (int k = 0; k < 6; ++k) v[k] = w[k] = -7.5;
  char row[leascan::kWidth + 1] = {};
  std::memcpy(row, slot.c, leascan::kWidth);
  const int want = leascan::scan_row(row, g, w);
  const int got = leascan::read_row(slot.c, f, v);
  if (got != want)
    return ::testing::AssertionFailure()
           << "count " << got << ", scan " << want;
  for (int k = 0; k < 15; ++k)
    if (f[k] != g[k])
      return ::testing::AssertionFailure()
             << "field " << k + 1 << ": " << f[k] << ", scan " << g[k];
  for (int k = 0; k < 6; ++k)
    if (!(same_bits(v[k], w[k]) || (std::isnan(v[k]) && std::isnan(w[k]))))
      return ::testing::AssertionFailure()
             << "field " << 16 + k << ": " << std::hexfloat << v[k] << ", scan "
             << w[k];
  return ::testing::AssertionSuccess();
}

// Text put into the columns first to last of a row (padded with blanks on
// the left, or running past last when longer).
std::string with_field(std::string row, int first, int last,
                       const std::string& text) {
  const int width = last + 1 - first;
  const std::string padded = text.size() < static_cast<size_t>(width)
                                 ? std::string(width - text.size(), ' ') + text
                                 : text;
  return row.replace(first, width, padded);
}

// A damaged or edited row is read exactly as the scan reads it: fields of
// other forms in every position (signs, negative zero, exponents, long digit
// strings, inf and nan, fields that run into their neighbours or hold no
// number), rows cut at every column, rows that do not end in column 154.
TEST(LEA406, RowReaderMatchesTheScanOnAnyRow) {
  const std::string base = leatab[3];  // "   3  -1   0   0   2 ..."
  ASSERT_TRUE(reads_as_the_scan(Slot(base)));
  const int ends[21] = {3,  7,  11, 15, 19, 23, 27, 31,  35,  39, 43,
                        47, 51, 55, 59, 75, 87, 99, 117, 135, 153};
  const char* ints[] = {"0",    "-0",   "+7",    "-20",        "999",
                        "-999", "1753", "12345", "2147483647", "-2147483648",
                        "x1",   "-",    "",      "7.5",        "0x10",
                        "\t3",  "1e2"};
  const char* reals[] = {"0.000000000000",
                         "-0.000000000000",
                         "+12.5",
                         "-179.998214819583",
                         "385000.5391914",
                         "0.1",
                         "1e-5",
                         "2.5E3",
                         "12345678901234567.5",
                         "0.12345678901234567",
                         "5.",
                         ".5",
                         "-.25",
                         "9007.199254740992",
                         "9007.199254740993",
                         "9999.999999999999",
                         "-9999.999999999999",
                         "0x1p-3",
                         "inf",
                         "-nan",
                         "nan(12)",
                         "infinity",
                         "1,5",
                         "",
                         "-",
                         "+.",
                         "99999999.0000000",
                         "  -0.022719",
                         "0.0227190"};
  for (int k = 0; k < 21; ++k) {
    const int first = k == 0 ? 0 : ends[k - 1] + 1;
    if (k < 15) {
      for (const char* t : ints)
        EXPECT_TRUE(
            reads_as_the_scan(Slot(with_field(base, first, ends[k], t))))
            << k + 1 << " " << t;
    }
    for (const char* t : reals)
      EXPECT_TRUE(reads_as_the_scan(Slot(with_field(base, first, ends[k], t))))
          << k + 1 << " " << t;
  }
  for (const std::string row : {leatab[1], leatab[1030], leatab[3871]})
    for (size_t cut = 0; cut <= row.size(); ++cut)
      EXPECT_TRUE(reads_as_the_scan(Slot(row.substr(0, cut)))) << cut;
  std::string tabbed = base;
  tabbed[0] = '\t';
  for (const std::string& row :
       {base + " ", base + "7", base + " 7", tabbed, std::string(160, '7'),
        std::string(160, ' '), base + std::string(6, ' '), std::string(),
        std::string("  0  ")})
    EXPECT_TRUE(reads_as_the_scan(Slot(row))) << row;
  // Single characters changed anywhere in rows of each block.
  testsupport::Xorshift64 next(0x2545F4914F6CDD1DULL);
  const char alphabet[] = " -+.0123456789eEinxp\t\n";
  for (int i = 0; i < 20000; ++i) {
    std::string row = leatab[1 + next() % 3871];
    for (int n = 1 + static_cast<int>(next() % 3); n > 0; --n)
      row[next() % 155] = alphabet[next() % (sizeof alphabet)];
    ASSERT_TRUE(reads_as_the_scan(Slot(row))) << row;
  }
}

// The fixed columns take the forms a field may have in them: a sign directly
// before the digits, negative zero, and reals whose digits reach 2^53; one
// digit more goes to the scan.
TEST(LEA406, FixedColumnsTakeEveryFormOfTheirFields) {
  const std::string base = leatab[3];
  int f[15];
  double v[6];
  struct Case {
    int first, last;
    const char* text;
    bool fixed;
  } cases[] = {
      {4, 7, "-20", true},
      {4, 7, "999", true},
      {4, 7, "-0", true},
      {4, 7, "1000", false},
      {4, 7, "-999", false},
      {0, 3, "1753", true},
      {0, 3, "-999", true},
      {100, 117, "-0.000000000000", true},
      {100, 117, "9007.199254740992", true},
      {100, 117, "9007.199254740993", false},
      {60, 75, "1234567.1234567", true},
      {60, 75, "-123456.1234567", true},
      {60, 75, "12345678.1234567", false},
      {76, 87, "9999.999999", true},
      {76, 87, "+1.000000", false},
      {100, 117, "1.00000000000", false},
  };
  for (const auto& c : cases) {
    const Slot slot(with_field(base, c.first, c.last, c.text));
    EXPECT_EQ(leascan::read_fixed(slot.c, f, v), c.fixed) << c.text;
    EXPECT_TRUE(reads_as_the_scan(slot)) << c.text;
  }
}

// Skipping the multipliers 0 leaves every coefficient of every term's
// argument unchanged to the bit, for the table's rows and for multipliers
// whose products cancel to zero.
TEST(LEA406, ArgumentCoefficientsSkipZeroMultipliers) {
  auto full = [](const int m[14], double w[5]) {
    for (int c = 0; c < 5; ++c) {
      double s = 0;
      for (int j = 0; j < 14; ++j)
        s = s + m[leascan::kRowOf[j]] * leascan::kArg[j][c];
      w[c] = s;
    }
  };
  auto check = [&](const int m[14]) {
    double a[5], b[5];
    leascan::derive(m, a);
    full(m, b);
    for (int c = 0; c < 5; ++c)
      if (!same_bits(a[c], b[c])) return false;
    return true;
  };
  for (int r = 1; r <= 3871; ++r) {
    int f[15];
    double v[6];
    ASSERT_EQ(leascan::read_row(leatab[r], f, v), 21);
    EXPECT_TRUE(check(f + 1)) << r;
  }
  // Me and -Me cancel to +0 in every coefficient; p_A has c0 = 0; Ur, Ne
  // and Me have c4 = 0, so a negative multiplier gives -0 products.
  const int cancel[][14] = {
      {0, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3},
      {0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, -2, -5, 0},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& m : cancel) EXPECT_TRUE(check(m));
  std::uint64_t state = 0x9E3779B97F4A7C15ULL;
  for (int i = 0; i < 100000; ++i) {
    int m[14];
    for (int& k : m) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      const int u = static_cast<int>(state >> 59);  // 0 .. 31
      k = u < 20 ? 0 : u - 25;                      // mostly 0, else -5 .. 6
    }
    ASSERT_TRUE(check(m)) << i;
  }
}

}  // namespace
