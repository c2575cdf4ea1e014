// The star catalogue and the apparent places of its stars.
//
// starseph
// Given:     starno   catalogue row: 0 to 57 the navigational stars, 58 and
//                     59 copies of Polaris without its radial velocity
//            deltaT   TT - UT, seconds
//            year, month, day, hour, minute, second   the instant, UT
// Returned:  Dec      apparent declination, degrees, [-90, 90]
//            GHA      Greenwich hour angle, degrees, [0, 360)
//            GAST     Greenwich apparent sidereal time, degrees, [0, 360)
//            RA       apparent right ascension, degrees, (-180, 180]: beyond
//                     12 hours it comes out negative
//            SHA      sidereal hour angle, degrees, norm360(360 - RA)
// Notes:
//  - The catalogue holds FK5 places for the epoch and equinox J2000.0:
//    right ascension (hours), declination (degrees), proper motions (seconds
//    of time and arcseconds per Julian century) and annual parallax
//    (arcseconds).  It is built as fixed-column text rows and parsed again
//    on every call.
//  - The reduction: proper motion to the epoch of date (with a radial-
//    velocity factor for four near stars), ecliptic of J2000.0, rigorous
//    precession of the ecliptic coordinates to the ecliptic and mean equinox
//    of date, annual parallax, nutation in longitude, annual aberration, and
//    back to the equator with the true obliquity of date.
//  - A starno outside 0 to 59 names no catalogue row.  Then no row is read:
//    GAST is computed and written as for any star, and Dec, GHA, RA and SHA
//    are written as NaN, so that no caller can take them for a place.
#include <cmath>
#include <cstring>
#include <limits>

#include "angles.h"
#include "constants.h"
#include "ephcommon.h"
#include "starcat.h"
#include "stars.h"
#include "texttab.h"
#include "vsop87d.h"

