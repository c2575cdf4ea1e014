// Named constants of angle measure and of the Earth's figure.
//
// Several roundings of pi and two factors from radians to degrees stand side
// by side: each computation keeps the one its results are tied to, so that
// they stay the same to the last bit.  Every expression that uses one of
// these constants keeps its own order of operations.
//
// They live in the namespace constants, so that a file takes by name (with
// "using constants::K;" or as constants::K) only the ones it uses, and the
// independent values that tests hold under the same names stay apart.
#pragma once

namespace constants {

// pi, the double nearest to it: the angle routines, the VSOP87D series and
// the places of the planets and the stars.
inline constexpr double kPi = 3.141592653589793;

// One turn, 2 pi = 6.283185307179586 (the sum is exact).
inline constexpr double kTwoPi = kPi + kPi;
static_assert(kTwoPi == 6.283185307179586);

// Radians per degree, pi/180 = 0.017453292519943295: the degree
// trigonometry (sind, cosd, tand) and the places of the planets and stars.
inline constexpr double kDegToRad = kPi / 180;
static_assert(kDegToRad == 0.017453292519943295);

// Degrees per radian, 180/pi = 57.29577951308232: the VSOP87D series and the
// places of the planets and the stars.
inline constexpr double kRadToDeg = 180 / kPi;
static_assert(kRadToDeg == 57.29577951308232);

// K, degrees per radian as the almanac reduction holds it: the literal
// 57.29577951308238 (also written 1/0.017453292519943278), a little more
// than 180/pi.  The apparent places of the Sun and the Moon, the sight
// reduction and the lunar distance multiply by it.
inline constexpr double K = 57.29577951308238;

// pi rounded to 13 decimals, 3.1415926535898: the value the Mercator sailing
// and the sunrise formula are tied to, and by which the lunar series divides
// in its last conversion to degrees.
inline constexpr double kPi13 = 3.1415926535898;

// pi rounded to 11 decimals, 3.14159265359: the value the chart on which two
// lines of position are intersected is tied to.
inline constexpr double kPi11 = 3.14159265359;

// fE, the flattening of the Earth, 1/298.257: the parallax in altitude of the
// Moon and the clearing of the lunar distance.
inline constexpr double fE = 0.0033528131778969143;
static_assert(fE == 1 / 298.257);

}  // namespace constants
