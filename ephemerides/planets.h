// Apparent place of Venus (4), Mars (5), Jupiter (6) or Saturn (7) at a UT
// instant: declination, Greenwich hour angle, apparent sidereal time, right
// ascension (degrees, [0, 360)) and horizontal parallax (arcminutes).
#pragma once

void planeteph(int bodycode, double deltaT, int year, int month, int day,
               int hour, int minute, int second, double* Dec, double* GHA,
               double* GAST, double* RA, double* HP);
