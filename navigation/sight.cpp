// Sight reduction.
//
//   HcAz         local hour angle, computed altitude and azimuth of a body
//                from an assumed position
//   BESCHICKUNG  the altitude correction: sextant altitude to the observed
//                altitude of the body's centre (index correction, dip,
//                refraction scaled by temperature and pressure, augmented
//                semi-diameter of the Moon, parallax in altitude with the
//                Earth's flattening)
//
// Both are pure functions: no state, no output, no error report.
#include "sight.h"

#include <cmath>

#include "angles.h"
#include "constants.h"

namespace {
// Degrees per radian as the almanac reduction carries it; its reciprocal
// converts degrees to radians.  K also turns the arcsines and arctangents
// of the correction into degrees.
using constants::K;
constexpr double kInvK = 1 / K;
// Flattening of the Earth.
using constants::fE;
// Radius of the Moon in equatorial radii of the Earth.
constexpr double kMoonRadius = 0.2725;
}  // namespace

// Given:    lat, lon   assumed position, degrees (north, east positive)
//           dec, gha   declination and Greenwich hour angle of the body,
//                      degrees
// Returned: LHA        local hour angle, degrees, [0, 360)
//           Hc         computed altitude, degrees, [-90, 90]
//           Az         azimuth, degrees from north through east, [0, 360)
// Notes:    West of the meridian (0 < LHA < 180) the azimuth is 360 - Z,
//           otherwise Z, with Z the azimuth angle in [0, 180].  Finite input
//           never gives NaN; NaN input may.
void HcAz(double lat, double lon, double dec, double gha, double* LHA,
          double* Hc, double* Az) {
  const double lha = norm360(gha + lon);
  const double la = lat * kInvK;
  const double de = dec * kInvK;
  const double t = lha * kInvK;

  // Sine of the altitude.  For a body within a hair of the zenith or the
  // nadir rounding can carry it just beyond 1 in magnitude; it is held at
  // 1, which is the zenith (nadir) itself.
  const double s = clamp_unit(std::cos(la) * std::cos(de) * std::cos(t) +
                              std::sin(de) * std::sin(la));
  double hc = std::asin(s) * K;
  // K is a little larger than 180/pi, so the zenith itself would come out
  // as 90.00000000000009 degrees: the altitude is held within [-90, 90].
  if (hc > 90) hc = 90;
  if (hc < -90) hc = -90;

  // Cosine of the azimuth angle.  On the meridian rounding can carry it
  // just beyond 1 in magnitude: it is held at 1 (due north) or -1 (due
  // south).  At the zenith or at a pole the divisor cos(lat) cos(Hc) almost
  // vanishes and the azimuth is undefined; both cosines are never exactly 0
  // for a finite argument, so the quotient stays finite, and the held value
  // gives the azimuth there (due north or due south, or whatever direction
  // the rounding leaves within that range).  A divisor of exactly 0 cannot
  // arise from finite input; should it, the body is taken as due north.
  const double den = std::cos(la) * std::cos(std::asin(s));
  double z = 1;
  if (den != 0) z = clamp_unit((std::sin(de) - std::sin(la) * s) / den);
  const double Z = std::acos(z) * K;

  double az = (lha > 0 && lha < 180) ? 360 - Z : Z;
  // Due north with 0 < LHA < 180 (only by rounding, next to the meridian or
  // at a pole) would come out as 360: north is given as 0.
  if (az >= 360) az = az - 360;

  *LHA = lha;
  *Hc = hc;
  *Az = az;
}

