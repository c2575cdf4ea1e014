// The Delta-T model: rows given exactly, the three nodes of the parabola,
// the years 2400 to 2499, the parabola from 2500 on, years out of range.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "console_capture.h"
#include "deltat.h"

namespace {

const char kOutOfRange[] =
    " ??? year out of range:  -700 < year < 3500 ??? \n"
    " ??? setting Delta-T == 0 !\n";

TEST(Deltatime, RowsAndParabolaValuesExactly) {
  ConsoleCapture con;
  struct Case {
    int year;
    double dt;
  } cases[] = {
      {-700, 20500},  {-500, 16940},  {0, 10440},     {1600, 109},
      {1800, 18.4},   {1860, 9.04},   {1900, -1.98},  {2000, 63.81},
      {2018, 68.92},  {2020, 69.36},  {2022, 69.29},  {2200, 160},
      {2300, 330},    {2400, 610},    {2500, 1001.0}, {2501, 1004.7271},
      {3000, 3638.0}, {3500, 7825.0},  // the parabola in the year
  };
  for (const auto& c : cases) EXPECT_EQ(deltatime(c.year), c.dt) << c.year;
  EXPECT_EQ(con.output(), "");  // years in range print nothing
}

TEST(Deltatime, NodesOfTheParabola) {
  struct Case {
    int year;
    double x1, y1, x2, y2, x3, y3;
  } cases[] = {
      {-600, -700, 20500, -500, 16940, -300, 14080},
      {1899, 1895, -5.02, 1900, -1.98, 1905, 4.92},
      {2017, 2015, 67.69, 2018, 68.92, 2020, 69.36},
      {2021, 2020, 69.36, 2022, 69.29, 2030, 68},
      {2025, 2022, 69.29, 2030, 68, 2040, 68},
      {2299, 2200, 160, 2300, 330, 2400, 610},
      // 2300 to 2499: the last three rows, also past the row for 2400
      {2399, 2300, 330, 2400, 610, 2500, 1001},
      {2410, 2300, 330, 2400, 610, 2500, 1001},
      {2475, 2300, 330, 2400, 610, 2500, 1001},
      {2499, 2300, 330, 2400, 610, 2500, 1001},
  };
  for (const auto& c : cases)
    EXPECT_EQ(deltatime(c.year),
              quadipola(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.year))
        << c.year;
}

// The years 2400 to 2499 continue the curve through 2400 (one parabola from
// 2300 to 2500, so the yearly steps on either side of 2400 differ only by
// its curvature) and meet the parabola of the later years at 2500 in value;
// there the yearly step changes from 4.46 s to 3.73 s, but nothing jumps.
TEST(Deltatime, ContinuousAt2400And2500) {
  const double at2400 = deltatime(2400);
  EXPECT_NEAR(at2400 - deltatime(2399), deltatime(2401) - at2400, 0.02);
  const double at2500 = deltatime(2500);
  const double below = at2500 - deltatime(2499);
  const double above = deltatime(2501) - at2500;
  EXPECT_GT(below, 4.0);
  EXPECT_NEAR(below, above, 1.0);
  EXPECT_EQ(quadipola(2300, 330, 2400, 610, 2500, 1001, 2500), at2500);
  for (int y = 2300; y < 2500; ++y)
    EXPECT_LT(deltatime(y), deltatime(y + 1)) << y;
}

TEST(Deltatime, OutOfRangeGivesZeroAfterTwoLines) {
  for (int year : {-701, 3501, INT_MIN, INT_MAX, -100000}) {
    ConsoleCapture con("");
    EXPECT_EQ(deltatime(year), 0.0) << year;
    EXPECT_EQ(con.output(), kOutOfRange) << year;
  }
}

TEST(Quadipola, AtItsAbscissaeGivesTheOrdinatesExactly) {
  struct Case {
    double x1, y1, x2, y2, x3, y3;
  } cases[] = {
      {2010, 66.1, 2020, 69.36, 2025, 68.7},
      {-700, 20500, -500, 16940, -300, 14080},
      {0.1, 1e-300, 0.3, -7.7, 1e6, 3.3},
      {2300, 330, 2400, 610, 2500, 1001},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quadipola(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x1), c.y1);
    EXPECT_EQ(quadipola(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x2), c.y2);
    EXPECT_EQ(quadipola(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x3), c.y3);
  }
  // A parabola is reproduced: y = x^2 - 3x + 2 through 0, 1, 3.
  EXPECT_NEAR(quadipola(0, 2, 1, 0, 3, 2, 2), 0.0, 1e-15);
  EXPECT_NEAR(quadipola(0, 2, 1, 0, 3, 2, 5), 12.0, 1e-13);
}

TEST(Quadipolb, ReadsElementsOneToThree) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double xs[4] = {nan, 2010, 2020, 2025};
  const double ys[4] = {nan, 66.1, 69.36, 68.7};
  double y = 0;
  quadipolb(xs, ys, 2022, &y);
  EXPECT_EQ(y, quadipola(2010, 66.1, 2020, 69.36, 2025, 68.7, 2022));
  quadipolb(xs, ys, 2020, &y);
  EXPECT_EQ(y, 69.36);
}

}  // namespace