// One row per star, 56 characters (columns from 0): right ascension in hours
// in 0-12, declination in degrees in 14-27, proper motion in right ascension
// (s/century) in 29-36, in declination ("/century) in 38-46, parallax (") in
// 48-54, each right-aligned; columns 13, 28, 37, 47 and 55 are blank.
const char starcat_rows[60][57] = {
    " 2.9710266670 -40.3047138890  -0.3910    1.9400  0.0280 ",  //  0 Acamar
    " 1.6285700000 -57.2367166670   1.1730   -3.4700  0.0230 ",  //  1 Achernar
    "12.4432975000 -63.0990500000  -0.5240   -1.2100  0.0000 ",  //  2 Acrux
    " 6.9770966670 -28.9720833330   0.0310    0.2800  0.0000 ",  //  3 Adhara
    " 4.5986769440  16.5092750000   0.4390  -18.9700  0.0480 ",  //  4 Aldebaran
    "12.9004855560  55.9598527780   1.3280   -0.5800  0.0090 ",  //  5 Alioth
    "13.7923427780  49.3133194440  -1.2490   -1.0900  0.0350 ",  //  6 Alkaid
    "22.1372222220 -46.9609972220   1.2590  -15.1000  0.0510 ",  //  7 Al Na'ir
    " 5.6035580560  -1.2019500000   0.0060   -0.2400  0.0000 ",  //  8 Alnilam
    " 9.4597908330  -8.6586527780  -0.0930    3.2800  0.0170 ",  //  9 Alphard
    "15.5781322220  26.7147055560   0.9060   -8.8600  0.0430 ",  // 10 Alphecca
    " 0.1397958330  29.0904388890   1.0390  -16.3300  0.0240 ",  // 11 Alpheratz
    "19.8463894440   8.8683416670   3.6290   38.6300  0.1981 ",  // 12 Altair
    " 0.4380638890 -42.3060583330   1.8330  -39.5700  0.0350 ",  // 13 Ankaa
    "16.4901219440 -26.4319861110  -0.0710   -2.0300  0.0190 ",  // 14 Antares
    "14.2610213890  19.1824194440  -7.7140 -199.8400  0.0900 ",  // 15 Arcturus
    "16.8110747220 -69.0277277780   0.2600   -3.4000  0.0240 ",  // 16 Atria
    " 8.3752313890 -59.5095861110  -0.3460    1.4400  0.0000 ",  // 17 Avior
    " 5.4188491670   6.3496500000  -0.0590   -1.3900  0.0260 ",  // 18 Bellatrix
    " 5.9195297220   7.4070416670   0.1730    0.8700  0.0050 ",  // 19 Betelgeuse
    " 6.3991997220 -52.6956944440   0.2450    2.0700  0.0180 ",  // 20 Canopus
    " 5.2781536110  45.9980277780   0.7280  -42.4700  0.0730 ",  // 21 Capella
    "20.6905325000  45.2803638890   0.0270    0.2300  0.0000 ",  // 22 Deneb
    "11.8176611110  14.5720416670  -3.4220  -11.4100  0.0760 ",  // 23 Denebola
    " 0.7264922220 -17.9866166670   1.6370    3.2500  0.0570 ",  // 24 Diphda
    "11.0621294440  61.7508944440  -1.6750   -6.6500  0.0310 ",  // 25 Dubhe
    " 5.4381975000  28.6074083330   0.1690  -17.5100  0.0180 ",  // 26 Elnath
    "17.9434352780  51.4889472220  -0.0810   -1.9400  0.0170 ",  // 27 Eltanin
    "21.7364344440   9.8749777780   0.2070   -0.0600  0.0060 ",  // 28 Enif
    "22.9608486110 -29.6222500000   2.5510  -16.4700  0.1440 ",  // 29 Fomalhaut
    "12.5194247220 -57.1131944440   0.2850  -26.2300  0.0000 ",  // 30 Gacrux
    "12.2634350000 -17.5419361110  -1.1240    2.3300  0.0000 ",  // 31 Gienah
    "14.0637244440 -60.3729972220  -0.4260   -1.9300  0.0160 ",  // 32 Hadar
    " 2.1195563890  23.4624055560   1.3830  -14.8300  0.0430 ",  // 33 Hamal
    "18.4028686110 -34.3846472220  -0.3090  -12.4100  0.0150 ",  // 34 Kaus Aust.
    "14.8450961110  74.1554944440  -0.7630    1.2200  0.0310 ",  // 35 Kochab
    "23.0793494440  15.2052500000   0.4360   -4.2500  0.0300 ",  // 36 Markab
    " 3.0379925000   4.0897027780  -0.0630   -7.8000  0.0090 ",  // 37 Menkar
    "14.1113752780 -36.3700083330  -4.2930  -51.9000  0.0590 ",  // 38 Menkent
    " 9.2199880560 -69.7172083330  -3.1080   10.7800  0.0380 ",  // 39 Miaplacidus
    " 3.4053791670  49.8612055560   0.2460   -2.4600  0.0290 ",  // 40 Mirfak
    "18.9210900000 -26.2967305560   0.0990   -5.4200  0.0000 ",  // 41 Nunki
    "20.4274588890 -56.7351055560   0.0820   -8.9100  0.0000 ",  // 42 Peacock
    " 2.5301955560  89.2640888890  19.8770    -1.520  0.0070 ",  // 43 POLARIS
    " 7.7552627780  28.0261833330  -4.7400   -4.5900  0.0930 ",  // 44 Pollux
    " 7.6550313890   5.2250166670  -4.7550 -102.2900  0.2880 ",  // 45 Procyon
    "17.5822433330  12.5600388890   0.8220  -22.6400  0.0560 ",  // 46 Rasalhague
    "10.1395319440  11.9671916670  -1.6930    0.6400  0.0390 ",  // 47 Regulus
    " 5.2422966670  -8.2016611110   0.0030   -0.1300  0.0130 ",  // 48 Rigel
    "14.6599680560 -60.8354000000 -49.8260   69.9300  0.7516 ",  // 49 Rigil Kent.
    "17.1729669440 -15.7249194400   0.2600    9.5000  0.0520 ",  // 50 Sabik
    " 0.6751250000  56.5373500000   0.6360   -3.1900  0.0160 ",  // 51 Schedar
    "17.5601483330 -37.1038111110  -0.0110   -2.9200  0.0000 ",  // 52 Shaula
    " 6.7524641670 -16.7161083330  -3.8470 -120.5300  0.3751 ",  // 53 Sirius
    "13.4198852780 -11.1613083330  -0.2780   -2.8300  0.0210 ",  // 54 Spica
    " 9.1332711110 -43.4326055560  -0.1720    1.2700  0.0150 ",  // 55 Suhail
    "18.6156477780  38.7836583330   1.7260   28.6100  0.1230 ",  // 56 Vega
    "14.8479758330 -16.0417833330  -0.7340   -6.6800  0.0490 ",  // 57 Zubenelgenubi
    " 2.5301955560  89.2640888890  19.8770    -1.520  0.0070 ",  // 58 DUMMY: Polaris again
    " 2.5301955560  89.2640888890  19.8770    -1.520  0.0070 ",  // 59 (blank)
};

namespace {

// Angle factors: pi/180 and 180/pi.
constexpr double d2r = constants::kDegToRad;
constexpr double r2d = constants::kRadToDeg;

constexpr int kRows = 60;

// The columns read of each field: the whole number and a blank either side
// (the leading blank of the parallax, column 48, is not read).
constexpr int kField[5][2] = {{0, 13}, {14, 28}, {29, 37}, {38, 47}, {49, 55}};

}  // namespace

