// Angle and number routines.
//
// The reductions follow the published arithmetic to the last bit: norm360 and
// dmodx take the floor-based remainder of the magnitude and put the sign back,
// trunc2 multiplies the fraction of a turn by the turn.  norm2pi lifts a
// negative radian argument by one exact remainder instead of adding one turn
// at a time, which gives the same angle within rounding and costs the same
// for every date.
#include "angles.h"

#include <climits>
#include <cmath>

#include "constants.h"

using constants::kDegToRad;
using constants::kTwoPi;

double norm360(double x) {
  if (x < 0) {
    const double a = std::fabs(x);
    x = -(a - std::floor(a / 360.0) * 360.0);  // in (-360, 0]
  }
  // One turn brings (-360, 0) into [0, 360]; a tiny negative value rounds up
  // to exactly 360, which the remainder below turns into 0.
  if (x < 0) x = x + 360.0;
  double r = x - std::floor(x / 360.0) * 360.0;
  // For magnitudes beyond 2^53 the floor-based remainder loses every digit;
  // fall back to the exact remainder so that every finite input still lands
  // in [0, 360) (ordinary angles never take this branch).
  if (!(r >= 0.0 && r < 360.0) && std::isfinite(x)) {
    r = std::fmod(x, 360.0);
    if (r < 0) r += 360.0;
    if (r >= 360.0) r = 0.0;
  }
  return r;
}

double dmodx(double a, double m) {
  if (m < 0) m = -m;
  const double s = (a < 0) ? -1.0 : 1.0;
  const double b = s * a;
  double r = (b - std::floor(b / m) * m) * s;
  if (r < 0) r = r + m;
  return r;
}

double lim180(double x) { return (x > 180.0) ? x - 360.0 : x; }

int dtoi(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return INT_MAX;
  if (x <= -2147483648.0) return INT_MIN;
  return static_cast<int>(x);
}

void cxangle(double x, int* units, int* minutes, int* minutes_rounded,
             int* seconds_rounded, double* minutes_dec, double* seconds_dec) {
  const double s = (x < 0) ? -1.0 : 1.0;
  const double a = std::fabs(x);
  // The truncations are made in double arithmetic, which equals the integer
  // truncation wherever that is defined, and only the outputs are converted.
  const double d = std::trunc(a);
  const double mdec = (a - d) * 60.0;
  const double mi = std::trunc(mdec);
  const double sdec = (mdec - mi) * 60.0;
  *units = dtoi(d * s);
  *minutes = dtoi(mi * s);
  *minutes_rounded = dtoi(std::trunc(mdec + 0.5) * s);
  *seconds_rounded = dtoi(std::trunc(sdec + 0.5) * s);
  *minutes_dec = s * mdec;
  *seconds_dec = s * sdec;
}

int angcheck(double azimuth) {
  const double a = norm360(azimuth);
  int result = 0;
  if (std::fabs(a - 180.0) < 0.1) result = 999;  // within 0.1 deg of south
  const double b = norm360(a - 180.0);
  if (std::fabs(b - 180.0) < 0.1) result = 999;  // within 0.1 deg of north
  return result;
}

double sind(double x) { return std::sin(kDegToRad * x); }
double cosd(double x) { return std::cos(kDegToRad * x); }
double tand(double x) { return std::tan(kDegToRad * x); }

double angles_detail::norm2pi_far(double x) {
  if (!(x < 0)) return x;                 // NaN
  const double r = std::fmod(x, kTwoPi);  // NaN for minus infinity
  return (r < 0) ? r + kTwoPi : r + 0.0;
}

double trunc2(double x) {
  const double q = x / kTwoPi;
  return (q - std::floor(q)) * kTwoPi;
}
