// Julian Day, mean sidereal time, equation of time, aberration quantities;
// the Julian Day and the sidereal time are checked against ERFA, the
// Earth's mean orbit against the Swiss Ephemeris and the constant of
// aberration against the Earth's mean motion.
#include <gtest/gtest.h>

#include <erfa.h>
#include <erfam.h>
#include <swephexp.h>

#include <climits>
#include <cmath>
#include <limits>

#include "calendar.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(Julday, KnownDays) {
  struct Case {
    int y, mo, d, h, mi, s;
    double jd;
  } cases[] = {
      {2000, 1, 1, 12, 0, 0, 2451545.0},  // J2000.0
      {-4712, 1, 1, 12, 0, 0, 0.0},  // start of the count (4713 BC, Julian)
      {1582, 10, 4, 0, 0, 0, 2299159.5},   // last Julian date
      {1582, 10, 15, 0, 0, 0, 2299160.5},  // the day after it
      {1582, 10, 5, 0, 0, 0,
       2299150.5},  // Gregorian from here: ten days before 10-15
      {1582, 10, 14, 0, 0, 0, 2299159.5},  // same day as 1582-10-04 (Julian)
      {1858, 11, 17, 0, 0, 0, 2400000.5},  // MJD 0
      {-700, 3, 1, 0, 0, 0,
       1465442.5},  // 4012 Julian years and 60 days after the start
  };
  for (const auto& c : cases)
    EXPECT_EQ(julday(c.y, c.mo, c.d, c.h, c.mi, c.s), c.jd)
        << c.y << "-" << c.mo << "-" << c.d;
}

TEST(Julday, CalendarTestIgnoresTheTimeOfDay) {
  // 1582-10-04 23:59:59 lies above the switch value but stays Julian.
  const double late = julday(1582, 10, 4, 23, 59, 59);
  EXPECT_GT(late, 2299160.0);
  EXPECT_EQ(late, 2299159.5 + ((23.0 + 59.0 / 60.0) + 59.0 / 3600.0) / 24.0);
  EXPECT_EQ(julday(1582, 10, 4, 0, 0, 0) + 1.0, julday(1582, 10, 15, 0, 0, 0));
  EXPECT_EQ(julday(1582, 10, 5, 0, 0, 0) + 10.0, julday(1582, 10, 15, 0, 0, 0));
}

TEST(Julday, FieldsOutOfRangePassThrough) {
  EXPECT_EQ(julday(2000, 13, 1, 0, 0, 0), julday(2001, 1, 1, 0, 0, 0));
  EXPECT_EQ(julday(2000, 0, 1, 0, 0, 0), julday(1999, 12, 1, 0, 0, 0));
  EXPECT_EQ(julday(2000, 1, 32, 0, 0, 0), julday(2000, 2, 1, 0, 0, 0));
  EXPECT_EQ(julday(2000, 1, 1, 24, 0, 0), julday(2000, 1, 2, 0, 0, 0));
  EXPECT_EQ(julday(2000, 1, 1, -12, 0, 0), julday(1999, 12, 31, 12, 0, 0));
}

// Every int, the extremes included, is computed through without overflow
// (the sanitizer build checks the arithmetic).
TEST(Julday, ExtremeFieldsAreFinite) {
  const int ext[] = {INT_MIN, INT_MIN + 1, -1,          0,      1,
                     2,       3,           INT_MAX - 1, INT_MAX};
  for (int a : ext)
    for (int b : ext) {
      EXPECT_TRUE(std::isfinite(julday(a, b, a, b, a, b))) << a << " " << b;
      EXPECT_TRUE(std::isfinite(julday(b, a, 1, 0, 0, 0))) << a << " " << b;
    }
}

// Gregorian dates from 1582-10-15 to 3500 against ERFA's proleptic
// Gregorian calendar: the day numbers are whole days plus one half, held
// exactly, so they must agree exactly.
TEST(Julday, GregorianDatesAgreeWithErfa) {
  int checked = 0;
  for (int y = 1582; y <= 3500; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d : {1, 13, 28}) {
        if (y == 1582 && (m < 10 || (m == 10 && d < 15))) continue;
        double djm0 = 0, djm = 0;
        ASSERT_EQ(eraCal2jd(y, m, d, &djm0, &djm), 0);
        ASSERT_EQ(julday(y, m, d, 0, 0, 0), djm0 + djm)
            << y << "-" << m << "-" << d;
        ++checked;
      }
  EXPECT_GT(checked, 60000);
}

