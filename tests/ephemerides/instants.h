// Instants at which the ephemerides are compared with the reference
// ephemerides: dense, and aligned with nothing.
//
// The k-th of n instants lies at the fraction frac((k + 1) x 0.618...) (the
// golden section) of the 146000 days from 1801-01-02 0h to 2200: the
// instants fill the range evenly at every n, their gaps take two or three
// lengths near 146000/n days that line up with no year, month or day, and
// the time of day, the season and the lunar phase all run through their
// whole cycles.
//
// Each test takes a count of its own, chosen for its cost (the sanitizer run
// included).  LD_ACCURACY_INSTANTS=N in the environment runs every
// comparison with N instants instead; the tolerances were set from runs with
// N = 20000.
#pragma once

#include <cmath>
#include <cstdlib>

namespace instants {

constexpr double kFirst = 2378862.5;  // 1801-01-02 0h
constexpr double kSpan = 146000.0;    // days, to 2200-09

inline int count(int chosen) {
  const char* v = std::getenv("LD_ACCURACY_INSTANTS");
  if (v == nullptr) return chosen;
  const long n = std::strtol(v, nullptr, 10);
  return n > 0 && n <= 10000000 ? static_cast<int>(n) : chosen;
}

// The Julian Day of the k-th instant.
inline double jd(int k) {
  const double golden = 0.6180339887498949;
  const double x = (k + 1) * golden;
  return kFirst + kSpan * (x - std::floor(x));
}

}  // namespace instants
