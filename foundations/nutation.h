// Nutation in longitude and obliquity (IAU 1980, 106 terms) and the mean and
// true obliquity of the ecliptic, all in degrees, for T in Julian centuries
// from J2000.0.
#pragma once

void Nutation(double T, double* delta_psi, double* delta_eps, double* eps0,
              double* eps);
