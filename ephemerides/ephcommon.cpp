// The time and the Earth's orientation shared by the place routines.
#include "ephcommon.h"

#include "angles.h"
#include "calendar.h"
#include "nutation.h"

namespace {

// Greenwich mean sidereal time in degrees, [0, 360): the linear term takes
// the Julian Day of UT, the square and cube terms the centuries t.
double gmst_poly(double JD, double t) {
  return norm360(280.46061837 + 360.98564736629 * (JD - 2451545) +
                 0.000387933 * (t * t) - (t * t * t) / 38710000);
}

}  // namespace

PlaceTime place_time(double deltaT, int year, int month, int day, int hour,
                     int minute, int second, SiderealCenturies centuries) {
  PlaceTime p;
  p.JD = julday(year, month, day, hour, minute, second);
  p.JDE = deltaT / 86400 + p.JD;
  p.T = (p.JDE - 2451545.0) / 36525;
  p.tau = p.T / 10;
  Nutation(p.T, &p.dpsi, &p.deps, &p.eps0, &p.eps);
  const double t =
      centuries == SiderealCenturies::kUT ? (p.JD - 2451545.0) / 36525 : p.T;
  p.GAST = norm360(gmst_poly(p.JD, t) + p.dpsi * cosd(p.eps));
  return p;
}
