// The fix from two lines of position.
//
//   intersect_lops  the two lines cut on a plane chart in latitude and
//                   longitude scaled by the cosine of the mean latitude
//   fix_converged   the position error below a tenth of a nautical mile
#include "lop.h"

#include <cmath>

#include "angles.h"
#include "constants.h"

namespace {

// Degrees to radians on the chart of the intersection, with pi rounded to 11
// decimals (formed first, then multiplied).
constexpr double kFactor = 2 * constants::kPi11 / 360;

// Slope of an east-west line of position, as the chart takes it.
constexpr double kSteep = 9999.0;

}  // namespace

// Given:    az1, az2     azimuths of the two bodies, degrees
//           lat1, lon1   foot point of line 1, degrees
//           lat2, lon2   foot point of line 2, degrees
// Returned: y, x         latitude (degrees) and scaled longitude (degrees
//                        times c) of the intersection
//           c            scale of the longitudes, cosine of the mean latitude
//           (function)   how the lines were cut
// Notes:    Each line of position runs at right angles to its azimuth; its
//           slope is the change of scaled longitude per degree of latitude.
//           A line within 0.1 degree of east-west has no finite slope and is
//           met at its own latitude.  Lines whose slopes differ by less than
//           0.01 are taken as parallel: rejected, with line 2's foot point.
LopCut intersect_lops(double az1, double lat1, double lon1, double az2,
                      double lat2, double lon2, double* y, double* x,
                      double* c) {
  const int k1 = angcheck(az1);
  const int k2 = angcheck(az2);
  const double m1 = (k1 == 0) ? std::tan((az1 - 90) * kFactor) : kSteep;
  const double m2 = (k2 == 0) ? std::tan((az2 - 90) * kFactor) : kSteep;
  const double y1 = lat1;
  const double y2 = lat2;
  const double cm = std::cos((y1 + y2) / 2 * kFactor);
  const double x1 = lon1 * cm;
  const double x2 = lon2 * cm;

  LopCut cut = LopCut::kGeneral;
  if (k1 != 0 && k2 == 0) cut = LopCut::kLine1EastWest;
  if (k1 == 0 && k2 != 0) cut = LopCut::kLine2EastWest;
  if (std::fabs(m1 - m2) < 0.01) cut = LopCut::kRejected;

  switch (cut) {
    case LopCut::kGeneral:
      *y = (m2 * y2 - m1 * y1 + x1 - x2) / (m2 - m1);
      *x = (*y - y1) * m1 + x1;
      break;
    case LopCut::kLine1EastWest:
      *y = y1;
      *x = (y1 - y2) * m2 + x2;
      break;
    case LopCut::kLine2EastWest:
      *y = y2;
      *x = (y2 - y1) * m1 + x1;
      break;
    case LopCut::kRejected:
      *y = y2;
      *x = x2;
      break;
  }
  *c = cm;
  return cut;
}

bool fix_converged(double poserr) { return std::fabs(poserr) < 0.1; }