void starseph(int starno, double deltaT, int year, int month, int day, int hour,
              int minute, int second, double* Dec, double* GHA, double* GAST,
              double* RA, double* SHA) {
  // 1. to 3. Time (JD of UT, JDE and T of dynamical time), nutation and the
  // apparent sidereal time.
  const PlaceTime pt = place_time(deltaT, year, month, day, hour, minute,
                                  second, SiderealCenturies::kUT);
  const double T = pt.T, tau = pt.tau, dpsi = pt.dpsi, eps = pt.eps;
  const double gast = pt.GAST;

  if (starno < 0 || starno >= kRows) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    *Dec = nan;
    *GHA = nan;
    *GAST = gast;
    *RA = nan;
    *SHA = nan;
    return;
  }

  // 4. The Sun's geometric longitude (FK5, mean equinox of date) for the
  // annual parallax and aberration; the Earth-Sun distance is taken as 1 AU.
  const double L = Learth(tau);
  const double Theta = norm360(L + 180 - 0.000025091666666666666);

  // 5. The catalogue, built and parsed whole.
  char starcat[64][60];
  std::memset(starcat, 0, sizeof starcat);
  for (int i = 0; i < kRows; ++i)
    std::memcpy(starcat[i], starcat_rows[i], sizeof starcat_rows[i]);
  double cat[5][64];
  for (int i = 0; i < kRows; ++i)
    for (int f = 0; f < 5; ++f)
      cat[f][i] = farr60(starcat, i, kField[f][0], kField[f][1]);

  const double a0 = 15 * cat[0][starno];
  const double d0 = cat[1][starno];
  const double ma = 15 * cat[2][starno] / 3600;
  const double md = cat[3][starno] / 3600;
  const double par = cat[4][starno] / 3600;
  double vr = 0;  // radial velocity, km/s
  if (starno == 49) vr = -22.2;
  if (starno == 12) vr = -26.3;
  if (starno == 43) vr = -17.0;
  if (starno == 53) vr = -7.6;

  // 6. Proper motion to the epoch of date, on the equator of J2000.0.
  const double ddra = std::atan(tand(d0) * cosd(T * ma)) * r2d - d0;
  double dd = T * md + ddra;
  double da = T * ma * cosd(d0) / cosd(d0 + dd);
  const double f = -T * vr * par * 0.367;
  da = da * (1 + f);
  dd = dd * (1 + f);
  const double a1 = a0 + da;
  const double d1 = d0 + dd;

  // 7. Ecliptic coordinates of J2000.0 (radians).
  const double e0 = 23.439291111;
  double lambda =
      std::atan2(sind(a1) * cosd(e0) + tand(d1) * sind(e0), cosd(a1));
  double beta = std::asin(sind(d1) * cosd(e0) - cosd(d1) * sind(e0) * sind(a1));

  // 8. Precession to the ecliptic and mean equinox of date.
  const double eta =
      (47.0029 * T - 0.03302 * (T * T) + 0.00006 * (T * T * T)) * d2r / 3600;
  const double P =
      (174.876384 - (869.8089 * T - 0.03536 * (T * T)) / 3600) * d2r;
  const double p =
      (5029.0966 * T + 1.11113 * (T * T) - 0.000006 * (T * T * T)) * d2r / 3600;
  const double A = std::cos(eta) * std::cos(beta) * std::sin(P - lambda) -
                   std::sin(eta) * std::sin(beta);
  const double B = std::cos(beta) * std::cos(P - lambda);
  const double C = std::cos(eta) * std::sin(beta) +
                   std::sin(eta) * std::cos(beta) * std::sin(P - lambda);
  lambda = p + P - std::atan2(A, B);
  beta = std::asin(C);

  // 9. Annual parallax (the division guarded near the ecliptic poles).
  const double Th = d2r * Theta;
  double c = std::cos(beta);
  if (std::fabs(c) < 1e-7) c = 1e-7;
  {
    const double dl = d2r * par * std::sin(Th - lambda) / c;
    const double db = -d2r * par * std::sin(beta) * std::cos(Th - lambda);
    lambda += dl;
    beta += db;
  }

  // 10. Nutation in longitude: true equinox of date.
  lambda += d2r * dpsi;

  // 11. Annual aberration with the Earth-orbit quantities of date, written
  // out here with the square of T formed first (Aberration, which the
  // planets use, forms its quadratic terms left to right, coefficient times
  // T times T; the two forms give the same bits in every result tried).
  {
    const double k = d2r * 20.49552 / 3600;
    const double w = (102.93735 + 1.71946 * T + 0.00046 * (T * T)) * d2r;
    const double e = 0.016708634 - 0.000042037 * T - 0.0000001267 * (T * T);
    const double cb = std::cos(beta);
    const double dl =
        (k * e * std::cos(w - lambda) - k * std::cos(Th - lambda)) / cb;
    const double db = -k * std::sin(beta) *
                      (std::sin(Th - lambda) - e * std::sin(w - lambda));
    lambda += dl;
    beta += db;
  }

  // 12. Equator of date with the true obliquity.
  const double alpha =
      std::atan2(std::sin(lambda) * cosd(eps) - std::tan(beta) * sind(eps),
                 std::cos(lambda));
  const double delta = std::asin(std::sin(beta) * cosd(eps) +
                                 std::cos(beta) * sind(eps) * std::sin(lambda));

  // 13. Outputs.
  *Dec = delta / d2r;
  *GHA = norm360(gast - alpha / d2r);
  *GAST = gast;
  *RA = ra_half_turn(alpha, d2r);
  *SHA = norm360(360 - alpha / d2r);
}
