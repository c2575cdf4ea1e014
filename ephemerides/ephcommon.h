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
