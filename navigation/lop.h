// The fix from two lines of position: their intersection on a plane chart
// and the test of convergence of the fix.  Pure functions: no state, no
// output.
#pragma once

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
