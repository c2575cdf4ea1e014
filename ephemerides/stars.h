// The catalogue of 58 navigational stars and their apparent places.
#pragma once

// Names of the catalogue rows, indexed by starno (0 to 59): [0] the label
// form " 53 > Sirius", [1] the selection form "53=Sirius"; row 58 is "DUMMY",
// row 59 a single blank.
extern const char starnames[2][60][20];

// Apparent place of catalogue star starno at a UT instant: declination,
// Greenwich hour angle, apparent sidereal time (degrees, [0, 360)), right
// ascension (degrees, (-180, 180]) and sidereal hour angle (degrees).
void starseph(int starno, double deltaT, int year, int month, int day, int hour,
              int minute, int second, double* Dec, double* GHA, double* GAST,
              double* RA, double* SHA);
