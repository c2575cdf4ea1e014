// The dates the benchmarks take their arguments from: 256 instants drawn
// from the years 1800 to 2200 (any month, day 1 to 28, any time of day), one
// after the other, so that each iteration meets another date, as the calls
// of a run and of different runs do.  A routine timed at one fixed date lets
// the branch predictor learn the paths of every term and shows a time that
// no run sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "calendar.h"
#include "deltat.h"

namespace benchspread {

struct Date {
  int year, month, day, hour, minute, second;  // UT
  double deltaT;  // seconds, from the Delta-T model for the year
  double jde;     // Julian Day of dynamical time
  double T;       // Julian centuries from J2000.0
  double tau;     // Julian millennia from J2000.0
};

constexpr std::size_t kDates = 256;

inline Date make_date(int year, int month, int day, int hour, int minute,
                      int second) {
  Date d{year, month, day, hour, minute, second, deltatime(year), 0, 0, 0};
  d.jde = julday(year, month, day, hour, minute, second) + d.deltaT / 86400.0;
  d.T = (d.jde - 2451545.0) / 36525;
  d.tau = d.T / 10;
  return d;
}

inline const std::vector<Date>& dates() {
  static const std::vector<Date> all = [] {
    std::vector<Date> v;
    std::uint64_t s = 0x853c49e6748fea9bULL;
    auto next = [&s](int n) {  // 0 .. n-1
      s = s * 6364136223846793005ULL + 1442695040888963407ULL;
      return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(n));
    };
    for (std::size_t i = 0; i < kDates; ++i) {
      const int year = 1800 + next(401), month = 1 + next(12),
                day = 1 + next(28);
      const int hour = next(24), minute = next(60), second = next(60);
      v.push_back(make_date(year, month, day, hour, minute, second));
    }
    return v;
  }();
  return all;
}

// The date of the i-th iteration.
inline const Date& date(std::size_t i) { return dates()[i % kDates]; }

}  // namespace benchspread
