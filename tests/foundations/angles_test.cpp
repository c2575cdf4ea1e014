// Angle and number routines: the reductions to the last bit, the signed
// split into units, minutes and seconds, and the east-west test.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "angles.h"
#include "xorshift.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Bitwise equality, so that -0.0 and +0.0 are told apart.
bool same(double a, double b) {
  return std::signbit(a) == std::signbit(b) &&
         (a == b || (std::isnan(a) && std::isnan(b)));
}

TEST(Norm360, Reductions) {
  struct Case {
    double in, out;
  } cases[] = {
      {-1, 359},   {-1e-20, 0}, {-360, 0},
      {-0.0, 0},   {360, 0},    {725, 5},
      {-180, 180}, {540, 180},  {359.99999999999994, 359.99999999999994},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(same(norm360(c.in), c.out)) << c.in << " -> " << norm360(c.in);
  EXPECT_TRUE(std::isnan(norm360(kNaN)));
  EXPECT_TRUE(std::isnan(norm360(kInf)));
  EXPECT_TRUE(std::isnan(norm360(-kInf)));
}

TEST(Norm360, HugeFiniteValuesStayInRange) {
  for (double x : {1e20, -1e20, 1e300, -1e300, -1.7976931348623157e308}) {
    const double r = norm360(x);
    EXPECT_GE(r, 0.0) << x;
    EXPECT_LT(r, 360.0) << x;
  }
}

TEST(Dmodx, TrueModulo) {
  struct Case {
    double a, m, out;
  } cases[] = {
      {-1, 360, 359},    {5, -3, 2},         {-5, 3, 1},
      {-360, 360, -0.0}, {-1e-20, 360, 360},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(same(dmodx(c.a, c.m), c.out)) << c.a << " mod " << c.m;
  EXPECT_TRUE(std::isnan(dmodx(7.5, 0)));
}

TEST(Lim180, OneStepOnly) {
  const double above = std::nextafter(180.0, 1000.0);
  EXPECT_EQ(lim180(180), 180);
  EXPECT_EQ(lim180(above), above - 360);
  EXPECT_GT(lim180(above), -180);
  EXPECT_EQ(lim180(540), 180);
  EXPECT_EQ(lim180(900), 540);
  EXPECT_EQ(lim180(-200), -200);
}

struct Split {
  int d, m, mr, sr;
  double mdec, sdec;
};

Split split(double x) {
  Split s{};
  cxangle(x, &s.d, &s.m, &s.mr, &s.sr, &s.mdec, &s.sdec);
  return s;
}

TEST(Cxangle, SignedSplit) {
  struct Case {
    double x;
    Split want;
  } cases[] = {
      {10.5, {10, 30, 30, 0, 30.0, 0.0}},
      {1.5, {1, 30, 30, 0, 30.0, 0.0}},
      {-2.25, {-2, -15, -15, 0, -15.0, -0.0}},
      {-0.5, {0, -30, -30, 0, -30.0, -0.0}},
  };
  for (const auto& c : cases) {
    const Split s = split(c.x);
    EXPECT_EQ(s.d, c.want.d) << c.x;
    EXPECT_EQ(s.m, c.want.m) << c.x;
    EXPECT_EQ(s.mr, c.want.mr) << c.x;
    EXPECT_EQ(s.sr, c.want.sr) << c.x;
    EXPECT_TRUE(same(s.mdec, c.want.mdec)) << c.x;
    EXPECT_TRUE(same(s.sdec, c.want.sdec)) << c.x << " " << s.sdec;
  }
}

TEST(Cxangle, NoCarryAndNoTolerance) {
  const Split a = split(1 - 1e-8);
  EXPECT_EQ(a.d, 0);
  EXPECT_EQ(a.m, 59);
  EXPECT_EQ(a.mr, 60);
  EXPECT_EQ(a.sr, 60);
  EXPECT_LT(a.mdec, 60);
  EXPECT_LT(a.sdec, 60);

  const Split b = split(-0.0001);  // the sign shows only in the decimals
  EXPECT_EQ(b.d, 0);
  EXPECT_EQ(b.m, 0);
  EXPECT_EQ(b.mr, 0);
  EXPECT_EQ(b.sr, 0);
  EXPECT_DOUBLE_EQ(b.mdec, -0.006);
  EXPECT_DOUBLE_EQ(b.sdec, -0.36);

  const Split c = split(10.1);  // fraction held as 0.0999...
  EXPECT_EQ(c.d, 10);
  EXPECT_EQ(c.m, 5);
  EXPECT_EQ(c.mr, 6);
  EXPECT_EQ(c.sr, 60);
  EXPECT_LT(c.mdec, 6);
}

TEST(Cxangle, SaturatesInsteadOfOverflowing) {
  const Split big = split(1e12);
  EXPECT_EQ(big.d, INT_MAX);
  const Split neg = split(-3e9);
  EXPECT_EQ(neg.d, INT_MIN);
  const Split nan = split(kNaN);
  EXPECT_EQ(nan.d, 0);
  EXPECT_EQ(nan.sr, 0);
  const Split inf = split(-kInf);
  EXPECT_EQ(inf.d, INT_MIN);
}

TEST(Dtoi, TruncatesAndSaturates) {
  EXPECT_EQ(dtoi(2.9), 2);
  EXPECT_EQ(dtoi(-2.9), -2);
  EXPECT_EQ(dtoi(2147483647.0), INT_MAX);
  EXPECT_EQ(dtoi(2147483646.5), 2147483646);
  EXPECT_EQ(dtoi(-2147483648.0), INT_MIN);
  EXPECT_EQ(dtoi(-2147483648.5), INT_MIN);
  EXPECT_EQ(dtoi(kInf), INT_MAX);
  EXPECT_EQ(dtoi(kNaN), 0);
}

TEST(Angcheck, EastWestLines) {
  struct Case {
    double az;
    int want;
  } cases[] = {
      {0, 999},    {360, 999},      {180, 999},        {540, 999},
      {0.05, 999}, {-0.05, 999},    {180 - 0.09, 999}, {180 + 0.09, 999},
      {90, 0},     {180 - 0.11, 0}, {180 + 0.11, 0},   {0.11, 0},
      {-0.11, 0},  {0.1, 999},      {180 - 0.1, 999},  {180 + 0.1, 999},
      {-0.1, 0},   {360 - 0.1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(angcheck(c.az), c.want) << c.az;
  EXPECT_EQ(angcheck(kNaN), 0);
}

TEST(DegreeTrig, NoSpecialValues) {
  EXPECT_NE(sind(180), 0.0);
  EXPECT_LT(std::fabs(sind(180)), 1e-15);
  EXPECT_NE(cosd(90), 0.0);
  EXPECT_LT(std::fabs(cosd(90)), 1e-15);
  EXPECT_DOUBLE_EQ(tand(45), 1.0);
}

TEST(Norm2pi, LiftsOnlyNegativeValues) {
  EXPECT_TRUE(same(norm2pi(-1), kTwoPi - 1));
  EXPECT_TRUE(same(norm2pi(-1e-20), kTwoPi));
  EXPECT_TRUE(same(norm2pi(-kTwoPi), 0.0));
  EXPECT_TRUE(same(norm2pi(100), 100));
  EXPECT_TRUE(same(norm2pi(-0.0), -0.0));
  EXPECT_TRUE(std::isnan(norm2pi(kNaN)));
  EXPECT_TRUE(std::isnan(norm2pi(-kInf)));  // terminates
  EXPECT_EQ(norm2pi(kInf), kInf);
}

TEST(Norm2pi, RemainderAgreesWithRepeatedTurns) {
  // The turn-by-turn lifting and the remainder differ only by the rounding of
  // the additions: within 1e-10 rad for arguments above -1e4.
  for (double x : {-0.5, -7.0, -100.25, -3333.3, -9999.0}) {
    double y = x;
    while (y < 0) y = y + kTwoPi;
    EXPECT_NEAR(norm2pi(x), y, 1e-10) << x;
    EXPECT_NEAR(cost(x), std::cos(y), 1e-10) << x;
  }
}

TEST(Norm2pi, SameDoubleAsTheLibraryRemainder) {
  // A value that is not negative (-0 and NaN included) comes back as it is;
  // a negative one is lifted by the exact remainder rounded once: bit for bit
  // what fmod gives with one turn added, also next to exact multiples of the
  // turn.  The arguments take both signs in no pattern, as the series'
  // arguments do before 2000, and every edge of the choice between the
  // argument and its lifted value is here too.
  auto reference = [](double x) {
    if (!(x < 0)) return x;
    const double r = std::fmod(x, kTwoPi);
    return (r < 0) ? r + kTwoPi : r + 0.0;
  };
  testsupport::Xorshift64 next(88172645463325252ull);
  for (int i = 0; i < 400000; ++i) {
    const double u = static_cast<double>(next() >> 11) * 0x1p-53;
    double x;
    switch (i % 4) {
      case 0: x = -u * 1e6; break;   // series arguments
      case 1: x = -u * 20.0; break;  // a few turns
      case 2:
        x = -static_cast<double>(next() % 50000000) * kTwoPi;
        break;  // multiples
      default: x = -std::ldexp(u, static_cast<int>(next() % 80) - 20); break;
    }
    if (next() & 1) x = -x;
    ASSERT_TRUE(same(norm2pi(x), reference(x))) << std::hexfloat << x;
    ASSERT_TRUE(same(cost(x), std::cos(reference(x)))) << std::hexfloat << x;
  }
  const double kMax = std::numeric_limits<double>::max();
  const double kTiny = std::numeric_limits<double>::denorm_min();
  const double kMinNormal = std::numeric_limits<double>::min();
  const double kFar = -33554432.0 * kTwoPi;  // where the exact steps end
  for (double x : {0.0,
                   -0.0,
                   kTiny,
                   -kTiny,
                   kMinNormal,
                   -kMinNormal,
                   1e-300,
                   -1e-300,
                   1.0,
                   -1.0,
                   kTwoPi,
                   -kTwoPi,
                   std::nextafter(-kTwoPi, 0.0),
                   std::nextafter(-kTwoPi, -1.0),
                   -0.5 * kTwoPi,
                   -1.5 * kTwoPi,
                   kFar,
                   std::nextafter(kFar, 0.0),
                   std::nextafter(kFar, -1e300),
                   -1e300,
                   1e300,
                   kMax,
                   -kMax,
                   kInf}) {
    EXPECT_TRUE(same(norm2pi(x), reference(x))) << std::hexfloat << x;
    EXPECT_TRUE(same(norm2pi(-x), reference(-x))) << std::hexfloat << -x;
  }
  EXPECT_TRUE(std::isnan(norm2pi(kNaN)));
  EXPECT_TRUE(std::isnan(norm2pi(-kNaN)));
  EXPECT_TRUE(same(cost(2.5), std::cos(2.5)));  // positive arguments unchanged
  EXPECT_TRUE(same(cost(1e5), std::cos(1e5)));
}

TEST(Trunc2, FractionOfATurn) {
  EXPECT_TRUE(same(trunc2(-1e-20), kTwoPi));
  EXPECT_TRUE(same(trunc2(kTwoPi), 0.0));
  EXPECT_TRUE(same(trunc2(1), 1));
  const double q = 7 / kTwoPi;
  EXPECT_TRUE(same(trunc2(7), (q - std::floor(q)) * kTwoPi));
  EXPECT_NE(trunc2(7),
            7 - kTwoPi);  // the two roundings differ in the last digit
  // -1: the fraction of a turn, 1 - 1/(2 pi), times the turn rounds here to
  // the very double of the full turn minus 1.
  EXPECT_TRUE(same(trunc2(-1), 5.2831853071795862));
  EXPECT_TRUE(same(trunc2(-1), kTwoPi - 1));
  EXPECT_TRUE(std::isnan(trunc2(kInf)));
}

}  // namespace
