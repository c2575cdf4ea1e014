// The screens of a computed observation and of the fix, and the small
// computations behind them that the dialogue's states share: the apparent
// altitude, the figures of the equation of time, the intersection of the two
// lines of position and the test of convergence.
//
// The screens print the run state as it stands (to con_out()) and read
// nothing: the waits for a key belong to the states that show them.
#pragma once

#include "runstate.h"

// Apparent altitude of the body's centre, degrees: the sextant altitude Hs
// (degrees) with the index correction Ic, the dip and the semi-diameter
// applied (arcminutes), the semi-diameter added for a lower limb and taken
// off for an upper limb (body codes 0 and 2 lower, 1 and 3 upper; a planet or
// a star has no semi-diameter).
double apparent_altitude(int bodycode, double Ic, double Hs, double dip,
                         double SDa);

// The equation of time (hours) as the ephemeris screen shows it: whole
// minutes (signed, truncated) and seconds; the sign stands on the minutes,
// or on the seconds when the minutes are 0.
void eot_figures(double eot_hours, int* minutes, double* seconds);

// How the two lines of position were cut: in general, along line 1 or line 2
// when that one runs east-west (its azimuth within 0.1 degree of north or
// south), or not at all (parallel or nearly parallel lines).
enum class LopCut { kGeneral, kLine1EastWest, kLine2EastWest, kRejected };

// Intersection of two lines of position, each given by the azimuth of its
// body and its foot point (degrees), on a plane chart in latitude and
// longitude scaled by c, the cosine of the mean latitude.  Returns how they
// were cut; the point (*y latitude, *x scaled longitude) is the intersection,
// or for rejected lines the foot point of line 2.  *c is the scale.
LopCut intersect_lops(double az1, double lat1, double lon1, double az2,
                      double lat2, double lon2, double* y, double* x,
                      double* c);

// The fix has converged: the position error (nautical miles) is below 0.1
// in magnitude.  A position error that is not a number has not converged.
bool fix_converged(double poserr);

// The result screen of the observation in hand, down to its pause text
// "     ... hit ENTER to continue " (no line end, no key read).
void result_screen(const RunState& rs);

// The ephemeris block printed below the result screen.
void ephemeris_block(const RunState& rs);

// The FINAL screen: observation 2 renewed at the run position.
void final_screen(const RunState& rs);

// The LUNAR RESULT screen of the fix.
void lunar_result_screen(const RunState& rs);
