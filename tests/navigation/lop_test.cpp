// The fix from two lines of position: the cases of the intersection and the
// limit of convergence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lop.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Intersection, CasesOfTheTwoLines) {
  const double factor = 2 * 3.14159265359 / 360;
  double y = 0, x = 0, c = 0;
  // Slopes -1 and +1: a regular cut half-way between the foot points.
  EXPECT_EQ(intersect_lops(45, 10, 20, 135, 10, 21, &y, &x, &c),
            LopCut::kGeneral);
  EXPECT_EQ(c, std::cos(10 * factor));
  EXPECT_NEAR(y, 10 - c / 2, 1e-12);
  EXPECT_NEAR(x / c, 20.5, 1e-12);
  // The same slope: rejected, with line 2's foot point.
  EXPECT_EQ(intersect_lops(45, 10, 20, 225, 11, 21, &y, &x, &c),
            LopCut::kRejected);
  EXPECT_EQ(y, 11);
  EXPECT_EQ(x, 21 * c);
  // Line 1 within 0.1 degree of south runs east-west: the fix takes its
  // latitude.
  EXPECT_EQ(intersect_lops(180.05, 10, 20, 135, 11, 21, &y, &x, &c),
            LopCut::kLine1EastWest);
  EXPECT_EQ(y, 10);
  EXPECT_EQ(x, (10 - 11) * std::tan((135 - 90) * factor) + 21 * c);
  EXPECT_EQ(intersect_lops(45, 10, 20, 359.95, 11, 21, &y, &x, &c),
            LopCut::kLine2EastWest);
  EXPECT_EQ(y, 11);
  // Line 1 just outside the band is an ordinary steep line.
  EXPECT_EQ(intersect_lops(180.2, 10, 20, 135, 11, 21, &y, &x, &c),
            LopCut::kGeneral);
  // Both lines east-west have equal slopes.
  EXPECT_EQ(intersect_lops(0.05, 10, 20, 180, 11, 21, &y, &x, &c),
            LopCut::kRejected);
  // An azimuth that is not a number is not caught: NaN runs into the fix.
  EXPECT_EQ(intersect_lops(kNaN, 10, 20, 135, 11, 21, &y, &x, &c),
            LopCut::kGeneral);
  EXPECT_TRUE(std::isnan(y));
}

TEST(Intersection, ConvergenceIsStrictlyBelowATenthOfAMile) {
  EXPECT_TRUE(fix_converged(0.0));
  EXPECT_TRUE(fix_converged(0.0999));
  EXPECT_TRUE(fix_converged(-0.05));
  EXPECT_FALSE(fix_converged(0.1));
  EXPECT_FALSE(fix_converged(-0.1));
  EXPECT_FALSE(fix_converged(kNaN));
  EXPECT_FALSE(fix_converged(std::numeric_limits<double>::infinity()));
}

}  // namespace
