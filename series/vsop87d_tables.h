// The term tables of the VSOP87D series, for the evaluator and its tests.
//
// A term (A, B, C) stands for A cos(B + C tau).  A constant term has C = 0 and
// B = 0 (it adds A) or B = 3.14159265359 (it subtracts A).  Each power holds its
// terms in the published order, which is also the order of summation.
#pragma once

struct VsopTerm {
  double A;  // amplitude: radians (L, B) or astronomical units (R)
  double B;  // phase, radians
  double C;  // frequency, radians per Julian millennium
};

struct VsopPower {
  const VsopTerm* terms;
  int count;
};

struct VsopSeries {
  VsopPower powers[6];  // powers 0 .. npowers-1 of tau
  int npowers;          // 6, or 5 for the Earth's latitude
};

// A constant term: frequency 0; its sign is that of cos B.
inline bool vsop_is_constant(const VsopTerm& t) { return t.C == 0.0; }
inline bool vsop_constant_subtracts(const VsopTerm& t) { return t.B != 0.0; }

// V = sum over the powers k of S_k tau^k, where S_k sums the terms of power k
// in table order (radians for L and B, astronomical units for R).
double vsop87d_value(const VsopSeries& s, double tau);

extern const VsopSeries vsop87d_earth_L, vsop87d_earth_B, vsop87d_earth_R;
extern const VsopSeries vsop87d_venus_L, vsop87d_venus_B, vsop87d_venus_R;
extern const VsopSeries vsop87d_mars_L, vsop87d_mars_B, vsop87d_mars_R;
extern const VsopSeries vsop87d_jupiter_L, vsop87d_jupiter_B, vsop87d_jupiter_R;
extern const VsopSeries vsop87d_saturn_L, vsop87d_saturn_B, vsop87d_saturn_R;
