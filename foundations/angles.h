// Angle and number routines: reduction of angles in degrees and radians,
// the split of an angle (or a time) into units, minutes and seconds, the
// east-west test of a position line, and trigonometry of degree arguments.
//
// Every routine is a pure function: no state, no output, no error report.
#pragma once

#include <cmath>

#include "constants.h"

// Angle x (degrees) brought into [0, 360).  NaN and infinities give NaN.
double norm360(double x);

// True modulo of a by the magnitude of m, in [0, |m|]; |m| itself only for a
// negative a so small that the remainder rounds up to |m|.  m = 0 gives NaN.
double dmodx(double a, double m);

// x - 360 when x is above 180 (strictly), else x; the step is taken once.
double lim180(double x);

// Signed split of x (degrees or hours), every output carrying the sign of x:
// whole units, minutes truncated, minutes rounded, seconds rounded (both
// rounded half up on the magnitude, never carried), decimal minutes and
// decimal seconds.  The integer outputs saturate at the limits of int (and
// are 0 for NaN), so no value of x converts out of the range of int.
void cxangle(double x, int* units, int* minutes, int* minutes_rounded,
             int* seconds_rounded, double* minutes_dec, double* seconds_dec);

// 999 when the azimuth (degrees) lies within 0.1 degree of north or of south,
// so that its position line runs east-west; else 0 (also for NaN).
int angcheck(double azimuth);

// Sine, cosine and tangent of an argument in degrees (no special values).
double sind(double x);
double cosd(double x);
double tand(double x);

// Radians lifted by whole turns of 2 pi while negative; a value that is not
// negative (and NaN) comes back unchanged.  The lifting is one exact
// remainder, the same double as fmod(x, 2 pi) with one turn added to a
// negative remainder (an exact multiple of the turn gives +0, a tiny negative
// value exactly 2 pi); it is formed for every argument and then selected, so
// that it costs the same for any date.  Inline: it runs for every term of the
// planetary series.
inline double norm2pi(double x);

// Cosine of norm2pi(x): the cosine of every term of the planetary series.
inline double cost(double x);

// Radians into [0, 2 pi] by the fraction of a turn times the turn; exactly
// 2 pi only for a negative x within about 3.5e-16 of zero.
double trunc2(double x);

// x held in [-1, 1], the domain of asin and acos: a sine or cosine formed
// from rounded terms can fall just outside it (for two directions that
// almost coincide or lie almost opposite, or a body almost at the zenith),
// and is held there so that the angle comes out as its limit instead of
// NaN.  NaN passes through.
inline double clamp_unit(double x) {
  if (x > 1) return 1;
  if (x < -1) return -1;
  return x;
}

// Truncation of a double towards zero into an int, saturated at INT_MIN and
// INT_MAX, and 0 for NaN: the one conversion the program uses wherever a
// computed or typed value becomes an integer.
int dtoi(double x);

// ---------------------------------------------------------------------------
// Inline definitions.

namespace angles_detail {

// The full turn pi + pi split into a head of 26 significant bits and the exact
// rest, so that n * kTurnHi and n * kTurnLo are exact for every whole number
// |n| < 2^26 of turns.
inline constexpr double kTurn = constants::kTwoPi;
inline constexpr double kSplit = 134217729.0;  // 2^27 + 1
inline constexpr double kTurnHi = kTurn * kSplit - (kTurn * kSplit - kTurn);
inline constexpr double kTurnLo = kTurn - kTurnHi;
inline constexpr double kInvTurn = 1.0 / kTurn;
// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 in magnitude
// to the nearest whole number.
inline constexpr double kRoundInt = 6755399441055744.0;
// The exact steps hold down to 2^25 turns below zero (some 2e8 radians, far
// beyond any date of the series); below that, and for NaN and infinities,
// the library remainder takes over.
inline constexpr double kFastLimit = -33554432.0 * kTurn;

// norm2pi by the library remainder fmod, for the arguments beyond kFastLimit.
double norm2pi_far(double x);

}  // namespace angles_detail

inline double norm2pi(double x) {
  using namespace angles_detail;
  if (!(x > kFastLimit)) return norm2pi_far(x);
  // The nearest whole number of turns n leaves an exact remainder r within
  // rounding of [-pi, pi]: the head product is exact, and so is its
  // difference with x; the tail product is exact, and the last difference is
  // the true remainder, a multiple of the unit of the turn below 8.  Where r
  // is negative one turn is added, which rounds once, as after fmod.
  const double q = x * kInvTurn;
  const double n = (q - kRoundInt) + kRoundInt;
  const double t = x - n * kTurnHi;
  const double r = t - n * kTurnLo;
  const double turn = (r < 0.0) ? kTurn : 0.0;
  const double lifted = r + turn;
  return (x >= 0.0) ? x : lifted;  // -0 and NaN come back unchanged
}

inline double cost(double x) { return std::cos(norm2pi(x)); }
