// The lunar series' term rows: how a row is read (the values of the C
// library's scan with the row format, taken at the row's known columns), and
// the fundamental arguments whose integer multiples form a term's argument.
//
// A term row of the table stands in fixed columns: N and the 14 multipliers
// right-aligned in fields of 4 characters (columns 0-59), then A0 with 7
// decimals in a field of 16 (60-75), A1 and A2 with 6 in fields of 12 (76-87,
// 88-99), phi0, phi1 and phi2 with 12 in fields of 18 (100-153), and the NUL
// in column 154.  read_row checks that a row stands exactly so, 16 columns at
// a time (SSE2, which every x86-64 processor has), and reads its fields
// there, eight digits at a time, each real by one exact conversion; any
// other row (a damaged or edited table), and every row where SSE2 is not
// available, is read by the C library's scan itself.  Either way the values
// are those of the scan.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "fixedcols.h"

namespace leascan {

constexpr int kWidth = 160;  // characters in a slot of the table

// The C library's scan of a NUL-terminated row with the row format: the
// number of fields assigned (EOF for a row that ends before the first), every
// field it does not reach left as it was.
inline int scan_row(const char* row, int f[15], double v[6]) {
  return std::sscanf(
      row,
      " %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d  %lf %lf %lf %lf %lf %lf ",
      &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9],
      &f[10], &f[11], &f[12], &f[13], &f[14], &v[0], &v[1], &v[2], &v[3], &v[4],
      &v[5]);
}

