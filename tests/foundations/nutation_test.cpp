// Nutation and obliquity: the IAU 1980 series against ERFA's eraNut80, the
// mean obliquity at J2000.0, the true obliquity, arguments not finite.
#include <gtest/gtest.h>

#include <erfa.h>

#include <cmath>
#include <limits>

#include "calendar.h"
#include "nutation.h"

namespace {

constexpr double kArcsec = 1.0 / 3600.0;  // degrees
constexpr double kRadToDeg = 180.0 / 3.141592653589793;

struct Nut {
  double dpsi, deps, eps0, eps;
};
Nut nutation(double T) {
  Nut n{};
  Nutation(T, &n.dpsi, &n.deps, &n.eps0, &n.eps);
  return n;
}

// The same 106 terms and the same fundamental arguments as ERFA, whose
// constants are in arcseconds while these are in degrees rounded to 9 to 12
// decimals; the largest such rounding, 4.4e-10 degree per century in the
// rate of l, shifts the 17" term by 4e-9" at -700.  Measured over -700 to
// 3500: 3.1e-9" in longitude, 1.6e-9" in obliquity; allowed 1e-8".  A wrong
// coefficient in any row (one unit is 1e-4") shows far above this.
TEST(Nutation, AgreesWithErfaNut80) {
  double worst_psi = 0, worst_eps = 0;
  for (double jd = julday(-700, 1, 1, 0, 0, 0);
       jd < julday(3500, 12, 31, 0, 0, 0); jd += 37.123) {
    const Nut n = nutation((jd - 2451545.0) / 36525.0);
    double dpsi = 0, deps = 0;
    eraNut80(2451545.0, jd - 2451545.0, &dpsi, &deps);
    worst_psi = std::fmax(worst_psi, std::fabs(n.dpsi - dpsi * kRadToDeg));
    worst_eps = std::fmax(worst_eps, std::fabs(n.deps - deps * kRadToDeg));
  }
  EXPECT_LT(worst_psi, 1e-8 * kArcsec) << worst_psi / kArcsec << "\"";
  EXPECT_LT(worst_eps, 1e-8 * kArcsec) << worst_eps / kArcsec << "\"";
}

TEST(Nutation, ObliquityAndRanges) {
  const Nut j2000 = nutation(0.0);
  EXPECT_EQ(j2000.eps0, 84381.448 / 3600.0);
  for (double T : {-27.0, -13.7, -1.0, 0.0, 0.2, 1.0, 9.9, 15.0}) {
    const Nut n = nutation(T);
    EXPECT_EQ(n.eps, n.eps0 + n.deps) << T;
    EXPECT_LT(std::fabs(n.dpsi), 20 * kArcsec) << T;
    EXPECT_LT(std::fabs(n.deps), 10.5 * kArcsec) << T;
    // The mean obliquity: 23.78 degrees at -700, 23.44 now, 23.2 in 3500.
    EXPECT_NEAR(n.eps0, 23.5, 0.35) << T;
  }
  // Nothing is kept between calls: the same T gives the same bits.
  const Nut again = nutation(0.0);
  EXPECT_EQ(again.dpsi, j2000.dpsi);
  EXPECT_EQ(again.deps, j2000.deps);
}

TEST(Nutation, NotFiniteArgumentsGiveNaN) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 1e300,
                        -1e300};
  for (double T : bad) {
    const Nut n = nutation(T);
    EXPECT_TRUE(std::isnan(n.dpsi)) << T;
    EXPECT_TRUE(std::isnan(n.deps)) << T;
    EXPECT_TRUE(std::isnan(n.eps)) << T;
  }
}

}  // namespace
