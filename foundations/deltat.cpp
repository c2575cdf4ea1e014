// Delta-T (TT minus UT1, seconds) of the built-in model for the years -700
// to 3500, and the three-point parabola it interpolates with.
#include <cstdio>
#include <cstring>

#include "console.h"
#include "deltat.h"
#include "texttab.h"

namespace {

// The Delta-T table as fixed-column text: the year in columns 0-4, Delta-T
// in seconds in columns 6-15.  The years increase strictly: every 200 years
// from -700 to -100, every 100 years from 0 to 1600, every 20 years to 1800,
// every 10 years to 1890, every 5 years to 2015, then 2018, 2020, 2022,
// 2030, 2040, 2050, 2100 and every 100 years to 2500.
constexpr int kRows = 76;
constexpr int kSlots = 100;
constexpr const char* kDtRows[kRows] = {
    // rows 0 to 7
    " -700      20500",
    " -500      16940",
    " -300      14080",
    " -100      11560",
    "    0      10440",
    "  100       9410",
    "  200       8420",
    "  300       7480",
    // rows 8 to 15
    "  400       6540",
    "  500       5590",
    "  600       4650",
    "  700       3760",
    "  800       2940",
    "  900       2230",
    " 1000       1650",
    " 1100       1220",
    // rows 16 to 23
    " 1200        910",
    " 1300        680",
    " 1400        480",
    " 1500        290",
    " 1600        109",
    " 1620         80",
    " 1640         54",
    " 1660         35",
    // rows 24 to 31
    " 1680         22",
    " 1700         14",
    " 1720         12",
    " 1740         15",
    " 1760         19",
    " 1780         21",
    " 1800       18.4",
    " 1810       15.7",
    // rows 32 to 39
    " 1820       16.5",
    " 1830       10.8",
    " 1840        7.6",
    " 1850        9.3",
    " 1860       9.04",
    " 1870       2.37",
    " 1880      -3.21",
    " 1890      -3.88",
    // rows 40 to 47
    " 1895      -5.02",
    " 1900      -1.98",
    " 1905       4.92",
    " 1910      11.14",
    " 1915      17.48",
    " 1920      21.62",
    " 1925      23.79",
    " 1930      24.42",
    // rows 48 to 55
    " 1935      24.16",
    " 1940      24.43",
    " 1945      27.05",
    " 1950      28.93",
    " 1955      30.41",
    " 1960      33.07",
    " 1965      35.09",
    " 1970      39.93",
    // rows 56 to 63
    " 1975      45.28",
    " 1980      50.36",
    " 1985      54.39",
    " 1990      56.99",
    " 1995      60.68",
    " 2000      63.81",
    " 2005      64.73",
    " 2010      66.06",
    // rows 64 to 71
    " 2015      67.69",
    " 2018      68.92",
    " 2020      69.36",
    " 2022      69.29",
    " 2030         68",
    " 2040         68",
    " 2050         70",
    " 2100         80",
    // rows 72 to 75
    " 2200        160",
    " 2300        330",
    " 2400        610",
    " 2500       1001",
};

}  // namespace

// quadipola
//   Given:    x1, y1, x2, y2, x3, y3 (double): three points of a parabola
//             x (double): the abscissa wanted
//   Returned: the value of the parabola at x
//   Notes:    Lagrange form, each weight a quotient of two products, the
//             weighted ordinates summed left to right.  At one of the three
//             abscissae that point's weight is exactly 1 and the others 0, so
//             its ordinate comes back unchanged.  The abscissae must differ;
//             no check is made (equal abscissae give an infinite or NaN
//             value, never a fault).
double quadipola(double x1, double y1, double x2, double y2, double x3,
                 double y3, double x) {
  const double w1 = ((x - x2) * (x - x3)) / ((x1 - x2) * (x1 - x3));
  const double w2 = ((x - x1) * (x - x3)) / ((x2 - x1) * (x2 - x3));
  const double w3 = ((x - x1) * (x - x2)) / ((x3 - x1) * (x3 - x2));
  return (w1 * y1 + w2 * y2) + w3 * y3;
}

// quadipolb
//   Given:    xs, ys: abscissae and ordinates, read at elements 1 to 3
//             (element 0 is not used); x (double)
//   Returned: *y: quadipola of the three points at x
void quadipolb(const double* xs, const double* ys, double x, double* y) {
  *y = quadipola(xs[1], ys[1], xs[2], ys[2], xs[3], ys[3], x);
}

// deltatime
//   Given:    year (int)
//   Returned: Delta-T (seconds) for that year; 0 outside -700 to 3500
//   Notes:    The table is built in local storage on every call (zero-filled,
//             the rows copied in) and parsed with yarr35 on every call, also
//             for a year out of range; nothing is cached.
//             Up to 2499 the parabola runs through the row at or below the
//             year and the two rows after it.  From 2300 to 2499 it runs
//             through the last three rows, 2300, 2400 and 2500, so that the
//             years 2400 to 2499, which have no row after the one above them,
//             stay on the curve that passes exactly through 2400 (610 s) and
//             2500 (1001 s): continuous at 2400 and at 2500, where the
//             parabola in the year takes over.
//             A year out of range prints two lines on the console (no wait).
double deltatime(int year) {
  char dttab[kSlots][35];
  std::memset(dttab, 0, sizeof dttab);
  for (int i = 0; i < kRows; ++i)
    std::memcpy(dttab[i], kDtRows[i], std::strlen(kDtRows[i]));
  double X[kRows], Y[kRows];
  for (int i = 0; i < kRows; ++i) {
    X[i] = yarr35(dttab, i, 0, 4);
    Y[i] = yarr35(dttab, i, 6, 15);
  }

  if (year < -700 || year > 3500) {
    std::fprintf(con_out(),
                 " ??? year out of range:  -700 < year < 3500 ??? \n");
    std::fprintf(con_out(), " ??? setting Delta-T == 0 !\n");
    return 0.0;
  }
  if (year <= 2499) {
    const double x = static_cast<double>(year);
    int k = 1;  // row 0 is -700, at or below every year in range
    while (k < kRows && !(X[k] > x)) ++k;
    if (k > kRows - 2) k = kRows - 2;  // 2400..2499: nodes 2300, 2400, 2500
    return quadipola(X[k - 1], Y[k - 1], X[k], Y[k], X[k + 1], Y[k + 1], x);
  }
  // 2500 to 3500: a parabola in the year.
  const double u = static_cast<double>(year - 1900);
  return (0.004 * u - 117.4) + 0.0031 * (u * u);
}
