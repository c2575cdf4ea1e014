// Sailings: dead reckoning in mid-latitude legs and Mercator sailing against
// the rhumb line on the sphere, parallel sailing on east-west courses, and
// the plane-chart distance across the date line.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "angles.h"
#include "sailing.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRad = kPi / 180;
constexpr double kDeg = 180 / kPi;

struct Pos {
  double lat, lon;
};

// The rhumb line on the sphere: distance nm on course C from (lat, lon),
// longitude into (-180, 180].
Pos rhumb(double nm, double lat, double lon, double C) {
  const double lat2 = lat + std::cos(C * kRad) * nm / 60;
  double dlon;
  if (std::fabs(std::cos(C * kRad)) < 1e-12) {
    dlon = std::sin(C * kRad) * nm / 60 / std::cos(lat * kRad);
  } else {
    const double dpsi = std::log(std::tan(kPi / 4 + lat2 * kRad / 2) /
                                 std::tan(kPi / 4 + lat * kRad / 2));
    dlon = std::tan(C * kRad) * dpsi * kDeg;
  }
  double lon2 = std::fmod(lon + dlon + 540.0, 360.0) - 180.0;
  if (lon2 == -180.0) lon2 = 180.0;
  return {lat2, lon2};
}

// n mid-latitude legs of equal length, laid out one by one.
Pos legs_by_hand(double nm, int n, double C, double lat, double lon) {
  const double step = nm / n;
  for (int i = 0; i < n; ++i) {
    const double lat2 = lat + cosd(C) * step / 60;
    lon = lon + sind(C) * step / 60 / cosd((lat + lat2) * 0.5);
    lat = lat2;
  }
  return {lat, lim180(norm360(lon))};
}

Pos run(double jd1, double jd2, double speed, double course, double lat,
        double lon) {
  Pos p{};
  verspos(jd1, jd2, speed, course, lat, lon, &p.lat, &p.lon);
  return p;
}

Pos shift(double nm, double lat, double lon, double course) {
  Pos p{};
  shiftpos(nm, lat, lon, course, &p.lat, &p.lon);
  return p;
}

const double jd = 2457922.25;  // 2017-06-17 18 h

// ------------------------------------------------------------- verspos

TEST(Verspos, NoRunNoMove) {
  // Equal instants at a positive speed.
  Pos p = run(jd, jd, 12.0, 37.0, 44.78, -17.19);
  EXPECT_EQ(p.lat, 44.78);
  EXPECT_NEAR(p.lon, -17.19, 1e-12);
  // Less than one nautical mile is no leg at all.
  p = run(jd, jd, -0.99, 37.0, 44.78, 190.0);
  EXPECT_EQ(p.lat, 44.78);
  EXPECT_NEAR(p.lon, -170.0,
              1e-12);  // the longitude is still brought into range
  // A run backwards in time at a positive speed is no run either.
  p = run(jd, jd - 0.5, 12.0, 37.0, 44.78, -17.19);
  EXPECT_EQ(p.lat, 44.78);
}

TEST(Verspos, NegativeSpeedIsTheDistanceRun) {
  // 10 nautical miles due east along the 60th parallel, in 10 legs of 1:
  // 20 minutes of longitude, whatever the two Julian Days.
  const Pos p = run(jd, jd + 3.0, -10.0, 90.0, 60.0, 5.0);
  EXPECT_NEAR(p.lat, 60.0, 1e-12);
  EXPECT_NEAR(p.lon, 5.0 + 10.0 / 60 / 0.5, 1e-9);
  const Pos h = legs_by_hand(10.0, 10, 90.0, 60.0, 5.0);
  EXPECT_DOUBLE_EQ(p.lat, h.lat);
  EXPECT_DOUBLE_EQ(p.lon, h.lon);
}

TEST(Verspos, SpeedTimesTimeAlongTheRhumbLine) {
  // 10 knots for 10 hours on 045 from 40 N 20 E: 100 nautical miles.
  const Pos p = run(jd, jd + 10.0 / 24, 10.0, 45.0, 40.0, 20.0);
  const Pos r = rhumb(100.0, 40.0, 20.0, 45.0);
  EXPECT_NEAR(p.lat, r.lat, 1e-9);
  EXPECT_NEAR(p.lon, r.lon, 1e-7);
}

