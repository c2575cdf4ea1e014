// Readers of the fixed-column text tables.
//
// A table is an array of slots of W characters, one NUL-padded row per slot.
// A field is the window of columns first..last (0-based, inclusive) of a row;
// it is copied into a field buffer of 100 characters and converted with the
// C library's conversion: leading blanks are skipped, the number ends at the
// first character that cannot continue it, the first NUL ends the field, and
// a field that holds no number reads as 0.  iarr35 takes the window from the
// table itself, the real readers from a copy of the row with a NUL put after
// its W columns, so that the one column past the slot reads as NUL.
//
// The callers keep to their windows (0 <= first, last <= W - 1, or one column
// more for the real readers).  So that no call can read outside the row or
// overrun a buffer, every column outside the slot (the copy's NUL column
// included) reads as NUL, a window is cut to the 99 columns the field buffer
// holds, and a negative row reads as an empty one; inside the callers'
// windows this is exactly the plain copy.
#include "texttab.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kFieldBuffer = 100;  // a field spans at most 99 columns

// Copies the window first..last of a row of W characters into field (NUL-
// terminated).  Columns outside 0..W-1 read as NUL, which ends the field as
// the row's own NUL padding does.
void take_field(const char* row, int W, int first, int last, char (&field)[kFieldBuffer]) {
  long long n = static_cast<long long>(last) + 1 - first;  // no int overflow
  if (n > kFieldBuffer - 1) n = kFieldBuffer - 1;
  int k = 0;
  for (; k < n; ++k) {
    const long long col = static_cast<long long>(first) + k;
    if (row == nullptr || col < 0 || col >= W) break;  // NUL: the field ends here
    const char c = row[col];
    if (c == '\0') break;
    field[k] = c;
  }
  field[k] = '\0';
}

// atoi of the field, saturated at the limits of int instead of overflowing.
int to_int(const char* s) {
  const long v = std::strtol(s, nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// The real readers: the row is copied whole first (W columns and a NUL), then
// the window is taken from the copy.
template <int W>
double real_field(const char (*table)[W], int row, int first, int last) {
  char copy[W + 1];
  if (row >= 0) {
    std::memcpy(copy, table[row], W);
  } else {
    std::memset(copy, 0, W);
  }
  copy[W] = '\0';
  char field[kFieldBuffer];
  take_field(copy, W + 1, first, last, field);
  return std::atof(field);
}

}  // namespace

int iarr35(const char (*table)[35], int row, int first, int last) {
  char field[kFieldBuffer];
  take_field(row >= 0 ? table[row] : nullptr, 35, first, last, field);
  return to_int(field);
}

double farr35(const char (*table)[35], int row, int first, int last) {
  return real_field<35>(table, row, first, last);
}

// The Delta-T table's reader: the same routine as farr35 under its own name.
double yarr35(const char (*table)[35], int row, int first, int last) {
  return real_field<35>(table, row, first, last);
}

double farr60(const char (*table)[60], int row, int first, int last) {
  return real_field<60>(table, row, first, last);
}