// Day by day from the start of the count (-4712-01-01) to 3500, with the
// Julian leap rule up to 1582-10-04 and the Gregorian one from 1582-10-15:
// every day is one more than the day before, so the Julian-calendar dates,
// which ERFA does not cover, are tied to the Gregorian ones checked above.
TEST(Julday, DaysFollowEachOtherUpTo3500) {
  auto days_in = [](int y, int m) {
    static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y < 1582)
                          ? (y % 4 == 0)
                          : (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0));
    // (y % 4 is 0 for negative multiples of 4 as well)
    return len[m - 1] + ((m == 2 && leap) ? 1 : 0);
  };
  int y = -4712, m = 1, d = 1;
  double prev = julday(y, m, d, 0, 0, 0);
  EXPECT_EQ(prev, -0.5);
  while (y <= 3500) {
    if (++d > days_in(y, m)) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
    if (y == 1582 && m == 10 && d == 5) d = 15;  // the calendar reform
    const double jd = julday(y, m, d, 0, 0, 0);
    ASSERT_EQ(jd, prev + 1.0) << y << "-" << m << "-" << d;
    prev = jd;
  }
}

TEST(Green0mean, AtJ2000) { EXPECT_EQ(green0mean(2451545.0), 280.46061837); }

// Against ERFA's IAU 1982 sidereal time.  The daily rate 360.98564736629 is
// the IAU 1982 rate rounded to 11 decimals, 3.666e-12 degree a day below it,
// so the two drift apart linearly by up to 3.9e-6 degree (0.014") at -700.
// With that drift taken out, what is left is the rounding of a sum of some
// 4e8 degrees (an ulp is 6e-8 degree): measured 2.9e-7 degree, allowed 5e-7.
TEST(Green0mean, AgreesWithErfaGmst82) {
  const double rate_difference = 3.666438512434405e-12;  // degrees per day
  double worst = 0;
  for (double jd = julday(-700, 1, 1, 0, 0, 0);
       jd < julday(3500, 12, 31, 0, 0, 0); jd += 97.123) {
    const double g = green0mean(jd);
    ASSERT_GE(g, 0.0);
    ASSERT_LT(g, 360.0);
    double diff = g - eraGmst82(jd, 0.0) * (180.0 / 3.141592653589793);
    if (diff > 180) diff -= 360;
    if (diff < -180) diff += 360;
    const double resid = diff - rate_difference * (jd - 2451545.0);
    worst = std::fmax(worst, std::fabs(resid));
    ASSERT_LT(std::fabs(diff), 4e-6) << "JD " << jd;
  }
  EXPECT_LT(worst, 5e-7);
}

// The quadratic term is 0.000387933 times t, then times t, as written; the
// coefficient times the square of t would move this sum of some 3e8 degrees
// by one unit in its last place (6e-8 degree), in the year -433.
TEST(Green0mean, QuadraticTermLeftToRight) {
  EXPECT_EQ(green0mean(1562923.4517),
            95.813900113105774);  // (T T) gives 95.813900053501129
}

TEST(Green0mean, NotFiniteGivesNaN) {
  EXPECT_TRUE(std::isnan(green0mean(kNaN)));
  EXPECT_TRUE(std::isnan(green0mean(kInf)));
  EXPECT_TRUE(std::isnan(green0mean(-kInf)));
}

TEST(EquOfTime, SignsAndMidnight) {
  EXPECT_NEAR(equ_of_time(12, 0, 0, 100, 97.5), 1.0 / 6.0,
              1e-13);  // +10 minutes
  EXPECT_NEAR(equ_of_time(12, 0, 0, 50, 52), -2.0 / 15.0, 1e-13);  // -8 minutes
  // Just after and just before midnight: equal size, opposite sign.
  const double after = equ_of_time(0, 0, 1, 184, 0);
  const double before = equ_of_time(23, 59, 59, 176, 0);
  EXPECT_NEAR(after, -before, 1e-12);
  EXPECT_NEAR(after * 60, 16.0 - 1.0 / 60.0, 1e-9);    // 16 min less the second
  EXPECT_EQ(equ_of_time(0, 0, 0, 123.4, 123.4), 0.0);  // exactly 0 stays 0
  EXPECT_EQ(equ_of_time(6, 0, 0, 270, 0), 0.0);        // 18h - 6h - 12h
  EXPECT_TRUE(std::isnan(equ_of_time(12, 0, 0, kNaN, 0)));
  EXPECT_TRUE(std::isfinite(equ_of_time(INT_MAX, INT_MIN, INT_MAX, 10, 20)));
}

