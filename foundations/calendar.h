// Julian Day, Greenwich mean sidereal time, equation of time and the
// Earth-orbit quantities of annual aberration.  Pure functions.
#pragma once

// Julian Day of a civil date and clock time (Julian calendar up to
// 1582-10-04, Gregorian from 1582-10-05).  No field is range-checked.
double julday(int year, int month, int day, int hour, int minute, int second);

// Greenwich mean sidereal time in degrees, [0, 360), of a Julian Day of UT.
double green0mean(double JD);

// Equation of time in hours, (-12, 12): apparent minus mean solar time, from
// the UT clock time, the apparent sidereal time and the Sun's right ascension
// (both degrees).
double equ_of_time(int hour, int minute, int second, double GAST, double RA);

// Constant of aberration kappa (degrees), longitude of the Earth's perihelion
// (degrees, not reduced) and eccentricity of the Earth's orbit, for T in
// Julian centuries from J2000.0.
void Aberration(double T, double* kappa, double* perihel, double* ecc);