TEST(Verspos, NumberOfLegs) {
  struct Case {
    double nm;
    int legs;
  };
  // floor(distance) legs, at most 200: 1.5 is one leg of 1.5, 500 are 200
  // legs of 2.5.
  for (Case c : {Case{1.0, 1}, Case{1.5, 1}, Case{10.0, 10}, Case{199.9, 199},
                 Case{200.0, 200}, Case{500.0, 200}}) {
    const Pos p = run(jd, jd, -c.nm, 45.0, 60.0, 170.0);
    const Pos h = legs_by_hand(c.nm, c.legs, 45.0, 60.0, 170.0);
    EXPECT_DOUBLE_EQ(p.lat, h.lat) << c.nm;
    EXPECT_DOUBLE_EQ(p.lon, h.lon) << c.nm;
  }
  // 500 legs would place the end elsewhere: the cap is what is tested.
  const Pos p500 = run(jd, jd, -500.0, 45.0, 60.0, 170.0);
  const Pos h500 = legs_by_hand(500.0, 500, 45.0, 60.0, 170.0);
  EXPECT_NE(p500.lon, h500.lon);
  EXPECT_NEAR(p500.lon, h500.lon, 1e-5);
}

TEST(Verspos, NanAndHugeDistancesAreSafe) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // NaN speed or time: no leg, the start comes back.
  Pos p = run(jd, jd + 1, nan, 45.0, 10.0, 20.0);
  EXPECT_EQ(p.lat, 10.0);
  EXPECT_NEAR(p.lon, 20.0, 1e-12);
  p = run(jd, nan, 10.0, 45.0, 10.0, 20.0);
  EXPECT_EQ(p.lat, 10.0);
  // A huge distance is cut into 200 legs and computed through.
  p = run(jd, jd, -1e12, 0.0, 10.0, 20.0);
  EXPECT_NEAR(p.lat, 10.0 + 1e12 / 60, 1e-3 * 1e12 / 60);
  p = run(jd, jd + 1e300, 1e300, 45.0, 10.0, 20.0);  // infinite distance
  EXPECT_FALSE(std::isfinite(p.lat));
  p = run(jd, jd, -inf, 90.0, 10.0, 20.0);
  EXPECT_FALSE(std::isfinite(p.lon));
}

// ------------------------------------------------------------ shiftpos

TEST(Shiftpos, MercatorSailingFollowsTheRhumbLine) {
  struct Case {
    double nm, lat, lon, course;
  };
  for (Case c :
       {Case{100, 40, 20, 135}, Case{250, -33.9, 18.4, 290},
        Case{60, 10, -179.5, 45}, Case{30, 0, 0, 0}, Case{30, 0, 0, 180},
        Case{12, 70, 100, 89.98}, Case{12, 70, 100, 270.02}}) {
    const Pos s = shift(c.nm, c.lat, c.lon, c.course);
    const Pos r = rhumb(c.nm, c.lat, c.lon, c.course);
    EXPECT_NEAR(s.lat, r.lat, 1e-10) << c.course;
    EXPECT_NEAR(s.lon, r.lon, 1e-9) << c.course;
    // Dead reckoning in mid-latitude legs arrives at nearly the same point.
    const Pos v = run(jd, jd, -c.nm, c.course, c.lat, c.lon);
    EXPECT_NEAR(v.lat, s.lat, 1e-9) << c.course;
    EXPECT_NEAR(v.lon, s.lon, 1e-5) << c.course;
  }
}

