// The Sun's apparent geocentric place.
//
// Given:     deltaT   TT - UT, seconds
//            year, month, day, hour, minute, second   the instant, UT
// Returned:  Dec      apparent declination, degrees, [-90, 90]
//            GHA      Greenwich hour angle, degrees, [0, 360)
//            GAST     Greenwich apparent sidereal time, degrees, [0, 360)
//            RA       apparent right ascension, degrees, [0, 360)
//            HP       horizontal parallax, arcminutes
//            SD       semi-diameter, arcminutes
//            JDE      the dynamical Julian Day of the place
// Notes:
//  - The Earth's heliocentric place of VSOP87D (mean ecliptic and equinox of
//    date) turned round by 180 degrees gives the Sun's geometric place; the
//    FK5 correction, the nutation in longitude and the annual aberration
//    (20.4898" at 1 AU, divided by the radius vector) follow, and the true
//    obliquity of date gives right ascension and declination.
//  - Sidereal time is taken on the UT scale; everything else on TT.
#include <cmath>

#include "angles.h"
#include "ephcommon.h"
#include "sun.h"
#include "vsop87d.h"

void suneph(double deltaT, int year, int month, int day, int hour, int minute,
            int second, double* Dec, double* GHA, double* GAST, double* RA,
            double* HP, double* SD, double* JDE) {
  const PlaceTime pt = place_time(deltaT, year, month, day, hour, minute,
                                  second, SiderealCenturies::kUT);
  const double T = pt.T, tau = pt.tau, dpsi = pt.dpsi, eps = pt.eps;

  // Geometric longitude of the Sun, FK5 system: lambda1 is the auxiliary
  // longitude of the FK5 latitude correction, Theta carries the -0.09033"
  // shift of the longitude.
  const double L = Learth(tau);
  const double lambda1 = norm360(L + 180 - 1.397 * T - 0.00031 * (T * T));
  const double Theta = norm360(L + 180 - 0.000025091666666666666);

  const double B = Bearth(tau);
  const double beta = -B + 0.03916 * (cosd(lambda1) - sind(lambda1)) / 3600.0;

  // Nutation added and aberration subtracted in one step.
  const double R = Rearth(tau);
  const double lambda = norm360(dpsi + Theta - 0.005691611 / R);

  double ra = 0, dec = 0;
  ecliptic_to_equator_K(lambda, beta, eps, &ra, &dec);
  const double gha = norm360(pt.GAST - ra);

  *Dec = dec;
  *GHA = gha;
  *GAST = pt.GAST;
  *RA = ra;
  *HP = (8.794 / R) / 60.0;
  *SD = (959.63 / R) / 60.0;
  *JDE = pt.JDE;
}
