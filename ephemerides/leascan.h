// The conversions with which the lunar series reads its term rows: the same
// values as the scan directives " %d" and " %lf", made fast for the plain
// decimals of the table.
#pragma once

#include <charconv>
#include <climits>
#include <cstdint>

namespace leascan {

inline bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// " %d": white space skipped, an optional sign, the digits.  A field that
// holds no number leaves *v untouched and returns false (a failed scan); a
// number beyond the range of int saturates.  p moves past the number.
inline bool scan_int(const char*& p, const char* end, int* v) {
  while (p < end && is_space(*p)) ++p;
  const char* q = p;
  bool neg = false;
  if (q < end && (*q == '+' || *q == '-')) neg = (*q++ == '-');
  if (!(q < end && is_digit(*q))) return false;
  long long a = 0;
  for (; q < end && is_digit(*q); ++q)
    if (a <= static_cast<long long>(INT_MAX) + 1) a = a * 10 + (*q - '0');
  if (neg) a = -a;
  if (a > INT_MAX) a = INT_MAX;
  if (a < INT_MIN) a = INT_MIN;
  *v = static_cast<int>(a);
  p = q;
  return true;
}

// " %lf": white space skipped, then the correctly rounded value of the
// number, as the C library's conversion gives it.  A plain decimal of at
// most 15 digits (every field of the table) takes the exact path: its digits
// form an integer below 2^53 and the power of ten of its decimals is exact
// too, so the one correctly rounded division gives the correctly rounded
// value.  Any other form (an exponent, more digits, inf, nan) goes through
// std::from_chars.  A field that holds no number leaves *v untouched and
// returns false.
inline bool scan_real(const char*& p, const char* end, double* v) {
  static constexpr double kPow10[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  while (p < end && is_space(*p)) ++p;
  const char* q = p;
  bool neg = false;
  if (q < end && (*q == '+' || *q == '-')) neg = (*q++ == '-');
  std::uint64_t m = 0;
  int digits = 0, decimals = 0;
  for (; q < end && is_digit(*q) && digits <= 15; ++q, ++digits) m = m * 10 + (*q - '0');
  if (q < end && *q == '.') {
    ++q;
    for (; q < end && is_digit(*q) && digits <= 15; ++q, ++digits, ++decimals) m = m * 10 + (*q - '0');
  }
  const bool more = q < end && (is_digit(*q) || *q == 'e' || *q == 'E' || *q == 'x' || *q == 'X' || *q == '.');
  if (digits > 0 && digits <= 15 && !more) {
    const double x = static_cast<double>(m) / kPow10[decimals];
    *v = neg ? -x : x;
    p = q;
    return true;
  }
  const char* s = (p < end && *p == '+') ? p + 1 : p;
  const auto r = std::from_chars(s, end, *v);
  if (r.ec != std::errc()) return false;
  p = r.ptr;
  return true;
}

}  // namespace leascan
