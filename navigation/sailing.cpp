// Sailings.
//
//   verspos   dead reckoning of a run between two instants, in mid-latitude
//             steps of at most 200 legs
//   shiftpos  a position moved by a distance along a course: Mercator
//             sailing, or parallel sailing on an east-west course
//   bestver   distance between two positions on a plane chart (difference
//             of latitude and departure)
//
// Given/Returned: latitudes and longitudes in degrees, north and east
// positive; distances in nautical miles (one nautical mile is one minute of
// latitude); courses in degrees clockwise from north; speeds in knots.
// Longitudes reached are brought into (-180, 180]; latitudes reached are
// returned as computed, even beyond a pole, for the caller to test.
#include "sailing.h"

#include <cmath>

#include "angles.h"
#include "constants.h"

namespace {
// pi rounded to 13 decimals, the value the Mercator sailing is tied to.
constexpr double PI = constants::kPi13;
constexpr double kDegToRad = 2 * PI / 360;  // formed first, then multiplied
constexpr double kRadToDeg = 180 / PI;
constexpr int kMaxLegs = 200;
}  // namespace

// Given:    jd1, jd2     Julian Days of the start and the end of the run
//           speed        knots; a negative value is minus the distance run
//                        in nautical miles, whatever the two Julian Days
//           course       degrees
//           lat0, lon0   start position, degrees
// Returned: lat, lon     position reached, degrees
// Notes:    The run is cut into n = floor(distance) legs, at most 200, all of
//           the same length; each leg adds its difference of latitude and
//           converts its departure at the leg's middle latitude.  A run
//           shorter than one nautical mile (and a NaN distance) takes no leg.
void verspos(double jd1, double jd2, double speed, double course, double lat0,
             double lon0, double* lat, double* lon) {
  double distance = speed * (jd2 - jd1) * 24;
  if (speed < 0) distance = -speed;

  // The number of legs is taken in double arithmetic and capped before it
  // becomes an int, so a huge or infinite distance gives 200 legs and a NaN
  // or negative one none.
  double legs = std::floor(distance);
  if (legs > kMaxLegs) legs = kMaxLegs;
  const int n = (legs >= 1) ? dtoi(legs) : 0;

  double la = lat0;
  double lo = lon0;
  if (n > 0) {
    const double step = distance / n;
    const double dlat = cosd(course) * step / 60;
    const double dlon = sind(course) * step / 60;
    for (int i = 0; i < n; ++i) {
      const double before = la;
      la = la + dlat;
      lo = lo + dlon / cosd((before + la) * 0.5);
    }
  }
  *lat = la;
  *lon = lim180(norm360(lo));
}

// Given:    distance     nautical miles
//           lat, lon     start position, degrees; a start latitude beyond
//                        89 degrees is taken as 89 degrees
//           course       degrees; its magnitude is used, one turn removed
//                        above 360
// Returned: lat2, lon2   position reached, degrees
// Notes:    A course within 0.01 degree of 090 or 270 is sailed along the
//           parallel (the Mercator formula degenerates there); every other
//           course by Mercator sailing.
void shiftpos(double distance, double lat, double lon, double course,
              double* lat2, double* lon2) {
  // Sailing selector: +1 due east, -1 due west, 0 Mercator sailing.
  int kchk = 0;
  if (lat > 89.0) lat = 89.0;
  if (lat < -89.0) lat = -89.0;

  double C = std::fabs(course);
  if (C > 360) C = C - 360;
  if (std::fabs(C - 90) < 0.01) kchk = +1;
  if (std::fabs(C - 270) < 0.01) kchk = -1;

  const double d = distance / 60;  // degrees of arc
  const double la2 = lat + std::cos(C * kDegToRad) * d;
  double lo2;
  if (kchk != 0) {
    lo2 = lon + kchk * d / std::cos((lat + la2) / 2 * kDegToRad);
  } else {
    lo2 = (std::tan(C * kDegToRad) *
               std::log(std::tan(PI / 4 + 0.5 * la2 * kDegToRad) /
                        std::tan(PI / 4 + 0.5 * lat * kDegToRad)) +
           lon * kDegToRad) *
          kRadToDeg;
  }
  *lat2 = la2;
  *lon2 = lim180(norm360(lo2));
}

// Given:    lat1, x1     first point: latitude, longitude times k (degrees)
//           lat2, x2     second point, the same way
//           k            scale of the longitudes (the cosine of a latitude)
// Returned: the distance in nautical miles
// Notes:    The difference of longitude is taken the short way round, so two
//           points on either side of the date line lie close together.
double bestver(double lat1, double x1, double lat2, double x2, double k) {
  const double dlat = lat2 - lat1;
  const double dep = lim180(norm360((x2 - x1) / k)) * k;
  return 60 * std::sqrt(dep * dep + dlat * dlat);
}
