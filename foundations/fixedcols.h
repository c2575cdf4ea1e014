// Rows of the built-in text tables checked against their fixed layout and
// read at its columns, 16 columns at a time (SSE2, which every x86-64
// processor has; without it the callers read every row the general way).
//
// A layout is a list of fields, each by its first column, its decimal point
// (-1 for an integer) and its last column.  The integer part of a field (the
// columns before the point, or the whole of an integer field) holds blanks,
// a minus sign only directly before its digits, and at least one digit up to
// its last column; its first column holds a blank, or, where the layout says
// so, a blank or the minus sign (a field that starts the row in column 0 may
// hold a digit there as well).  After the point only digits.  A row checked
// so holds no other character in these columns, and each number ends where
// its field ends.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fixedcols {

struct Field {
  int first, point, last;
};

// For every column of a row of W columns, what it may hold (0xFF where
// allowed): a digit; a minus sign; the character punct (a blank, the decimal
// point, a NUL) where punct_at is set.  inner marks the columns of an integer
// part after its first, where no blank or sign may follow a digit; free the
// columns that are not checked.
template <int W>
struct Columns {
  unsigned char digit[W], minus[W], punct[W], punct_at[W], inner[W], free[W];

  // Column k holds exactly the character c.
  constexpr void fixed(int k, char c) {
    punct[k] = static_cast<unsigned char>(c);
    punct_at[k] = 0xFF;
  }
};

template <int W, std::size_t N>
constexpr Columns<W> make_columns(const Field (&fields)[N], bool sign_first) {
  Columns<W> c{};
  for (int k = 0; k < W; ++k) c.punct[k] = ' ';
  for (const Field& f : fields) {
    const int last_int = f.point < 0 ? f.last : f.point - 1;
    const bool lead =
        f.first == 0 &&
        !sign_first;  // the row's first field may start with a digit
    for (int k = f.first; k <= last_int; ++k) {
      const bool first = k == f.first, last = k == last_int;
      c.digit[k] = (!first || lead) ? 0xFF : 0;
      c.punct_at[k] = last ? 0 : 0xFF;
      c.minus[k] = (last || (first && !lead && !sign_first)) ? 0 : 0xFF;
      c.inner[k] = first ? 0 : 0xFF;
    }
    if (f.point >= 0) {
      c.fixed(f.point, '.');
      for (int k = f.point + 1; k <= f.last; ++k) c.digit[k] = 0xFF;
    }
  }
  return c;
}

// Whether any column of the chunk (16 columns) is set in m.
constexpr bool any_in(const unsigned char* m, int chunk) {
  for (int k = 16 * chunk; k < 16 * chunk + 16; ++k)
    if (m[k] != 0) return true;
  return false;
}

// The bits of the columns first to last in a mask of the columns from base
// on (at most 64).
consteval std::uint64_t bits_of(int first, int last, int base) {
  std::uint64_t m = 0;
  for (int k = first; k <= last; ++k) m |= std::uint64_t{1} << (k - base);
  return m;
}

// A real of digits ip before the point and frac (of d digits) after it, as
// one integer m over 10^d.  m and 10^d are exact doubles (m is checked to
// stay within 2^53), so their one quotient is the correctly rounded value,
// as the library's conversion gives it; the sign is put on by its bit,
// without a jump (signs change from row to row in no pattern).
inline bool real_of(std::uint64_t ip, std::uint64_t frac, std::uint64_t scale,
                    double pow10, bool neg, double* out) {
  const bool ok = ip <= ((std::uint64_t{1} << 53) - frac) /
                            scale;  // ip < 10^8: no wrap below
  const double x =
      static_cast<double>(static_cast<std::int64_t>(ip * scale + frac)) / pow10;
  *out = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) ^
                               (std::uint64_t{neg} << 63));
  return ok;
}

#if defined(__SSE2__)
inline __m128i mask_at(const unsigned char* m, int chunk) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + 16 * chunk));
}

