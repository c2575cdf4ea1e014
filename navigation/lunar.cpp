// Lunar distance.
//
//   LDist      almanac (geocentric) distance between two places
//   Lunaclear  clearing of the apparent distance of the centres from
//              refraction and parallax, with the first-order effect of the
//              Earth's flattening on the Moon's parallax
//
// Both are pure functions: no state, no output, no error report.
#include "lunar.h"

#include <cmath>

#include "angles.h"
#include "constants.h"

namespace {
// Degrees per radian as the almanac reduction carries it.
using constants::K;
// Flattening of the Earth.
using constants::fE;
}  // namespace

// Given:    dec1, dec2   declinations of the two places, degrees
//           ra1, ra2     right ascensions of the two places, degrees
// Returned: (function)   angular distance, degrees, [0, 180]
double LDist(double dec1, double dec2, double ra1, double ra2) {
  const double c =
      sind(dec1) * sind(dec2) + cosd(dec1) * cosd(dec2) * cosd(ra1 - ra2);
  return std::acos(clamp_unit(c)) * K;
}

// Given:    D          apparent distance of the centres, degrees
//           HoM, HoB   observed (true) altitudes of the Moon and the second
//                      body, degrees
//           HaM, HaB   apparent altitudes of the Moon and the second body,
//                      degrees
//           ZM, ZB     azimuths of the Moon and the second body, degrees
//           pM         the Moon's parallax in altitude, degrees
//           lat        latitude of the observer, degrees
// Returned: (function) cleared (geocentric) distance, degrees
// Notes:    The refraction and the parallax move each body along its
//           vertical circle, so the angle between the two verticals at the
//           zenith is the same for the apparent and the true places; the
//           cleared distance follows from it exactly.  The flattening term
//           vanishes on the equator and for two bodies on one vertical.
double Lunaclear(double D, double HoM, double HoB, double HaM, double HaB,
                 double ZM, double ZB, double pM, double lat) {
  const double c = (cosd(D) + cosd(HaM + HaB)) * cosd(HoM) * cosd(HoB) /
                       (cosd(HaB) * cosd(HaM)) -
                   cosd(HoM + HoB);
  // Only a rounding excess is held at 1: a cosine well outside [-1, 1] means
  // sights that no geometry can give (an altitude above 90 degrees, say), and
  // the NaN that follows is shown as it is, a sign of the error.
  double d = std::acos(std::fabs(c) - 1 <= 1e-12 ? clamp_unit(c) : c) * K;
  // The flattening term is divided by the sine of the distance; for centres
  // that coincide the direction between them is undefined and no term is
  // added, instead of an infinite or NaN one.
  const double sd = sind(d);
  if (sd != 0) {
    d = d +
        fE * pM * (sind(ZM - ZB) * cosd(HoB) * sind(2 * lat) * sind(ZM)) / sd;
  }
  return d;
}
