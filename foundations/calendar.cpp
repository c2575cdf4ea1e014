// Julian Day, Greenwich mean sidereal time, equation of time and the
// Earth-orbit quantities of annual aberration.
//
// Every routine keeps the names, argument order, units and out-parameter
// order of its interface, and evaluates its formula in the order written
// below, each operation rounded to double on its own: the results are fixed
// to the last bit.
#include "calendar.h"

#include <cmath>

#include "angles.h"

// julday
//   Given:    year, month, day, hour, minute, second (int): a civil date and a
//             clock time (astronomical years: year 0 is 1 BC)
//   Returned: the Julian Day (days)
//   Notes:    Months 1 and 2 count as months 13 and 14 of the year before.
//             The Gregorian correction is applied when the day number at 0h,
//             before the correction and before the time of day, lies above
//             2299160: dates up to 1582-10-04 are Julian, every date from
//             1582-10-05 on is Gregorian.  No field is range-checked; month 0
//             or 13, day 0 or 32, hour 24 pass through the formula.
//             The year and month shifts are made in double arithmetic, which
//             holds every int exactly: for ordinary dates the values are those
//             of the integer shifts, and no int year (INT_MIN, INT_MAX) can
//             overflow.
double julday(int year, int month, int day, int hour, int minute, int second) {
  double Y = static_cast<double>(year);
  double M = static_cast<double>(month);
  if (month < 3) {
    Y = static_cast<double>(year) - 1.0;
    M = static_cast<double>(month) + 12.0;
  }
  const double A = std::floor(Y / 100.0);
  const double B = (2.0 - A) + std::floor(A / 4.0);
  double J = std::floor(30.6001 * (M + 1.0)) +
             std::floor(365.25 * (Y + 4716.0)) + static_cast<double>(day) -
             1524.5;
  if (J > 2299160.0) J = J + B;  // Gregorian calendar, tested at 0h
  J = J + ((static_cast<double>(hour) + static_cast<double>(minute) / 60.0) +
           static_cast<double>(second) / 3600.0) /
              24.0;
  return J;
}

// green0mean
//   Given:    JD (double): Julian Day on the UT scale
//   Returned: Greenwich mean sidereal time (degrees, [0, 360))
//   Notes:    The linear term takes the days from J2000.0, the quadratic and
//             cubic terms the Julian centuries.
double green0mean(double JD) {
  const double d = JD - 2451545.0;
  const double t = d / 36525.0;
  const double g = (280.46061837 + 360.98564736629 * d) + 0.000387933 * t * t -
                   t * t * t / 38710000.0;
  return norm360(g);
}

// equ_of_time
//   Given:    hour, minute, second (int): the UT clock time
//             GAST (double): Greenwich apparent sidereal time (degrees)
//             RA (double): the Sun's apparent right ascension (degrees)
//   Returned: the equation of time (hours, (-12, 12)): apparent minus mean
//             solar time, positive when the true Sun is ahead of the mean Sun
//   Notes:    The Sun's hour angle over 15 is apparent solar time less 12
//             hours; the step of 12 hours brings the difference into range
//             and bridges midnight.  A difference of exactly 0 stays 0.
double equ_of_time(int hour, int minute, int second, double GAST, double RA) {
  const double a = norm360(GAST - RA);  // the Sun's Greenwich hour angle
  const double h =
      (static_cast<double>(hour) + static_cast<double>(minute) / 60.0) +
      static_cast<double>(second) / 3600.0;
  double e = a / 15.0 - h;
  if (e > 0) {
    e = e - 12.0;
  } else if (e < 0) {
    e = e + 12.0;
  }
  return e;
}

// Aberration
//   Given:    T (double): Julian centuries of dynamical time from J2000.0
//   Returned: kappa: constant of aberration, 0.0056932 degrees (20.49552")
//             perihel: longitude of the perihelion of the Earth's orbit
//                      (degrees, not reduced into [0, 360))
//             ecc: eccentricity of the Earth's orbit
//   Notes:    The quadratic terms are formed left to right, coefficient times
//             T, then times T.
void Aberration(double T, double* kappa, double* perihel, double* ecc) {
  *kappa = 0.0056932;
  *perihel = (102.93735 + 1.71946 * T) + 0.00046 * T * T;
  *ecc = (0.016708634 - 0.000042037 * T) - 0.0000001267 * T * T;
}
