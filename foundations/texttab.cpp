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
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fixedcols.h"

namespace {

constexpr int kFieldBuffer = 100;  // a field spans at most 99 columns

// Copies the window first..last of a row of W characters into field (NUL-
// terminated).  Columns outside 0..W-1 read as NUL, which ends the field as
// the row's own NUL padding does.
void take_field(const char* row, int W, int first, int last,
                char (&field)[kFieldBuffer]) {
  long long n = static_cast<long long>(last) + 1 - first;  // no int overflow
  if (n > kFieldBuffer - 1) n = kFieldBuffer - 1;
  int k = 0;
  for (; k < n; ++k) {
    const long long col = static_cast<long long>(first) + k;
    if (row == nullptr || col < 0 || col >= W)
      break;  // NUL: the field ends here
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

// The nutation layout: the multiples in columns 0-1, 2-3, 4-5, 6-7 and 8-9,
// A in 10-16, A' in 17-22 (one decimal), B in 23-28, B' in 29-32 (one
// decimal), a blank in 33 and the NUL in 34; the first column of every field
// holds a blank or a minus sign (fixedcols.h).  Each window of the readers
// ends on the first column of the next field (or, for B', on the blank),
// where the number ends, so a row in the layout reads as its fields say.
constexpr fixedcols::Field kNutFields[9] = {
    {0, -1, 1},   {2, -1, 3},   {4, -1, 5},   {6, -1, 7},  {8, -1, 9},
    {10, -1, 16}, {17, 21, 22}, {23, -1, 28}, {29, 31, 32}};
constexpr fixedcols::Columns<35> kNutColumns =
    fixedcols::make_columns<35>(kNutFields, true);

// A row of the nutation layout read at its columns: columns 0-31 checked and
// read 16 at a time, 32-34 one by one.  False for any other row (and
// wherever SSE2 is not available).
bool nutrow_fixed(const char* r, int ints[7], double reals[2]) {
#if defined(__SSE2__)
  using fixedcols::bits_of;
  __m128i good = _mm_set1_epi8(-1), d_prev = _mm_setzero_si128(),
          m_prev = _mm_setzero_si128();
  __m128i digits[2], minus[2];
  fixedcols::check_chunk<kNutColumns, 0>(r, good, d_prev, m_prev, digits,
                                         minus);
  fixedcols::check_chunk<kNutColumns, 1>(r, good, d_prev, m_prev, digits,
                                         minus);
  fixedcols::check_last_minus(good, d_prev, m_prev);
  const int dec_a1 = r[22] - '0', int_b1 = r[30] - '0', dec_b1 = r[32] - '0';
  bool ok = (_mm_movemask_epi8(good) == 0xFFFF) & (r[32] >= '0') &
            (r[32] <= '9') & (r[33] == ' ') & (r[34] == '\0');
  // The multiples: the digit of each odd column, negated where the column
  // before holds the minus sign.
  const __m128i neg = _mm_srai_epi16(_mm_slli_epi16(minus[0], 8), 15);
  const __m128i mult =
      _mm_sub_epi16(_mm_xor_si128(_mm_srli_epi16(digits[0], 8), neg), neg);
  std::int16_t m[8];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(m), mult);
  // A, the integer part of A', and B.
  std::uint32_t n[4];
  fixedcols::four_numbers(fixedcols::two_windows<9, 1, 13, 4>(digits),
                          fixedcols::two_windows<21, 2, 21, 2>(digits), n);
  const std::uint64_t signs = fixedcols::minus_bits(minus, 0, 2);
  const bool neg_a = (signs & bits_of(10, 15, 0)) != 0,
             neg_b = (signs & bits_of(23, 27, 0)) != 0;
  double x[2];
  ok = ok & fixedcols::real_of(n[1], static_cast<std::uint64_t>(dec_a1), 10,
                               10.0, (signs & bits_of(17, 19, 0)) != 0, &x[0]);
  ok = ok & fixedcols::real_of(static_cast<std::uint64_t>(int_b1),
                               static_cast<std::uint64_t>(dec_b1), 10, 10.0,
                               (signs & bits_of(29, 29, 0)) != 0, &x[1]);
  if (!ok) return false;
  for (int k = 0; k < 5; ++k) ints[k] = m[k];
  ints[5] = neg_a ? -static_cast<int>(n[0]) : static_cast<int>(n[0]);
  ints[6] = neg_b ? -static_cast<int>(n[2]) : static_cast<int>(n[2]);
  reals[0] = x[0];
  reals[1] = x[1];
  return true;
#else
  (void)r, (void)ints, (void)reals;
  return false;
#endif
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

void nutrow35(const char (*table)[35], int row, int ints[7], double reals[2]) {
  if (row >= 0 && nutrow_fixed(table[row], ints, reals)) return;
  // The windows of the five multiples and A, of A', of B and of B'.
  static constexpr int kWindow[9][2] = {{0, 2},   {2, 4},   {4, 6},
                                        {6, 8},   {8, 10},  {10, 17},
                                        {17, 23}, {23, 29}, {29, 35}};
  for (int k = 0; k < 6; ++k)
    ints[k] = iarr35(table, row, kWindow[k][0], kWindow[k][1]);
  reals[0] = farr35(table, row, kWindow[6][0], kWindow[6][1]);
  ints[6] = iarr35(table, row, kWindow[7][0], kWindow[7][1]);
  reals[1] = farr35(table, row, kWindow[8][0], kWindow[8][1]);
}
