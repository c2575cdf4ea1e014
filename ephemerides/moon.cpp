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
#include "constants.h"
#include "ephcommon.h"
#include "moon.h"

using constants::K;  // radians to degrees, as the almanac reduction holds it

void mooneph(double deltaT, int year, int month, int day, int hour, int minute,
             int second, double* Dec, double* GHA, double* GAST, double* RA,
             double* HP, double* SD) {
  const PlaceTime pt = place_time(deltaT, year, month, day, hour, minute,
                                  second, SiderealCenturies::kUT);
  const double dpsi = pt.dpsi, eps = pt.eps;

  double lambda, beta, Delta;
  LEA406(pt.JDE, &lambda, &beta, &Delta);

  // Beta enters only through sind, cosd and tand, so its [0, 360) form
  // serves as well as the signed angle.
  const double lam = lambda + dpsi;
  double ra = 0, dec = 0;
  ecliptic_to_equator_K(lam, beta, eps, &ra, &dec);
  const double gha = norm360(pt.GAST - ra);
  const double hp = (K * 60) * std::asin(6378.14 / Delta);
  const double sd = (358473400 / Delta) / 60;

  *Dec = dec;
  *GHA = gha;
  *GAST = pt.GAST;
  *RA = ra;
  *HP = hp;
  *SD = sd;
}