namespace detail {

using fixedcols::Field;

// The fixed layout: the 15 integer fields and the 6 real fields, each by its
// first column, its decimal point and its last column (fixedcols.h).  The
// first column of a field is a blank, except in the first field; the NUL
// ends the row in column 154, and the columns after it are never read.
inline constexpr Field kFields[21] = {
    {0, -1, 3},     {4, -1, 7},   {8, -1, 11},     {12, -1, 15},
    {16, -1, 19},   {20, -1, 23}, {24, -1, 27},    {28, -1, 31},
    {32, -1, 35},   {36, -1, 39}, {40, -1, 43},    {44, -1, 47},
    {48, -1, 51},   {52, -1, 55}, {56, -1, 59},    {60, 68, 75},
    {76, 81, 87},   {88, 93, 99}, {100, 105, 117}, {118, 123, 135},
    {136, 141, 153}};
constexpr int kEnd = 154;  // the column of the row's NUL

constexpr fixedcols::Columns<kWidth> make_columns() {
  auto c = fixedcols::make_columns<kWidth>(kFields, false);
  c.fixed(kEnd, '\0');
  for (int k = kEnd + 1; k < kWidth; ++k) c.free[k] = 0xFF;
  return c;
}
inline constexpr fixedcols::Columns<kWidth> kColumns = make_columns();

#if defined(__SSE2__)
using fixedcols::bits_of;
using fixedcols::four_numbers;
using fixedcols::real_of;
using fixedcols::two_windows;

template <int... chunk>
inline bool read_chunks(const char* row, int* ints, double* reals,
                        std::integer_sequence<int, chunk...>) {
  __m128i good = _mm_set1_epi8(-1), d_prev = _mm_setzero_si128(),
          m_prev = _mm_setzero_si128();
  __m128i digits[kWidth / 16], minus[kWidth / 16];
  (fixedcols::check_chunk<kColumns, chunk>(row, good, d_prev, m_prev, digits,
                                           minus),
   ...);

  // The integer fields, four to a chunk of 16 columns: the digit values
  // weighted 1000, 100, 10 and 1 and summed per field; a field with a minus
  // sign negated.  The chunk of columns 48-63 gives a fourth value from the
  // first columns of A0, which is not used.
  for (int c = 0; c < 4; ++c) {
    const __m128i z = _mm_setzero_si128();
    const __m128i w = _mm_setr_epi16(1000, 100, 10, 1, 1000, 100, 10, 1);
    const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi8(digits[c], z), w);
    const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi8(digits[c], z), w);
    const __m128i sum =
        _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(lo),
                                                      _mm_castsi128_ps(hi),
                                                      _MM_SHUFFLE(2, 0, 2, 0))),
                      _mm_castps_si128(_mm_shuffle_ps(
                          _mm_castsi128_ps(lo), _mm_castsi128_ps(hi),
                          _MM_SHUFFLE(3, 1, 3, 1))));
    const __m128i neg =
        _mm_xor_si128(_mm_cmpeq_epi32(minus[c], z), _mm_set1_epi32(-1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(ints + 4 * c),
                     _mm_sub_epi32(_mm_xor_si128(sum, neg), neg));
  }

  // The real fields: the digits before the point from the 8 columns that end
  // there, those after it in groups of at most 8; the columns of other fields
  // in a group left out.
  std::uint32_t n[16];
  four_numbers(
      two_windows<60, 0, 68, 0>(digits),  // A0: 7 before, 7 after the point
      two_windows<73, 3, 80, 1>(digits),  // A1: 4 before, 6 after
      n);
  four_numbers(
      two_windows<85, 3, 92, 1>(digits),   // A2
      two_windows<97, 3, 102, 3>(digits),  // phi0: 4 before, 4 + 8 after
      n + 4);
  four_numbers(two_windows<110, 0, 115, 3>(digits),  // phi1 from its 4 before
               two_windows<120, 3, 128, 0>(digits), n + 8);
  four_numbers(two_windows<133, 3, 138, 3>(digits),  // phi2
               two_windows<146, 0, 146, 0>(digits), n + 12);
  // The minus signs of the columns 48-111 and 112-143.
  const std::uint64_t m48 = fixedcols::minus_bits(minus, 3, 4);
  const std::uint64_t m112 = fixedcols::minus_bits(minus, 7, 2);
  const std::uint64_t e8 = 100000000;
  bool ok = _mm_movemask_epi8(good) == 0xFFFF;
  ok = ok & real_of(n[0], n[1], 10000000, 1e7, (m48 & bits_of(60, 67, 48)) != 0,
                    &reals[0]);
  ok = ok & real_of(n[2], n[3], 1000000, 1e6, (m48 & bits_of(76, 80, 48)) != 0,
                    &reals[1]);
  ok = ok & real_of(n[4], n[5], 1000000, 1e6, (m48 & bits_of(88, 92, 48)) != 0,
                    &reals[2]);
  ok = ok & real_of(n[6], n[7] * e8 + n[8], e8 * 10000, 1e12,
                    (m48 & bits_of(100, 104, 48)) != 0, &reals[3]);
  ok = ok & real_of(n[9], n[10] * e8 + n[11], e8 * 10000, 1e12,
                    (m112 & bits_of(118, 122, 112)) != 0, &reals[4]);
  ok = ok & real_of(n[12], n[13] * e8 + n[14], e8 * 10000, 1e12,
                    (m112 & bits_of(136, 140, 112)) != 0, &reals[5]);
  return ok;
}
#endif

}  // namespace detail

// A row in exactly the table's fixed layout (Notes at the top), read at its
// columns: true, and f and v hold its 21 fields.  False for any other row,
// with f and v left as they were.  row holds kWidth characters.  Without
// SSE2 every row goes to the scan.
inline bool read_fixed(const char* row, int f[15], double v[6]) {
#if defined(__SSE2__)
  int fi[16];  // the 15 integers and a value from the first columns of A0
  double vi[6];
  if (!detail::read_chunks(row, fi, vi,
                           std::make_integer_sequence<int, kWidth / 16>()))
    return false;
  std::memcpy(f, fi, sizeof(int) * 15);
  std::memcpy(v, vi, sizeof vi);
  return true;
#else
  (void)row, (void)f, (void)v;
  return false;
#endif
}

