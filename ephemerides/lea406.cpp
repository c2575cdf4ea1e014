// LEA-406b: the Moon's geocentric ecliptic longitude, latitude and distance.
//
// Given:     jde    Julian Day of dynamical time (TT)
// Returned:  lon    ecliptic longitude, degrees, [0, 360), mean equinox of
//                   date (the caller adds the nutation in longitude)
//            lat    ecliptic latitude, degrees, brought into [0, 360): a
//                   southern latitude comes back as 360 minus its size
//            dist   distance of the Moon from the Earth's centre, km
// Notes:
//  - The series is summed in the long-term form of the theory: each term
//    contributes A0 f(phi0 + theta) + A1 tau f(phi1 + theta)
//    + A2 tau^2 f(phi2 + theta), with tau in Julian millennia, theta the sum
//    of integer multiples of 14 fundamental arguments and f = cos for the
//    distance, sin for the longitude and latitude.
//  - The 3871 terms are kept as text rows (leatab); every call copies the
//    table and parses all rows again, so nothing survives a call.  The copy
//    and the parsed terms (about 1.15 MB) are automatic storage of the call.
//  - Outside the days 625673.5 to 2816787.5 of the offset time scale the
//    series is extrapolated: a warning is printed on the console and the
//    place is computed as usual.
// Reference: LEA-406b, long-term harmonic development of the lunar ephemeris
// (distance, longitude and latitude tables).
#include <cmath>
#include <cstdio>
#include <cstring>

#include "angles.h"
#include "console.h"
#include "constants.h"
#include "leascan.h"
#include "leatab.h"
#include "moon.h"

namespace {

using constants::kDegToRad;
using constants::kPi13;
using constants::kTwoPi;
constexpr double ASEC = 4.84813681109536e-06;  // one arcsecond in radians

constexpr int kSlots = 3874;
constexpr int kWidth = 160;
constexpr int kTerms = 2000;  // capacity of one block, index 0 unused
constexpr int kCount[3] = {1029, 1753, 1089};  // distance, longitude, latitude

}  // namespace

void LEA406(double jd, double* lon, double* lat, double* dist) {
  // 1. Offset of the series' own time scale from the input date.
  const double P = 40.0 / 86400.0;  // 0.000462962962962963 day
  const double Q = 28.0 / 86400.0;  // 0.00032407407407407406 day
  double dt = (jd - 2720304.5) * P / (2999498.5 - 2720304.5);
  if (jd < 2720304.5) dt = 0;
  if (jd > 2999498.5) dt = P;
  if (jd < 2195773.5) dt = (jd - 2195773.5) * (-Q) / (1903773.5 - 2195773.5);
  const double tdb = jd + dt;

  // 2. Outside its interval the series is extrapolated: say so, go on.
  if (tdb < 625673.5 || tdb > 2816787.5) {
    std::fprintf(con_out(),
                 " the input epoch is outside the time interval\n"
                 " where the LEA406b series are precise.\n");
    std::fprintf(con_out(), " range 625674..2816787, tdb[1]]=%.1f\n", tdb);
  }

  // 3. Julian centuries from J2000.0; the amplitudes take millennia.
  const double t = (tdb - 2451545.0) / 36525;
  const double tm = t / 10;

  // 4. Copy the table and parse its term rows into the coefficient arrays
  // (index 0 of each array unused).  The copy is made slot by slot, each
  // term row just before it is parsed, so that the row is read back while it
  // is still in the cache; the whole table is copied all the same.
  char tab[kSlots][kWidth];
  std::memcpy(tab[0], leatab[0], kWidth);
  double A0[3][kTerms], A1[3][kTerms], A2[3][kTerms];
  double ph0[3][kTerms], ph1[3][kTerms], ph2[3][kTerms];
  double w0[3][kTerms], w1[3][kTerms], w2[3][kTerms], w3[3][kTerms],
      w4[3][kTerms];

  int slot = 1;
  for (int b = 0; b < 3; ++b) {
    for (int i = 1; i <= kCount[b]; ++i, ++slot) {
      std::memcpy(tab[slot], leatab[slot], kWidth);
      // The 15 integers and 6 reals of the row, as the scan with the row
      // format reads them (the constant rows always hold all 21).
      int f[15] = {};
      double v[6] = {};
      leascan::read_row(tab[slot], f, v);
      const int* const m = f + 1;  // the multipliers; f[0] is the term's number

      double w[5];
      leascan::derive(m, w);
      A0[b][i] = v[0];
      A1[b][i] = v[1];
      A2[b][i] = v[2];
      ph0[b][i] = v[3] * kDegToRad;
      ph1[b][i] = v[4] * kDegToRad;
      ph2[b][i] = v[5] * kDegToRad;
      w0[b][i] = w[0] * kDegToRad;
      w1[b][i] = w[1] * ASEC;
      w2[b][i] = w[2] * ASEC;
      w3[b][i] = w[3] * ASEC;
      w4[b][i] = w[4] * ASEC;
    }
  }

  std::memcpy(tab[slot], leatab[slot],
              (kSlots - slot) * kWidth);  // the note and the end mark

  // 5. The three sums, in the order distance, longitude, latitude; the
  // longitude starts at the Moon's mean longitude in arcseconds.
  const double* lm = leascan::kArg[14];
  double S[3] = {
      0, (((lm[4] * t + lm[3]) * t + lm[2]) * t + lm[1]) * t + 3600 * lm[0], 0};
  for (int b = 0; b < 3; ++b) {
    double s = S[b];
    for (int i = 1; i <= kCount[b]; ++i) {
      const double theta =
          (((w4[b][i] * t + w3[b][i]) * t + w2[b][i]) * t + w1[b][i]) * t +
          w0[b][i];
      if (b == 0) {
        s = s + A0[b][i] * std::cos(ph0[b][i] + theta);
        if (A1[b][i] > 0) s = s + A1[b][i] * tm * std::cos(ph1[b][i] + theta);
        if (A2[b][i] > 0)
          s = s + (A2[b][i] * tm) * tm * std::cos(ph2[b][i] + theta);
      } else {
        s = s + A0[b][i] * std::sin(ph0[b][i] + theta);
        if (A1[b][i] > 0) s = s + A1[b][i] * tm * std::sin(ph1[b][i] + theta);
        if (A2[b][i] > 0)
          s = s + (A2[b][i] * tm) * tm * std::sin(ph2[b][i] + theta);
      }
    }
    S[b] = s;
  }

  // 6. Arcseconds to degrees, with the rounded pi of the published
  // evaluator; the latitude stays in [0, 360).
  *lon = norm360(180 * dmodx(S[1] * ASEC, kTwoPi) / kPi13);
  *lat = 180 * dmodx(S[2] * ASEC, kTwoPi) / kPi13;
  *dist = S[0];
}
