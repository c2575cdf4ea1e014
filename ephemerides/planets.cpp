// Apparent geocentric places of Venus, Mars, Jupiter and Saturn.
//
// Given:     bodycode 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn
//            deltaT   TT - UT, seconds
//            year, month, day, hour, minute, second   the instant, UT
// Returned:  Dec      apparent declination, degrees, [-90, 90]
//            GHA      Greenwich hour angle, degrees, [0, 360)
//            GAST     Greenwich apparent sidereal time, degrees, [0, 360)
//            RA       apparent right ascension, degrees, [0, 360)
//            HP       horizontal parallax, arcminutes
// Notes:
//  - Heliocentric places of VSOP87D (mean ecliptic and equinox of date).
//    The Earth is evaluated once, at the instant; the planet at the instant
//    and again at the instant less one light-time estimate (no iteration),
//    and the retarded planet is combined with the Earth of the instant.
//  - Then annual aberration, the FK5 correction and the nutation in
//    longitude, and the true obliquity of date gives right ascension and
//    declination.
//  - The parallax takes the distance after the light-time step for Venus
//    and Mars and the distance before it for Jupiter and Saturn.
//  - The sidereal time's linear term takes the Julian Day of UT, its square
//    and cube terms the centuries of dynamical time.
//  - A bodycode outside 4 to 7 names no planet: the sidereal time is
//    computed and GAST written as for any planet, while Dec, GHA, RA and HP
//    are written as NaN, so that no caller can take them for a place.
#include <cmath>
#include <limits>

#include "angles.h"
#include "calendar.h"
#include "constants.h"
#include "ephcommon.h"
#include "planets.h"
#include "vsop87d.h"

namespace {

// 1. Angle factors: pi/180 and 180/pi.
constexpr double d2r = constants::kDegToRad;
constexpr double r2d = constants::kRadToDeg;

struct Series {
  double (*L)(double);
  double (*B)(double);
  double (*R)(double);
};

// Heliocentric longitude, latitude and radius vector of the planet, in the
// order L, B, R, at one tau.
void heliocentric(const Series& s, double tau, double* L, double* B,
                  double* R) {
  *L = s.L(tau);
  *B = s.B(tau);
  *R = s.R(tau);
}

}  // namespace

void planeteph(int bodycode, double deltaT, int year, int month, int day,
               int hour, int minute, int second, double* Dec, double* GHA,
               double* GAST, double* RA, double* HP) {
  // 2., 3., 5. Time, nutation and the sidereal time (its square and cube
  // terms on dynamical time).
  const PlaceTime pt = place_time(deltaT, year, month, day, hour, minute,
                                  second, SiderealCenturies::kDynamical);
  const double JDE = pt.JDE, T = pt.T, tau = pt.tau;
  const double dpsi = pt.dpsi, eps = pt.eps, gast = pt.GAST;
  const double T2 = T * T;

  // 4. The Earth-orbit quantities of aberration.
  double kappa, perihel, ecc;
  Aberration(T, &kappa, &perihel, &ecc);

  // 6. The Earth, once.
  const double L0 = Learth(tau);
  const double B0 = Bearth(tau);
  const double R0 = Rearth(tau);

  // 7. The Sun's geometric longitude.
  const double Theta = norm360((180 + L0) - 2.5e-05);

  static constexpr Series kSeries[4] = {
      {Lvenus, Bvenus, Rvenus},
      {Lmars, Bmars, Rmars},
      {Ljupiter, Bjupiter, Rjupiter},
      {Lsaturn, Bsaturn, Rsaturn},
  };
  if (bodycode < 4 || bodycode > 7) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    *Dec = nan;
    *GHA = nan;
    *GAST = gast;
    *RA = nan;
    *HP = nan;
    return;
  }
  const Series& s = kSeries[bodycode - 4];

  // 8., 9. The planet at the instant, and its geocentric distance.
  double L, B, R;
  heliocentric(s, tau, &L, &B, &R);
  double x = R * cosd(B) * cosd(L) - R0 * cosd(B0) * cosd(L0);
  double y = R * cosd(B) * sind(L) - R0 * cosd(B0) * sind(L0);
  double z = R * sind(B) - R0 * sind(B0);
  const double Delta1 = std::sqrt(x * x + y * y + z * z);

  // 10. One light-time estimate.
  const double tl = 0.0057755183 * Delta1;
  const double tau_lt = (JDE - tl - 2451545.0) / 365250;

  // 11. The retarded planet seen from the Earth of the instant.
  heliocentric(s, tau_lt, &L, &B, &R);
  x = R * cosd(B) * cosd(L) - R0 * cosd(B0) * cosd(L0);
  y = R * cosd(B) * sind(L) - R0 * cosd(B0) * sind(L0);
  z = R * sind(B) - R0 * sind(B0);
  double lambda = std::atan2(y, x);
  double beta = std::atan(z / std::sqrt(x * x + y * y));
  const double Delta2 = std::sqrt(x * x + y * y + z * z);

  // 12. Annual aberration.
  {
    const double k = kappa * d2r;
    const double p = perihel * d2r;
    const double th = Theta * d2r;
    const double e = ecc;
    const double dlambda =
        (k * e * std::cos(p - lambda) - k * std::cos(th - lambda)) /
        std::cos(beta);
    const double dbeta = -k * std::sin(beta) *
                         (std::sin(th - lambda) - e * std::sin(p - lambda));
    lambda += dlambda;
    beta += dbeta;
  }

  // 13. FK5 correction.
  {
    const double l1 = lambda - 1.397 * d2r * T - 0.00031 * d2r * T2;
    const double dlambda =
        -0.09033 * d2r / 3600 +
        0.03916 * d2r / 3600 * (std::cos(l1) + std::sin(l1)) * std::tan(beta);
    const double dbeta = 0.03916 * d2r / 3600 * (std::cos(l1) - std::sin(l1));
    lambda += dlambda;
    beta += dbeta;
  }

  // 14. Nutation in longitude.
  lambda += dpsi * d2r;

  // 15. Equatorial place and hour angle.
  const double ra = ra_in_turn(
      std::atan2(std::sin(lambda) * cosd(eps) - std::tan(beta) * sind(eps),
                 std::cos(lambda)),
      r2d);
  const double dec = std::asin(std::sin(beta) * cosd(eps) +
                               std::cos(beta) * sind(eps) * std::sin(lambda)) *
                     r2d;
  const double gha = norm360(gast - ra);

  // 16. Horizontal parallax.
  const double Delta = (bodycode <= 5) ? Delta2 : Delta1;
  const double hp = (8.794 / Delta) / 60;

  // 17. Results.
  *Dec = dec;
  *GHA = gha;
  *GAST = gast;
  *RA = ra;
  *HP = hp;
}
