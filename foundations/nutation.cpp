// Nutation in longitude and obliquity by the IAU 1980 theory of nutation
// (106 periodic terms), and the mean and true obliquity of the ecliptic.
#include "nutation.h"

#include <cstring>

#include "angles.h"
#include "texttab.h"

namespace {

// The IAU 1980 nutation series as fixed-column text, one term per row, in
// the order of summation.  Columns (0-based): multiples of l, l', F, D and
// Omega in 0-1, 2-3, 4-5, 6-7, 8-9; A in 10-16 and its rate A' in 17-22 (sine
// coefficient of the nutation in longitude); B in 23-28 and its rate B' in
// 29-32 (cosine coefficient of the nutation in obliquity); a blank in 33.
// A and B in 0.0001 arcsecond, A' and B' in 0.0001 arcsecond per Julian
// century.  The first column of every field holds a blank or a minus sign,
// so a reading window may take in the first column of the next field.
constexpr int kRows = 106;
constexpr int kSlots = 110;  // slots 106 to 109 stay empty
constexpr const char* kNutRows[kRows] = {
    // rows 0 to 9
    " 0 0 0 0 1-171996-174.2 92025 8.9 ",
    " 0 0 2-2 2 -13187  -1.6  5736-3.1 ",
    " 0 0 2 0 2  -2274  -0.2   977-0.5 ",
    " 0 0 0 0 2   2062   0.2  -895 0.5 ",
    " 0-1 0 0 0  -1426   3.4    54-0.1 ",
    " 1 0 0 0 0    712   0.1    -7 0.0 ",
    " 0 1 2-2 2   -517   1.2   224-0.6 ",
    " 0 0 2 0 1   -386  -0.4   200 0.0 ",
    " 1 0 2 0 2   -301   0.0   129-0.1 ",
    " 0-1 2-2 2    217  -0.5   -95 0.3 ",
    // rows 10 to 19
    "-1 0 0 2 0    158   0.0    -1 0.0 ",
    " 0 0 2-2 1    129   0.1   -70 0.0 ",
    "-1 0 2 0 2    123   0.0   -53 0.0 ",
    " 1 0 0 0 1     63   0.1   -33 0.0 ",
    " 0 0 0 2 0     63   0.0    -2 0.0 ",
    "-1 0 2 2 2    -59   0.0    26 0.0 ",
    "-1 0 0 0 1    -58  -0.1    32 0.0 ",
    " 1 0 2 0 1    -51   0.0    27 0.0 ",
    "-2 0 0 2 0    -48   0.0     1 0.0 ",
    "-2 0 2 0 1     46   0.0   -24 0.0 ",
    // rows 20 to 29
    " 0 0 2 2 2    -38   0.0    16 0.0 ",
    " 2 0 2 0 2    -31   0.0    13 0.0 ",
    " 2 0 0 0 0     29   0.0    -1 0.0 ",
    " 1 0 2-2 2     29   0.0   -12 0.0 ",
    " 0 0 2 0 0     26   0.0    -1 0.0 ",
    " 0 0 2-2 0    -22   0.0     0 0.0 ",
    "-1 0 2 0 1     21   0.0   -10 0.0 ",
    " 0 2 0 0 0     17  -0.1     0 0.0 ",
    " 0 2 2-2 2    -16   0.1     7 0.0 ",
    "-1 0 0 2 1     16   0.0    -8 0.0 ",
    // rows 30 to 39
    " 0 1 0 0 1    -15   0.0     9 0.0 ",
    " 1 0 0-2 1    -13   0.0     7 0.0 ",
    " 0-1 0 0 1    -12   0.0     6 0.0 ",
    " 2 0-2 0 0     11   0.0     0 0.0 ",
    "-1 0 2 2 1    -10   0.0     5 0.0 ",
    " 1 0 2 2 2     -8   0.0     3 0.0 ",
    " 0-1 2 0 2     -7   0.0     3 0.0 ",
    " 0 0 2 2 1     -7   0.0     3 0.0 ",
    " 1 1 0-2 0     -7   0.0     0 0.0 ",
    " 0 1 2 0 2      7   0.0    -3 0.0 ",
    // rows 40 to 49
    "-2 0 0 2 1     -6   0.0     3 0.0 ",
    " 0 0 0 2 1     -6   0.0     3 0.0 ",
    " 2 0 2-2 2      6   0.0    -3 0.0 ",
    " 1 0 0 2 0      6   0.0     0 0.0 ",
    " 1 0 2-2 1      6   0.0    -3 0.0 ",
    " 0 0 0-2 1     -5   0.0     3 0.0 ",
    " 0-1 2-2 1     -5   0.0     3 0.0 ",
    " 2 0 2 0 1     -5   0.0     3 0.0 ",
    " 1-1 0 0 0      5   0.0     0 0.0 ",
    " 1 0 0-1 0     -4   0.0     0 0.0 ",
    // rows 50 to 59
    " 0 0 0 1 0     -4   0.0     0 0.0 ",
    " 0 1 0-2 0     -4   0.0     0 0.0 ",
    " 1 0-2 0 0      4   0.0     0 0.0 ",
    " 2 0 0-2 1      4   0.0    -2 0.0 ",
    " 0 1 2-2 1      4   0.0    -2 0.0 ",
    " 1 1 0 0 0     -3   0.0     0 0.0 ",
    " 1-1 0-1 0     -3   0.0     0 0.0 ",
    "-1-1 2 2 2     -3   0.0     1 0.0 ",
    " 0-1 2 2 2     -3   0.0     1 0.0 ",
    " 1-1 2 0 2     -3   0.0     1 0.0 ",
    // rows 60 to 69
    " 3 0 2 0 2     -3   0.0     1 0.0 ",
    "-2 0 2 0 2     -3   0.0     1 0.0 ",
    " 1 0 2 0 0      3   0.0     0 0.0 ",
    "-1 0 2 4 2     -2   0.0     1 0.0 ",
    " 1 0 0 0 2     -2   0.0     1 0.0 ",
    "-1 0 2-2 1     -2   0.0     1 0.0 ",
    " 0-2 2-2 1     -2   0.0     1 0.0 ",
    "-2 0 0 0 1     -2   0.0     1 0.0 ",
    " 2 0 0 0 1      2   0.0    -1 0.0 ",
    " 3 0 0 0 0      2   0.0     0 0.0 ",
    // rows 70 to 79
    " 1 1 2 0 2      2   0.0    -1 0.0 ",
    " 0 0 2 1 2      2   0.0    -1 0.0 ",
    " 1 0 0 2 1     -1   0.0     0 0.0 ",
    " 1 0 2 2 1     -1   0.0     1 0.0 ",
    " 1 1 0-2 1     -1   0.0     0 0.0 ",
    " 0 1 0 2 0     -1   0.0     0 0.0 ",
    " 0 1 2-2 0     -1   0.0     0 0.0 ",
    " 0 1-2 2 0     -1   0.0     0 0.0 ",
    " 1 0-2 2 0     -1   0.0     0 0.0 ",
    " 1 0-2-2 0     -1   0.0     0 0.0 ",
    // rows 80 to 89
    " 1 0 2-2 0     -1   0.0     0 0.0 ",
    " 1 0 0-4 0     -1   0.0     0 0.0 ",
    " 2 0 0-4 0     -1   0.0     0 0.0 ",
    " 0 0 2 4 2     -1   0.0     0 0.0 ",
    " 0 0 2-1 2     -1   0.0     0 0.0 ",
    "-2 0 2 4 2     -1   0.0     1 0.0 ",
    " 2 0 2 2 2     -1   0.0     0 0.0 ",
    " 0-1 2 0 1     -1   0.0     0 0.0 ",
    " 0 0-2 0 1     -1   0.0     0 0.0 ",
    " 0 0 4-2 2      1   0.0     0 0.0 ",
    // rows 90 to 99
    " 0 1 0 0 2      1   0.0     0 0.0 ",
    " 1 1 2-2 2      1   0.0    -1 0.0 ",
    " 3 0 2-2 2      1   0.0     0 0.0 ",
    "-2 0 2 2 2      1   0.0    -1 0.0 ",
    "-1 0 0 0 2      1   0.0    -1 0.0 ",
    " 0 0-2 2 1      1   0.0     0 0.0 ",
    " 0 1 2 0 1      1   0.0     0 0.0 ",
    "-1 0 4 0 2      1   0.0     0 0.0 ",
    " 2 1 0-2 0      1   0.0     0 0.0 ",
    " 2 0 0 2 0      1   0.0     0 0.0 ",
    // rows 100 to 105
    " 2 0 2-2 1      1   0.0    -1 0.0 ",
    " 2 0-2 0 1      1   0.0     0 0.0 ",
    " 1-1 0-2 0      1   0.0     0 0.0 ",
    "-1 0 0 1 1      1   0.0     0 0.0 ",
    "-1-1 0 2 1      1   0.0     0 0.0 ",
    " 0 1 0 1 0      1   0.0     0 0.0 ",
};

}  // namespace

