// Angle and number routines: reduction of angles in degrees and radians,
// the split of an angle (or a time) into units, minutes and seconds, the
// east-west test of a position line, and trigonometry of degree arguments.
//
// Every routine is a pure function: no state, no output, no error report.
#pragma once

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
// negative (and NaN) comes back unchanged.  One floating-point remainder does
// the lifting, so the cost does not depend on the date.
double norm2pi(double x);

// Cosine of norm2pi(x): the cosine of every term of the planetary series.
double cost(double x);

// Radians into [0, 2 pi] by the fraction of a turn times the turn; exactly
// 2 pi only for a negative x within about 3.5e-16 of zero.
double trunc2(double x);

// Truncation of a double towards zero into an int, saturated at INT_MIN and
// INT_MAX, and 0 for NaN: the one conversion the program uses wherever a
// computed or typed value becomes an integer.
int dtoi(double x);
