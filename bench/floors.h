// The floors against which the series are measured: the library sines and
// cosines that a routine must take, with the very arguments it hands them at
// each date, computed beforehand and then timed alone.  A routine's time
// beside its floor shows what it spends on everything else (parsing its
// table, forming its arguments, reducing them, summing).
//
//  - A VSOP87D series takes one cosine per periodic term: the library cosine
//    of norm2pi(C tau + B), as cost gives it (2,413 for the Earth's
//    longitude, latitude and radius vector together).
//  - The Moon's series takes one cosine (distance) or sine (longitude,
//    latitude) for each A0 part and each A1 and A2 part above 0: 8,050 at
//    every date, their arguments phi + theta formed from the rows of the
//    table as the C library's scan reads them.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "angles.h"
#include "leascan.h"
#include "leatab.h"
#include "vsop87d_tables.h"

namespace benchfloor {

// The arguments of one routine's trigonometry at a set of dates, one row of
// per_date arguments for each date: the first ncos of a row are cosines, the
// rest sines.
struct Trig {
  std::vector<double> args;
  std::size_t per_date = 0;
  std::size_t ncos = 0;
  std::size_t dates = 0;
};

// The library trigonometry of the i-th date (cycling through the dates).
inline double take(const Trig& t, std::size_t i) {
  const double* a = t.args.data() + (i % t.dates) * t.per_date;
  double s = 0;
  for (std::size_t k = 0; k < t.ncos; ++k) s += std::cos(a[k]);
  for (std::size_t k = t.ncos; k < t.per_date; ++k) s += std::sin(a[k]);
  return s;
}

// The cosines of the periodic terms of the given series at each tau.
inline Trig series_cosines(std::initializer_list<const VsopSeries*> series,
                           const std::vector<double>& taus) {
  Trig t;
  for (double tau : taus) {
    for (const VsopSeries* s : series)
      for (int k = 0; k < s->npowers; ++k)
        for (int i = 0; i < s->powers[k].count; ++i) {
          const VsopTerm& term = s->powers[k].terms[i];
          if (vsop_is_constant(term)) continue;
          double x = term.C * tau;
          x = x + term.B;
          t.args.push_back(norm2pi(x));
        }
    ++t.dates;
  }
  t.per_date = t.args.size() / t.dates;
  t.ncos = t.per_date;
  return t;
}

// The sines and cosines of the Moon's series at each Julian Day (1800 to
// 2200, where the series' own time scale has no offset from the date).
inline Trig moon_trig(const std::vector<double>& jdes) {
  constexpr double DEG = 0.017453292519943295, ASEC = 4.84813681109536e-06;
  struct Term {
    double w[5], ph[3];
    bool a1, a2;
  };
  std::vector<Term> terms[3];
  const int first[3] = {1, 1030, 2783}, count[3] = {1029, 1753, 1089};
  for (int b = 0; b < 3; ++b)
    for (int r = first[b]; r < first[b] + count[b]; ++r) {
      int f[15];
      double v[6];
      std::sscanf(
          leatab[r],
          " %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d  %lf %lf %lf %lf %lf %lf ",
          &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9],
          &f[10], &f[11], &f[12], &f[13], &f[14], &v[0], &v[1], &v[2], &v[3],
          &v[4], &v[5]);
      Term t;
      leascan::derive(f + 1, t.w);
      t.w[0] *= DEG;
      for (int c = 1; c < 5; ++c) t.w[c] *= ASEC;
      for (int k = 0; k < 3; ++k) t.ph[k] = v[3 + k] * DEG;
      t.a1 = v[1] > 0;
      t.a2 = v[2] > 0;
      terms[b].push_back(t);
    }
  Trig out;
  for (double jd : jdes) {
    const double t = (jd - 2451545.0) / 36525;
    for (int b = 0; b < 3; ++b) {
      for (const Term& x : terms[b]) {
        const double theta =
            (((x.w[4] * t + x.w[3]) * t + x.w[2]) * t + x.w[1]) * t + x.w[0];
        out.args.push_back(x.ph[0] + theta);
        if (x.a1) out.args.push_back(x.ph[1] + theta);
        if (x.a2) out.args.push_back(x.ph[2] + theta);
      }
      if (b == 0 && out.dates == 0) out.ncos = out.args.size();
    }
    ++out.dates;
  }
  out.per_date = out.args.size() / out.dates;
  return out;
}

}  // namespace benchfloor
