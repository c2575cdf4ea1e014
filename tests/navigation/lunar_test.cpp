// Lunar distance: the almanac distance against ERFA's angular separation
// and the clearing against true geometries whose apparent distance is built
// by moving each body along its vertical circle.
#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>

#include "lunar.h"

namespace {

constexpr double kDeg = 180.0 / 3.141592653589793;
constexpr double kRad = 1.0 / kDeg;
constexpr double arcsec = 1.0 / 3600.0;

TEST(LDist, KnownDistances) {
  EXPECT_NEAR(LDist(0, 0, 10, 350), 20, 1e-12);
  EXPECT_NEAR(LDist(0, 0, 350, 10), 20, 1e-12);
  EXPECT_NEAR(LDist(90, -90, 0, 0), 180, 1e-12);
  EXPECT_NEAR(LDist(30, -30, 45, 45), 60, 1e-12);
  EXPECT_NEAR(LDist(0, 90, 123, 7), 90, 1e-12);
}

TEST(LDist, AgreesWithErfaSeparation) {
  struct Pair {
    double d1, d2, a1, a2;
  };
  const Pair pairs[] = {{12.3, -5.6, 45.0, 101.2},  {-28.1, 19.9, 350.2, 10.4},
                        {60.5, 61.0, 200.0, 230.0}, {-70.0, -10.0, 5.0, 185.0},
                        {1.0, 2.0, 0.0, 179.0},     {23.4, -23.4, 90.0, 270.0}};
  for (const Pair& p : pairs) {
    const double sep =
        eraSeps(p.a1 * kRad, p.d1 * kRad, p.a2 * kRad, p.d2 * kRad) * kDeg;
    EXPECT_NEAR(LDist(p.d1, p.d2, p.a1, p.a2), sep, 1e-6 * arcsec)
        << p.d1 << " " << p.d2 << " " << p.a1 << " " << p.a2;
  }
}

TEST(LDist, EqualPlacesAreZeroApart) {
  // The sum of the products rounds to just above 1 for many places; the
  // distance must still come out as 0 (within the rounding of the
  // arccosine near 1, about 1e-6 degree), never NaN.
  double worst = 0;
  for (double d = -90; d <= 90; d += 0.37)
    for (double a = 0; a < 360; a += 13.1) {
      const double x = LDist(d, d, a, a);
      ASSERT_FALSE(std::isnan(x)) << d << " " << a;
      worst = std::fmax(worst, x);
    }
  EXPECT_LT(worst, 2e-6) << "worst distance of a place from itself (deg)";
}

// Altitudes and azimuths of two bodies, degrees.
struct Sky {
  double hM, zM, hB, zB;
};

// Distance between two bodies from their altitudes and azimuths.
double distance(double h1, double z1, double h2, double z2) {
  const double c =
      std::sin(h1 * kRad) * std::sin(h2 * kRad) +
      std::cos(h1 * kRad) * std::cos(h2 * kRad) * std::cos((z1 - z2) * kRad);
  return std::acos(c) * kDeg;
}

// True (geocentric, airless) altitudes are turned into apparent ones by
// lifting each body by its refraction and lowering the Moon by its parallax
// in altitude; the azimuths stay.  The apparent distance of the centres
// follows from the apparent altitudes, and clearing it with the two pairs of
// altitudes must give back the true distance.
TEST(Lunaclear, ClearsAnApparentDistanceBackToTheTrueOne) {
  struct Case {
    Sky truth;
    double pM;      // Moon's parallax in altitude, degrees
    double rM, rB;  // refraction of Moon and body, degrees
    double pB;      // parallax of the body (the Sun's), degrees
  };
  const Case cases[] = {
      {{30.0, 120.0, 45.0, 250.0}, 0.82, 1.7 / 60, 1.0 / 60, 0.0},
      {{12.5, 95.0, 8.0, 280.0}, 0.93, 4.4 / 60, 6.3 / 60, 0.0025},
      {{62.0, 170.0, 20.0, 30.0}, 0.46, 0.5 / 60, 2.6 / 60, 0.0},
      {{40.0, 200.0, 41.0, 210.0},
       0.72,
       1.1 / 60,
       1.1 / 60,
       0.0},  // 10 deg apart
      {{5.0, 80.0, 6.0, 300.0},
       0.99,
       9.8 / 60,
       8.6 / 60,
       0.0024},  // low, far apart
  };
  for (const Case& c : cases) {
    const Sky& t = c.truth;
    const double HaM = t.hM + c.rM - c.pM;
    const double HaB = t.hB + c.rB - c.pB;
    const double apparent = distance(HaM, t.zM, HaB, t.zB);
    const double truth = distance(t.hM, t.zM, t.hB, t.zB);
    const double cleared =
        Lunaclear(apparent, t.hM, t.hB, HaM, HaB, t.zM, t.zB, c.pM, 0);
    EXPECT_NEAR(cleared, truth, 1e-4 * arcsec)
        << "apparent " << apparent << " true " << truth;
    // The clearing matters: it moves the distance by minutes of arc.
    EXPECT_GT(std::fabs(apparent - truth), 1.0 / 60);
  }
}

TEST(Lunaclear, NoFlatteningTermOnTheEquatorOrOnOneVertical) {
  const double D = 64.2, HoM = 31.5, HoB = 40.2, HaM = 30.7, HaB = 40.22;
  const double pM = 0.85;
  // The parallax of the Moon enters only through the flattening term, so
  // clearing without it shows where no term is added.
  EXPECT_EQ(Lunaclear(D, HoM, HoB, HaM, HaB, 100, 250, pM, 0),
            Lunaclear(D, HoM, HoB, HaM, HaB, 100, 250, 0, 0));
  EXPECT_EQ(Lunaclear(D, HoM, HoB, HaM, HaB, 100, 100, pM, 48),
            Lunaclear(D, HoM, HoB, HaM, HaB, 100, 100, 0, 48));
  // Elsewhere the term is small but present: a fraction of
  // f x pM / sin(distance).
  const double with = Lunaclear(D, HoM, HoB, HaM, HaB, 100, 250, pM, 48);
  const double without = Lunaclear(D, HoM, HoB, HaM, HaB, 100, 250, 0, 48);
  EXPECT_NE(with, without);
  EXPECT_LT(std::fabs(with - without),
            0.0033528131778969143 * pM / std::sin(without * kRad));
  EXPECT_GT(std::fabs(with - without), 1e-4);  // about a second of arc or more
}

TEST(Lunaclear, CoincidentCentresGiveZeroNotNaN) {
  // Two bodies at one place: the cleared distance is 0, and the flattening
  // term (divided by the sine of the distance) is not added.
  const double d = Lunaclear(0, 30, 30, 29.9, 29.9, 120, 120, 0.8, 45);
  EXPECT_FALSE(std::isnan(d));
  EXPECT_NEAR(d, 0, 3e-6);
  const double e = Lunaclear(0, 30, 30, 29.9, 29.9, 120, 250, 0.8, 45);
  EXPECT_TRUE(std::isfinite(e));
}

}  // namespace

TEST(Lunaclear, ImpossibleSightsGiveNaNNotAClampedDistance) {
  // Apparent and observed altitudes that no refraction or parallax can join
  // (89.9 against 30 degrees) make the formed cosine leave [-1, 1] by much
  // more than rounding: the clearing gives NaN, not a clamped distance.
  const double d =
      Lunaclear(40.0, 30.0, 30.0, 89.9, 30.1, 100.0, 200.0, 0.9, 45.0);
  EXPECT_TRUE(std::isnan(d));
}
