// Apparent place of the Sun at a UT instant: declination, Greenwich hour
// angle, apparent sidereal time, right ascension (degrees), horizontal
// parallax and semi-diameter (arcminutes) and the dynamical Julian Day.
#pragma once

void suneph(double deltaT, int year, int month, int day, int hour, int minute,
            int second, double* Dec, double* GHA, double* GAST, double* RA,
            double* HP, double* SD, double* JDE);
