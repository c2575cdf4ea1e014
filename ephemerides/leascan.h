// The lunar series' term rows: the conversions with which they are read (the
// same values as the scan directives " %d" and " %lf", made fast for the
// plain decimals of the table), and the fundamental arguments whose integer
// multiples form a term's argument.
#pragma once

#include <charconv>
#include <climits>
#include <cstdint>

namespace leascan {

// The fundamental arguments: c0 in degrees, c1 to c4 in arcseconds per
// Julian century to the power 1 to 4.  Rows 0 to 13 are the targets of the
// multipliers (Me first, p_A last), row 14 the Moon's mean longitude, with
// which the longitude sum starts.
inline constexpr double kArg[15][5] = {
    {252.25090552, 538101628.688982, -0.0192789, 6.39e-06, 0},           // Me
    {181.97980085, 210664136.433548, 0.0059381, -6.27e-06, 0},           // Ve
    {100.46645683, 129597742.283429, -0.0204411, -5.23e-06, 0},          // EMB
    {355.43299958, 68905077.493988, 0.0094264, -1.043e-05, 0},           // Ma
    {34.35151874, 10925660.377991, -0.3060378, 5.706e-05, 4.667e-06},    // Ju
    {50.0774443, 4399609.855732, 0.7561614, -0.00016618, -1.1484e-05},   // Sa
    {314.05500511, 1542481.193933, -0.0175083, 2.156e-05, 0},            // Ur
    {304.34866548, 786550.320744, 0.0021103, -8.95e-06, 0},              // Ne
    {125.04455501, -6967919.3631, 6.3602, 0.007625, -3.586e-05},         // Omega
    {297.85019547, 1602961601.209, -6.3706, 0.006593, -3.169e-05},       // D
    {357.52910918, 129596581.0481, -0.5532, 0.000136, -1.149e-05},       // l'
    {134.96340251, 1717915923.2178, 31.8792, 0.051635, -0.0002447},      // l
    {93.27209062, 1739527262.8478, -12.7512, -0.001037, 4.17e-06},       // F
    {0, 5028.82, 1.112022, 7.73e-05, -2.353e-05},                        // p_A
    {218.31664563, 1732564372.3047, -5.279, 0.006665, -5.522e-05},       // lambda_M
};

// A term row lists its multipliers in the order l, l', F, D, Omega, Me, Ve,
// EMB, Ma, Ju, Sa, Ur, Ne, p_A; kRowOf[j] is the position in the row of the
// multiplier of argument j.
inline constexpr int kRowOf[14] = {5, 6, 7, 8, 9, 10, 11, 12, 4, 3, 1, 0, 2, 13};

// The coefficients of a term's argument, from its 14 multipliers m (in the
// row's order): w[c] is the sum over the arguments j, Me first, of
// m[kRowOf[j]] x kArg[j][c], in degrees (c = 0) or arcseconds per century to
// the power c.
inline void derive(const int m[14], double w[5]) {
  for (int c = 0; c < 5; ++c) {
    double s = 0;
    for (int j = 0; j < 14; ++j) s = s + m[kRowOf[j]] * kArg[j][c];
    w[c] = s;
  }
}

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
