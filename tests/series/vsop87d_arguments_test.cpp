// The series lift their cosine arguments into one turn with norm2pi(), whose
// exact remainder must be bit for bit the library remainder fmod() with one
// turn added to a negative result: for every argument the series pass and
// for the awkward ones (exact multiples of the turn and their neighbours,
// tiny negatives, the limits of the exact steps, NaN and infinities).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "angles.h"
#include "vsop87d_tables.h"

namespace {

constexpr double kTurn = 6.283185307179586;

std::uint64_t bits(double x) {
  std::uint64_t u;
  std::memcpy(&u, &x, sizeof u);
  return u;
}

// norm2pi by the library remainder.
double by_fmod(double x) {
  if (!(x < 0)) return x;
  const double r = std::fmod(x, kTurn);
  return (r < 0) ? r + kTurn : r + 0.0;
}

// Same bits, or both NaN.
::testing::AssertionResult same(double x) {
  const double a = norm2pi(x);
  const double b = by_fmod(x);
  if (bits(a) == bits(b) || (std::isnan(a) && std::isnan(b))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "x = " << std::hexfloat << x << ": " << a << " against fmod " << b;
}

TEST(SeriesArguments, LiftedAsByFmodForEverySeriesArgument) {
  const VsopSeries* all[] = {
      &vsop87d_earth_L,   &vsop87d_earth_B,   &vsop87d_earth_R,
      &vsop87d_venus_L,   &vsop87d_venus_B,   &vsop87d_venus_R,
      &vsop87d_mars_L,    &vsop87d_mars_B,    &vsop87d_mars_R,
      &vsop87d_jupiter_L, &vsop87d_jupiter_B, &vsop87d_jupiter_R,
      &vsop87d_saturn_L,  &vsop87d_saturn_B,  &vsop87d_saturn_R};
  for (double tau = -2.7; tau < 0.0; tau += 0.0731) {
    for (const VsopSeries* s : all) {
      for (int k = 0; k < s->npowers; ++k) {
        for (int i = 0; i < s->powers[k].count; ++i) {
          const VsopTerm& t = s->powers[k].terms[i];
          double x = t.C * tau;
          x = x + t.B;
          ASSERT_TRUE(same(x)) << "tau " << tau;
        }
      }
    }
  }
}

TEST(SeriesArguments, LiftedAsByFmodAtMultiplesOfTheTurnAndTheirNeighbours) {
  for (double n : {1.0, 2.0, 3.0, 7.0, 1000.0, 140737.0, 1e6, 33554431.0,
                   33554432.0, 5e7}) {
    double x = -n * kTurn;
    for (int step = 0; step < 8; ++step) x = std::nextafter(x, 0.0);
    for (int step = 0; step < 16; ++step) {
      ASSERT_TRUE(same(x));
      x = std::nextafter(x, -INFINITY);
    }
  }
}

TEST(SeriesArguments, LiftedAsByFmodAtSpecialArguments) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x :
       {0.0,        -0.0,   1e-300,     -1e-300, -1e-20, -3.4e-16,    -3.5e-16,
        -kTurn / 2, -kTurn, -2 * kTurn, kTurn,   1e5,    5e5,         -1e9,
        -1e12,      -1e17,  -1e300,     inf,     -inf,   std::nan("")}) {
    EXPECT_TRUE(same(x));
  }
}

TEST(SeriesArguments, LiftedAsByFmodForRandomNegativeArguments) {
  std::mt19937_64 rng(20260101);
  std::uniform_real_distribution<double> turns(0.0, 4e7);
  std::uniform_real_distribution<double> exponent(-30.0, 9.0);
  for (int i = 0; i < 200000; ++i) {
    ASSERT_TRUE(same(-turns(rng) * kTurn));
    ASSERT_TRUE(same(-std::pow(10.0, exponent(rng))));
  }
}

}  // namespace