// Given:    bodycode   0/1 Sun lower/upper limb, 2/3 Moon lower/upper limb,
//                      4-7 planets, 8 star
//           lat        latitude of the assumed position, degrees
//           zn         azimuth of the body, degrees
//           hs         sextant altitude, degrees
//           ic         index correction, arcminutes
//           temp       air temperature, degrees Celsius
//           press      air pressure, hPa
//           eye        height of eye, metres
//           sd         semi-diameter, arcminutes (Sun only)
//           hp         horizontal parallax, arcminutes
// Returned: parallax      parallax in altitude, arcminutes
//           dip           dip of the horizon, arcminutes
//           refraction    refraction at 10 C and 1010 hPa, arcminutes (the
//                         value before the temperature-pressure factor)
//           SDa           semi-diameter applied, arcminutes (for the Moon the
//                         augmented one)
//           S_Correction  total correction, (Ho - hs) x 60, arcminutes
//           (function)    observed altitude of the centre Ho, degrees
double BESCHICKUNG(int bodycode, double lat, double zn, double hs, double ic,
                   double temp, double press, double eye, double sd, double hp,
                   double* parallax, double* dip, double* refraction,
                   double* SDa, double* S_Correction) {
  // Limb sign: +1 lower limb, -1 upper limb, 0 a body without a disc.
  int m = 0;
  if (bodycode == 0 || bodycode == 2) m = +1;
  if (bodycode == 1 || bodycode == 3) m = -1;

  const double hpd = hp / 60;                 // horizontal parallax, degrees
  const double dp = 1.76 * std::sqrt(eye);    // dip, arcminutes
  const double h = (hs + ic / 60) - dp / 60;  // apparent altitude of the limb

  // Refraction in degrees for 10 C and 1010 hPa.  The choice of formula is
  // made on the uncorrected sextant altitude: below 15 degrees a rational
  // fit that holds down to the horizon, above it the cotangent series.
  double R;
  if (hs < 15.0) {
    R = (34.133 + 4.197 * h + 0.00428 * (h * h)) /
        (1 + 0.505 * h + 0.0845 * (h * h)) / 60;
  } else {
    const double t = tand(h);
    R = (0.96474 / t - 0.00113 / (t * t * t)) / 60;
  }
  // Density of the air relative to 10 C and 1010 hPa (exactly 1 there).
  const double f = 283.15 * press / ((273.15 + temp) * 1010.0);
  const double H1 = h - f * R;

  // Semi-diameter in degrees.  The Moon's is the augmented one, seen from
  // the observer rather than the Earth's centre: with the Moon at
  // 1/sin(HP) Earth radii and the limb at altitude H1, its centre lies at
  // the topocentric distance sqrt(1/sin^2 HP - (cos H1 + m k)^2) - sin H1
  // along the limb's direction, k being the Moon's radius.
  double S = 0;
  if (bodycode == 0 || bodycode == 1) {
    S = sd / 60;
  } else if (bodycode == 2 || bodycode == 3) {
    const double sh = sind(hpd);
    const double c = cosd(H1) + m * kMoonRadius;
    S = std::atan(kMoonRadius / (std::sqrt(1 / (sh * sh) - c * c) - sind(H1))) *
        K;
  }
  const double Hcen = H1 + m * S;  // altitude of the centre

  // Parallax in altitude from the horizontal parallax, with the first-order
  // effect of the flattening: the smaller radius towards the poles and the
  // tilt of the geocentric against the astronomical vertical (hpd in
  // degrees).
  const double sl = sind(lat);
  const double P =
      std::asin(sind(hpd) * cosd(Hcen)) * K +
      fE * hpd * (sind(2 * lat) * cosd(zn) * sind(Hcen) - sl * sl * cosd(Hcen));
  const double Ho = Hcen + P;

  *parallax = P * 60;
  *dip = dp;
  *refraction = R * 60;
  *SDa = S * 60;
  *S_Correction = (Ho - hs) * 60;
  return Ho;
}

// Given:    bodycode  0/1 Sun lower/upper limb, 2/3 Moon lower/upper limb,
//                     4-7 planets, 8 star
//           Ic        index correction, arcminutes
//           Hs        sextant altitude, degrees
//           dip       dip of the horizon, arcminutes
//           SDa       semi-diameter applied, arcminutes
// Returned: apparent altitude of the centre, degrees
// Notes:    The semi-diameter takes the limb's sign as in the altitude
//           correction: an upper limb stands above the centre, so the
//           centre's apparent altitude is the limb's less the semi-diameter.
//           The clearing of the lunar distance and the screens take this
//           value as the apparent altitude of the body's centre.
double apparent_altitude(int bodycode, double Ic, double Hs, double dip,
                         double SDa) {
  int m = 0;
  if (bodycode == 0 || bodycode == 2) m = +1;
  if (bodycode == 1 || bodycode == 3) m = -1;
  return (Ic / 60 + Hs) - dip / 60 + m * SDa / 60;
}