// The checks of the layout C on the 16 columns of one chunk of the row (good
// keeps 0xFF for the columns that pass), with its digit values (0 where
// there is no digit) and its minus signs.  d_prev holds the digits of the
// chunk before, m_prev its minus signs: each must be followed by a digit,
// which may stand in this chunk.  The chunks are checked in order from 0.
template <const auto& C, int chunk>
inline void check_chunk(const char* row, __m128i& good, __m128i& d_prev,
                        __m128i& m_prev, __m128i* digits, __m128i* minus) {
  const __m128i v =
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16 * chunk));
  const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8('0'));
  const __m128i d = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(9)), t);
  const __m128i m = _mm_and_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('-')),
                                  mask_at(C.minus, chunk));
  __m128i ok = _mm_or_si128(_mm_and_si128(d, mask_at(C.digit, chunk)), m);
  ok =
      _mm_or_si128(ok, _mm_and_si128(_mm_cmpeq_epi8(v, mask_at(C.punct, chunk)),
                                     mask_at(C.punct_at, chunk)));
  if constexpr (any_in(C.free, chunk))
    ok = _mm_or_si128(ok, mask_at(C.free, chunk));
  // Within an integer part no blank or sign follows a digit ...
  if constexpr (any_in(C.inner, chunk)) {
    const __m128i after_digit =
        _mm_or_si128(_mm_slli_si128(d, 1), _mm_srli_si128(d_prev, 15));
    ok = _mm_andnot_si128(_mm_and_si128(_mm_andnot_si128(d, after_digit),
                                        mask_at(C.inner, chunk)),
                          ok);
  }
  // ... and a minus sign stands directly before a digit (checked for the
  // chunk before, once the digit after its last column is known).
  if constexpr (chunk > 0 && any_in(C.minus, chunk - 1)) {
    const __m128i digit_next =
        _mm_or_si128(_mm_srli_si128(d_prev, 1), _mm_slli_si128(d, 15));
    good = _mm_andnot_si128(_mm_andnot_si128(digit_next, m_prev), good);
  }
  good = _mm_and_si128(good, ok);
  d_prev = d;
  m_prev = m;
  digits[chunk] = _mm_and_si128(t, d);
  minus[chunk] = m;
}

// The last chunk's minus signs, with no chunk after it: each must stand
// before a digit of its own chunk.
inline void check_last_minus(__m128i& good, __m128i d_last, __m128i m_last) {
  good = _mm_andnot_si128(_mm_andnot_si128(_mm_srli_si128(d_last, 1), m_last),
                          good);
}

// The 8 digit values from column s on, in the low 8 bytes.
template <int s>
inline __m128i window(const __m128i* digits) {
  constexpr int c = s / 16, o = s % 16;
  if constexpr (o == 0)
    return digits[c];
  else if constexpr (o <= 8)
    return _mm_srli_si128(digits[c], o);
  else
    return _mm_or_si128(_mm_srli_si128(digits[c], o),
                        _mm_slli_si128(digits[c + 1], 16 - o));
}

// Two windows in one vector, the first drop_a (drop_b) columns of each left
// out.
template <int a, int drop_a, int b, int drop_b>
inline __m128i two_windows(const __m128i* digits) {
  static_assert(drop_a >= 0 && drop_a < 8 && drop_b >= 0 && drop_b < 8);
  const __m128i v = _mm_unpacklo_epi64(window<a>(digits), window<b>(digits));
  if constexpr (drop_a == 0 && drop_b == 0) return v;
  return _mm_and_si128(
      v, _mm_set_epi64x(
             static_cast<long long>(~std::uint64_t{0} << (8 * drop_b)),
             static_cast<long long>(~std::uint64_t{0} << (8 * drop_a))));
}

// The numbers written by the digit values of four windows of 8 columns
// (eight digits at a time: pairs, then fours, then eights, in 32-bit
// integers).
inline void four_numbers(__m128i ab, __m128i ce, std::uint32_t* out) {
  const __m128i z = _mm_setzero_si128(), k10 = _mm_set1_epi32((1 << 16) | 10);
  const __m128i k100 = _mm_set1_epi32((1 << 16) | 100),
                k10000 = _mm_set1_epi32((1 << 16) | 10000);
  const __m128i fours_ab = _mm_madd_epi16(
      _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(ab, z), k10),
                      _mm_madd_epi16(_mm_unpackhi_epi8(ab, z), k10)),
      k100);
  const __m128i fours_ce = _mm_madd_epi16(
      _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(ce, z), k10),
                      _mm_madd_epi16(_mm_unpackhi_epi8(ce, z), k10)),
      k100);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                   _mm_madd_epi16(_mm_packs_epi32(fours_ab, fours_ce), k10000));
}

// The minus signs of the chunks c and c + 1 .. c + 3 (those there are) as
// one mask of 64 columns from column 16 c on.
inline std::uint64_t minus_bits(const __m128i* minus, int c, int n) {
  std::uint64_t m = 0;
  for (int k = 0; k < n; ++k)
    m |= static_cast<std::uint64_t>(
             static_cast<unsigned>(_mm_movemask_epi8(minus[c + k])))
         << (16 * k);
  return m;
}
#endif

}  // namespace fixedcols
