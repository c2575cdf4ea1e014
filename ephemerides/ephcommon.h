// Pieces shared by the apparent-place routines.
#pragma once

#include "angles.h"

// Greenwich mean sidereal time in degrees, [0, 360): the linear term takes
// the Julian Day of UT, the square and cube terms the centuries t that the
// calling routine uses (of UT for the Sun, the Moon and the stars, of
// dynamical time for the planets).
inline double gmst_poly(double JD, double t) {
  return norm360(280.46061837 + 360.98564736629 * (JD - 2451545) + 0.000387933 * (t * t) -
                 (t * t * t) / 38710000);
}

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