// The row of a slot of kWidth characters, read as the C library's scan reads
// it with the row format (scan_row): the count of fields assigned, and every
// field it does not reach left as it was.  A slot without a NUL reads as if
// a NUL followed it.
inline int read_row(const char (&slot)[kWidth], int f[15], double v[6]) {
  if (read_fixed(slot, f, v)) return 21;
  char row[kWidth + 1];
  std::memcpy(row, slot, kWidth);
  row[kWidth] = '\0';
  return scan_row(row, f, v);
}

// The fundamental arguments: c0 in degrees, c1 to c4 in arcseconds per
// Julian century to the power 1 to 4.  Rows 0 to 13 are the targets of the
// multipliers (Me first, p_A last), row 14 the Moon's mean longitude, with
// which the longitude sum starts.
inline constexpr double kArg[15][5] = {
    {252.25090552, 538101628.688982, -0.0192789, 6.39e-06, 0},          // Me
    {181.97980085, 210664136.433548, 0.0059381, -6.27e-06, 0},          // Ve
    {100.46645683, 129597742.283429, -0.0204411, -5.23e-06, 0},         // EMB
    {355.43299958, 68905077.493988, 0.0094264, -1.043e-05, 0},          // Ma
    {34.35151874, 10925660.377991, -0.3060378, 5.706e-05, 4.667e-06},   // Ju
    {50.0774443, 4399609.855732, 0.7561614, -0.00016618, -1.1484e-05},  // Sa
    {314.05500511, 1542481.193933, -0.0175083, 2.156e-05, 0},           // Ur
    {304.34866548, 786550.320744, 0.0021103, -8.95e-06, 0},             // Ne
    {125.04455501, -6967919.3631, 6.3602, 0.007625, -3.586e-05},        // Omega
    {297.85019547, 1602961601.209, -6.3706, 0.006593, -3.169e-05},      // D
    {357.52910918, 129596581.0481, -0.5532, 0.000136, -1.149e-05},      // l'
    {134.96340251, 1717915923.2178, 31.8792, 0.051635, -0.0002447},     // l
    {93.27209062, 1739527262.8478, -12.7512, -0.001037, 4.17e-06},      // F
    {0, 5028.82, 1.112022, 7.73e-05, -2.353e-05},                       // p_A
    {218.31664563, 1732564372.3047, -5.279, 0.006665, -5.522e-05},  // lambda_M
};

// A term row lists its multipliers in the order l, l', F, D, Omega, Me, Ve,
// EMB, Ma, Ju, Sa, Ur, Ne, p_A; kRowOf[j] is the position in the row of the
// multiplier of argument j.
inline constexpr int kRowOf[14] = {5,  6, 7, 8, 9, 10, 11,
                                   12, 4, 3, 1, 0, 2,  13};

// The coefficients of a term's argument, from its 14 multipliers m (in the
// row's order): w[c] is the sum over the arguments j, Me first, of
// m[kRowOf[j]] x kArg[j][c], in degrees (c = 0) or arcseconds per century to
// the power c.  A multiplier 0 is skipped: its product is +0 or -0, and
// adding either leaves a sum unchanged unless the sum is -0, which a sum
// starting at +0 never is (round to nearest gives +0 for x + (-x) and for
// +0 + -0).
inline void derive(const int m[14], double w[5]) {
  double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  for (int j = 0; j < 14; ++j) {
    const int k = m[kRowOf[j]];
    if (k == 0) continue;
    s0 = s0 + k * kArg[j][0];
    s1 = s1 + k * kArg[j][1];
    s2 = s2 + k * kArg[j][2];
    s3 = s3 + k * kArg[j][3];
    s4 = s4 + k * kArg[j][4];
  }
  w[0] = s0;
  w[1] = s1;
  w[2] = s2;
  w[3] = s3;
  w[4] = s4;
}

}  // namespace leascan
