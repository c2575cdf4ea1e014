// Pieces shared by the apparent-place routines.
#pragma once

#include <cmath>

#include "angles.h"
#include "constants.h"

// The time of one instant and the Earth's orientation at it, as every place
// routine (suneph, mooneph, starseph, planeteph) forms them first.
struct PlaceTime {
  double JD;    // Julian Day of the instant, UT
  double JDE;   // dynamical Julian Day, deltaT/86400 + JD
  double T;     // Julian centuries of dynamical time from J2000.0
  double tau;   // T/10, Julian millennia: the argument of the VSOP87D series
  double dpsi;  // nutation in longitude at T, degrees
  double deps;  // nutation in obliquity at T, degrees
  double eps0;  // mean obliquity at T, degrees
  double eps;   // true obliquity at T, degrees
  double GAST;  // Greenwich apparent sidereal time, degrees, [0, 360)
};

// Which centuries the square and cube terms of the sidereal time take: those
// of UT, (JD - 2451545.0)/36525, for the Sun, the Moon and the stars; those
// of dynamical time, T, for the planets.  The linear term always takes the
// Julian Day of UT.
enum class SiderealCenturies { kUT, kDynamical };

// Given:     deltaT   TT - UT, seconds
//            year, month, day, hour, minute, second   the instant, UT
//            centuries   the centuries of the sidereal time's higher terms
// Returned:  the quantities of PlaceTime; GAST = norm360(GMST + dpsi
//            cosd(eps)), GMST by the polynomial of the mean sidereal time.
PlaceTime place_time(double deltaT, int year, int month, int day, int hour,
                     int minute, int second, SiderealCenturies centuries);

// Right ascension in degrees, [0, 360), from the radian angle a that atan2
// gives, with the degree factor r2d = 180/pi.  trunc2 brings a into
// [0, 2 pi]; for a negative a above about -3.5e-16 the fraction of a turn
// rounds up to 1, or so near it that the product with r2d is exactly 360
// degrees.  That is 0h, and it is given as 0.  NaN passes through.
inline double ra_in_turn(double a, double r2d) {
  const double ra = trunc2(a) * r2d;
  return ra == 360.0 ? 0.0 : ra;
}

// Right ascension in degrees, (-180, 180], from the radian angle alpha that
// atan2 gives, with the degree factor d2r = pi/180: atan2 returns -pi (the
// double nearest it) when its second argument is negative and its first is
// negative but less than about 3.4e-16 of it in size, and -pi/d2r is exactly
// -180; that direction is given as +180.  NaN passes through.
inline double ra_half_turn(double alpha, double d2r) {
  const double ra = alpha / d2r;
  return ra == -180.0 ? 180.0 : ra;
}

// Given:     lambda   apparent ecliptic longitude, degrees
//            beta     ecliptic latitude, degrees (a southern latitude may
//                     come as 360 less its size: only its sine, cosine and
//                     tangent are taken)
//            eps      true obliquity of date, degrees
// Returned:  ra       apparent right ascension, degrees, [0, 360)
//            dec      apparent declination, degrees
// Notes:     The rotation from the ecliptic to the equator that the places
//            of the Sun and the Moon take, with the almanac reduction's
//            factor K from radians to degrees.
inline void ecliptic_to_equator_K(double lambda, double beta, double eps,
                                  double* ra, double* dec) {
  using constants::K;
  *ra =
      norm360(K * std::atan2(sind(lambda) * cosd(eps) - tand(beta) * sind(eps),
                             cosd(lambda)));
  *dec = K * std::asin(sind(beta) * cosd(eps) +
                       cosd(beta) * sind(eps) * sind(lambda));
}