// Nutation
//   Given:    T (double): Julian centuries from J2000.0 (of TT for the
//             apparent places, of UT for the ephemeris screen)
//   Returned: delta_psi: nutation in longitude (degrees)
//             delta_eps: nutation in obliquity (degrees)
//             eps0: mean obliquity of the ecliptic of date (degrees)
//             eps: true obliquity, eps0 + delta_eps (degrees)
//   Notes:    The table is built in local storage on every call (zero-filled,
//             then each row copied into its slot) and parsed with the text
//             readers on every call; nothing is cached.  The sums run in the
//             table's row order and every expression is evaluated in the order
//             written, so the results are fixed to the last bit.  Any T, NaN
//             and infinities included, is computed through without a fault.
//   Reference: IAU 1980 theory of nutation; mean obliquity by a polynomial of
//             tenth degree in units of 10,000 Julian years.
void Nutation(double T, double* delta_psi, double* delta_eps, double* eps0,
              double* eps) {
  char nuttab[kSlots][35];
  std::memset(nuttab, 0, sizeof nuttab);
  for (int i = 0; i < kRows; ++i)
    std::memcpy(nuttab[i], kNutRows[i], std::strlen(kNutRows[i]));

  // Each window takes in the first column of the next field, where the
  // number ends; the last runs past the row's text to its NUL.
  int ml[kRows], mls[kRows], mF[kRows], mD[kRows], mOm[kRows], A[kRows],
      B[kRows];
  double A1[kRows], B1[kRows];
  for (int i = 0; i < kRows; ++i) {
    int f[7];
    double r[2];
    nutrow35(nuttab, i, f, r);
    ml[i] = f[0];
    mls[i] = f[1];
    mF[i] = f[2];
    mD[i] = f[3];
    mOm[i] = f[4];
    A[i] = f[5];
    A1[i] = r[0];
    B[i] = f[6];
    B1[i] = r[1];
  }

  const double T2 = T * T;
  const double T3 = T * T * T;

  // Fundamental arguments (degrees).  The whole revolutions of each rate are
  // reduced by themselves before they are added.
  // l: mean anomaly of the Moon
  const double l =
      norm360((134.962981389 + 198.867398056 * T) + norm360(477000.0 * T) +
              0.008697222222 * T2 + T3 / 56250.0);
  // l': mean anomaly of the Sun
  const double ls =
      norm360((357.527723333 + 359.05034 * T) + norm360(35640.0 * T) -
              0.0001602777778 * T2 - T3 / 300000.0);
  // F: mean argument of latitude of the Moon
  const double F =
      norm360((93.271910277 + 82.017538055 * T) + norm360(483120.0 * T) -
              0.0036825 * T2 + T3 / 327272.7273);
  // D: mean elongation of the Moon from the Sun
  const double D =
      norm360((297.850363055 + 307.11148 * T) + norm360(444960.0 * T) -
              0.001914166667 * T2 + T3 / 189473.6842);
  // Omega: longitude of the Moon's mean ascending node
  const double Om =
      norm360((125.044522222 - 134.136260833 * T) - norm360(1800.0 * T) +
              0.002070833333 * T2 + T3 / 450000.0);

  double sum_psi = 0.0;
  double sum_eps = 0.0;
  for (int i = 0; i < kRows; ++i) {
    const double arg =
        (((mD[i] * D + mls[i] * ls) + ml[i] * l) + mF[i] * F) + mOm[i] * Om;
    sum_psi += sind(arg) * (A[i] + A1[i] * T);
    sum_eps += cosd(arg) * (B[i] + B1[i] * T);
  }
  *delta_psi = sum_psi / 36000000.0;  // 0.0001 arcsecond to degrees
  *delta_eps = sum_eps / 36000000.0;

  // Mean obliquity (arcseconds), nested from the highest power of U down.
  const double U = T / 100.0;
  const double E =
      (((((((((2.45 * U + 5.79) * U + 27.87) * U + 7.12) * U - 39.05) * U -
           249.67) *
              U -
          51.38) *
             U +
         1999.25) *
            U -
        1.55) *
           U -
       4680.93) *
          U +
      84381.448;
  *eps0 = E / 3600.0;
  *eps = *eps0 + *delta_eps;
}
