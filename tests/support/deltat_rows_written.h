// A Delta-T table file written from known rows in the ways a user may write
// it (any white space between the numbers and the rows, the numbers in the
// notations that a C reader of "%d" and "%lf" takes, text after the rows or
// in their midst), together with the nodes that the table's definition gives
// for it.  The expectation is taken from the rows as they were chosen, never
// from the text: every value is a multiple of 1/8 of magnitude below 2^37,
// which each notation used here writes exactly, so a node must hold the
// value written to the last bit.
//
// The definition: node 0 is (2010, 66.1) and node 1 (2020, 69.36), the
// file's first row standing in node 1's place; node k (k >= 2) is the k-th
// row.  The nodes end with the first row whose year is 3000 or more, or with
// node 40.  Where the rows end early (the end of the file, or text where a
// number should be), the last row read stands in every later node; a row
// whose year is read but not its value takes the value of the row before
// (0 before the first).  Without any row every node from 2 on is (0, 0).
#pragma once

#include <climits>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace ldtest {

constexpr int kDeltaTNodes = 41;  // nodes 0 to 40

struct WrittenDeltaT {
  std::string text;  // the file
  int count = 0;     // nodes after node 0
  int years[kDeltaTNodes] = {};
  double values[kDeltaTNodes] = {};  // nodes 0 to count; the rest not reached
};

namespace written_detail {

// White space between two numbers.
inline const char* const kSpaces[] = {" ",     "  ",   "\t", "\n", "\r\n", "\r",
                                      " \n  ", "\n\n", "\v", "\f", "\t\n"};
// Text that no number begins with: the reading stops in front of it.
inline const char* const kText[] = {
    "abc",
    "x9",
    "#",
    "?",
    "YEAR DELTA_T\n2030 70\n",
    "  'YEAR'  'DELTA_T(seconds)' \n\n DELTA_T = TT-UT1 is obtained\n"};

template <class Pick, size_t N>
const char* any(Pick& pick, const char* const (&from)[N]) {
  return from[pick(N)];
}

inline int clamp_int(long long v) {
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

// The year of the next row: mostly a few years on, sometimes the same, one
// of 3000 or more, one out of order or one at the edges of int.
template <class Pick>
int next_year(Pick& pick, int prev) {
  switch (pick(30)) {
    case 0:
    case 1: return prev;
    case 2: return 3000 + static_cast<int>(pick(200));
    case 3: return clamp_int(prev - 1LL - static_cast<long long>(pick(80)));
    case 4: {
      const int edges[] = {INT_MIN, INT_MAX, -1, 0, 2019, 2999, 3000};
      return edges[pick(7)];
    }
    default: return clamp_int(prev + 1LL + static_cast<long long>(pick(60)));
  }
}

template <class Pick>
std::string year_text(Pick& pick, int year) {
  char buf[32];
  const char* const formats[] = {"%d", "%05d", year >= 0 ? "+%d" : "%d"};
  std::snprintf(buf, sizeof buf, formats[pick(3)], year);
  return buf;
}

// A value of `eighths` eighths, in one of the notations of a real.
template <class Pick>
std::string value_text(Pick& pick, long long eighths) {
  const double v = static_cast<double>(eighths) / 8;
  char buf[96];
  switch (pick(8)) {
    case 0: std::snprintf(buf, sizeof buf, "%.3f", v); break;
    case 1: std::snprintf(buf, sizeof buf, "%lldE-3", eighths * 125); break;
    case 2: std::snprintf(buf, sizeof buf, "%a", v); break;
    case 3: std::snprintf(buf, sizeof buf, "%.3fe0", v); break;
    case 4: std::snprintf(buf, sizeof buf, "%.12f", v); break;
    case 5:
      if (eighths % 8 == 0)
        std::snprintf(buf, sizeof buf, "%lld", eighths / 8);
      else
        std::snprintf(buf, sizeof buf, "%.3f", v);
      break;
    case 6: std::snprintf(buf, sizeof buf, v >= 0 ? "+%.3f" : "%.3f", v); break;
    default: {  // without the 0 before the point: .625, -.625
      std::snprintf(buf, sizeof buf, "%.3f", v);
      std::string s = buf;
      const size_t zero = s[0] == '-' ? 1 : 0;
      if (s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
      return s;
    }
  }
  return buf;
}

template <class Pick>
long long any_eighths(Pick& pick) {
  if (pick(4) != 0) return static_cast<long long>(pick(160001)) - 80000;
  const long long big = static_cast<long long>(pick(1 << 20)) << 20;
  return pick(2) ? big : -big;
}

}  // namespace written_detail

// A table chosen by pick(n), which gives a number from 0 to n - 1.
template <class Pick>
WrittenDeltaT write_deltat_table(Pick&& pick) {
  using namespace written_detail;
  struct Row {
    int year;
    double value;
  };
  std::vector<Row> read;  // the rows as the reading gives them
  WrittenDeltaT w;
  if (pick(3) == 0) w.text += any(pick, kSpaces);
  const int rows = static_cast<int>(pick(46));
  int year = next_year(pick, 2019);
  double value = 0.0;  // the value of the row before
  bool stopped = false;
  for (int r = 0; r < rows; ++r) {
    const auto how = pick(80);
    if (how == 0) {  // text in place of the row
      w.text += any(pick, kText);
      stopped = true;
      break;
    }
    w.text += year_text(pick, year) + any(pick, kSpaces);
    if (how == 1) {  // text in place of the value
      w.text += any(pick, kText);
      read.push_back({year, value});
      stopped = true;
      break;
    }
    const long long eighths = any_eighths(pick);
    w.text += value_text(pick, eighths) + any(pick, kSpaces);
    value = static_cast<double>(eighths) / 8;
    read.push_back({year, value});
    year = next_year(pick, year);
  }
  if (!stopped) {
    switch (pick(4)) {
      case 0: break;
      case 1: w.text += kText[5]; break;  // the explanatory text
      case 2:  // a last year without its value, then the end of the file
        w.text += year_text(pick, year);
        read.push_back({year, value});
        break;
      default: w.text += any(pick, kText);
    }
  }

  for (int k = 1; k < kDeltaTNodes; ++k) {
    const Row node = read.empty()                         ? Row{0, 0.0}
                     : k <= static_cast<int>(read.size()) ? read[k - 1]
                                                          : read.back();
    w.years[k] = node.year;
    w.values[k] = node.value;
    w.count = k;
    if (node.year >= 3000) break;
  }
  w.years[0] = 2010;
  w.values[0] = 66.1;
  w.years[1] = 2020;
  w.values[1] = 69.36;
  return w;
}

}  // namespace ldtest
