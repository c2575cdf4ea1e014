// Heliocentric ecliptic coordinates of the Earth and the planets from the
// VSOP87D series (mean ecliptic and equinox of date).  The one argument is
// tau, Julian millennia of dynamical time from J2000.0.  Longitudes and
// latitudes in degrees, radius vectors in astronomical units.  Pure functions.
#pragma once

double Learth(double tau);  // never negative; may exceed 360 after 2000
double Bearth(double tau);
double Rearth(double tau);

double Lvenus(double tau);  // [0, 360]
double Bvenus(double tau);
double Rvenus(double tau);

double Lmars(double tau);
double Bmars(double tau);
double Rmars(double tau);

double Ljupiter(double tau);
double Bjupiter(double tau);
double Rjupiter(double tau);

double Lsaturn(double tau);
double Bsaturn(double tau);
double Rsaturn(double tau);