// The longitude of the perihelion and the eccentricity of the Earth's orbit
// at named centuries from J2000, the series summed by hand.
TEST(Aberration, PerihelionAndEccentricityAtNamedCenturies) {
  struct Case {
    double T, perihel, ecc;
  } cases[] = {
      // The terms of J2000 alone.
      {0.0, 102.93735, 0.016708634},
      // 102.93735 + 1.71946 + 0.00046;  0.016708634 - 0.000042037 - 0.0000001267
      {1.0, 104.65727, 0.0166664703},
      // 102.93735 + 17.1946 + 0.046;  0.016708634 - 0.00042037 - 0.00001267
      {10.0, 120.17795, 0.016275594},
      // 102.93735 - 17.1946 + 0.046;  0.016708634 + 0.00042037 - 0.00001267
      {-10.0, 85.78875, 0.017116334},
      // 102.93735 - 171.946 + 4.6, left below 0 (not reduced into [0, 360));
      // 0.016708634 + 0.0042037 - 0.001267
      {-100.0, -64.40865, 0.019645334},
  };
  for (const Case& c : cases) {
    double kappa = 0, perihel = 0, ecc = 0;
    Aberration(c.T, &kappa, &perihel, &ecc);
    EXPECT_NEAR(perihel, c.perihel, 1e-11) << c.T;
    EXPECT_NEAR(ecc, c.ecc, 1e-15) << c.T;
  }
}

// The Earth's mean orbit of date against the Swiss Ephemeris (its mean
// apsides of the Earth, heliocentric): the longitude of the perihelion, and
// the eccentricity (Q - q) / (Q + q) from the distances of the perihelion q
// and the aphelion Q, from 1000 years before J2000 to 1000 years after.
TEST(Aberration, MeanOrbitAgainstTheSwissEphemeris) {
  for (double T = -10; T <= 10; T += 0.5) {
    double kappa = 0, perihel = 0, ecc = 0;
    Aberration(T, &kappa, &perihel, &ecc);
    double asc[6], dsc[6], peri[6], aph[6];
    char err[AS_MAXCH] = "";
    ASSERT_EQ(swe_nod_aps(2451545.0 + 36525.0 * T, SE_EARTH,
                          SEFLG_MOSEPH | SEFLG_HELCTR, SE_NODBIT_MEAN, asc, dsc,
                          peri, aph, err),
              0)
        << err;
    EXPECT_NEAR(std::remainder(perihel - peri[0], 360.0), 0.0, 0.01) << T;
    EXPECT_NEAR(ecc, (aph[2] - peri[2]) / (aph[2] + peri[2]), 1e-6) << T;
  }
}

// The constant of aberration, 20.49552", is the Earth's mean orbital speed
// over the speed of light: k / (c sqrt(1 - e^2)), with the Gaussian
// gravitational constant k (radians a day at 1 au) and c in au a day from
// ERFA's au and metres a second.  It is the same at every date.
TEST(Aberration, ConstantOfAberrationFromTheEarthsMeanMotion) {
  const double k = 0.01720209895;
  double kappa = 0, perihel = 0, ecc = 0;
  Aberration(0.0, &kappa, &perihel, &ecc);
  const double speed = k / (ERFA_DC * std::sqrt(1 - ecc * ecc));
  EXPECT_NEAR(kappa * 3600, speed * ERFA_DR2AS, 1e-3);
  EXPECT_NEAR(kappa * 3600, 20.49552, 1e-9);
  for (double T : {-27.0, 1.0, 15.0, kNaN}) {
    double later = 0;
    Aberration(T, &later, &perihel, &ecc);
    EXPECT_EQ(later, kappa) << T;
  }
}

// The quadratic terms are coefficient times T, then times T, left to right as
// the formulas are written; the coefficient times the square of T rounds
// differently in the last bit at these dates.
TEST(Aberration, QuadraticTermsLeftToRight) {
  double kappa = 0, perihel = 0, ecc = 0;
  Aberration(-25.1, &kappa, &perihel, &ecc);
  EXPECT_EQ(perihel,
            60.068708599999987);  // 0.00046 (T T) gives 60.068708599999994
  Aberration(-21.51, &kappa, &perihel, &ecc);
  EXPECT_EQ(
      ecc,
      0.017554228301330001);  // 0.0000001267 (T T) gives 0.017554228301329997
}

}  // namespace
