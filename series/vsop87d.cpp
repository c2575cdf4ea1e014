// VSOP87D evaluator and the series functions of the Earth and the planets.
//
// Every series is summed the same way, and the order of the operations is
// fixed so that the last bits do not depend on the compiler: one running sum
// per power of tau, the terms in the published order, each periodic term as
// x = C tau, x + B, its cosine, times A, added; the powers of tau as
// successive products; the sums combined from powers 1 and 0 upwards (not by
// Horner's scheme).  A constant term is added or subtracted at its own place
// in its list, without a cosine.
//
// The cosine of every term is that of cost(): a negative argument (dates
// before J2000.0) is lifted into one turn by a single remainder, then the
// library cosine is taken.  lift() gives exactly the double that norm2pi()
// gives, by exact Cody-Waite steps without a library call; it is formed for
// every argument, one term ahead of that term's cosine, so that a call costs
// the same for every date and the lifting overlaps the cosines.
#include "vsop87d.h"

#include <cmath>

#include "angles.h"
#include "vsop87d_tables.h"

namespace {

// 180 / pi as the double quotient 180.0 / 3.141592653589793.
constexpr double kRadToDeg = 57.29577951308232;
static_assert(kRadToDeg == 180.0 / 3.141592653589793);

// The full turn as the angle routines form it, pi + pi, split exactly into a
// high part of 26 significant bits and the rest (at most 27 bits), so that
// n * kTurnHi and n * kTurnLo are exact for every integer |n| < 2^26.
constexpr double kTurn = 3.141592653589793 + 3.141592653589793;
constexpr double kSplit = 134217729.0;  // 2^27 + 1 (Veltkamp)
constexpr double kTurnHi = kTurn * kSplit - (kTurn * kSplit - kTurn);
constexpr double kTurnLo = kTurn - kTurnHi;
static_assert(kTurn == 6.283185307179586);
static_assert(kTurnHi + kTurnLo == kTurn && kTurnLo < 1e-7);
constexpr double kInvTurn = 1.0 / kTurn;
// The exact steps hold down to -2^26 turns; arguments below -2^25 turns
// (tau of some -600 millennia for the fastest terms) take cost() itself.
constexpr double kFastLimit = -33554432.0 * kTurn;

// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 in magnitude to
// the nearest integer.
constexpr double kRoundInt = 6755399441055744.0;

// x - n * kTurn, exact for an integer |n| <= 2^26 and |x - n * kTurn| < 8: the
// product with the high part is exact, and so is its difference with x (a
// multiple of the unit of x, below 16 in magnitude, so within 53 bits of it);
// the product with the low part is exact, and the last difference is exact as
// the true remainder is a multiple of the unit of kTurn below 8.
inline double turn_remainder(double x, double n) {
  const double t = x - n * kTurnHi;
  return t - n * kTurnLo;
}

// norm2pi(x), for x above the limit: x itself where it is not negative, else
// the exact remainder by the full turn lifted into [0, 2 pi].  The nearest
// whole number of turns n leaves an exact remainder r within rounding of
// [-pi, pi]; where r < 0 the remainder form gives r + 2 pi, and where r > 0 it
// gives (r - 2 pi) + 2 pi, which is r exactly; a zero r gives +0 either way.
// The remainder is formed for every argument, not only the negative ones, so
// that every date costs about the same work; the turn is chosen without a
// branch, which for remainders of either sign at random would mispredict.
inline double lift(double x) {
  if (!(x > kFastLimit)) return norm2pi(x);  // NaN, -inf and beyond 2^25 turns
  const double q = x * kInvTurn;
  const double n = (q - kRoundInt) + kRoundInt;
  const double r = turn_remainder(x, n);
  const double turn = (r < 0.0) ? kTurn : 0.0;
  const double lifted = r + turn;
  return (x >= 0.0) ? x : lifted;  // also -0, which norm2pi keeps
}

// The argument of the next term is lifted before the cosine of the current
// one is taken, so that the lifting overlaps the cosine; the values are those
// of S + A cost(C tau + B), term by term in table order.
double power_sum(const VsopPower& power, double tau) {
  double s = 0.0;
  const VsopTerm* t = power.terms;
  const VsopTerm* const end = t + power.count;
  if (t == end) return s;
  double x0 = t->C * tau;
  x0 = x0 + t->B;
  double next = lift(x0);
  for (; t != end; ++t) {
    const double arg = next;
    if (t + 1 != end) {
      double x = t[1].C * tau;
      x = x + t[1].B;
      next = lift(x);
    }
    if (vsop_is_constant(*t)) {
      s = vsop_constant_subtracts(*t) ? s - t->A : s + t->A;
    } else {
      const double c = std::cos(arg);  // cost(C tau + B)
      const double p = t->A * c;
      s = s + p;
    }
  }
  return s;
}

}  // namespace

double vsop87d_lift(double x) { return lift(x); }

double vsop87d_value(const VsopSeries& s, double tau) {
  double sum[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  for (int k = 0; k < s.npowers; ++k) sum[k] = power_sum(s.powers[k], tau);

  const double t2 = tau * tau;
  const double t3 = t2 * tau;
  const double t4 = t3 * tau;
  const double t5 = t4 * tau;
  const double tk[6] = {1.0, tau, t2, t3, t4, t5};

  double v = sum[1] * tau + sum[0];
  for (int k = 2; k < s.npowers; ++k) v = v + sum[k] * tk[k];
  return v;
}

// The Earth's longitude is only lifted from below: it exceeds 360 degrees for
// dates after the autumn of 2000, and every caller reduces it itself or takes
// only its sine and cosine.
double Learth(double tau) { return norm2pi(vsop87d_value(vsop87d_earth_L, tau)) * kRadToDeg; }
double Bearth(double tau) { return vsop87d_value(vsop87d_earth_B, tau) * kRadToDeg; }
double Rearth(double tau) { return vsop87d_value(vsop87d_earth_R, tau); }

double Lvenus(double tau) { return trunc2(vsop87d_value(vsop87d_venus_L, tau)) * kRadToDeg; }
double Bvenus(double tau) { return vsop87d_value(vsop87d_venus_B, tau) * kRadToDeg; }
double Rvenus(double tau) { return vsop87d_value(vsop87d_venus_R, tau); }

double Lmars(double tau) { return trunc2(vsop87d_value(vsop87d_mars_L, tau)) * kRadToDeg; }
double Bmars(double tau) { return vsop87d_value(vsop87d_mars_B, tau) * kRadToDeg; }
double Rmars(double tau) { return vsop87d_value(vsop87d_mars_R, tau); }

double Ljupiter(double tau) { return trunc2(vsop87d_value(vsop87d_jupiter_L, tau)) * kRadToDeg; }
double Bjupiter(double tau) { return vsop87d_value(vsop87d_jupiter_B, tau) * kRadToDeg; }
double Rjupiter(double tau) { return vsop87d_value(vsop87d_jupiter_R, tau); }

double Lsaturn(double tau) { return trunc2(vsop87d_value(vsop87d_saturn_L, tau)) * kRadToDeg; }
double Bsaturn(double tau) { return vsop87d_value(vsop87d_saturn_B, tau) * kRadToDeg; }
double Rsaturn(double tau) { return vsop87d_value(vsop87d_saturn_R, tau); }
