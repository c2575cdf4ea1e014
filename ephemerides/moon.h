// The Moon: the LEA-406b lunar series and the Moon's apparent place.
#pragma once

// Geocentric ecliptic longitude (degrees, [0, 360), mean equinox of date),
// latitude (degrees, brought into [0, 360): -3 comes back as 357) and
// distance (km) of the Moon for a Julian Day of dynamical time.  Prints a
// warning when the date lies outside the interval where the series is precise.
void LEA406(double jde, double* lon, double* lat, double* dist);

// Apparent place of the Moon at a UT instant: declination, Greenwich hour
// angle, apparent sidereal time, right ascension (degrees), horizontal
// parallax and semi-diameter (arcminutes).
void mooneph(double deltaT, int year, int month, int day, int hour, int minute,
             int second, double* Dec, double* GHA, double* GAST, double* RA,
             double* HP, double* SD);
