// Sunrise and sunset.
//
// A low-precision Sun of its own (mean anomaly, ecliptic longitude with two
// periodic terms, obliquity, right ascension by quadrant), evaluated once at
// 12 h UT of the date, with its own sidereal time in hours: good to a minute
// or two of time, which is all the result screen shows.
#include "suntime.h"

#include <cmath>

#include "angles.h"
#include "calendar.h"
#include "constants.h"

namespace {
// pi rounded to 13 decimals, the value these formulas are tied to.
constexpr double PI = constants::kPi13;
constexpr double d2r = PI / 180;
constexpr double r2d = 1 / d2r;
constexpr double kTwoPi = 2 * PI;
// Standard altitude of the Sun's centre at sunrise and sunset, degrees:
// refraction at the horizon and the semi-diameter.
constexpr double kH0 = -0.83;
// Beyond a million turns (a date a million years away, or an infinite one)
// the angle is first reduced by one floating-point remainder.
constexpr double kTurnBound = 1.0e6 * kTwoPi;

// Angle (radians) into [0, 2 PI] by whole turns taken one at a time, which
// keeps the values of every ordinary date; an angle too large for that is
// first brought below one turn by a remainder, so the loops end for every
// input (an infinite angle becomes NaN, which passes through).
double turns(double x) {
  if (!(std::fabs(x) <= kTurnBound)) x = std::fmod(x, kTwoPi);
  while (x > kTwoPi) x = x - kTwoPi;
  while (x < 0) x = x + kTwoPi;
  return x;
}
}  // namespace

// Given:    year, month, day   civil date (UT)
//           lon                longitude, degrees, east positive
//           lat                latitude, degrees, north positive; held
//                              within 89.99 degrees of the equator
// Returned: rise_hour, rise_minute   sunrise, UT, truncated
//           set_hour, set_minute     sunset, UT, truncated, modulo 24 hours
//           rise_azimuth             azimuth of the rising Sun, degrees
//           set_azimuth              azimuth of the setting Sun, degrees
//           twilight                 approximate duration of twilight,
//                                    minutes
// Notes:    When the Sun does not rise or does not set on the date, sunrise
//           and sunset are both 0 h 0 min; the azimuths are then 0 and 360
//           with the Sun north of the equator, 180 and 180 with it south.
//           Every conversion to int saturates (NaN gives 0).
void suntime(int year, int month, int day, double lon, double lat,
             int* rise_hour, int* rise_minute, int* set_hour, int* set_minute,
             int* rise_azimuth, int* set_azimuth, int* twilight) {
  const double JD = julday(year, month, day, 12, 0, 0);
  const double T = (JD - 2451545.0) / 36525;

  if (lat > 89.99) lat = 89.99;
  if (lat < -89.99) lat = -89.99;
  const double phi = PI * lat / 180;
  const double h0 = PI * kH0 / 180;

  const double M = turns(kTwoPi * (0.993133 + 99.997361 * T));
  const double L =
      turns(kTwoPi * (M / kTwoPi + 0.7859453 +
                      (6893 * std::sin(M) + 72 * std::sin(2 * M) + 6191.2 * T) /
                          1296000));
  const double eps =
      kTwoPi *
      (23.43929111 +
       (-46.815 * T - 0.00059 * (T * T) + 0.001813 * (T * T * T)) / 3600) /
      360;
  const double dec = std::asin(std::sin(eps) * std::sin(L));

  // Right ascension by quadrant: the arctangent gives (-90, 90) degrees.
  double RA = std::atan(std::tan(L) * std::cos(eps));
  if (RA < 0) RA = RA + PI;
  if (L > PI) RA = RA + PI;
  const double RAh = RA * 3.81972;  // hours

  // Greenwich sidereal time in hours at 12 h UT (the remainder keeps the
  // sign of its argument).
  const double G = std::fmod(
      18.71506921 + 2400.0513369 * T + (2.5862e-5 - 1.72e-9 * T) * (T * T), 24);
  const double D = (G - RAh) * 1.0027379;

  // Hour angle of sunrise and sunset; the Sun that never rises or never
  // sets gives cosH -1, caught below.
  double cosH = (std::sin(h0) - std::sin(phi) * std::sin(dec)) /
                (std::cos(phi) * std::cos(dec));
  if (cosH > 1 || cosH < -1) cosH = -1;
  const double Hh = 12 * std::acos(cosH) / PI;  // half the day arc, hours

  double rise = std::fmod(12 - Hh - D - lon / 15, 24);
  double set = std::fmod(12 + Hh - D - lon / 15, 24);

  // Azimuth angle of the rising Sun from north.
  double a = std::sin(dec) / std::cos(d2r * lat);
  if (a > 1) a = 1;
  if (a < -1) a = -1;
  const double A = std::acos(a) * r2d;

  if (rise < 0) rise = rise + 24;
  if (set < 0) set = set + 24;
  if (cosH < -0.999999999) {
    rise = 0;
    set = 0;
  }

  const int rh = dtoi(rise);
  const int sh = dtoi(set);
  *rise_hour = rh;
  *rise_minute = dtoi((rise - rh) * 60);
  *set_hour = sh;
  *set_minute = dtoi((set - sh) * 60);

  const int Ar = dtoi(std::round(A));  // halves away from zero
  *rise_azimuth = Ar;
  *set_azimuth = 360 - Ar;

  // Twilight grows with the latitude; the same rule holds whatever the hour
  // of sunrise, the polar cases included.
  *twilight = dtoi(0.01 * (lat * lat) + 20.0);
}
