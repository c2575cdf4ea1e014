// The Moon's apparent geocentric place.
//
// Given:     deltaT   TT - UT, seconds
//            year, month, day, hour, minute, second   the instant, UT
// Returned:  Dec      apparent declination, degrees, [-90, 90]
//            GHA      Greenwich hour angle, degrees, [0, 360)
//            GAST     Greenwich apparent sidereal time, degrees, [0, 360)
//            RA       apparent right ascension, degrees, [0, 360)
//            HP       equatorial horizontal parallax, arcminutes
//            SD       semi-diameter, arcminutes
// Notes:
//  - The ecliptic place and distance come from the LEA-406b series at the
//    dynamical Julian Day; the apparent place adds the nutation in longitude
//    and turns to the equator with the true obliquity of date.  No further
//    correction is applied to the series' place.
//  - Sidereal time is taken on the UT scale throughout.
//  - Outside the validity interval of the series its warning is printed.
#include <cmath>

#include "angles.h"
#include "calendar.h"
#include "ephcommon.h"
#include "moon.h"
#include "nutation.h"

void mooneph(double deltaT, int year, int month, int day, int hour, int minute,
             int second, double* Dec, double* GHA, double* GAST, double* RA,
             double* HP, double* SD) {
  const double K = 57.29577951308238;  // radians to degrees, as held

  const double JD = julday(year, month, day, hour, minute, second);
  const double Tu = (JD - 2451545.0) / 36525;
  const double JDE = deltaT / 86400 + JD;
  const double T = (JDE - 2451545.0) / 36525;
  const double gmst = gmst_poly(JD, Tu);

  double dpsi, deps, eps0, eps;
  Nutation(T, &dpsi, &deps, &eps0, &eps);

  double lambda, beta, Delta;
  LEA406(JDE, &lambda, &beta, &Delta);

  // Beta enters only through sind, cosd and tand, so its [0, 360) form
  // serves as well as the signed angle.
  const double lam = lambda + dpsi;
  const double ra = norm360(K * std::atan2(sind(lam) * cosd(eps) - tand(beta) * sind(eps), cosd(lam)));
  const double dec = K * std::asin(sind(beta) * cosd(eps) + cosd(beta) * sind(eps) * sind(lam));
  const double gast = norm360(gmst + dpsi * cosd(eps));
  const double gha = norm360(gast - ra);
  const double hp = (K * 60) * std::asin(6378.14 / Delta);
  const double sd = (358473400 / Delta) / 60;

  *Dec = dec;
  *GHA = gha;
  *GAST = gast;
  *RA = ra;
  *HP = hp;
  *SD = sd;
}
