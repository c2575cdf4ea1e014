// Sight reduction: HcAz against ERFA's hour-angle to azimuth-elevation
// transformation and the spherical geometry of the meridian, the zenith and
// the pole; BESCHICKUNG's parts against their physical meaning (dip,
// refraction of the standard atmosphere, density of the air, the Moon's
// augmented semi-diameter and the parallax in altitude from the geometry of
// the Earth-Moon triangle).
#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>

#include "angles.h"
#include "sight.h"

namespace {

constexpr double kDeg = 180.0 / 3.141592653589793;  // degrees per radian
constexpr double kRad = 1.0 / kDeg;
constexpr double arcmin = 1.0 / 60.0;  // in degrees
constexpr double arcsec = 1.0 / 3600.0;

// Smallest difference of two azimuths (degrees), across north.
double azdiff(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

struct Reduced {
  double LHA, Hc, Az;
};

Reduced reduce(double lat, double lon, double dec, double gha) {
  Reduced r{};
  HcAz(lat, lon, dec, gha, &r.LHA, &r.Hc, &r.Az);
  return r;
}

// ---------------------------------------------------------------- HcAz

TEST(HcAz, AgreesWithErfaHourAngleToAzimuthElevation) {
  const double lats[] = {-80, -45, -10, 0, 30, 52.5, 75, 89};
  const double decs[] = {-60, -23.4, -5, 0, 12, 38.7, 60};
  const double lhas[] = {5, 45, 90, 100, 179, 181, 200, 270, 300, 355};
  double worst_hc = 0, worst_az = 0;
  for (double lat : lats)
    for (double dec : decs)
      for (double lha : lhas) {
        // The hour angle is split into Greenwich hour angle and longitude.
        const double lon = -35.25;
        const Reduced r = reduce(lat, lon, dec, lha - lon);
        double az, el;
        eraHd2ae(lha * kRad, dec * kRad, lat * kRad, &az, &el);
        ASSERT_NEAR(r.LHA, lha, 1e-12);
        worst_hc = std::fmax(worst_hc, std::fabs(r.Hc - el * kDeg));
        // The azimuth is ill-defined near the zenith: compare it where the
        // body stands at least a degree below.
        if (el * kDeg < 89)
          worst_az = std::fmax(worst_az, azdiff(r.Az, az * kDeg));
        EXPECT_GE(r.Az, 0.0);
        EXPECT_LT(r.Az, 360.0);
      }
  EXPECT_LT(worst_hc, 1e-6 * arcsec)
      << "worst altitude difference (deg) " << worst_hc;
  EXPECT_LT(worst_az, 1e-4 * arcsec)
      << "worst azimuth difference (deg) " << worst_az;
}

TEST(HcAz, EastAndWestOfTheMeridian) {
  // West of the meridian (LHA 20): azimuth in the western half.
  Reduced w = reduce(45, -10, 20, 30);
  EXPECT_NEAR(w.LHA, 20, 1e-12);
  EXPECT_GT(w.Az, 180);
  EXPECT_LT(w.Az, 360);
  // East of it (LHA 330): azimuth in the eastern half.
  Reduced e = reduce(45, -10, 20, 340);
  EXPECT_NEAR(e.LHA, 330, 1e-12);
  EXPECT_GT(e.Az, 0);
  EXPECT_LT(e.Az, 180);
  // Mirror images: same altitude, azimuths symmetric about the meridian.
  Reduced m = reduce(45, -10, 20, -10 + 40);  // LHA 20 again
  Reduced n = reduce(45, -10, 20, 350);       // LHA 340
  EXPECT_NEAR(m.Hc, n.Hc, 1e-12);
  EXPECT_NEAR(m.Az + n.Az, 360, 1e-10);
}

TEST(HcAz, HourAnglesZeroNinetyAndOneEighty) {
  // On the meridian the cosine of the azimuth angle is -1 or 1, where the
  // arccosine turns a rounding of 1e-16 into some 1e-6 degree: the azimuths
  // are compared to 1e-5 degree (0.04 second of arc).
  const double az_tol = 1e-5;
  // Upper transit south of the zenith: due south, altitude 90 - lat + dec.
  Reduced s = reduce(45, 0, 20, 0);
  EXPECT_EQ(s.LHA, 0);
  EXPECT_NEAR(s.Az, 180, az_tol);
  EXPECT_NEAR(s.Hc, 65, 1e-9);
  // Upper transit north of the zenith: due north.
  Reduced n = reduce(45, 0, 60, 0);
  EXPECT_NEAR(azdiff(n.Az, 0), 0, az_tol);
  EXPECT_LT(n.Az, 360);
  EXPECT_NEAR(n.Hc, 75, 1e-9);
  // Lower transit of a circumpolar body: due north, altitude lat - (90 - dec).
  Reduced l = reduce(60, 0, 70, 180);
  EXPECT_EQ(l.LHA, 180);
  EXPECT_NEAR(azdiff(l.Az, 0), 0, az_tol);
  EXPECT_LT(l.Az, 360);
  EXPECT_NEAR(l.Hc, 40, 1e-9);
  // Six hours west: for a body on the equator seen from the equator it
  // sets due west.
  Reduced w = reduce(0, 0, 0, 90);
  EXPECT_EQ(w.LHA, 90);
  EXPECT_NEAR(w.Az, 270, az_tol);
  EXPECT_NEAR(w.Hc, 0, 1e-9);
}

// Along the meridian and at the zenith the two arguments of the arcsine and
// the arccosine round to just beyond 1 for many positions; the reduction
// must still give a real altitude and azimuth for every one of them.
TEST(HcAz, ZenithAndMeridianGiveRealValues) {
  int beyond = 0;  // positions where the unrounded arguments exceed 1
  for (int i = -8999; i <= 8999; ++i) {
    const double lat = i * 0.01;
    for (double offset : {0.0, -30.0, 15.0}) {
      const double dec = lat + offset;
      if (std::fabs(dec) > 90) continue;
      const Reduced r = reduce(lat, 12.5, dec, -12.5);  // LHA 0
      ASSERT_TRUE(std::isfinite(r.Hc) && std::isfinite(r.Az))
          << "lat " << lat << " dec " << dec;
      ASSERT_GE(r.Hc, -90.0);
      ASSERT_LE(r.Hc, 90.0);
      ASSERT_GE(r.Az, 0.0);
      ASSERT_LT(r.Az, 360.0);
      // Altitude on the meridian: 90 - |lat - dec|.
      ASSERT_NEAR(r.Hc, 90 - std::fabs(lat - dec), 1e-5) << "lat " << lat;
      if (offset != 0) {
        // South of the zenith due south, north of it due north (to 1e-3
        // degree: the arccosine near 1, with the small cos(lat) of the
        // polar caps as divisor, is the limit here).
        ASSERT_NEAR(azdiff(r.Az, dec < lat ? 180 : 0), 0, 1e-3)
            << "lat " << lat;
      }
      // The same sums in plain arithmetic, to show that the positions swept
      // do reach the rounding the reduction has to hold.
      const double la = lat * kRad, de = dec * kRad;
      const double s =
          std::cos(la) * std::cos(de) + std::sin(de) * std::sin(la);
      if (std::fabs(s) > 1)
        ++beyond;
      else if (std::fabs(std::cos(la) * std::cos(std::asin(s))) > 0 &&
               std::fabs((std::sin(de) - std::sin(la) * s) /
                         (std::cos(la) * std::cos(std::asin(s)))) > 1)
        ++beyond;
    }
  }
  EXPECT_GT(beyond, 0);
}

TEST(HcAz, AtThePoleTheAltitudeIsTheDeclination) {
  for (double dec : {-30.0, 0.0, 23.44, 89.0})
    for (double gha : {0.0, 37.0, 180.0, 275.0}) {
      const Reduced r = reduce(90, 0, dec, gha);
      EXPECT_NEAR(r.Hc, dec, 1e-9);
      EXPECT_TRUE(r.Az >= 0 && r.Az < 360) << r.Az;
      const Reduced q = reduce(-90, 0, dec, gha);
      EXPECT_NEAR(q.Hc, -dec, 1e-9);
      EXPECT_TRUE(q.Az >= 0 && q.Az < 360) << q.Az;
    }
  // The body in the zenith of the pole.
  const Reduced z = reduce(90, 0, 90, 0);
  EXPECT_LE(z.Hc, 90.0);
  EXPECT_GE(z.Hc, 90.0 - 1e-9);
  EXPECT_TRUE(z.Az >= 0 && z.Az < 360) << z.Az;
}

// --------------------------------------------------------- BESCHICKUNG

struct Correction {
  double Ho, P, dip, R, SDa, S;  // degrees; the others arcminutes
};

Correction correct(int body, double lat, double zn, double hs, double ic,
                   double temp, double press, double eye, double sd,
                   double hp) {
  Correction c{};
  c.Ho = BESCHICKUNG(body, lat, zn, hs, ic, temp, press, eye, sd, hp, &c.P,
                     &c.dip, &c.R, &c.SDa, &c.S);
  return c;
}

// Refraction of the standard atmosphere (10 C, 1010 hPa) by Bennett's
// formula, arcminutes, for an apparent altitude in degrees.
double bennett(double h) {
  return 1.0 / std::tan((h + 7.31 / (h + 4.4)) * kRad);
}

// Refraction of the standard atmosphere at named apparent altitudes,
// arcminutes, worked out by hand from the two formulas of the correction:
// below 15 degrees of sextant altitude the rational fit
//   (34.133 + 4.197 h + 0.00428 h^2) / (1 + 0.505 h + 0.0845 h^2),
// from 15 degrees up the cotangent series 0.96474 / t - 0.00113 / t^3 with
// t = tan h, at altitudes whose tangent is known in closed form.
constexpr double kSqrt3 = 1.7320508075688772;
// 0:     34.133 / 1
constexpr double kLowAt0 = 34.133;
// 10:    (34.133 + 41.97 + 0.428) / (1 + 5.05 + 8.45) = 76.531 / 14.5
constexpr double kLowAt10 = 5.278;
// 15:    (34.133 + 62.955 + 0.963) / (1 + 7.575 + 19.0125)
//        = 98.051 / 27.5875
constexpr double kLowAt15 = 3.5541821477118260;
// 15.99: (34.133 + 67.11003 + 1.094310828) / (1 + 8.07495 + 21.60496845)
//        = 102.337340828 / 30.67991845
constexpr double kLowAt15_99 = 3.3356457904144136;
// 15:    t = 2 - sqrt 3 = 0.26794919243112271:
//        3.6004586960939987 - 0.0587382611882925
constexpr double kHighAt15 = 3.5417204349057062;
// 30:    t = 1 / sqrt 3: sqrt 3 (0.96474 - 3 x 0.00113) = sqrt 3 x 0.96135
constexpr double kHighAt30 = kSqrt3 * 0.96135;
// 45:    t = 1: 0.96474 - 0.00113
constexpr double kHighAt45 = 0.96361;
// 60:    t = sqrt 3: (0.96474 - 0.00113 / 3) / sqrt 3
constexpr double kHighAt60 = 0.55677543009660480;

TEST(Beschickung, RefractionAtNamedAltitudes) {
  struct Case {
    double hs, want;  // degrees, arcminutes
  } cases[] = {
      {0.0, kLowAt0},    {10.0, kLowAt10},  {15.0, kHighAt15},
      {30.0, kHighAt30}, {45.0, kHighAt45}, {60.0, kHighAt60},
  };
  for (const Case& k : cases) {
    const Correction c = correct(8, 0, 0, k.hs, 0, 10, 1010, 0, 0, 0);
    EXPECT_NEAR(c.R, k.want, 1e-12) << k.hs;
  }
}

TEST(Beschickung, StarTakesIndexDipAndRefractionOnly) {
  // Index correction -1.8' and dip 3.52' (4 m) bring the sextant altitude
  // down to an apparent altitude of 45 degrees.
  const double ic = -1.8, eye = 4.0, hs = 45 + (1.8 + 3.52) / 60;
  const Correction c = correct(8, 50, 120, hs, ic, 10, 1010, eye, 16, 0);
  EXPECT_EQ(c.P, 0.0);
  EXPECT_EQ(c.SDa, 0.0);
  EXPECT_NEAR(c.dip, 1.76 * 2.0, 1e-15);  // 1.76' x sqrt(height of eye)
  EXPECT_NEAR(c.R, kHighAt45, 1e-12);
  EXPECT_NEAR(c.Ho, 45 - kHighAt45 / 60, 1e-13);
  EXPECT_NEAR(c.S, ic - c.dip - c.R, 1e-10);
}

TEST(Beschickung, DipGrowsWithTheRootOfTheHeightOfEye) {
  for (double eye : {0.0, 1.0, 1.83, 9.0, 16.0, 40.0}) {
    const Correction c = correct(8, 0, 0, 40, 0, 10, 1010, eye, 0, 0);
    EXPECT_NEAR(c.dip, 1.76 * std::sqrt(eye), 1e-14) << eye;
    // Dip lifts the horizon the eye sees: the sextant altitude over it is
    // the altitude over the true horizon plus the dip.
    const Correction c0 =
        correct(8, 0, 0, 40 - c.dip / 60, 0, 10, 1010, 0, 0, 0);
    EXPECT_NEAR(c.Ho, c0.Ho, 1e-12) << eye;
  }
}

TEST(Beschickung, RefractionFollowsTheStandardAtmosphere) {
  for (double hs : {0.0, 0.5, 1.0, 2.0, 5.0, 10.0, 14.9, 15.0, 20.0, 30.0, 45.0,
                    60.0, 75.0, 89.0}) {
    const Correction c = correct(8, 0, 0, hs, 0, 10, 1010, 0, 0, 0);
    // The low-altitude fit stays within 0.35' of Bennett's formula down to
    // the horizon, the cotangent series within 0.1' from 15 degrees up.
    EXPECT_NEAR(c.R, bennett(hs), hs < 15 ? 0.35 : 0.1) << hs;
  }
}

TEST(Beschickung, FormulaSwitchesOnTheSextantAltitudeAtFifteenDegrees) {
  // At exactly 15 degrees the cotangent series is used (the fit would give
  // 0.0125' more) ...
  Correction c = correct(8, 0, 0, 15.0, 0, 10, 1010, 0, 0, 0);
  EXPECT_NEAR(c.R, kHighAt15, 1e-12);
  EXPECT_GT(kLowAt15 - kHighAt15, 0.01);
  // ... and just below it the low-altitude fit, even though the index
  // correction lifts the altitude to 15.99 degrees (the series would give
  // 3.3186430', 0.017' less).
  c = correct(8, 0, 0, 14.99, 60, 10, 1010, 0, 0, 0);
  EXPECT_NEAR(c.R, kLowAt15_99, 1e-12);
  // Dip cannot bring 15 degrees of sextant altitude back to the fit either:
  // 8.8' (25 m) leave 14.853333 degrees, t = 0.26520746422275216, and the
  // series gives 3.6376804205996963 - 0.0605788764583438 (the fit would
  // give 3.5889578').
  c = correct(8, 0, 0, 15.0, 0, 10, 1010, 25, 0, 0);
  EXPECT_NEAR(c.R, 3.5771015441413525, 1e-12);
}

TEST(Beschickung, TemperatureAndPressureScaleTheRefractionApplied) {
  for (double hs : {3.0, 25.0}) {
    const Correction std_air = correct(8, 0, 0, hs, 0, 10, 1010, 0, 0, 0);
    // 10 C and 1010 hPa is the standard atmosphere: what is applied is
    // exactly what is shown.
    EXPECT_NEAR((hs - std_air.Ho) * 60, std_air.R, 1e-11) << hs;
    struct Air {
      double temp, press;
    };
    for (Air air : {Air{-10, 1030}, Air{35, 990}, Air{16.1, 1026.4}}) {
      const Correction c =
          correct(8, 0, 0, hs, 0, air.temp, air.press, 0, 0, 0);
      EXPECT_EQ(c.R, std_air.R) << "the output is the unscaled refraction";
      // Density of the air relative to the standard: p/1010 x 283.15/T.
      const double density =
          (air.press / 1010.0) * (283.15 / (273.15 + air.temp));
      EXPECT_NEAR((hs - c.Ho) * 60, density * std_air.R, 1e-10) << hs;
    }
  }
}

TEST(Beschickung, SunLimbsAddOrSubtractTheSemiDiameter) {
  const double hs = 40, sd = 16.2, hp = 0.147;
  const Correction lo = correct(0, 0, 200, hs, 0, 10, 1010, 0, sd, hp);
  const Correction up = correct(1, 0, 200, hs, 0, 10, 1010, 0, sd, hp);
  EXPECT_NEAR(lo.SDa, sd, 1e-12);
  EXPECT_NEAR(up.SDa, sd, 1e-12);
  // The centre lies one semi-diameter above the lower limb, below the upper
  // (apart from the slightly different parallax of the two centres).
  EXPECT_NEAR((lo.Ho - up.Ho) * 60 - (lo.P - up.P), 2 * sd, 1e-9);
  // The Sun's parallax: HP x cos(altitude), about 0.11' at 40 degrees.
  const double centre = hs - lo.R / 60 + sd / 60;
  EXPECT_NEAR(lo.P, hp * std::cos(centre * kRad), 1e-9);
  EXPECT_NEAR(lo.S, -lo.R + sd + lo.P, 1e-9);
  EXPECT_NEAR(up.S, -up.R - sd + up.P, 1e-9);
}

TEST(Beschickung, PlanetTakesItsParallaxButNoSemiDiameter) {
  const double hp = 0.5;
  const Correction p = correct(4, 0, 90, 20, 0, 10, 1010, 0, 0.3, hp);
  EXPECT_EQ(p.SDa, 0.0);
  // Parallax in altitude HP x cos(altitude).
  const double H1 = 20 - p.R / 60;
  EXPECT_NEAR(p.P, hp * std::cos(H1 * kRad), 1e-8);
  EXPECT_NEAR(p.Ho, H1 + p.P / 60, 1e-13);
  // Every planet code is treated alike.
  for (int body : {5, 6, 7}) {
    const Correction q = correct(body, 0, 90, 20, 0, 10, 1010, 0, 0.3, hp);
    EXPECT_EQ(q.Ho, p.Ho) << body;
    EXPECT_EQ(q.SDa, 0.0) << body;
  }
}

// The Moon as a sphere of 0.2725 Earth radii at 1/sin(HP) Earth radii from
// the Earth's centre, the observer on a spherical Earth of radius 1.  For a
// centre at topocentric altitude A: its topocentric distance, the angular
// semi-diameter seen by the observer and the parallax in altitude (the
// geocentric minus the topocentric altitude), all from the plane triangle
// observer - Earth's centre - Moon.
struct MoonSeen {
  double sd, parallax;  // degrees
};

MoonSeen moon_seen(double A, double hp_arcmin) {
  const double rho = 1 / std::sin(hp_arcmin / 60 * kRad);
  const double a = A * kRad;
  const double delta =
      -std::sin(a) + std::sqrt(rho * rho - std::cos(a) * std::cos(a));
  const double x = delta * std::cos(a),
               y = delta * std::sin(a) + 1;  // from the centre
  return {std::asin(0.2725 / delta) * kDeg, std::atan2(y, x) * kDeg - A};
}

// The centre's topocentric altitude whose limb (m = +1 lower, -1 upper)
// appears at altitude H1, by fixed-point iteration.
double centre_from_limb(double H1, int m, double hp_arcmin) {
  double A = H1;
  for (int i = 0; i < 50; ++i) A = H1 + m * moon_seen(A, hp_arcmin).sd;
  return A;
}

TEST(Beschickung, MoonSemiDiameterAndParallaxFromTheGeometry) {
  const double hp = 58.9;  // arcminutes: the Moon at about 58 Earth radii
  for (double hs : {15.0, 25.0, 45.0, 70.0, 88.0})
    for (int body : {2, 3}) {
      const int m = body == 2 ? +1 : -1;
      // Latitude 0: no flattening term.
      const Correction c = correct(body, 0, 135, hs, 0, 10, 1010, 0, 15.5, hp);
      const double H1 = hs - c.R / 60;  // the standard air's refraction
      const double A = centre_from_limb(H1, m, hp);
      const MoonSeen seen = moon_seen(A, hp);
      EXPECT_NEAR(c.SDa, seen.sd * 60, 1e-8) << hs << " body " << body;
      EXPECT_NEAR(c.P, seen.parallax * 60, 1e-8) << hs << " body " << body;
      EXPECT_NEAR(c.Ho, A + seen.parallax, 1e-10) << hs << " body " << body;
    }
}

TEST(Beschickung, MoonAugmentationAndParallaxWithAltitude) {
  const double hp = 60.0;
  double last_sd = 0, last_p = 1e9;
  for (double hs : {16.0, 30.0, 50.0, 70.0, 89.0}) {
    const Correction lo = correct(2, 0, 0, hs, 0, 10, 1010, 0, 16, hp);
    const Correction up = correct(3, 0, 0, hs, 0, 10, 1010, 0, 16, hp);
    // The augmented semi-diameter grows as the Moon comes nearer the
    // observer; the lower limb's centre stands higher than the upper's.
    EXPECT_GT(lo.SDa, last_sd) << hs;
    EXPECT_GT(lo.SDa, up.SDa) << hs;
    // The parallax in altitude falls as the centre rises.
    EXPECT_LT(lo.P, last_p) << hs;
    EXPECT_LT(lo.P, up.P) << hs;
    last_sd = lo.SDa;
    last_p = lo.P;
  }
}

TEST(Beschickung, FlatteningReducesTheParallaxTowardsThePoles) {
  const double hp = 57.0, hs = 35.0;
  const Correction eq = correct(2, 0, 40, hs, 0, 10, 1010, 0, 0, hp);
  const Correction pole = correct(2, 90, 40, hs, 0, 10, 1010, 0, 0, hp);
  const double Hcen = eq.Ho - eq.P / 60;
  // At the pole the Earth's radius is (1 - f) of the equatorial one, and the
  // vertical is the geocentric one: the parallax shrinks by that factor.
  const double f = 1 / 298.257223563;
  const double expect =
      std::asin((1 - f) * std::sin(hp / 60 * kRad) * std::cos(Hcen * kRad)) *
      kDeg * 60;
  EXPECT_NEAR(pole.P, expect, 1e-3);  // first-order term: within 0.001'
  EXPECT_LT(pole.P, eq.P - 0.1);      // the reduction is about 0.16'
  // In middle latitudes the term depends on the azimuth; it vanishes on
  // the equator for any azimuth.
  const Correction n = correct(2, 45, 0, hs, 0, 10, 1010, 0, 0, hp);
  const Correction s = correct(2, 45, 180, hs, 0, 10, 1010, 0, 0, hp);
  // A body towards the equator-ward tilted geocentric zenith (south, in the
  // north) has the smaller parallax; the difference is twice f x HP x
  // sin(2 lat) x sin(altitude), about 0.22' here.
  EXPECT_GT(n.P - s.P, 0.2);
  EXPECT_EQ(correct(2, 0, 0, hs, 0, 10, 1010, 0, 0, hp).P,
            correct(2, 0, 180, hs, 0, 10, 1010, 0, 0, hp).P);
}

// --------------------------------------------------- apparent altitude

TEST(ApparentAltitude, LimbSignOfTheSemiDiameter) {
  struct Case {
    int bodycode;
    double want;  // degrees
  };
  // Ic 1.5', Hs 30 deg, dip 2.4', SDa 16'.
  const double base = (1.5 / 60 + 30.0) - 2.4 / 60;
  const Case cases[] = {
      {0, base + 16.0 / 60},
      {1, base - 16.0 / 60},  // the Sun
      {2, base + 16.0 / 60},
      {3, base - 16.0 / 60},  // the Moon
      {4, base},
      {7, base},
      {8, base},  // planets and stars have no limb
  };
  for (const Case& c : cases)
    EXPECT_EQ(apparent_altitude(c.bodycode, 1.5, 30.0, 2.4, 16.0), c.want)
        << "body " << c.bodycode;
}

}  // namespace