TEST(Shiftpos, EastWestCoursesUseParallelSailing) {
  const double nm = 60, lat = 30, lon = 10;
  for (double course : {90.0, 89.995, 90.009, 270.0, 270.005}) {
    const Pos p = shift(nm, lat, lon, course);
    const double east = (std::fabs(course - 90) < 0.01) ? 1 : -1;
    // One degree of arc along the parallel, converted at the middle
    // latitude, without the sine of the course.
    const double mid = (lat + p.lat) / 2;
    EXPECT_NEAR(p.lon, lon + east * 1.0 / std::cos(mid * kRad), 1e-12)
        << course;
    EXPECT_NEAR(p.lat, lat + std::cos(course * kRad), 1e-12) << course;
  }
  // 0.02 degree away from the east-west line Mercator sailing takes over;
  // the sine of the course then shows in the longitude.
  const Pos m = shift(nm, lat, lon, 90.02);
  const Pos r = rhumb(nm, lat, lon, 90.02);
  EXPECT_NEAR(m.lon, r.lon, 1e-9);
  const double parallel = lon + 1.0 / std::cos((lat + m.lat) / 2 * kRad);
  EXPECT_GT(std::fabs(m.lon - parallel), 2e-8);
}

TEST(Shiftpos, CourseTakenByMagnitudeAndOneTurn) {
  const Pos a = shift(60, 30, 10, 90);
  const Pos b = shift(60, 30, 10, 450);
  EXPECT_EQ(a.lat, b.lat);
  EXPECT_EQ(a.lon, b.lon);
  const Pos c = shift(60, 30, 10, 45);
  const Pos d = shift(60, 30, 10, -45);
  EXPECT_EQ(c.lat, d.lat);
  EXPECT_EQ(c.lon, d.lon);
}

TEST(Shiftpos, SelectorDoesNotCarryOverBetweenCalls) {
  const Pos first = shift(60, 30, 10, 45);
  shift(60, 30, 10, 90);
  shift(60, 30, 10, 270);
  const Pos again = shift(60, 30, 10, 45);
  EXPECT_EQ(first.lat, again.lat);
  EXPECT_EQ(first.lon, again.lon);
}

TEST(Shiftpos, StartLatitudeHeldAtEightyNineDegrees) {
  Pos p = shift(0, 89.5, 10, 0);
  EXPECT_EQ(p.lat, 89.0);
  EXPECT_NEAR(p.lon, 10, 1e-12);
  p = shift(60, -89.5, 10, 0);
  EXPECT_NEAR(p.lat, -88.0, 1e-12);
  // The latitude reached is not held: 120 nautical miles north of 89 N.
  p = shift(120, 89.5, 10, 0);
  EXPECT_NEAR(p.lat, 91.0, 1e-12);
}

TEST(Shiftpos, AcrossTheDateLine) {
  const Pos p = shift(30, 0, 179.9, 90);  // half a degree east
  EXPECT_NEAR(p.lon, -179.6, 1e-9);
  const Pos q = shift(30, 0, -179.9, 270);
  EXPECT_NEAR(q.lon, 179.6, 1e-9);
}

// ------------------------------------------------------------- bestver

TEST(Bestver, PlaneChartDistance) {
  // Difference of latitude alone: 60 nautical miles per degree.
  EXPECT_NEAR(bestver(10, 5, 11, 5, 1), 60, 1e-12);
  // 3 miles of latitude and 4 of departure at a scale of 0.5.
  EXPECT_NEAR(bestver(20, 0.5 * 7, 20 + 3.0 / 60, 0.5 * 7 + 4.0 / 60, 0.5), 5,
              1e-10);
}

TEST(Bestver, ShortWayAcrossTheDateLine) {
  const double lat = 40, k = std::cos(lat * kRad);
  // 179.9 E and 179.9 W lie 0.2 degree of longitude apart.
  const double expect = 60 * 0.2 * k;
  EXPECT_NEAR(bestver(lat, 179.9 * k, lat, -179.9 * k, k), expect, 1e-9);
  EXPECT_NEAR(bestver(lat, -179.9 * k, lat, 179.9 * k, k), expect, 1e-9);
  // And a mile of latitude on top.
  EXPECT_NEAR(bestver(lat, 179.9 * k, lat + 1.0 / 60, -179.9 * k, k),
              std::hypot(expect, 1.0), 1e-9);
}

}  // namespace
