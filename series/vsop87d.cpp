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
// The cosine of every term is cost(): a negative argument (dates before
// J2000.0) is lifted into one turn by norm2pi, a single exact remainder that
// costs the same for every date, then the library cosine is taken.
#include "vsop87d.h"

#include "angles.h"
#include "constants.h"
#include "vsop87d_tables.h"

using constants::kRadToDeg;

namespace {

// S + A cost(C tau + B), term by term in table order; a constant term is
// added or subtracted without a cosine.
double power_sum(const VsopPower& power, double tau) {
  double s = 0.0;
  const VsopTerm* const end = power.terms + power.count;
  for (const VsopTerm* t = power.terms; t != end; ++t) {
    if (vsop_is_constant(*t)) {
      s = vsop_constant_subtracts(*t) ? s - t->A : s + t->A;
      continue;
    }
    double x = t->C * tau;
    x = x + t->B;
    const double c = cost(x);
    const double p = t->A * c;
    s = s + p;
  }
  return s;
}

}  // namespace

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
double Learth(double tau) {
  return norm2pi(vsop87d_value(vsop87d_earth_L, tau)) * kRadToDeg;
}
double Bearth(double tau) {
  return vsop87d_value(vsop87d_earth_B, tau) * kRadToDeg;
}
double Rearth(double tau) { return vsop87d_value(vsop87d_earth_R, tau); }

double Lvenus(double tau) {
  return trunc2(vsop87d_value(vsop87d_venus_L, tau)) * kRadToDeg;
}
double Bvenus(double tau) {
  return vsop87d_value(vsop87d_venus_B, tau) * kRadToDeg;
}
double Rvenus(double tau) { return vsop87d_value(vsop87d_venus_R, tau); }

double Lmars(double tau) {
  return trunc2(vsop87d_value(vsop87d_mars_L, tau)) * kRadToDeg;
}
double Bmars(double tau) {
  return vsop87d_value(vsop87d_mars_B, tau) * kRadToDeg;
}
double Rmars(double tau) { return vsop87d_value(vsop87d_mars_R, tau); }

double Ljupiter(double tau) {
  return trunc2(vsop87d_value(vsop87d_jupiter_L, tau)) * kRadToDeg;
}
double Bjupiter(double tau) {
  return vsop87d_value(vsop87d_jupiter_B, tau) * kRadToDeg;
}
double Rjupiter(double tau) { return vsop87d_value(vsop87d_jupiter_R, tau); }

double Lsaturn(double tau) {
  return trunc2(vsop87d_value(vsop87d_saturn_L, tau)) * kRadToDeg;
}
double Bsaturn(double tau) {
  return vsop87d_value(vsop87d_saturn_B, tau) * kRadToDeg;
}
double Rsaturn(double tau) { return vsop87d_value(vsop87d_saturn_R, tau); }
